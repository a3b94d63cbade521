// The 3D view's frame rate is the speed of the whole simulation: every frame
// is published, converted and drawn before the next one is handed over.
// OnScreen counts the frames the real view draws while a real simulation
// runs (simulation thread, frame thread, WM_DRAW_FRAME through the event
// loop); DrawingAlone times the drawing call itself plus glFinish on the
// same view and scene; DrawingBackToBack the drawing calls alone. The
// WithTrails variants do the same with every trail full (the popup menu's
// Show Trails, TRAIL_FRAMES positions per body). Trails are kept as a
// picture that each new frame extends, so DrawingAloneWithTrails, which
// draws the same frame again, times the copy of that picture; the work a
// new frame adds shows in OnScreenWithTrails. All in an 800 x 600 client
// area. Each also reports the processor time of all the process's threads
// per frame, which a busy machine changes far less than the frame rate.
//
//   tests/own-display.sh build/bench/render/bench_view3d
#include <GL/gl.h>
#include <benchmark/benchmark.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <ctime>
#include <cstdlib>
#include <string>

#include "app_state/energy_series.h"
#include "app_state/settings.h"
#include "drawing/scene_drawing.h"
#include "drawing/trails.h"
#include "drawing/view3d_frame.h"
#include "shell/shell.h"
#include "sim/bodies.h"
#include "sim/frames.h"
#include "sim/simulation.h"
#include "windows/plot_window.h"
#include "windows/view3d_window.h"

// The shell defines the pages and the control window; the benchmark has none.
Window page_timestep = NO_WINDOW;
Window page_viewing = NO_WINDOW;
Window control_window = NO_WINDOW;

namespace {

constexpr int CLIENT_WIDTH = 800;
constexpr int CLIENT_HEIGHT = 600;

// A glowing star with n - 1 light bodies on circular orbits around it,
// spread over the view; the star lights them all.
void add_orbiting_ring(int n) {
    Body* star = nullptr;
    const double star_mass = 1000.0;
    add_body(&star, 0.0, 0.0, 0.6, material_colours[YELLOW], star_mass, YELLOW);
    set_body_glow(star, 1, emission_by_colour[YELLOW], light_by_colour[YELLOW], 1);
    glow_count = 1;
    for (int i = 1; i < n; ++i) {
        const double angle = 2.399963229728653 * i;  // golden angle: no two bodies close
        const double r = (2.0 + 9.0 * i / n) / VIEW_SCALE;
        const double speed = std::sqrt(star_mass * MASS_UNIT / r);
        Body* body = nullptr;
        add_body(&body, r * std::cos(angle), r * std::sin(angle), 0.12, material_colours[1 + i % 6], 1e-6,
                 1 + i % 6);
        body->vx = -speed * std::sin(angle);
        body->vy = speed * std::cos(angle);
    }
}

void pump_for(int milliseconds) { gui_process_events(milliseconds); }

// Processor time of every thread of the process, the renderer's own
// rasterising threads included: unlike the frame rate it does not depend
// on what else the machine is running.
double process_cpu_ms() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) * 1e-6;
}

void count_cpu_per_frame(benchmark::State& state, double start_ms) {
    if (state.iterations() > 0)
        state.counters["cpu_ms_per_frame"] = (process_cpu_ms() - start_ms) / static_cast<double>(state.iterations());
}

bool pump_until_frames(long long target, int timeout_ms) {
    for (int waited = 0; view3d_frames_drawn < target; waited += 5) {
        if (waited > timeout_ms) return false;
        pump_for(5);
    }
    return true;
}

// The 3D view of a fresh scene of n bodies, running.
Window open_running_view(int n) {
    clear_bodies();
    reset_scene_defaults();
    stop_requested = 0;
    add_orbiting_ring(n);
    Window view = create_window(VIEW3D_CLASS, VIEW3D_TITLE, WS_OVERLAPPED_WINDOW, 20, 20, CLIENT_WIDTH + 8,
                                CLIENT_HEIGHT + 27, NO_WINDOW, 0);
    view3d_window = view;
    show_window(view, SHOW_NORMAL);
    pump_for(200);
    send_message(view, WM_COMMAND, CMD_RUN, 0);
    pump_until_frames(view3d_frames_drawn + 3, 60000);
    return view;
}

// The running view of n bodies with trails shown, once every trail is full.
Window open_view_with_full_trails(int n, benchmark::State& state) {
    Window view = open_running_view(n);
    send_message(view, WM_COMMAND, CMD_SHOW_TRAILS, 0);
    for (int waited = 0; trail_length(0) < trail_capacity() || trail_capacity() == 0; waited += 5) {
        if (waited > 120000) {
            state.SkipWithError("the trails did not fill");
            break;
        }
        pump_for(5);
    }
    return view;
}

void close_view(Window view) {
    destroy_window(view);
    view3d_window = NO_WINDOW;
    stop_requested = 0;
    clear_bodies();
    pump_for(0);
}

void check_client_size(benchmark::State& state) {
    if (rv_width != CLIENT_WIDTH || rv_height != CLIENT_HEIGHT) {
        char text[96];
        std::snprintf(text, sizeof text, "client area %d x %d, not 800 x 600", rv_width, rv_height);
        state.SkipWithError(text);
    }
}

// Frames the running view draws per second of real time; closes the view.
void count_frames_on_screen(benchmark::State& state, Window view) {
    check_client_size(state);
    long long frames = 0;
    const double start = process_cpu_ms();
    for (auto _ : state) {
        const long long before = view3d_frames_drawn;
        pump_for(2000);
        frames += view3d_frames_drawn - before;
    }
    // Here the simulation's threads count too: the same work for every
    // frame, with trails or without.
    if (frames > 0) state.counters["cpu_ms_per_frame"] = (process_cpu_ms() - start) / static_cast<double>(frames);
    state.counters["fps"] = benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kIsRate);
    close_view(view);
}

void OnScreen(benchmark::State& state) {
    count_frames_on_screen(state, open_running_view(static_cast<int>(state.range(0))));
}

// Drawings of the stopped view per second, each finished; closes the view.
void time_drawing_alone(benchmark::State& state, Window view) {
    check_client_size(state);
    // The workers stay put while the drawing is timed on the frame they left.
    send_message(view, WM_COMMAND, CMD_STOP, 0);
    pump_for(300);
    const double start = process_cpu_ms();
    for (auto _ : state) {
        draw_view3d_lit(view);
        glFinish();
    }
    count_cpu_per_frame(state, start);
    state.counters["fps"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    close_view(view);
}

void DrawingAlone(benchmark::State& state) {
    time_drawing_alone(state, open_running_view(static_cast<int>(state.range(0))));
}

// The drawing calls back to back on the stopped run, finished once at the
// end: the drawing's own throughput when, as on screen, the rasteriser may
// still be working on one frame while the next is being issued.
void DrawingBackToBack(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    Window view = open_running_view(n);
    check_client_size(state);
    send_message(view, WM_COMMAND, CMD_STOP, 0);
    pump_for(300);
    const double start = process_cpu_ms();
    for (auto _ : state) draw_view3d_lit(view);
    glFinish();
    count_cpu_per_frame(state, start);
    state.counters["fps"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    close_view(view);
}

void OnScreenWithTrails(benchmark::State& state) {
    count_frames_on_screen(state, open_view_with_full_trails(static_cast<int>(state.range(0)), state));
}

void DrawingAloneWithTrails(benchmark::State& state) {
    time_drawing_alone(state, open_view_with_full_trails(static_cast<int>(state.range(0)), state));
}

// The running view with the energy plot open beside it, its series filled
// to its bound, so each readout repaints the plot's most points.
void OnScreenWithPlot(benchmark::State& state) {
    Window view = open_running_view(static_cast<int>(state.range(0)));
    open_energy_plot(20, CLIENT_HEIGHT + 80, PLOT_WIDTH, PLOT_HEIGHT);
    for (int i = 0; i < ENERGY_SERIES_CAPACITY; ++i)
        append_energy_point({1e-3 * i, -1.0, -1e-9 * (1 + i % 17), 0.0, 0.0});
    pump_for(300);
    count_frames_on_screen(state, view);
    destroy_window(plot_window);
}

}  // namespace

BENCHMARK(OnScreen)->Arg(10)->Arg(100)->Arg(1000)->Iterations(2)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(DrawingAlone)->Arg(10)->Arg(100)->Arg(1000)->MinTime(2.0)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(DrawingBackToBack)->Arg(10)->Arg(100)->Arg(1000)->MinTime(2.0)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(OnScreenWithPlot)->Arg(100)->Iterations(2)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(OnScreenWithTrails)->Arg(10)->Arg(100)->Arg(1000)->Iterations(2)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(DrawingAloneWithTrails)->Arg(10)->Arg(100)->Arg(1000)->MinTime(2.0)->UseRealTime()->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    if (!gui_init(&argc, argv)) {
        std::fprintf(stderr, "bench_view3d: no display\n");
        return 1;
    }
    register_window_class(WindowClass{VIEW3D_CLASS, view3d_window_proc, 1, nullptr});
    register_plot_classes();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    gui_shutdown();
    return 0;
}
