// What follows a change of the body list made before the first Run, from
// whichever window made it: the unsaved-changes flag, the interactive
// view's picture and the Bodies table.
#pragma once

#include "platform/platform.h"

// The Bodies window while it is open; it is told of changes made elsewhere.
extern Window bodies_window;
// Sent to the Bodies window whenever the body list or bodies_editable changed.
constexpr unsigned WM_BODIES_CHANGED = WM_USER + 10;

// The command that takes back the last change of the bodies: the
// interactive view's Ctrl+Z, and Edit > Undo of the control window, which
// passes it to the view.
constexpr int CMD_UNDO = 40104;

// from: the window that made the change and shows it itself (NO_WINDOW:
// every window is told).
void announce_body_change(Window from);
// Tells the Bodies window to show the list afresh (a scene opened, closed
// or run), without counting it as a change.
void refresh_bodies_window();
