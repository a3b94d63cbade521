// The tab control and the three parameter pages of the control window.
#pragma once

#include "platform/platform.h"

constexpr int TAB_CONTROL_ID = 1400;

// Builds the tab control, its three tabs and the three pages (once, after
// the main loop has started).
void create_pages();
// Shows the page of the given tab and hides the other two; other indices
// change nothing.
void show_page(int index);
// The tooltip text of a tab, or nullptr for an unknown index.
const char* tab_tooltip_text(int index);

LRESULT timestep_page_proc(Window page, unsigned message, WPARAM wparam, LPARAM lparam);
LRESULT viewing_page_proc(Window page, unsigned message, WPARAM wparam, LPARAM lparam);
LRESULT rendering_page_proc(Window page, unsigned message, WPARAM wparam, LPARAM lparam);
