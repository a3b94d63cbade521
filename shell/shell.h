// The shell's command ids, the control window's procedure and the start-up.
// The handles of the program's windows are in app_state/app_windows.h.
#pragma once

#include "app_state/app_windows.h"

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
// The Edit menu (Undo is the interactive view's CMD_UNDO).
constexpr int CMD_BODIES = 40120;
constexpr int CMD_ZERO_MOMENTUM = 40121;
constexpr int CMD_CENTRE_ON_ORIGIN = 40122;

LRESULT control_window_proc(Window window, unsigned message, WPARAM wparam, LPARAM lparam);

// Start-up, in three steps so that tests can start the control window
// without running the loop: register the three window classes (returns 0
// when one cannot be registered), create and show the control window and
// post its first messages (argument: the scene path or nullptr; returns the
// window), and the whole program (toolkit, classes, window, loop).
int register_window_classes();
Window start_control_window(const char* argument);
int stelo_main(int argc, char** argv);
