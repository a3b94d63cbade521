// The simulation and frame threads: hand-over, suspension, time steps, and
// orderly ends that release everything exactly once in every state.
#include <gtest/gtest.h>

#include <cmath>

#include "thread_harness.h"

namespace {

class Threads : public ::testing::Test {
protected:
    void SetUp() override {
        clear_bodies();
        reset_scene_defaults();
        glow_count = 0;
        open_views();
    }
    void TearDown() override {
        end_simulation_workers();
        close_views();
        EXPECT_TRUE(run_fully_released());
        clear_bodies();
        reset_scene_defaults();
    }
    // A light body circling a heavy one.
    void orbiting_pair() {
        const double r = 2.0e5, heavy = 10000.0 * MASS_UNIT, light = MASS_UNIT;
        const double omega = std::sqrt((heavy + light) / std::pow(r * r + softening2, 1.5));
        add_test_body(0.0, 0.0, 0.0, -omega * r * light / heavy, 10000.0);
        add_test_body(r, 0.0, 0.0, omega * r, 1.0);
    }
    void run() { resume_thread(simulation_thread_handle); }
    static bool frames_seen(std::size_t n) { return seen_frames.size() >= n; }
};

TEST_F(Threads, FramesArriveInOrderAtEveryTimeStepWithAtMostOneFrameLead) {
    orbiting_pair();
    time_step = 0.002;
    start_simulation_workers(1);
    run();
    ASSERT_TRUE(pump_until([] { return frames_seen(30); }));
    end_simulation_workers();
    ASSERT_GE(seen_frames.size(), 30u);
    for (std::size_t k = 0; k < seen_frames.size(); ++k) {
        EXPECT_NEAR(seen_frames[k].time, 0.002 * static_cast<double>(k), 1e-12) << "frame " << k;
        if (k > 0) {
            EXPECT_GT(seen_frames[k].body_steps, seen_frames[k - 1].body_steps);
        }
        // While frame k is drawn the simulation may publish frame k + 1 and
        // step on towards k + 2, but it cannot publish k + 2.
        if (k + 2 < seen_frames.size()) {
            EXPECT_LE(seen_frames[k].steps_while_drawn, seen_frames[k + 2].body_steps);
        }
    }
    // Frame 0 is the initial scene; the light body was added last, so it is
    // index 0 and is drawn at 2e5 world units.
    EXPECT_EQ(seen_frames[0].x[0], 2.0e5);
    EXPECT_EQ(seen_frames[0].draw_x[0], static_cast<float>(2.0e5 * VIEW_SCALE));
    EXPECT_EQ(seen_frames[0].body_steps, 0);
}

TEST_F(Threads, FixedFrameScalesWorldUnitsAndMovesTheLights) {
    Body* star = add_test_body(632390.0, 0.0, 0.0, 0.0, 1.0);
    set_body_glow(star, 1, emission_by_colour[YELLOW], light_by_colour[YELLOW], ++glow_count);
    add_test_body(-632390.0, 0.0, 0.0, 0.0, 1.0);
    time_step = 0.0;
    start_simulation_workers(1);
    run();
    ASSERT_TRUE(pump_until([] { return frames_seen(2); }));
    EXPECT_EQ(light_slot_count, 1);
    const SeenFrame& f = seen_frames[1];
    EXPECT_EQ(f.draw_x[0], -15.0f);
    EXPECT_EQ(f.draw_x[1], 15.0f);
    ASSERT_EQ(f.light_x.size(), 1u);
    EXPECT_EQ(f.light_x[0], 15.0f);
    EXPECT_EQ(light_position[0][3], 1.0f);
    // A new origin moves every body and light by the same offset.
    on_draw = [] { set_frame_origin(632390.0, 0.0); };
    const std::size_t seen = seen_frames.size();
    ASSERT_TRUE(pump_until([seen] { return frames_seen(seen + 2); }));
    const SeenFrame& g = seen_frames.back();
    EXPECT_EQ(g.draw_x[0], -30.0f);
    EXPECT_EQ(g.draw_x[1], 0.0f);
    EXPECT_EQ(g.light_x[0], 0.0f);
}

TEST_F(Threads, NoMoreThanEightBodiesTakeLightSlots) {
    for (int i = 0; i < 10; ++i) {
        Body* b = add_test_body(1.0e4 * i, 0.0, 0.0, 0.0, 1.0);
        set_body_glow(b, 1, emission_by_colour[RED], light_by_colour[RED], ++glow_count);
    }
    start_simulation_workers(1);
    run();
    ASSERT_TRUE(pump_until([] { return frames_seen(1); }));
    EXPECT_EQ(light_slot_count, LIGHT_SLOTS);
    for (int k = 0; k < LIGHT_SLOTS; ++k) EXPECT_EQ(light_body[k], k);
    EXPECT_EQ(seen_frames[0].light_x.size(), static_cast<std::size_t>(LIGHT_SLOTS));
}

TEST_F(Threads, FrameWithAnUnknownModeIsTakenAndDrawnButNotConverted) {
    orbiting_pair();
    frame_mode = 12345;
    start_simulation_workers(0);
    run();
    ASSERT_TRUE(pump_until([] { return frames_seen(5); }));
    // The draw arrays keep the values the set-up gave them (world / 632390).
    for (const SeenFrame& f : seen_frames) EXPECT_EQ(f.draw_x[0], static_cast<float>(2.0e5 * 1.5813026771454325e-06));
}

TEST_F(Threads, ZeroTimeStepRepublishesTheSamePositions) {
    orbiting_pair();
    time_step = 0.0;
    start_simulation_workers(1);
    run();
    ASSERT_TRUE(pump_until([] { return frames_seen(10); }));
    for (const SeenFrame& f : seen_frames) {
        EXPECT_EQ(f.time, 0.0);
        EXPECT_EQ(f.body_steps, 0);
        EXPECT_EQ(f.x, seen_frames[0].x);
        EXPECT_EQ(f.y, seen_frames[0].y);
    }
}

TEST_F(Threads, NegativeTimeStepStepsNoBodyAndRunsBackwards) {
    orbiting_pair();
    time_step = -0.001;
    start_simulation_workers(1);
    run();
    ASSERT_TRUE(pump_until([] { return frames_seen(10); }));
    for (std::size_t k = 0; k < seen_frames.size(); ++k) {
        EXPECT_EQ(seen_frames[k].body_steps, 0);
        EXPECT_NEAR(seen_frames[k].time, -0.001 * static_cast<double>(k), 1e-12);
        for (double x : seen_frames[k].x) EXPECT_TRUE(std::isfinite(x));
    }
    // Backwards along the orbit: the light body (index 0) moves to negative y.
    EXPECT_LT(seen_frames.back().y[0], 0.0);
}

TEST_F(Threads, ChangedTimeStepSpacesLaterFramesOnly) {
    orbiting_pair();
    time_step = 0.001;
    on_draw = [] {
        if (seen_frames.size() == 3) set_time_step(0.004);
    };
    start_simulation_workers(1);
    run();
    ASSERT_TRUE(pump_until([] { return frames_seen(8); }));
    // The change comes while frame 2 is drawn. Frame 3 may already be
    // published (the one-frame lead) and frame 4's time taken, or a slow
    // simulation thread may not have got that far: at most two more
    // spacings of the old step, then only the new one.
    std::size_t old_spacings = 0;
    for (std::size_t k = 3; k < seen_frames.size(); ++k) {
        const double spacing = seen_frames[k].time - seen_frames[k - 1].time;
        if (old_spacings == k - 3 && std::fabs(spacing - 0.001) < 1e-15) {
            ++old_spacings;
            continue;
        }
        EXPECT_NEAR(spacing, 0.004, 1e-15) << "frame " << k;
    }
    EXPECT_LE(old_spacings, 2u);
    EXPECT_NEAR(seen_frames[2].time, 0.002, 1e-15);
}

TEST_F(Threads, HugeTimeStepMendedBringsFramesBackWhereTheRunHasGot) {
    orbiting_pair();
    time_step = 0.001;
    start_simulation_workers(1);
    run();
    ASSERT_TRUE(pump_until([] { return frames_seen(2); }));
    set_time_step(1e300);  // a frame time the run would never reach
    const long long steps = body_steps_done.load();
    ASSERT_TRUE(pump_until([steps] { return body_steps_done.load() > steps + 20000; }));
    set_time_step(0.001);
    // Frames come again, from where the body steps have got to (frames
    // published before the stretch may still arrive first).
    ASSERT_TRUE(pump_until([steps] { return !seen_frames.empty() && seen_frames.back().body_steps > steps + 20000; }));
    const std::size_t resumed = seen_frames.size();
    ASSERT_TRUE(pump_until([resumed] { return frames_seen(resumed + 2); }));
    for (std::size_t k = 1; k < seen_frames.size(); ++k)
        EXPECT_GT(seen_frames[k].time, seen_frames[k - 1].time) << "frame " << k;
    const SeenFrame& last = seen_frames.back();
    EXPECT_NEAR(last.time - seen_frames[seen_frames.size() - 2].time, 0.001, 1e-12);
    const double r = std::hypot(last.x[1] - last.x[0], last.y[1] - last.y[0]);
    EXPECT_NEAR(r, 2.0e5, 2.0e3) << "still on its orbit, not a prediction far from its step";
}

TEST_F(Threads, NoBodiesMeansNothingHappens) {
    start_simulation_workers(1);
    run();
    ASSERT_TRUE(pump_until([] { return !thread_running(simulation_thread_handle); }));
    EXPECT_EQ(simulation_active.load(), 0);
    EXPECT_EQ(pred_x, nullptr);
    EXPECT_TRUE(seen_frames.empty());
}

TEST_F(Threads, CloseDuringSetUpEndsItEarlyPublishesNothingAndJoinsEveryThread) {
    // Enough bodies that the set-up takes a while.
    for (int i = 0; i < 3000; ++i) add_test_body(100.0 * (i % 60), 100.0 * (i / 60), 0.0, 0.0, 1.0);

    // The set-up itself gives up at its next row once Close has asked.
    copy_body_list();
    stop_requested = 1;
    EXPECT_EQ(start_integrator(), 0);
    EXPECT_EQ(next_body(), -1) << "an abandoned set-up leaves no body to step";
    release_integrator();
    release_run_arrays();
    stop_requested = 0;

    // Close through the real workers while the set-up runs.
    start_simulation_workers(1);
    interactive_frame_thread_handle = create_thread(interactive_frame_thread, 0);
    run();
    ASSERT_TRUE(pump_until([] { return simulation_active.load() == 1; }));
    end_simulation_workers();
    EXPECT_TRUE(seen_frames.empty());
    EXPECT_EQ(body_steps_done.load(), 0);
    EXPECT_TRUE(run_fully_released()) << "every thread joined, the list emptied, every array released";
}

TEST_F(Threads, TwoStopsNeedTwoRuns) {
    orbiting_pair();
    start_simulation_workers(1);
    run();
    ASSERT_TRUE(pump_until([] { return frames_seen(3); }));
    for (int stop = 0; stop < 2; ++stop) {
        suspend_thread(simulation_thread_handle);
        suspend_thread(frame_thread_handle);
    }
    // A frame and a body step already past their safe points may still end;
    // nothing starts after them.
    const std::size_t held = seen_frames.size() + 1;
    const long long steps = body_steps_done.load() + 1;
    resume_thread(simulation_thread_handle);
    resume_thread(frame_thread_handle);
    pump_for(100);
    EXPECT_LE(seen_frames.size(), held) << "one Run after two Stops draws nothing";
    EXPECT_LE(body_steps_done.load(), steps);
    resume_thread(simulation_thread_handle);
    resume_thread(frame_thread_handle);
    ASSERT_TRUE(pump_until([held] { return frames_seen(held + 3); }));
}

TEST_F(Threads, InteractiveFrameThreadShowsTheRunAboutItsCentreOfMass) {
    add_test_body(1.0e5, 0.0, 0.0, 0.0, 1000.0);
    add_test_body(-3.0e5, 1.0e5, 0.0, 0.0, 1000.0);
    add_test_body(2.0e5, -2.0e5, 0.0, 0.0, 2000.0);
    interactive_frame_thread_handle = create_thread(interactive_frame_thread, 1);
    resume_thread(interactive_frame_thread_handle);
    pump_for(30);
    EXPECT_TRUE(seen_interactive_x.empty()) << "nothing to show before the run";
    start_simulation_workers(1);
    run();
    ASSERT_TRUE(pump_until([] { return seen_interactive_x.size() >= 5 && frames_seen(5); }));
    const double m[3] = {2000.0, 1000.0, 1000.0};  // list order: newest first
    for (std::size_t k = 0; k < seen_interactive_x.size(); ++k) {
        double mean_x = 0.0, mean_y = 0.0;
        for (int i = 0; i < 3; ++i) {
            mean_x += m[i] * seen_interactive_x[k][i] / 4000.0;
            mean_y += m[i] * seen_interactive_y[k][i] / 4000.0;
        }
        EXPECT_NEAR(mean_x, 0.0, 1e-5);
        EXPECT_NEAR(mean_y, 0.0, 1e-5);
    }
    double x[3], y[3];
    EXPECT_EQ(copy_live_positions(x, y, 3), 3);
    EXPECT_EQ(copy_live_positions(x, y, 2), 2);
}

TEST_F(Threads, RunStopsAtTheTimeLimit) {
    add_test_body(0.0, 0.0, 1.0, 0.0, 1.0);  // a lone body: the longest steps
    time_step = 2.0 * TIME_LIMIT;
    start_simulation_workers(1);
    run();
    ASSERT_TRUE(pump_until([] { return time_limit_reached.load() == 1 && frames_seen(1); }));
    pump_for(20);  // room for a wrong second frame to show
    ASSERT_EQ(seen_frames.size(), 1u) << "only frame 0: the next frame time is beyond the limit";
    EXPECT_EQ(simulation_active.load(), 1) << "the run stays until Close";
    EXPECT_LE(body_steps_done.load(), static_cast<long long>(TIME_LIMIT / MAX_STEP) + 1);
}

// Orderly ends: every state a worker can be in when Close comes.
TEST_F(Threads, EndWhileNeverRunAndSuspendedTwice) {
    orbiting_pair();
    start_simulation_workers(1);
    suspend_thread(simulation_thread_handle);
    interactive_frame_thread_handle = create_thread(interactive_frame_thread, 1);
    suspend_thread(interactive_frame_thread_handle);
    end_simulation_workers();
    EXPECT_TRUE(seen_frames.empty());
    EXPECT_TRUE(run_fully_released());
}

TEST_F(Threads, EndWhileTheSimulationWaitsForTheFrameThread) {
    orbiting_pair();
    start_simulation_workers(1);
    suspend_thread(frame_thread_handle);  // takes no frame: the simulation waits on frame_free
    interactive_frame_thread_handle = create_thread(interactive_frame_thread, 0);
    run();
    ASSERT_TRUE(pump_until([] { return body_steps_done.load() > 0; }));
    pump_for(20);
    end_simulation_workers();
    EXPECT_TRUE(run_fully_released());
}

TEST_F(Threads, EndWhileTheFrameThreadWaitsForPositions) {
    orbiting_pair();
    start_simulation_workers(1);
    run();
    ASSERT_TRUE(pump_until([] { return frames_seen(2); }));
    suspend_thread(simulation_thread_handle);  // mid-run: the frame thread waits on positions_ready
    suspend_thread(simulation_thread_handle);
    pump_for(20);
    end_simulation_workers();
    EXPECT_TRUE(run_fully_released());
}

TEST_F(Threads, EndWhileStepping) {
    for (int i = 0; i < 200; ++i) add_test_body(1.0e4 * std::cos(i), 1.0e4 * std::sin(i * 1.3), 0.0, 0.0, 10.0);
    time_step = 1.0;  // long frames: the thread is almost always mid-step
    start_simulation_workers(0);
    interactive_frame_thread_handle = create_thread(interactive_frame_thread, 0);
    run();
    ASSERT_TRUE(pump_until([] { return body_steps_done.load() > 100; }));
    end_simulation_workers();
    EXPECT_TRUE(run_fully_released());
}

TEST_F(Threads, EndWhileAFrameWaitsToBeDrawn) {
    orbiting_pair();
    start_simulation_workers(1);
    interactive_frame_thread_handle = create_thread(interactive_frame_thread, 0);
    run();
    // Serve nothing: the frame threads block in their sends to this thread's
    // windows, and the end must release them without drawing.
    while (sent_messages_waiting() == 0) sleep_ms(1);
    end_simulation_workers();
    EXPECT_TRUE(seen_frames.empty());
    EXPECT_TRUE(run_fully_released());
}

TEST_F(Threads, EndTwiceIsHarmless) {
    orbiting_pair();
    start_simulation_workers(1);
    run();
    ASSERT_TRUE(pump_until([] { return frames_seen(1); }));
    end_simulation_workers();
    end_simulation_workers();
    EXPECT_TRUE(run_fully_released());
}

}  // namespace
