// The worker threads as the views and the runner use them: the cost of one
// frame hand-over (simulation thread -> frame thread -> WM_DRAW_FRAME to a
// window and back), and how long an orderly end of every worker takes for a
// scene of 20 000 bodies in each state a Close can find it in (the aim is
// well under 200 ms).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdint>

#include "platform/platform.h"
#include "sim/bodies.h"
#include "sim/frames.h"
#include "sim/simulation.h"

namespace {

long long frames_drawn = 0;
long long frames_wanted = 0;

// Stands for the 3D view (and the interactive view): counts the frames it is
// asked to draw and ends the message loop after the wanted number.
LRESULT bench_view_proc(Window window, unsigned message, WPARAM wparam, LPARAM lparam) {
    if (message != WM_DRAW_FRAME) return default_window_proc(window, message, wparam, lparam);
    if (window == view3d_window && ++frames_drawn == frames_wanted) post_quit_message(0);
    return 0;
}

void open_bench_views() {
    static const int registered = register_window_class({"bench-view", bench_view_proc, 1, nullptr});
    (void)registered;
    view3d_window = create_window("bench-view", "3D", 0, 0, 0, 100, 100, NO_WINDOW, 0);
    interactive_window = create_window("bench-view", "2D", 0, 0, 0, 100, 100, NO_WINDOW, 0);
}

void close_bench_views() {
    destroy_window(view3d_window);
    destroy_window(interactive_window);
    view3d_window = interactive_window = NO_WINDOW;
    stop_requested = 0;
    clear_bodies();
}

// The figure-eight orbit of three equal bodies (examples/figure-eight.slo).
void figure_eight() {
    const double user_mass = 8e17 / MASS_UNIT;
    const double bodies[3][4] = {{388002, -97235, 659312, 611457},
                                 {-388002, 97235, 659312, 611457},
                                 {0, 0, -1.31862e+06, -1.22291e+06}};
    for (const auto& b : bodies) {
        Body* body = add_body(nullptr, b[0], b[1], 0.35, material_colours[WHITE], user_mass, WHITE);
        body->vx = b[2];
        body->vy = b[3];
    }
}

// One frame hand-over of a 3-body run with a time step of 0.001, as the
// runner sees it: the real simulation and frame threads, the synchronous
// WM_DRAW_FRAME served by this thread's message loop.
void BM_FrameHandOver(benchmark::State& state) {
    constexpr long long FRAMES = 20000;
    for (auto _ : state) {
        state.PauseTiming();
        clear_bodies();
        reset_scene_defaults();
        stop_requested = 0;
        figure_eight();
        open_bench_views();
        frames_drawn = 0;
        frames_wanted = FRAMES;
        start_simulation_workers(star_lighting);
        resume_thread(simulation_thread_handle);
        state.ResumeTiming();
        run_message_loop();
        state.PauseTiming();
        end_simulation_workers();
        close_bench_views();
        state.ResumeTiming();
    }
    state.counters["per_frame"] = benchmark::Counter(static_cast<double>(state.iterations() * FRAMES),
                                                     benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_FrameHandOver)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

// Serves this thread's windows until done() (or ten minutes have passed).
template <typename Done>
bool pump_until(Done done) {
    const auto limit = std::chrono::steady_clock::now() + std::chrono::minutes(10);
    while (!done()) {
        if (std::chrono::steady_clock::now() > limit) return false;
        Message m;
        while (peek_message(&m)) dispatch_message(m);
        serve_sent_messages();
        sleep_ms(1);
    }
    return true;
}

// A disc of bodies at rest, the same for the same count.
void disc(int count) {
    std::uint64_t seed = 12345;
    auto uniform = [&seed] {
        seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<double>(seed >> 11) * (1.0 / 9007199254740992.0);
    };
    for (int i = 0; i < count; ++i) {
        const double r = 3.0e5 * std::sqrt(uniform()), angle = 6.283185307179586 * uniform();
        add_body(nullptr, r * std::cos(angle), r * std::sin(angle), 0.1, material_colours[WHITE], 1.0, WHITE);
    }
}

// The "state" argument: 0 in the set-up, 1 mid-run, 2 stopped (both 3D view
// workers suspended), 3 running with the interactive view minimised (its
// frame thread suspended).
enum CloseState { IN_SET_UP, MID_RUN, STOPPED, MINIMISED };

// The orderly end of every worker (what Close, New and Exit do) for a large
// scene, timed alone.
void BM_CloseLargeScene(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    const auto when = static_cast<CloseState>(state.range(1));
    for (auto _ : state) {
        state.PauseTiming();
        clear_bodies();
        reset_scene_defaults();
        stop_requested = 0;
        disc(count);
        open_bench_views();
        frames_drawn = 0;
        frames_wanted = -1;
        start_simulation_workers(star_lighting);
        interactive_frame_thread_handle = create_thread(interactive_frame_thread, 0);
        resume_thread(simulation_thread_handle);
        bool ready = pump_until([] { return simulation_active.load() == 1; });
        // Past the set-up: frame 0 drawn and the body steps towards the next.
        if (when != IN_SET_UP)
            ready = ready && pump_until([] { return frames_drawn >= 1 && body_steps_done.load() > 100; });
        if (when == STOPPED) {  // the 3D view's Stop
            suspend_thread(simulation_thread_handle);
            suspend_thread(frame_thread_handle);
        }
        if (when == MINIMISED) suspend_thread(interactive_frame_thread_handle);
        if (!ready) {
            end_simulation_workers();
            close_bench_views();
            state.SkipWithError("the scene did not reach the state");
            break;
        }
        const auto start = std::chrono::steady_clock::now();
        end_simulation_workers();
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(seconds);
        close_bench_views();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_CloseLargeScene)
    ->ArgNames({"bodies", "state"})
    ->Args({20000, IN_SET_UP})
    ->Args({20000, MID_RUN})
    ->Args({20000, STOPPED})
    ->Args({20000, MINIMISED})
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
