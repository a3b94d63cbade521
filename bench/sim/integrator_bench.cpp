// Integrator throughput on a rotating disc of equal bodies.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "force_ceiling.h"
#include "sim/bodies.h"
#include "sim/integrator.h"

namespace {

// N bodies spread evenly over a disc, each on a circular orbit about the
// mass inside its radius; the same scene for the same N.
void disc_scene(int count) {
    clear_bodies();
    reset_scene_defaults();
    std::uint64_t state = 12345;
    auto uniform = [&state] {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<double>(state >> 11) * (1.0 / 9007199254740992.0);
    };
    const double radius = 3.0e5, total = count * MASS_UNIT;
    for (int i = 0; i < count; ++i) {
        const double r = radius * std::sqrt(uniform() * 0.99 + 0.01), angle = 2.0 * 3.141592653589793 * uniform();
        const double v = std::sqrt(total * (r * r) / (radius * radius) / r);
        Body* b = add_body(nullptr, r * std::cos(angle), r * std::sin(angle), 0.1, material_colours[0], 1.0, 0);
        b->vx = -v * std::sin(angle);
        b->vy = v * std::cos(angle);
    }
}

void end_scene() {
    clear_bodies();
    release_integrator();
    release_run_arrays();
}

void BM_BodySteps(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    disc_scene(count);
    copy_body_list();
    start_integrator();
    for (auto _ : state) {
        if (!step_next_body()) {
            state.SkipWithError("no body can step");
            break;
        }
    }
    benchmark::DoNotOptimize(pos_x[0]);
    state.counters["body_steps/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["pairs/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * (count - 1), benchmark::Counter::kIsRate);
    end_scene();
}
BENCHMARK(BM_BodySteps)->Arg(10)->Arg(100)->Arg(1000)->Arg(10000);



void BM_SetUp(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    disc_scene(count);
    for (auto _ : state) {
        copy_body_list();
        start_integrator();
        benchmark::DoNotOptimize(step[0]);
        state.PauseTiming();
        release_integrator();
        release_run_arrays();
        state.ResumeTiming();
    }
    // Two passes over all ordered pairs.
    state.counters["pairs/s"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * 2.0 * count * (count - 1.0), benchmark::Counter::kIsRate);
    clear_bodies();
}
BENCHMARK(BM_SetUp)->Arg(10)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// The ceiling: the bare force on one body from all, over the disc's data.
void BM_ForceCeiling(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    disc_scene(count);
    copy_body_list();
    start_integrator();
    int i = 0;
    double fx = 0.0, fy = 0.0;
    for (auto _ : state) {
        ceiling_force(count, pred_x[i], pred_y[i], pred_x, pred_y, body_masses, &fx, &fy);
        benchmark::DoNotOptimize(fx);
        benchmark::DoNotOptimize(fy);
        if (++i == count) i = 0;
    }
    state.counters["pairs/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * count, benchmark::Counter::kIsRate);
    end_scene();
}
BENCHMARK(BM_ForceCeiling)->Arg(10)->Arg(100)->Arg(1000)->Arg(10000);

// The step loop's halves alone, each over the disc's bodies at a step's
// time: the predictions and terms (no sum), and the in-order sum of terms
// already computed (a chain of additions, each waiting for the one before).
void BM_PredictedTermsBound(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    disc_scene(count);
    copy_body_list();
    start_integrator();
    std::vector<double> terms(2 * static_cast<std::size_t>(count));
    int i = 0;
    for (auto _ : state) {
        bound_predicted_terms(count, t0[i] + step[i], pos_x[i], pos_y[i], pos_x, pos_y, vel_x, vel_y, half_force_x,
                              half_force_y, sixth_jerk_x, sixth_jerk_y, t0, body_masses, terms.data());
        benchmark::DoNotOptimize(terms.data());
        benchmark::ClobberMemory();
        if (++i == count) i = 0;
    }
    state.counters["pairs/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * count, benchmark::Counter::kIsRate);
    end_scene();
}
BENCHMARK(BM_PredictedTermsBound)->Arg(1000);

void BM_InOrderSumBound(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    std::vector<double> terms(2 * static_cast<std::size_t>(count), 1.0);
    double fx = 0.0, fy = 0.0;
    for (auto _ : state) {
        bound_in_order_sum(count, terms.data(), &fx, &fy);
        benchmark::DoNotOptimize(fx);
        benchmark::DoNotOptimize(fy);
    }
    state.counters["pairs/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * count, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_InOrderSumBound)->Arg(1000);

}  // namespace

BENCHMARK_MAIN();
