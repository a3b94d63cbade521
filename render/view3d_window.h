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

extern int view3d_started;
extern double view3d_aspect;

LRESULT view3d_window_proc(Window window, unsigned message, WPARAM wparam, LPARAM lparam);
