// The interactive view window: face-on view of the plane, placement of
// bodies before a run, the run about the centre of mass during one.
#pragma once

#include "platform/platform.h"

LRESULT interactive_window_proc(Window window, unsigned message, WPARAM wparam, LPARAM lparam);
