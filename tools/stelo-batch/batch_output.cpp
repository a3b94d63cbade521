// Selection of the frames to print and the CSV rows. Positions come from the
// published frame in double precision and go through the same reference
// frame transformation the frame thread applies (drawn_transform), so the
// output keeps full precision where the views get floats.
#include "tools/stelo-batch/batch_output.h"

#include <cmath>
#include <cstdio>

#include "sim/bodies.h"
#include "sim/frames.h"
#include "sim/simulation.h"
#include "tools/stelo-batch/batch_svg.h"

const char BATCH_WINDOW_CLASS[] = "stelo.batch";
BatchProgress batch_progress = {};
Window batch_window = NO_WINDOW;

namespace {

const BatchOptions* options = nullptr;
double half_step = 0.0;          // half the scene's time step
long long last_multiple = -1;    // the multiple of --every printed last
double start_energy = 0.0;

// Whether the frame at time t is the one printed for a multiple of --every.
int selected(double t) {
    if (options->every <= 0.0) return 1;
    const long long m = std::llround(t / options->every);
    if (m <= last_multiple) return 0;
    if (std::fabs(t - static_cast<double>(m) * options->every) > half_step) return 0;
    last_multiple = m;
    return 1;
}

void print_frame(const PublishedFrame& frame) {
    double x = 0.0, y = 0.0;
    for (int i = 0; i < frame.count; ++i) {
        if (!frame_position(drawn_transform, frame.x[i], frame.y[i], &x, &y)) {
            x = frame.x[i];
            y = frame.y[i];
        }
        std::printf("%.17g,%d,%.17g,%.17g\n", frame.time, i, x, y);
    }
    if (!options->energy) return;
    const double energy = frame_energy(frame, body_masses);
    const double error = start_energy != 0.0 ? (energy - start_energy) / std::fabs(start_energy)
                                             : energy - start_energy;
    std::printf("%.17g,energy,%.17g,%.17g\n", frame.time, energy, error);
}

LRESULT batch_window_proc(Window window, unsigned message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_CHECK_PROGRESS:
        if (batch_progress.done) {
            post_quit_message(0);
        } else if (time_limit_reached) {
            batch_progress.stalled = 1;
            batch_progress.done = 1;
            post_quit_message(1);
        }
        return 0;
    default:
        return default_window_proc(window, message, wparam, lparam);
    }
}

}  // namespace

void take_frame() {
    const PublishedFrame* frame = drawn_frame;
    if (frame == nullptr || batch_progress.done) return;
    if (batch_progress.frames == 0) {
        half_step = 0.5 * time_step;
        start_energy = frame_energy(*frame, body_masses);
    }
    ++batch_progress.frames;
    batch_progress.body_steps = frame->body_steps;
    if (selected(frame->time)) {
        if (options->svg != nullptr)
            svg_add_frame(*frame);
        else
            print_frame(*frame);
    }
    // The frame nearest to T: the first one no more than half a step before it
    // (of two equally near, the earlier).
    if (frame->time + half_step >= options->until) {
        batch_progress.done = 1;
        post_message(batch_window, WM_CHECK_PROGRESS, 0, 0);
    }
}

int register_batch_window(const BatchOptions* batch_options) {
    options = batch_options;
    return register_window_class(WindowClass{BATCH_WINDOW_CLASS, batch_window_proc, 1, nullptr});
}
