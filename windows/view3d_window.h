// The 3D view window: owns the simulation of the open scene and draws it.
#pragma once

#include "app_state/view_commands.h"
#include "platform/platform.h"

// The 3D view's toolbar (child id 105) and status bar (child id 1401).
extern Window view3d_toolbar;
extern Window view3d_statusbar;

LRESULT view3d_window_proc(Window window, unsigned message, WPARAM wparam, LPARAM lparam);
