// The shell's globals: the control window, its menu and pages, the current
// scene path. The view windows' handles live with the frame threads
// (sim/frames.h) because the frame threads send to them.
#pragma once

#include <cstdint>

#include "platform/platform.h"
#include "sim/frames.h"

constexpr int ID_LOAD_SCENE = 1405;
constexpr int ID_RUN_SCENE = 1406;

// Menu command ids of the control window.
constexpr int CMD_EXIT = 40001;
constexpr int CMD_ABOUT = 40033;
constexpr int CMD_NEW = 40036;
constexpr int CMD_CLOSE = 40037;
constexpr int CMD_SAVE_AS = 40042;
constexpr int CMD_OPEN_AND_RUN = 40043;
constexpr int CMD_OPEN = 40044;
constexpr int CMD_SAVE = 40045;

extern Window control_window;
extern std::uintptr_t main_menu;
extern Window tab_control;
extern Window page_timestep;
extern Window page_viewing;
extern Window page_rendering;
