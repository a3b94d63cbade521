// The frame threads. The 3D view's frame thread takes each published frame,
// converts it into the chosen reference frame and asks the view to draw it;
// the interactive view's frame thread converts the latest predictions about
// the centre of mass as fast as that view draws them.
#include "sim/bodies.h"
#include "sim/frames.h"
#include "sim/integrator.h"

Window view3d_window = NO_WINDOW;
Window interactive_window = NO_WINDOW;
void (*take_drawn_frame)() = nullptr;
double interactive_centre_x = 0.0;
double interactive_centre_y = 0.0;

namespace {

void convert_frame(const PublishedFrame* frame) {
    const FrameTransform f = make_frame_transform(frame->x, frame->y, body_masses, frame->count, run_total_mass);
    drawn_frame = frame;
    drawn_transform = f;
    double x, y;
    for (int i = 0; i < frame->count; ++i) {
        if (!frame_position(f, frame->x[i], frame->y[i], &x, &y)) break;
        draw_x[i] = static_cast<float>(x * VIEW_SCALE);
        draw_y[i] = static_cast<float>(y * VIEW_SCALE);
    }
    // The lights move with their bodies whenever the run was set up lit: the
    // set-up reads star lighting when the first Run starts, which may come
    // after this thread was started as the unlit variant (an unlit run has
    // no light slots).
    for (int k = 0; k < light_slot_count; ++k) {
        const int i = light_body[k];
        if (!frame_position(f, frame->x[i], frame->y[i], &x, &y)) break;
        light_position[k][0] = static_cast<float>(x * VIEW_SCALE);
        light_position[k][1] = static_cast<float>(y * VIEW_SCALE);
    }
}

int frame_thread() {
    if (stop_requested) return 0;
    for (;;) {
        wait_event(positions_ready);
        if (stop_requested) break;
        suspension_point();
        if (stop_requested) break;
        // The run's arrays stay with this thread until the view has drawn.
        if (!acquire_run_arrays()) {
            set_event(frame_free);
            continue;
        }
        if (const PublishedFrame* frame = latest_published_frame()) convert_frame(frame);
        set_event(frame_free);
        if (take_drawn_frame != nullptr)
            take_drawn_frame();
        else
            send_message(view3d_window, WM_DRAW_FRAME, 0, 0);
        release_run_arrays();
    }
    return 0;
}

}  // namespace

int frame_thread_lit() { return frame_thread(); }
int frame_thread_unlit() { return frame_thread(); }

int interactive_frame_thread() {
    double a = 0.0, b = 0.0;
    while (!stop_requested) {
        suspension_point();
        if (stop_requested) break;
        if (!acquire_run_arrays()) {  // no run yet, or it has ended
            wait_for_run_or_stop();
            continue;
        }
        const int active = simulation_active;
        const double* x;
        const double* y;
        const int count = lock_live_positions(&x, &y);
        // One consistent copy: its centre of mass is the same for every body.
        if (active && count > 0) centre_of_mass(x, y, body_masses, count, run_total_mass, &a, &b);
        for (int i = 0; i < count; ++i) {
            interactive_x[i] = static_cast<float>((x[i] - a) * VIEW_SCALE);
            interactive_y[i] = static_cast<float>((y[i] - b) * VIEW_SCALE);
        }
        unlock_live_positions();
        interactive_centre_x = a;
        interactive_centre_y = b;
        if (active) send_message(interactive_window, WM_DRAW_FRAME, 0, 0);
        release_run_arrays();
        if (!active) wait_for_run_or_stop();  // nothing moves until a run starts
    }
    return 0;
}
