#include "tests/render/render_test_support.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <chrono>
#include <cstdlib>

#include "app_state/settings.h"
#include "drawing/view3d_frame.h"
#include "sim/frames.h"
#include "sim/simulation.h"
#include "windows/plot_window.h"
#include "windows/view3d_window.h"

// The shell defines the pages and the control window; these tests stand in
// for them.
Window page_timestep = NO_WINDOW;
Window page_viewing = NO_WINDOW;
Window control_window = NO_WINDOW;

int gui_up = 0;

namespace {
constexpr const char* VIEW3D_TEST_CLASS = "stelo20render";
}

void register_view3d_test_classes() {
    register_window_class(WindowClass{VIEW3D_TEST_CLASS, view3d_window_proc, 1, nullptr});
    register_plot_classes();
}

Rgb Pixels::at(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return {0, 0, 0};
    const std::size_t i = (static_cast<std::size_t>(y) * width + x) * 4;
    return {rgba[i], rgba[i + 1], rgba[i + 2]};
}

Rgb Pixels::brightest_near(int x, int y, int r) const {
    Rgb best{0, 0, 0};
    for (int dy = -r; dy <= r; ++dy)
        for (int dx = -r; dx <= r; ++dx) {
            Rgb p = at(x + dx, y + dy);
            if (p.brightness() > best.brightness()) best = p;
        }
    return best;
}

bool Pixels::all_black() const {
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (!at(x, y).black()) return false;
    return width > 0 && height > 0;
}

Body* add_body_at(double draw_x, double draw_y, double radius, int colour, double user_mass, int glowing) {
    Body* body = nullptr;
    add_body(&body, draw_x / VIEW_SCALE, draw_y / VIEW_SCALE, radius, material_colours[colour], user_mass,
             colour);
    if (glowing) {
        set_body_glow(body, 1, emission_by_colour[colour], light_by_colour[colour], glow_count + 1);
        ++glow_count;
    }
    return body;
}

bool pump_until(const std::function<bool()>& condition, int timeout_ms) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) return false;
        gui_process_events(5);
    }
    return true;
}

void View3dTest::SetUp() {
    clear_bodies();
    reset_scene_defaults();
    stop_requested = 0;
    simulation_active = 0;
    geometry_known = 0;
    rv_left = rv_top = rv_width = rv_height = 0;
    view3d_window = NO_WINDOW;
    interactive_window = NO_WINDOW;
}

void View3dTest::TearDown() {
    if (view != NO_WINDOW) close_view();
    clear_bodies();
    glow_count = 0;
    gui_process_events(0);
}

Window View3dTest::open_view(int client_width, int client_height) {
    view = create_window(VIEW3D_TEST_CLASS, "Stelo3d - 3D View", WS_OVERLAPPED_WINDOW, 40, 40,
                         client_width + 8, client_height + 27, NO_WINDOW, 0);
    EXPECT_NE(view, NO_WINDOW);
    view3d_window = view;
    show_window(view, SHOW_NORMAL);
    const double ratio = window_pixel_ratio(view);
    const int want_width = static_cast<int>(client_width * ratio + 0.5);
    EXPECT_TRUE(pump_until([&] { return rv_width == want_width; }));
    gui_process_events(50);
    return view;
}

void View3dTest::close_view() {
    destroy_window(view);
    view = NO_WINDOW;
    view3d_window = NO_WINDOW;
    // Every worker has ended and released what the run held.
    EXPECT_EQ(simulation_thread_handle, nullptr);
    EXPECT_EQ(frame_thread_handle, nullptr);
    EXPECT_EQ(simulation_active.load(), 0);
    EXPECT_EQ(draw_x, nullptr);
    EXPECT_EQ(pred_x, nullptr);
    EXPECT_EQ(view3d_frame_x, nullptr);
    stop_requested = 0;
}

void View3dTest::command(int id) { send_message(view, WM_COMMAND, static_cast<WPARAM>(id), 0); }

bool View3dTest::wait_frames(long long frames) {
    const long long target = view3d_frames_drawn + frames;
    return pump_until([&] { return view3d_frames_drawn >= target; });
}

bool View3dTest::run_frames(long long frames) {
    const long long target = view3d_frames_drawn + frames;
    command(CMD_RUN);
    return pump_until([&] { return view3d_frames_drawn >= target; });
}

Pixels View3dTest::read_pixels() {
    Pixels pixels;
    gl_read_pixels(view, nullptr, 0, &pixels.width, &pixels.height);
    pixels.rgba.assign(static_cast<std::size_t>(pixels.width) * pixels.height * 4, 0);
    if (!gl_read_pixels(view, pixels.rgba.data(), static_cast<int>(pixels.rgba.size()), &pixels.width,
                        &pixels.height)) {
        ADD_FAILURE() << "pixels could not be read";
    }
    return pixels;
}

bool View3dTest::project(double x, double y, double z, int* column, int* row) {
    gl_make_current(view);
    GLdouble model[16], projection[16];
    GLint viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    GLdouble wx = 0, wy = 0, wz = 0;
    if (!gluProject(x, y, z, model, projection, viewport, &wx, &wy, &wz)) return false;
    *column = static_cast<int>(wx);
    *row = viewport[3] - 1 - static_cast<int>(wy);
    return wz > 0.0 && wz < 1.0;
}

Window View3dTest::toolbar() const { return view3d_toolbar; }
Window View3dTest::statusbar() const { return view3d_statusbar; }

std::string View3dTest::status_text() const {
    char text[128] = {};
    status_bar_get_text(view3d_statusbar, text, sizeof text);
    return text;
}
