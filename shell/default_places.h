// Where the windows open when no settings file gave their places: the
// control window at the top-left corner of the screen, the 3D view to its
// right, the interactive view beside the 3D view or below it; on a screen
// too small for that the views are made smaller, so that no window lies
// over another and all of them lie on the screen.
#pragma once

#include "platform/platform.h"

enum ViewSlot { VIEW_SLOT_3D = 0, VIEW_SLOT_INTERACTIVE = 1 };

void place_control_window_by_default(Window control);
// The outer rectangle to create a view window with in its slot (a place
// given at creation is one that every window manager honours).
void default_view_rect(ViewSlot slot, int* x, int* y, int* width, int* height);
// The outer rectangle of a new Bodies window: in the largest free place
// beside the control window and the views (below the views, below the
// control window or right of the views), on the screen.
void default_bodies_rect(int* x, int* y, int* width, int* height);
// The energy plot's outer rectangle: below the 3D view when the screen has
// room there, else beside it, else over the lower part of the screen; on
// the screen in every case.
void default_plot_rect(int* x, int* y, int* width, int* height);
