// Close encounters: a 100-body cloud with close passes and eccentric binaries
// run to t = 1 (wall time per run, body steps, energy error at the end).
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>

#include "scenefile/scene_file.h"
#include "sim/bodies.h"
#include "sim/integrator.h"

namespace {

void BM_Cloud100ToTimeOne(benchmark::State& state) {
    std::snprintf(scene_path, sizeof scene_path, "%s", STELO_BENCH_SCENES "/cloud100.slo");
    long long steps = 0;
    double error = 0.0;
    for (auto _ : state) {
        if (!read_scene()) {
            state.SkipWithError("cloud100.slo could not be read");
            return;
        }
        copy_body_list();
        start_integrator();
        PublishedFrame* frame = frame_to_publish();
        predict_frame(0.0, frame);
        const double start = frame_energy(*frame, body_masses);
        while (sim_time < 1.0 && step_next_body()) {
        }
        predict_frame(1.0, frame);
        error = frame_energy(*frame, body_masses) / start - 1.0;
        steps = body_steps_done.load();
        clear_bodies();
        release_integrator();
        release_run_arrays();
    }
    state.counters["body_steps"] = static_cast<double>(steps);
    state.counters["dE"] = error;
}
BENCHMARK(BM_Cloud100ToTimeOne)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
