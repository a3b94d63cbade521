// The keys the control window's menu answers besides its mnemonics.
#pragma once

#include <cstdint>

// Ctrl+N New, Ctrl+O Open, Ctrl+S Save, Ctrl+Shift+S Save As, Ctrl+Q Exit,
// F1 About, each shown beside its item and greyed with it.
void add_menu_shortcuts(std::uintptr_t menu);
