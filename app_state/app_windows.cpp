#include "app_state/app_windows.h"

Window control_window = NO_WINDOW;
std::uintptr_t main_menu = 0;
Window tab_control = NO_WINDOW;
Window page_timestep = NO_WINDOW;
Window page_viewing = NO_WINDOW;
Window page_rendering = NO_WINDOW;
