// The program's windows as every window knows them: the control window, its
// menu and pages (the views write values into the pages' fields), and the
// window classes and titles. The view windows' handles live with the frame
// threads (sim/frames.h) because the frame threads send to them.
#pragma once

#include <cstdint>

#include "platform/platform.h"
#include "sim/frames.h"

extern Window control_window;
extern std::uintptr_t main_menu;
extern Window tab_control;
extern Window page_timestep;
extern Window page_viewing;
extern Window page_rendering;

// Window classes and titles.
constexpr const char* CONTROL_CLASS = "stelo20";
constexpr const char* VIEW3D_CLASS = "stelo20render";
constexpr const char* INTERACTIVE_CLASS = "stelo20interact";
constexpr const char* CONTROL_TITLE = "Stelo Gravitational Simulation";
constexpr const char* VIEW3D_TITLE = "Stelo3d - 3D View";
constexpr const char* INTERACTIVE_TITLE = "Stelo3d - Interactive View";
constexpr const char* MAIN_MENU_NAME = "IDR_MENU1";
constexpr int VIEW_WIDTH = 525;  // outer size of a new view window
constexpr int VIEW_HEIGHT = 370;
