// The interactive view window: its creation and end, its size handling,
// the Stop and Run pair with the 3D view, the choice commands of its
// toolbar, the popup menu, and the control of its frame thread.
#include "windows/interactive_window.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cstdio>
#include <iterator>

#include "app_state/body_changes.h"
#include "app_state/scene_changes.h"
#include "app_state/settings.h"
#include "app_state/view_commands.h"
#include "drawing/gl_context.h"
#include "drawing/scene_drawing.h"
#include "placement/body_edits.h"
#include "placement/placement.h"
#include "sim/bodies.h"
#include "sim/frames.h"
#include "sim/simulation.h"

Window interactive_toolbar = NO_WINDOW;
Window interactive_statusbar = NO_WINDOW;
int interactive_toolbar_shown = 0;
int interactive_statusbar_shown = 0;
int interactive_thread_suspended = 0;
int interactive_thread_paused = 0;
int interactive_minimised = 0;
long long interactive_frames_drawn = 0;

namespace {

constexpr int BAR_HEIGHT = 20;
constexpr WPARAM SIZE_MINIMIZED = 1;
constexpr double NEAR_PLANE = 1.0;
constexpr double FAR_PLANE = 100.0;
constexpr const char* STOPPED_TEXT = "Simulation stopped";
constexpr const char* RUNNING_TEXT = "Simulation running - minimize this Window to suspend this thread";

int interactive_has_context = 0;

// The signed 16-bit coordinates of a mouse message.
int signed_word(unsigned word) { return static_cast<int>(static_cast<short>(word)); }

// ------------------------------------------------------------ drawing

void apply_interactive_projection(Window window, int width, int height) {
    if (!interactive_has_context || width <= 0 || height <= 0) return;
    gl_make_current(window);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(INTERACTIVE_FIELD_OF_VIEW, static_cast<double>(width) / height, NEAR_PLANE, FAR_PLANE);
    glViewport(0, 0, width, height);
    glMatrixMode(GL_MODELVIEW);
}

void draw(Window window) {
    if (interactive_has_context) draw_interactive(window);
}

// ------------------------------------------------------------ creation

// The values a scene brings: the size choice from its Max radius, and no
// further glowing body once it has enough of them.
void take_scene_values() {
    choose_size(SIZE_MEDIUM);
    toolbar_check(interactive_toolbar, SIZE_MEDIUM, 1);
    if (glow_count >= GLOW_LIMIT) apply_glow_limit();
}

void on_create(Window window) {
    interactive_window = window;
    interactive_toolbar = interactive_statusbar = NO_WINDOW;
    interactive_has_context = 0;
    interactive_thread_suspended = 0;
    interactive_thread_paused = 0;
    interactive_minimised = 0;
    reset_placement_choices();
    reset_plane_view();
    if (geometry_known) restore_client_geometry(window, iv_left, iv_top, iv_width, iv_height);

    interactive_frame_thread_handle = create_thread(interactive_frame_thread, 1);
    if (interactive_frame_thread_handle == nullptr) return;
    set_thread_priority(interactive_frame_thread_handle, PRIORITY_BELOW_NORMAL);
    interactive_thread_suspended = 1;

    interactive_has_context = setup_view_context(window);
    if (interactive_has_context) {
        init_interactive_gl();
        int width = 0, height = 0;
        get_client_rect(window, nullptr, nullptr, &width, &height);
        const double ratio = window_pixel_ratio(window);
        apply_interactive_projection(window, static_cast<int>(width * ratio + 0.5),
                                     static_cast<int>(height * ratio + 0.5));
    }

    interactive_statusbar = create_status_bar(window, INTERACTIVE_STATUSBAR_ID);
    set_interactive_status(choose_mode(PLACE_UNASSISTED));
    interactive_toolbar = create_interactive_toolbar(window);
    interactive_toolbar_shown = 1;
    interactive_statusbar_shown = 1;
    take_scene_values();

    add_window_shortcut(window, "Space", CMD_TOGGLE_RUN);
    add_window_shortcut(window, "Ctrl+Z", CMD_UNDO_PLACEMENT);
    bodies_editable = 1;
    refresh_bodies_window();
    add_window_shortcut(window, "Home", CMD_FIT_VIEW);
}

// ------------------------------------------------------------ destruction

// The frame thread is woken wherever it is (suspended, or waiting for a
// frame to be drawn, which joining releases) and joined, so it runs its own
// clean-up. The scene is ending, so every worker is told to stop (the
// control window normally has done so already).
void on_destroy(Window window) {
    if (interactive_frame_thread_handle != nullptr) {
        stop_requested = 1;
        resume_thread_fully(interactive_frame_thread_handle);
        close_thread(interactive_frame_thread_handle);
        interactive_frame_thread_handle = nullptr;
    }
    interactive_thread_suspended = 0;
    if (interactive_has_context) release_view_context(window);
    interactive_has_context = 0;
    release_interactive_frame();
    interactive_toolbar = interactive_statusbar = NO_WINDOW;
    bodies_editable = 0;
    clear_undo();
    refresh_bodies_window();
}

// ------------------------------------------------------------ size

LRESULT on_size(Window window, WPARAM kind, LPARAM lparam) {
    interactive_minimised = kind == SIZE_MINIMIZED ? 1 : 0;
    follow_frame_thread_state();
    const int width = static_cast<int>(low_word(static_cast<WPARAM>(lparam)));
    const int height = static_cast<int>(high_word(static_cast<WPARAM>(lparam)));
    // A minimised window reports no client area; it keeps the last size and
    // projection, which are the ones it comes back with.
    if (interactive_minimised || width == 0 || height == 0) return 0;
    iv_width = width;
    iv_height = height;
    apply_interactive_projection(window, width, height);
    int bar_width = 0;
    get_client_rect(window, nullptr, nullptr, &bar_width, nullptr);
    set_child_geometry(interactive_statusbar, 0, 0, bar_width, BAR_HEIGHT);
    set_child_geometry(interactive_toolbar, 0, 0, bar_width, BAR_HEIGHT);
    invalidate_window(window);
    return 0;
}

// ------------------------------------------------------------ commands

// Stop and Run pair with the 3D view's buttons: a command that comes from
// there (lparam the 3D view) only shows the button checked, so a button
// pressed while already checked is not passed back and forth without end.
int from_pair(LPARAM from) { return command_from(from, view3d_window); }

void on_stop(Window window, LPARAM from) {
    if (toolbar_is_checked(interactive_toolbar, CMD_STOP) && !from_pair(from))
        send_message(view3d_window, WM_COMMAND, CMD_STOP, static_cast<LPARAM>(window));
    else
        toolbar_check(interactive_toolbar, CMD_STOP, 1);
    interactive_thread_paused = 0;
    follow_frame_thread_state();
    enable_placement_buttons(1);
    if (glow_count < GLOW_LIMIT) enable_material_buttons(1);
    set_interactive_status(STOPPED_TEXT);
    invalidate_window(window);
}

void on_run(LPARAM from) {
    if (body_count == 0) {
        if (toolbar_is_checked(interactive_toolbar, CMD_RUN)) toolbar_check(interactive_toolbar, CMD_STOP, 1);
        return;
    }
    if (toolbar_is_checked(interactive_toolbar, CMD_RUN) && !from_pair(from))
        send_message(view3d_window, WM_COMMAND, CMD_RUN, static_cast<LPARAM>(interactive_window));
    else
        toolbar_check(interactive_toolbar, CMD_RUN, 1);
    enable_placement_buttons(0);
    enable_material_buttons(0);
    // From the first Run on the bodies belong to the run: nothing to undo,
    // nothing to edit, no world point to show under the pointer.
    clear_undo();
    if (bodies_editable) {
        bodies_editable = 0;
        status_bar_set_part_text(interactive_statusbar, 1, "");
        refresh_bodies_window();
    }
    interactive_thread_paused = 0;
    follow_frame_thread_state();
    set_interactive_status(RUNNING_TEXT);
}

// Space: the button of the two that is not checked, as if clicked.
void toggle_run(Window window) {
    const int id = toolbar_is_checked(interactive_toolbar, CMD_RUN) ? CMD_STOP : CMD_RUN;
    toolbar_check(interactive_toolbar, id, 1);
    send_message(window, WM_COMMAND, static_cast<WPARAM>(id), 0);
}

// The glow count and the material buttons follow what was taken back:
// below the limit both buttons are available again, and a removed glowing
// body gives back the Glowing choice it was placed with.
void undo() {
    if (simulation_active || !bodies_editable) return;
    const UndoOutcome outcome = undo_last_action();
    if (!outcome.undone) return;
    if (outcome.status_text != nullptr) set_interactive_status(outcome.status_text);
    if (glow_count < GLOW_LIMIT) {
        enable_material_buttons(1);
        if (outcome.removed_glowing) {
            choose_material(MATERIAL_GLOWING);
            toolbar_check(interactive_toolbar, MATERIAL_GLOWING, 1);
        }
    } else {
        apply_glow_limit();
    }
    announce_body_change(NO_WINDOW);
}

// Before the first Run the status bar's second part shows the world point
// under the pointer, where a click would place a body.
void show_pointer_point(Window window, LPARAM lparam) {
    if (!bodies_editable) return;
    double wx = 0.0, wy = 0.0;
    client_to_world(window, signed_word(low_word(static_cast<WPARAM>(lparam))),
                    signed_word(high_word(static_cast<WPARAM>(lparam))), &wx, &wy);
    char text[64];
    std::snprintf(text, sizeof text, "x %.0f, y %.0f", wx, wy);
    status_bar_set_part_text(interactive_statusbar, 1, text);
}

void toggle_thread() {
    if (body_count == 0 || !toolbar_is_checked(interactive_toolbar, CMD_RUN)) return;
    interactive_thread_paused = !interactive_thread_paused;
    follow_frame_thread_state();
}

void toggle_bar(Window bar, int* shown) {
    *shown = !*shown;
    show_window(bar, *shown ? SHOW_NORMAL : SHOW_HIDE);
}

// Mode, size, colour and material; 0 when the id is none of them.
int choose(int id) {
    if (const char* text = choose_mode(id)) {
        set_interactive_status(text);
        return 1;
    }
    return choose_size(id) || choose_colour(id) || choose_material(id);
}

LRESULT on_command(Window window, unsigned message, WPARAM wparam, LPARAM lparam) {
    const int id = static_cast<int>(low_word(wparam));
    switch (id) {
        case CMD_STOP: on_stop(window, lparam); return 0;
        case CMD_RUN: on_run(lparam); return 0;
        case CMD_SHOW_TOOLBAR: toggle_bar(interactive_toolbar, &interactive_toolbar_shown); return 0;
        case CMD_SHOW_STATUSBAR: toggle_bar(interactive_statusbar, &interactive_statusbar_shown); return 0;
        case CMD_TOGGLE_THREAD: toggle_thread(); return 0;
        case CMD_TOGGLE_RUN: toggle_run(window); return 0;
        case CMD_UNDO_PLACEMENT: undo(); return 0;
        case CMD_FIT_VIEW: fit_interactive_view(window); return 0;
        case CMD_RESET_VIEW: reset_interactive_view(window); return 0;
        default:
            if (choose(id)) return 0;
            return default_window_proc(window, message, wparam, lparam);
    }
}

void show_popup_menu(Window window) {
    const PopupItem items[] = {{CMD_SHOW_TOOLBAR, "Show &Toolbar", interactive_toolbar_shown},
                               {CMD_SHOW_STATUSBAR, "Show &Statusbar", interactive_statusbar_shown},
                               {0, nullptr, 0},
                               {CMD_FIT_VIEW, "&Fit", 0},
                               {CMD_RESET_VIEW, "Reset View", 0},
                               {0, nullptr, 0},
                               {CMD_TOGGLE_THREAD, "T&oggle Thread", 0}};
    track_popup_items_at_cursor(window, items, static_cast<int>(std::size(items)));
}

}  // namespace

void follow_frame_thread_state() {
    Thread* thread = interactive_frame_thread_handle;
    if (thread == nullptr) return;
    const int wanted = toolbar_is_checked(interactive_toolbar, CMD_RUN) && !interactive_minimised &&
                       !interactive_thread_paused;
    if (wanted && interactive_thread_suspended) {
        resume_thread(thread);
        interactive_thread_suspended = 0;
    } else if (!wanted && !interactive_thread_suspended) {
        suspend_thread(thread);
        interactive_thread_suspended = 1;
    }
}

void set_interactive_status(const char* text) { status_bar_set_text(interactive_statusbar, text); }

void return_to_unassisted() {
    set_interactive_status(choose_mode(PLACE_UNASSISTED));
    toolbar_check(interactive_toolbar, PLACE_UNASSISTED, 1);
}

void switch_to_reflective() {
    choose_material(MATERIAL_REFLECTIVE);
    toolbar_check(interactive_toolbar, MATERIAL_REFLECTIVE, 1);
}

void apply_glow_limit() {
    switch_to_reflective();
    enable_material_buttons(0);
}

LRESULT interactive_window_proc(Window window, unsigned message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_CREATE: on_create(window); return 0;
        case WM_DESTROY: on_destroy(window); return 0;
        case WM_MOVE:
            geometry_known = 1;
            iv_left = static_cast<int>(low_word(static_cast<WPARAM>(lparam)));
            iv_top = static_cast<int>(high_word(static_cast<WPARAM>(lparam)));
            return default_window_proc(window, message, wparam, lparam);
        case WM_SIZE: return on_size(window, wparam, lparam);
        case WM_PAINT:
            if (!interactive_has_context) return default_window_proc(window, message, wparam, lparam);
            draw(window);
            return 0;
        case WM_NOTIFY:
            if (answer_tooltip_request(lparam, interactive_tooltip)) return 0;
            return default_window_proc(window, message, wparam, lparam);
        case WM_COMMAND: return on_command(window, message, wparam, lparam);
        case WM_SYSCOMMAND:
            // Only the control window ends the view (Close greyed).
            if ((wparam & 0xFFF0) == SC_CLOSE) return 0;
            return default_window_proc(window, message, wparam, lparam);
        case WM_LBUTTONDOWN:
            interactive_click(window, signed_word(low_word(static_cast<WPARAM>(lparam))),
                              signed_word(high_word(static_cast<WPARAM>(lparam))));
            return 0;
        case WM_RBUTTONDOWN: show_popup_menu(window); return 0;
        case WM_MOUSEMOVE:
            interactive_zoom_mouse(window, message, wparam, lparam);
            show_pointer_point(window, lparam);
            return 0;
        case WM_MOUSELEAVE: status_bar_set_part_text(interactive_statusbar, 1, ""); return 0;
        case WM_MOUSEWHEEL:
        case WM_MBUTTONDOWN:
        case WM_MBUTTONUP:
            if (interactive_zoom_mouse(window, message, wparam, lparam)) return 0;
            return default_window_proc(window, message, wparam, lparam);
        case WM_DRAW_FRAME:
            take_interactive_frame();
            ++interactive_frames_drawn;
            draw(window);
            return 0;
        case WM_RENDERING_CHANGED:
            // Apply or Defaults on the rendering page: a new Max radius
            // reaches the size choice while the scene is stopped.
            if (toolbar_is_checked(interactive_toolbar, CMD_STOP)) take_scene_values();
            return 0;
        default: return default_window_proc(window, message, wparam, lparam);
    }
}
