// The 3D view window: owns the simulation of the open scene (its two worker
// threads and their hand-over events), draws every frame the frame thread
// converts, and carries the toolbar that runs, stops and speeds the
// simulation and chooses the reference frame.
#include "windows/view3d_window.h"

#include <GL/gl.h>

#include <cmath>
#include <cstdio>
#include <iterator>

#include "app_state/app_windows.h"
#include "app_state/energy_series.h"
#include "app_state/scene_changes.h"
#include "app_state/settings.h"
#include "drawing/gl_context.h"
#include "drawing/scene_drawing.h"
#include "drawing/sphere_batch.h"
#include "drawing/trails.h"
#include "drawing/view3d_frame.h"
#include "resources/resource_files.h"
#include "sim/bodies.h"
#include "sim/frames.h"
#include "sim/simulation.h"
#include "windows/view3d_camera.h"
#include "windows/view3d_image.h"
#include "windows/view3d_readout.h"
#include "windows/view3d_state.h"

Window view3d_statusbar = NO_WINDOW;
Window view3d_toolbar = NO_WINDOW;

namespace {

constexpr int VIEW3D_STATUSBAR_ID = 1401;
constexpr int VIEW3D_TOOLBAR_ID = 105;
constexpr int VIEW3D_TOOLBAR_IMAGES = 10;
constexpr int BAR_HEIGHT = 20;
constexpr int TIMESTEP_FIELD_ID = 1000;
constexpr double DECREASE_FACTOR = 0.6666666666666666;
constexpr double INCREASE_FACTOR = 1.5;

const ToolbarEntry view3d_toolbar_entries[] = {
    {0, CMD_STOP, TOOL_CHECK_GROUP, "Stop", 1},
    {1, CMD_RUN, TOOL_CHECK_GROUP, "Run", 0},
    {-1, 0, TOOL_SEPARATOR, nullptr, 0},
    {8, CMD_DECREASE_TIMESTEP, TOOL_PUSH, "Decrease timestep", 0},
    {9, CMD_INCREASE_TIMESTEP, TOOL_PUSH, "Increase timestep", 0},
    {-1, 0, TOOL_SEPARATOR, nullptr, 0},
    {2, CMD_SHOW_CM, TOOL_CHECK, "Show CM", 0},
    {-1, 0, TOOL_SEPARATOR, nullptr, 0},
    {3, FRAME_FIXED, TOOL_CHECK_GROUP, "Fixed Frame", 1},
    {4, FRAME_CM, TOOL_CHECK_GROUP, "CM Frame", 0},
    {5, FRAME_ROTATING, TOOL_CHECK_GROUP, "Rotating Frame", 0},
    {6, FRAME_MOVING, TOOL_CHECK_GROUP, "Moving Frame", 0},
    {7, FRAME_ORBIT, TOOL_CHECK_GROUP, "Orbit Frame", 0},
};
constexpr int VIEW3D_TOOLBAR_COUNT =
    static_cast<int>(sizeof view3d_toolbar_entries / sizeof view3d_toolbar_entries[0]);

struct FrameChoice {
    int mode;
    const char* status_text;
};
const FrameChoice frame_choices[] = {
    {FRAME_FIXED, "Fixed reference frame"},
    {FRAME_CM, "Center of Mass reference frame"},
    {FRAME_ROTATING, "Rotating reference frame centered at Center of Mass"},
    {FRAME_MOVING, "Moving reference frame"},
    {FRAME_ORBIT, "Orbit reference frame"},
};

// State of the 3D view (one exists at a time).
int view3d_toolbar_shown = 0;
int view3d_statusbar_shown = 0;
int lights_pending = 0;
int view3d_has_context = 0;
// Whether each worker is held at its safe point. Stop and Run set this
// state rather than count, so the workers run exactly while Run shows
// pressed, whatever order the buttons were pressed in.
int simulation_held = 0;
int frame_held = 0;

const char* tooltip_of(int id) {
    for (const ToolbarEntry& entry : view3d_toolbar_entries)
        if (entry.kind != TOOL_SEPARATOR && entry.id == id) return entry.tooltip;
    return nullptr;
}

void draw_view3d(Window window) {
    if (!view3d_has_context) return;
    if (star_lighting)
        draw_view3d_lit(window);
    else
        draw_view3d_plain(window);
}

// ------------------------------------------------------------ creation

// The hand-over events, the frame thread (running, normal priority) and the
// simulation thread (suspended at below normal until Run). 0 when a thread
// could not be made.
int create_workers() {
    start_simulation_workers(star_lighting);
    simulation_held = 1;
    frame_held = 0;
    return frame_thread_handle != nullptr && simulation_thread_handle != nullptr;
}

void on_create(Window window) {
    view3d_window = window;
    view3d_started = 0;
    view3d_has_context = 0;
    view3d_statusbar = view3d_toolbar = NO_WINDOW;
    release_view3d_frame();
    view3d_show_cm = 0;
    view3d_show_trails = 0;
    view3d_run_lights = 0;
    if (geometry_known) restore_client_geometry(window, rv_left, rv_top, rv_width, rv_height);

    if (!create_workers()) return;
    start_readout();

    view3d_has_context = setup_view_context(window);
    if (view3d_has_context) {
        init_view3d_gl();
        // Until the first size change arrives, the client area as it is now.
        int x = 0, y = 0, width = 0, height = 0;
        get_client_rect(window, &x, &y, &width, &height);
        const double ratio = window_pixel_ratio(window);
        width = static_cast<int>(width * ratio + 0.5);
        height = static_cast<int>(height * ratio + 0.5);
        if (width > 0 && height > 0) {
            view3d_aspect = static_cast<double>(width) / height;
            apply_view3d_projection();
            set_view3d_viewport(width, height);
        }
    }

    view3d_statusbar = create_status_bar(window, VIEW3D_STATUSBAR_ID);
    status_bar_set_text(view3d_statusbar, "Fixed reference frame");
    view3d_toolbar = create_toolbar(window, VIEW3D_TOOLBAR_ID, resource_path(TOOLBAR_3D_IMAGES),
                                    VIEW3D_TOOLBAR_IMAGES, view3d_toolbar_entries, VIEW3D_TOOLBAR_COUNT);

    add_window_shortcut(window, "Space", CMD_TOGGLE_RUN);
    add_window_shortcut(window, "+", CMD_INCREASE_TIMESTEP);
    add_window_shortcut(window, "-", CMD_DECREASE_TIMESTEP);
    add_window_shortcut(window, "Home", CMD_FIT);

    view3d_toolbar_shown = 1;
    view3d_statusbar_shown = 1;
    view3d_started = 0;
    lights_pending = 1;

    send_message(window, WM_COMMAND, static_cast<WPARAM>(frame_mode), 0);
    if (frame_body > body_count - 1 || frame_body < 0) set_frame_body(0);
}

// ------------------------------------------------------------ destruction

void on_destroy(Window window) {
    // Every worker is woken wherever it is (suspended any number of times,
    // waiting for either event, in the middle of a step or of its set-up)
    // and joined, so each runs its own clean-up; none is ever killed.
    end_simulation_workers();
    end_readout();
    if (view3d_has_context) release_view_context(window);
    view3d_has_context = 0;
    release_view3d_frame();
    release_view3d_state();
    release_interactive_frame();
    release_sphere_batch();
    view3d_statusbar = view3d_toolbar = NO_WINDOW;
}

// ------------------------------------------------------------ size

void on_size(unsigned width, unsigned height) {
    // A minimised window reports no client area: it keeps the last size,
    // aspect and projection until it comes back.
    if (width == 0 || height == 0) return;
    rv_width = static_cast<int>(width);
    rv_height = static_cast<int>(height);
    view3d_aspect = static_cast<double>(width) / height;
    if (view3d_has_context) {
        apply_view3d_projection();
        set_view3d_viewport(static_cast<int>(width), static_cast<int>(height));
    }
    int bar_width = 0;
    get_client_rect(view3d_window, nullptr, nullptr, &bar_width, nullptr);
    set_child_geometry(view3d_statusbar, 0, 0, bar_width, BAR_HEIGHT);
    set_child_geometry(view3d_toolbar, 0, 0, bar_width, BAR_HEIGHT);
    invalidate_window(view3d_window);
}

// ------------------------------------------------------------ commands

// The Stop and Run buttons of the two views form a pair: a command pressed
// here goes on to the interactive view marked with this window, and one
// that comes from there only shows the button checked. Without that mark a
// button pressed while already checked would pass its command back and
// forth without end.
int from_pair(LPARAM from) { return command_from(from, interactive_window); }

void hold_worker(Thread* thread, int* held, int hold) {
    if (thread == nullptr || *held == hold) return;
    if (hold)
        suspend_thread(thread);
    else
        resume_thread(thread);
    *held = hold;
}

void hold_workers(int hold) {
    hold_worker(simulation_thread_handle, &simulation_held, hold);
    hold_worker(frame_thread_handle, &frame_held, hold);
}

void on_stop(Window window, LPARAM from) {
    hold_workers(1);
    if (toolbar_is_checked(view3d_toolbar, CMD_STOP) && !from_pair(from))
        send_message(interactive_window, WM_COMMAND, CMD_STOP, static_cast<LPARAM>(window));
    else
        toolbar_check(view3d_toolbar, CMD_STOP, 1);
    invalidate_window(window);
}

void on_run(LPARAM from) {
    if (body_count == 0) {
        if (toolbar_is_checked(view3d_toolbar, CMD_RUN)) toolbar_check(view3d_toolbar, CMD_STOP, 1);
        return;
    }
    if (lights_pending) {
        if (glow_count >= 9) glow_count = LIGHT_SLOTS;
        if (view3d_has_context) {
            gl_make_current(view3d_window);
            setup_view3d_lights(glow_count);
        }
        view3d_run_lights = glow_count;
        lights_pending = 0;
    }
    hold_workers(0);
    view3d_started = 1;
    if (toolbar_is_checked(view3d_toolbar, CMD_RUN) && !from_pair(from))
        send_message(interactive_window, WM_COMMAND, CMD_RUN, static_cast<LPARAM>(view3d_window));
    else
        toolbar_check(view3d_toolbar, CMD_RUN, 1);
}

void change_time_step(double factor) {
    // Pressed often enough the product would overflow to infinity or sink
    // through the subnormals to zero, which no frame can follow and no
    // scene file keeps: such a press changes nothing.
    const double next = time_step * factor;
    if (!std::isnormal(next)) return;
    set_time_step(next);
    mark_scene_changed();
    char text[32];
    std::snprintf(text, sizeof text, "%g", time_step);
    set_dialog_item_text(page_timestep, TIMESTEP_FIELD_ID, text);
}

void choose_frame(int mode) {
    for (const FrameChoice& choice : frame_choices) {
        if (choice.mode != mode) continue;
        if (!toolbar_is_checked(view3d_toolbar, mode)) toolbar_check(view3d_toolbar, mode, 1);
        status_bar_set_text(view3d_statusbar, choice.status_text);
        if (mode != read_frame_mode()) mark_scene_changed();
        set_frame_mode(mode);
        return;
    }
}

// Space: the Stop or Run button pressed, whichever is up.
void toggle_run(Window window) {
    const int id = toolbar_is_checked(view3d_toolbar, CMD_RUN) ? CMD_STOP : CMD_RUN;
    toolbar_check(view3d_toolbar, id, 1);
    send_message(window, WM_COMMAND, static_cast<WPARAM>(id), 0);
}

void toggle_bar(Window bar, int* shown) {
    *shown = !*shown;
    show_window(bar, *shown ? SHOW_NORMAL : SHOW_HIDE);
}

LRESULT on_command(Window window, unsigned message, WPARAM wparam, LPARAM lparam) {
    const int id = static_cast<int>(low_word(wparam));
    switch (id) {
        case CMD_STOP: on_stop(window, lparam); return 0;
        case CMD_RUN: on_run(lparam); return 0;
        case CMD_DECREASE_TIMESTEP: change_time_step(DECREASE_FACTOR); return 0;
        case CMD_INCREASE_TIMESTEP: change_time_step(INCREASE_FACTOR); return 0;
        case CMD_SHOW_CM:
            view3d_show_cm = toolbar_is_checked(view3d_toolbar, CMD_SHOW_CM);
            invalidate_window(window);
            return 0;
        case FRAME_FIXED:
        case FRAME_CM:
        case FRAME_ROTATING:
        case FRAME_MOVING:
        case FRAME_ORBIT: choose_frame(id); return 0;
        case CMD_SHOW_TOOLBAR: toggle_bar(view3d_toolbar, &view3d_toolbar_shown); return 0;
        case CMD_SHOW_STATUSBAR: toggle_bar(view3d_statusbar, &view3d_statusbar_shown); return 0;
        case CMD_TOGGLE_RUN: toggle_run(window); return 0;
        case CMD_SAVE_IMAGE:
            if (view3d_has_context) save_view3d_image(window, draw_view3d);
            return 0;
        case CMD_SAVE_STATE: save_view3d_state(window); return 0;
        case CMD_FIT: camera_fit(window); return 0;
        // The plot window belongs to the control window, which opens it.
        case CMD_SHOW_PLOT: send_message(control_window, WM_COMMAND, CMD_SHOW_PLOT, 0); return 0;
        case CMD_SHOW_READOUT: show_readout(view3d_statusbar, !view3d_show_readout); return 0;
        case CMD_SHOW_TRAILS:
            // Shown again, a trail starts from the next frame rather than
            // joining the gap.
            view3d_show_trails = !view3d_show_trails;
            release_trails();
            invalidate_window(window);
            return 0;
        default: return default_window_proc(window, message, wparam, lparam);
    }
}

void show_popup_menu(Window window) {
    const PopupItem items[] = {{CMD_SHOW_TOOLBAR, "Show &Toolbar", view3d_toolbar_shown},
                               {CMD_SHOW_STATUSBAR, "Show &Statusbar", view3d_statusbar_shown},
                               {CMD_SHOW_TRAILS, "Show T&rails", view3d_show_trails},
                               {CMD_SHOW_READOUT, "Show R&eadout", view3d_show_readout},
                               {CMD_SHOW_PLOT, "Show &Plot", 0},
                               {CMD_FIT, "&Fit", 0},
                               {CMD_SAVE_IMAGE, "Save &Image...", 0},
                               {CMD_SAVE_STATE, "Save Sta&te As...", 0}};
    track_popup_items_at_cursor(window, items, static_cast<int>(std::size(items)));
}

}  // namespace

LRESULT view3d_window_proc(Window window, unsigned message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_CREATE: on_create(window); return 0;
        case WM_DESTROY: on_destroy(window); return 0;
        case WM_MOVE:
            geometry_known = 1;
            rv_left = static_cast<int>(low_word(static_cast<WPARAM>(lparam)));
            rv_top = static_cast<int>(high_word(static_cast<WPARAM>(lparam)));
            return default_window_proc(window, message, wparam, lparam);
        case WM_SIZE:
            on_size(low_word(static_cast<WPARAM>(lparam)), high_word(static_cast<WPARAM>(lparam)));
            return 0;
        case WM_PAINT:
            if (view3d_started && simulation_active && view3d_has_context) {
                draw_view3d(window);
                return 0;
            }
            return default_window_proc(window, message, wparam, lparam);
        case WM_NOTIFY:
            if (answer_tooltip_request(lparam, tooltip_of)) return 0;
            return default_window_proc(window, message, wparam, lparam);
        case WM_COMMAND: return on_command(window, message, wparam, lparam);
        case WM_SYSCOMMAND:
            if ((wparam & 0xFFF0) == SC_CLOSE) return 0;
            return default_window_proc(window, message, wparam, lparam);
        case WM_RBUTTONDOWN: show_popup_menu(window); return 0;
        case WM_MOUSEWHEEL:
            camera_wheel(window, static_cast<short>(high_word(wparam)));
            return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_MOUSEMOVE:
            if (camera_mouse(window, message, wparam, lparam)) return 0;
            return default_window_proc(window, message, wparam, lparam);
        case WM_DRAW_FRAME:
            take_view3d_frame();
            keep_view3d_state();
            readout_take_frame(view3d_statusbar);
            ++view3d_frames_drawn;
            draw_view3d(window);
            return 0;
        case WM_VIEWING_CHANGED:
            if (view3d_has_context) {
                gl_make_current(window);
                apply_view3d_projection();
            }
            invalidate_window(window);
            return default_window_proc(window, message, wparam, lparam);
        case WM_RENDERING_CHANGED:
            if (view3d_has_context) {
                gl_make_current(window);
                glShadeModel(smooth_shading ? GL_SMOOTH : GL_FLAT);
            }
            return 0;
        default: return default_window_proc(window, message, wparam, lparam);
    }
}
