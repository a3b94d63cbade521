#include "shell/shortcuts.h"

#include "app_state/body_changes.h"
#include "platform/platform.h"
#include "shell/shell.h"

namespace {

struct MenuShortcut {
    int id;
    const char* keys;
};

const MenuShortcut menu_shortcuts[] = {
    {CMD_NEW, "Ctrl+N"},  {CMD_OPEN, "Ctrl+O"}, {CMD_SAVE, "Ctrl+S"},
    {CMD_SAVE_AS, "Ctrl+Shift+S"}, {CMD_EXIT, "Ctrl+Q"}, {CMD_ABOUT, "F1"},
    {CMD_UNDO, "Ctrl+Z"}, {CMD_BODIES, "Ctrl+B"},
};

}  // namespace

void add_menu_shortcuts(std::uintptr_t menu) {
    for (const MenuShortcut& shortcut : menu_shortcuts) set_menu_item_shortcut(menu, shortcut.id, shortcut.keys);
}
