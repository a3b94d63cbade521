#include "shell/edit_commands.h"

#include "windows/bodies_window.h"
#include "app_state/body_changes.h"
#include "placement/body_edits.h"
#include "platform/platform.h"
#include "shell/default_places.h"
#include "shell/shell.h"
#include "sim/frames.h"

namespace {

constexpr const char* RAN_TEXT =
    "The bodies can be changed only before the scene's first Run (New, Close or Open begin again)";

void open_bodies_window() {
    if (!is_window(bodies_window)) {
        int x = 0, y = 0, width = 0, height = 0;
        default_bodies_rect(&x, &y, &width, &height);
        if (create_window(BODIES_CLASS, BODIES_TITLE, WS_OVERLAPPED_WINDOW, x, y, width, height, NO_WINDOW, 0) ==
            NO_WINDOW)
            return;
    }
    show_window(bodies_window, SHOW_NORMAL);
    update_window(bodies_window);
}

// Zero Momentum and Centre on Origin change the initial conditions, so
// they are for a scene that has not run.
void move_all(int (*move)()) {
    if (!bodies_editable) {
        message_box(control_window, RAN_TEXT, nullptr, MB_OK);
        return;
    }
    if (move()) announce_body_change(NO_WINDOW);
}

}  // namespace

int edit_command(unsigned id) {
    switch (id) {
        case CMD_UNDO: send_message(interactive_window, WM_COMMAND, CMD_UNDO, 0); return 1;
        case CMD_BODIES: open_bodies_window(); return 1;
        case CMD_ZERO_MOMENTUM: move_all(zero_momentum); return 1;
        case CMD_CENTRE_ON_ORIGIN: move_all(centre_on_origin); return 1;
        default: return 0;
    }
}

void enable_edit_menu(int enabled) {
    for (int id : {CMD_UNDO, CMD_BODIES, CMD_ZERO_MOMENTUM, CMD_CENTRE_ON_ORIGIN}) enable_menu_item(main_menu, id, enabled);
}

void close_bodies_window() { destroy_window(bodies_window); }
