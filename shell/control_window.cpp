// The control window: menus, tab control with the parameter pages, and the
// dispatch of its commands.
#include <cstdio>

#include "app_state/energy_series.h"
#include "app_state/settings.h"
#include "platform/platform.h"
#include "scenefile/scene_file.h"
#include "shell/about_dialog.h"
#include "shell/commands.h"
#include "shell/control_window_size.h"
#include "shell/default_places.h"
#include "shell/edit_commands.h"
#include "shell/pages.h"
#include "shell/shell.h"


namespace {

// Gives the window its fixed client area below the menu bar, keeping its
// place; the window system's frame and menu bar come on top.
void set_client_size(Window window, int width, int height) {
    int wx = 0, wy = 0, ww = 0, wh = 0, cx = 0, cy = 0, cw = 0, ch = 0;
    get_window_rect(window, &wx, &wy, &ww, &wh);
    get_client_rect(window, &cx, &cy, &cw, &ch);
    if (cw == width && ch == height) return;
    move_window(window, wx, wy, width + (ww - cw), height + (wh - ch), 1);
}

void on_create(Window window) {
    control_window = window;
    scene_dialog_owner = window;
    accept_dropped_files(window, 1);
    if (read_settings())
        place_client_area(window, cw_left, cw_top, CONTROL_CLIENT_WIDTH, CONTROL_CLIENT_HEIGHT_RESTORED);
    else {
        set_client_size(window, CONTROL_CLIENT_WIDTH, CONTROL_CLIENT_HEIGHT);
        place_control_window_by_default(window);
    }
    std::snprintf(scene_path, sizeof scene_path, "%s", DEFAULT_SCENE_PATH);
}

LRESULT on_notify(Window window, unsigned message, WPARAM wparam, LPARAM lparam) {
    auto* header = reinterpret_cast<NotifyHeader*>(lparam);
    if (!header) return 0;
    if (header->code == TCN_SELCHANGE && header->from == tab_control) {
        show_page(tab_selected(tab_control));
        return 0;
    }
    if (answer_tooltip_request(lparam, tab_tooltip_text)) return 0;
    return default_window_proc(window, message, wparam, lparam);
}

// The commands that end the open scene; each asks about unsaved changes first.
int ends_scene(unsigned id) {
    return id == CMD_NEW || id == CMD_CLOSE || id == CMD_OPEN || id == CMD_OPEN_AND_RUN || id == CMD_EXIT;
}

void on_command(unsigned id) {
    if (ends_scene(id) && !save_changes_first()) return;
    switch (id) {
        case CMD_NEW: new_scene(); break;
        case CMD_CLOSE: close_scene(); break;
        case ID_LOAD_SCENE: load_scene(); break;
        case ID_RUN_SCENE: run_scene(); break;
        case CMD_OPEN: open_scene(); break;
        case CMD_OPEN_AND_RUN: open_and_run_scene(); break;
        case CMD_SAVE: save_scene(); break;
        case CMD_SAVE_AS: save_scene_as(); break;
        case CMD_ABOUT: show_about_dialog(); break;
        case CMD_EXIT: destroy_window(control_window); break;
        case CMD_SHOW_PLOT: show_energy_plot(); break;
        default: edit_command(id); break;
    }
}

}  // namespace

LRESULT control_window_proc(Window window, unsigned message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_CREATE: on_create(window); return 0;
        case WM_DESTROY: shutdown_control_window(); return 0;
        case WM_MOVE:
            cw_left = static_cast<int>(low_word(static_cast<WPARAM>(lparam)));
            cw_top = static_cast<int>(high_word(static_cast<WPARAM>(lparam)));
            return default_window_proc(window, message, wparam, lparam);
        case WM_NOTIFY: return on_notify(window, message, wparam, lparam);
        case WM_COMMAND: on_command(low_word(wparam)); return 0;
        case WM_CLOSE:
            // The close box; Exit and Ctrl+Q come as CMD_EXIT.
            if (save_changes_first()) destroy_window(window);
            return 0;
        case WM_DROPFILES: drop_scene(wparam); return 0;
        case WM_USER: create_pages(); return 0;
        default: return default_window_proc(window, message, wparam, lparam);
    }
}
