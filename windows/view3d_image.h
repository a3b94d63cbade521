// Save Image of the 3D view's popup menu: the frame shown, as a PNG file.
#pragma once

#include "platform/platform.h"

constexpr int CMD_SAVE_IMAGE = 40101;

// Asks for a file name with the Save As dialog and writes the view's current
// frame there (the client area's size in device pixels); a file that cannot
// be written is reported in a message box. draw draws the frame shown again.
// Returns 1 when a file was written.
int save_view3d_image(Window window, void (*draw)(Window));
