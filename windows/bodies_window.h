// The Bodies window: a table of the scene's bodies, one row per body in
// list order, whose cells are typed and chosen before the first Run, with
// Add and Delete.
#pragma once

#include "platform/platform.h"

constexpr const char* BODIES_CLASS = "stelo20bodies";
constexpr const char* BODIES_TITLE = "Bodies";
constexpr int BODIES_TABLE_ID = 1410;
constexpr int BODIES_PAGE_ID = 1411;
// The controls of its button row.
constexpr int BODIES_ADD = 1;
constexpr int BODIES_DELETE = 2;
constexpr int BODIES_NOTE = 3;

LRESULT bodies_window_proc(Window window, unsigned message, WPARAM wparam, LPARAM lparam);
// The table and the button row of the open Bodies window (tests read them).
extern Window bodies_table;
extern Window bodies_page;
