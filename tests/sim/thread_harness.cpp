#include "thread_harness.h"

std::vector<SeenFrame> seen_frames;
std::vector<std::vector<float>> seen_interactive_x;
std::vector<std::vector<float>> seen_interactive_y;
std::function<void()> on_draw;

namespace {

LRESULT view_proc(Window window, unsigned message, WPARAM wparam, LPARAM lparam) {
    if (message != WM_DRAW_FRAME) return default_window_proc(window, message, wparam, lparam);
    SeenFrame seen{};
    const PublishedFrame* f = drawn_frame;
    if (f) {
        seen.time = f->time;
        seen.body_steps = f->body_steps;
        seen.x.assign(f->x, f->x + f->count);
        seen.y.assign(f->y, f->y + f->count);
        seen.vx.assign(f->vx, f->vx + f->count);
        seen.vy.assign(f->vy, f->vy + f->count);
        seen.draw_x.assign(draw_x, draw_x + f->count);
        seen.draw_y.assign(draw_y, draw_y + f->count);
        for (int k = 0; k < light_slot_count; ++k) {
            seen.light_x.push_back(light_position[k][0]);
            seen.light_y.push_back(light_position[k][1]);
        }
    }
    seen.steps_while_drawn = body_steps_done.load();
    seen_frames.push_back(std::move(seen));
    if (on_draw) on_draw();
    return 0;
}

LRESULT interactive_proc(Window window, unsigned message, WPARAM wparam, LPARAM lparam) {
    if (message != WM_DRAW_FRAME) return default_window_proc(window, message, wparam, lparam);
    seen_interactive_x.emplace_back(interactive_x, interactive_x + run_body_count);
    seen_interactive_y.emplace_back(interactive_y, interactive_y + run_body_count);
    return 0;
}

}  // namespace

void open_views() {
    static const int registered = register_window_class({"sim-test-view", view_proc, 1, nullptr}) &&
                                   register_window_class({"sim-test-interactive", interactive_proc, 1, nullptr});
    (void)registered;
    seen_frames.clear();
    seen_interactive_x.clear();
    seen_interactive_y.clear();
    on_draw = nullptr;
    view3d_window = create_window("sim-test-view", "3D", 0, 0, 0, 100, 100, NO_WINDOW, 0);
    interactive_window = create_window("sim-test-interactive", "2D", 0, 0, 0, 100, 100, NO_WINDOW, 0);
}

void close_views() {
    destroy_window(view3d_window);
    destroy_window(interactive_window);
    view3d_window = NO_WINDOW;
    interactive_window = NO_WINDOW;
    on_draw = nullptr;
}

void pump_for(int milliseconds) {
    for (int waited = 0; waited < milliseconds; ++waited) {
        Message m;
        while (peek_message(&m)) dispatch_message(m);
        serve_sent_messages();
        sleep_ms(1);
    }
}

bool pump_until(const std::function<bool()>& done) {
    for (int waited = 0; waited < 60000 && !done(); ++waited) {
        Message m;
        while (peek_message(&m)) dispatch_message(m);
        serve_sent_messages();
        if (!done()) sleep_ms(1);
    }
    return done();
}

Body* add_test_body(double x, double y, double vx, double vy, double user_mass) {
    Body* body = add_body(nullptr, x, y, 0.2, material_colours[WHITE], user_mass, WHITE);
    body->vx = vx;
    body->vy = vy;
    return body;
}

bool run_fully_released() {
    return body_count == 0 && body_list == nullptr && pred_x == nullptr && pred_y == nullptr &&
           body_masses == nullptr && draw_x == nullptr && draw_y == nullptr && interactive_x == nullptr &&
           interactive_y == nullptr && draw_material == nullptr && draw_radius == nullptr &&
           draw_emission == nullptr && draw_glowing == nullptr && pos_x == nullptr && vel_x == nullptr &&
           step == nullptr && t0 == nullptr && drawn_frame == nullptr && simulation_thread_handle == nullptr &&
           frame_thread_handle == nullptr && interactive_frame_thread_handle == nullptr && frame_free == nullptr &&
           positions_ready == nullptr && simulation_active == 0;
}
