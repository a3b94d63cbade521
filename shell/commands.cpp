// The control window's commands. An open scene is the pair of view windows:
// New creates them, Close destroys them (the 3D view's destroy handling
// wakes and joins its worker threads, so every body and every run array is
// released by its owner before New empties the body list again).
#include "shell/commands.h"

#include <cstring>
#include <string>

#include "app_state/scene_changes.h"
#include "app_state/settings.h"
#include "scenefile/scene_file.h"
#include "shell/control_window_size.h"
#include "shell/default_places.h"
#include "shell/edit_commands.h"
#include "shell/shell.h"
#include "sim/bodies.h"
#include "sim/frames.h"
#include "sim/simulation.h"
#include "windows/plot_window.h"
#include "windows/view3d_window.h"

namespace {

// The file the load command opens: the command-line argument. scene_path
// takes it only once the file has been accepted.
char argument_path[sizeof scene_path] = "";

// A path that does not fit into scene_path is refused rather than cut
// short: a shortened path would name another file.
void refuse_path(const char* path) {
    std::string text = "Could not open file ";
    text += path;
    message_box(control_window, text.c_str(), nullptr, MB_OK);
}

// Copies a path that fits; a longer one is refused with the message a
// missing file gets, naming the whole path.
int take_path(char (&target)[sizeof scene_path], const char* path) {
    std::size_t length = std::strlen(path);
    if (length >= sizeof target) {
        refuse_path(path);
        return 0;
    }
    std::memmove(target, path, length + 1);
    return 1;
}

// Creates one view window as New does: fixed size, Close greyed in its
// system menu, shown. A view whose geometry was never recorded is made at
// its default place (its creation restores a recorded one).
Window create_view(const char* class_name, const char* title, int recorded, ViewSlot slot) {
    int x = DEFAULT_POSITION, y = DEFAULT_POSITION, width = VIEW_WIDTH, height = VIEW_HEIGHT;
    if (!recorded) default_view_rect(slot, &x, &y, &width, &height);
    Window view = create_window(class_name, title, WS_OVERLAPPED_WINDOW, x, y, width, height, NO_WINDOW, 0);
    if (view == NO_WINDOW) return NO_WINDOW;
    grey_system_close(view);
    show_window(view, SHOW_NORMAL);
    update_window(view);
    return view;
}

// Restores a view (so its move and size messages record the restored
// geometry) and destroys it; its destroy handling ends its own threads.
void end_view(Window view) {
    if (!is_window(view)) return;
    send_message(view, WM_SYSCOMMAND, SC_RESTORE, 0);
    destroy_window(view);
}

void close_frame_events() {
    if (frame_free) {
        close_event(frame_free);
        frame_free = nullptr;
    }
    if (positions_ready) {
        close_event(positions_ready);
        positions_ready = nullptr;
    }
}

// New up to its views: ends the open scene, empties the body list and
// resets the values that belong to a scene.
void begin_scene() {
    if (scene_is_open()) close_scene();
    clear_bodies();
    set_scene_menu(1);

    stop_requested = 0;
    simulation_active = 0;
    total_mass = 0;
    frame_origin_x = 0;
    frame_origin_y = 0;
    frame_body = 0;
    glow_count = 0;
    time_step = 0.001;
}

void create_scene_views() {
    // Asked before either view exists: the first view's moves make the
    // geometry known.
    const int view3d_recorded = geometry_known && rv_width != 0 && rv_height != 0;
    const int interactive_recorded = geometry_known && iv_width != 0 && iv_height != 0;
    view3d_window = create_view(VIEW3D_CLASS, VIEW3D_TITLE, view3d_recorded, VIEW_SLOT_3D);
    if (view3d_window == NO_WINDOW) return;
    interactive_window = create_view(INTERACTIVE_CLASS, INTERACTIVE_TITLE, interactive_recorded, VIEW_SLOT_INTERACTIVE);
}

void refresh_pages() {
    send_message(page_timestep, WM_INITDIALOG, 0, 0);
    send_message(page_viewing, WM_INITDIALOG, 0, 0);
    send_message(page_rendering, WM_INITDIALOG, 0, 0);
}

// Loads the file at path as the open scene. The file is checked whole
// before anything changes: a refused file leaves the open scene, its views
// and run, every parameter and scene_path as they were. An accepted file
// replaces the open scene, and the views are created after its values are
// in place, so each view starts from the loaded frame, reference body,
// shading and lighting.
SceneCheck load_scene_from(const char* path) {
    if (std::strlen(path) >= sizeof scene_path) {
        refuse_path(path);
        return SCENE_UNREADABLE;
    }
    CheckedScene scene{};
    const SceneCheck result = check_scene_file(path, &scene);
    if (result != SCENE_VALID) return result;
    char accepted[sizeof scene_path];
    take_path(accepted, path);  // path may be scene_path itself
    begin_scene();
    take_path(scene_path, accepted);
    take_checked_scene(scene);
    create_scene_views();
    refresh_pages();
    scene_changed = 0;
    return SCENE_VALID;
}

}  // namespace

void set_scene_menu(int enabled) {
    enable_menu_item(main_menu, CMD_SAVE, enabled);
    enable_menu_item(main_menu, CMD_SAVE_AS, enabled);
    enable_menu_item(main_menu, CMD_CLOSE, enabled);
    enable_edit_menu(enabled);
    draw_menu_bar(control_window);
}

int scene_is_open() { return is_window(view3d_window) || is_window(interactive_window); }

void new_scene() {
    begin_scene();
    create_scene_views();
    scene_changed = 0;
}

void close_scene() {
    stop_requested = 1;
    end_view(view3d_window);
    end_view(interactive_window);
    close_frame_events();
    set_scene_menu(0);
    scene_changed = 0;  // nothing is left that could be saved
}

void load_scene() {
    char path[sizeof scene_path];
    take_path(path, argument_path[0] != '\0' ? argument_path : scene_path);
    argument_path[0] = '\0';
    // A start on the name of a file that does not exist yet opens an empty
    // scene that Save will write under that name. Any other refusal leaves
    // things as they are, so no Save can write over the refused file.
    if (load_scene_from(path) == SCENE_MISSING && !scene_is_open()) {
        new_scene();
        take_path(scene_path, path);
        refresh_pages();
    }
}

// The views exist as soon as New returns, so Run follows at once.
void run_scene() {
    send_message(view3d_window, WM_COMMAND, CMD_RUN, 0);
    send_message(interactive_window, WM_COMMAND, CMD_RUN, 0);
    send_message(interactive_window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

namespace {

// 1: a file was chosen and loaded; 0: the chosen file was refused (nothing
// changed, scene_path included); -1: the dialog was cancelled.
int open_chosen_scene() {
    char kept[sizeof scene_path];
    take_path(kept, scene_path);
    const int choice = choose_open_file();
    if (choice == 0) return -1;
    if (choice < 0) return 0;
    char chosen[sizeof scene_path];
    take_path(chosen, scene_path);
    take_path(scene_path, kept);
    return load_scene_from(chosen) == SCENE_VALID ? 1 : 0;
}

}  // namespace

void open_scene() { open_chosen_scene(); }

// Run follows a loaded file, and a cancelled dialog: it then runs the scene
// that is already open, if any. A refused file runs nothing.
void open_and_run_scene() {
    if (open_chosen_scene() != 0) run_scene();
}

int save_scene() {
    if (!write_scene()) return 0;
    scene_changed = 0;
    return 1;
}

int save_scene_as() {
    if (choose_save_file() != 1) return 0;
    scene_changed = 0;
    enable_menu_item(main_menu, CMD_SAVE, 1);
    draw_menu_bar(control_window);
    return 1;
}

int save_changes_first() {
    if (!scene_changed) return 1;
    const char* slash = std::strrchr(scene_path, '/');
    const std::string text = std::string("Save changes to ") + (slash != nullptr ? slash + 1 : scene_path) + "?";
    switch (message_box(control_window, text.c_str(), "Confirm", MB_SAVEDISCARDCANCEL)) {
        case IDSAVE:
            // A scene that was never given a name gets one first.
            return std::strcmp(scene_path, DEFAULT_SCENE_PATH) == 0 ? save_scene_as() : save_scene();
        case IDDISCARD: return 1;
        default: return 0;
    }
}

void drop_scene(WPARAM drop) {
    char path[4096] = {};
    int count = drop_file_count(drop);
    if (count > 0) drop_file_path(drop, 0, path, sizeof path);
    release_drop(drop);
    if (count <= 0 || path[0] == '\0' || !save_changes_first()) return;
    if (load_scene_from(path) == SCENE_VALID) run_scene();
}

void shutdown_control_window() {
    if (is_menu_item_enabled(main_menu, CMD_CLOSE)) close_scene();
    if (geometry_known) write_settings();
    // Views left over while Close was greyed (a New whose second view could
    // not be created leaves none, but be sure): end them the same way.
    if (scene_is_open()) {
        stop_requested = 1;
        end_view(view3d_window);
        end_view(interactive_window);
        close_frame_events();
    }
    close_bodies_window();
    destroy_window(plot_window);
    destroy_window(page_timestep);
    destroy_window(page_viewing);
    destroy_window(page_rendering);
    destroy_window(tab_control);
    page_timestep = page_viewing = page_rendering = tab_control = NO_WINDOW;
    post_quit_message(0);
}

void show_energy_plot() {
    int x = DEFAULT_POSITION, y = DEFAULT_POSITION, width = PLOT_WIDTH, height = PLOT_HEIGHT;
    if (!is_window(plot_window)) default_plot_rect(&x, &y, &width, &height);
    open_energy_plot(x, y, width, height);
}

int accept_argument(const char* argument) {
    if (!argument || argument[0] == '\0') return 0;
    return take_path(argument_path, argument);
}
