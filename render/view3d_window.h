// The 3D view window: owns the simulation of the open scene and draws it.
#pragma once

#include "platform/platform.h"

// Toolbar command ids of the 3D view (the interactive view shares Stop/Run).
constexpr int CMD_STOP = 40002;
constexpr int CMD_RUN = 40003;
constexpr int CMD_SHOW_CM = 40004;
constexpr int CMD_DECREASE_TIMESTEP = 40038;
constexpr int CMD_INCREASE_TIMESTEP = 40039;
constexpr int CMD_SHOW_TOOLBAR = 1402;
constexpr int CMD_SHOW_STATUSBAR = 1403;
// The Space key: Stop when running, Run when stopped.
constexpr int CMD_TOGGLE_RUN = 40102;

// 1 from the first accepted Run of the current 3D view on.
extern int view3d_started;
// Client width / height of the 3D view, from the last non-empty size.
extern double view3d_aspect;
// The 3D view's toolbar (child id 105) and status bar (child id 1401).
extern Window view3d_toolbar;
extern Window view3d_statusbar;

LRESULT view3d_window_proc(Window window, unsigned message, WPARAM wparam, LPARAM lparam);
