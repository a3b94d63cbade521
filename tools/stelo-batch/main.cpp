// stelo-batch: runs a scene file without a display. The real simulation
// thread and the real frame thread run exactly as behind the 3D view; a
// headless window takes the place of the view and prints the frames it is
// asked to draw.
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "platform/platform.h"
#include "scenefile/scene_file.h"
#include "sim/bodies.h"
#include "sim/frames.h"
#include "sim/simulation.h"
#include "tools/stelo-batch/batch_options.h"
#include "tools/stelo-batch/batch_output.h"
#include "tools/stelo-batch/batch_svg.h"

namespace {

// Tells the window when the run's bodies cannot step any more: such a run
// publishes no frame that would end it. Ends with the workers.
int watch_thread() {
    if (wait_for_stall_or_stop()) post_message(batch_window, WM_CHECK_PROGRESS, 0, 0);
    return 0;
}

int finite_bodies() {
    const Body* body = body_list;
    for (int i = 0; i < body_count; ++i, body = body->next) {
        if (!std::isfinite(body->x) || !std::isfinite(body->y) || !std::isfinite(body->vx) ||
            !std::isfinite(body->vy) || !std::isfinite(body->mass))
            return 0;
    }
    return 1;
}

void print_stats(const BatchOptions& options, std::chrono::steady_clock::time_point start) {
    if (!options.stats) return;
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::fprintf(stderr, "body_steps=%lld frames=%lld wall_s=%.3f\n", batch_progress.body_steps,
                 batch_progress.frames, wall);
}

// The frame thread and the simulation thread run until the frame nearest to
// T has been printed; then they are ended in order and joined.
int run_scene() {
    batch_window = create_window(BATCH_WINDOW_CLASS, "stelo-batch", 0, 0, 0, 0, 0, NO_WINDOW, 0);
    if (batch_window == NO_WINDOW) return 1;
    view3d_window = batch_window;
    take_drawn_frame = take_frame;
    start_simulation_workers(star_lighting);
    if (simulation_thread_handle == nullptr || frame_thread_handle == nullptr) {
        std::fprintf(stderr, "stelo-batch: could not start the simulation threads\n");
        end_simulation_workers();
        clear_bodies();
        destroy_window(batch_window);
        return 1;
    }
    resume_thread(frame_thread_handle);
    resume_thread(simulation_thread_handle);
    Thread* watch = create_thread(watch_thread, 0);

    run_message_loop();

    end_simulation_workers();
    close_thread(watch);
    destroy_window(batch_window);
    view3d_window = NO_WINDOW;
    take_drawn_frame = nullptr;
    return batch_progress.stalled ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
    const auto start = std::chrono::steady_clock::now();
    static BatchOptions options;
    switch (parse_batch_options(argc, argv, &options)) {
    case PARSE_EXIT_OK:
        return 0;
    case PARSE_BAD:
        return 2;
    case PARSE_RUN:
        break;
    }
    if (options.svg != nullptr && !svg_path_writable(options.svg)) return 2;
    static char output_buffer[1 << 16];
    std::setvbuf(stdout, output_buffer, _IOFBF, sizeof output_buffer);

    std::strcpy(scene_path, options.scene);  // length checked by the parser
    if (!read_scene()) return 1;  // the reader has shown why
    // A time step of zero or below never reaches T: refused rather than run.
    if (!(time_step > 0.0) || !std::isfinite(time_step)) {
        std::fprintf(stderr, "stelo-batch: the time step of %s is %g; it must be above zero\n", scene_path, time_step);
        clear_bodies();
        return 2;
    }
    if (!finite_bodies()) {
        std::fprintf(stderr, "stelo-batch: %s holds a body whose position, velocity or mass is not a number\n",
                     scene_path);
        clear_bodies();
        return 1;
    }
    set_frame_mode(options.frame_mode);
    register_batch_window(&options);

    int status = 0;
    if (body_count > 0) status = run_scene();
    if (options.svg != nullptr && status == 0 && !write_svg(options.svg, options.scene, options.frame_name)) status = 1;
    std::fflush(stdout);
    if (batch_progress.stalled) {
        std::fprintf(stderr, "stelo-batch: the simulation cannot go on before time %g\n", options.until);
    }
    print_stats(options, start);
    return status;
}
