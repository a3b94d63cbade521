// The settings file "stelo20.ini": client-area places and sizes of the
// three windows, kept between runs.
#pragma once

#include "platform/platform.h"

constexpr const char* SETTINGS_FILE = "stelo20.ini";  // in the working directory

extern int cw_left, cw_top;
extern int rv_left, rv_top;
extern int iv_left, iv_top;
extern int rv_width, rv_height;
extern int iv_width, iv_height;
extern int geometry_known;

// Reads the file; returns 1 when all ten values were read (geometry_known
// is then set). Moving the control window is the caller's affair.
int read_settings();
// Writes the file when geometry_known is set; returns 1 when written.
int write_settings();

// The stored values are client-area places and sizes. This puts a window's
// client area at (left, top) with the given size, adding the frame that the
// window system reports for it; a place stored as a large unsigned number
// (a window partly off the left or top edge) is taken as the negative
// 16-bit value it stands for, and a size is kept within 32..8192 pixels.
// A size of 0 means that window's geometry was never recorded (the other
// view's move set geometry_known): the window then keeps the place and size
// the window system gave it.
// Sizes are stored as the size messages carry them (device pixels).
void restore_client_geometry(Window window, int left, int top, int width, int height);
// The same with the size in logical pixels (the control window's fixed size).
void place_client_area(Window window, int left, int top, int width, int height);
