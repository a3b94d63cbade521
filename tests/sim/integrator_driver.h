// Drives the integrator the way the simulation thread does, without threads,
// so the physics can be checked frame by frame.
#pragma once

#include <gtest/gtest.h>

#include <cmath>

#include "sim/bodies.h"
#include "sim/integrator.h"

// Starts a run on the current body list (steps up to the first frame).
inline void start_run() {
    copy_body_list();
    simulation_active = 1;
    start_integrator();
}

// Body steps until the frame time is reached; returns the number of steps
// (stops early, returning -1, when no body can step any more).
inline long advance_run(double frame_time) {
    long steps = 0;
    while (frame_time > sim_time) {
        const int i = next_body();
        if (i < 0) return -1;
        step_body(i);
        ++steps;
    }
    return steps;
}

// The prediction published for a frame at time t.
inline const PublishedFrame& frame_at(double t) {
    PublishedFrame* frame = frame_to_publish();
    predict_frame(t, frame);
    mark_published(frame);
    return *frame;
}

// Releases everything the run holds, as the end of the simulation thread does.
inline void end_run() {
    simulation_active = 0;
    clear_bodies();
    release_integrator();
    release_run_arrays();
}

// Adds a body with a mass in internal units and a velocity.
inline Body* add_mass(double x, double y, double vx, double vy, double mass) {
    Body* body = add_body(nullptr, x, y, 0.1, material_colours[0], mass * INVERSE_MASS_UNIT, 0);
    total_mass += mass - body->mass;  // exact masses, whatever the rounding of the user unit
    body->mass = mass;
    body->vx = vx;
    body->vy = vy;
    return body;
}

// A test that starts from an empty scene with the default values and
// releases whatever run it started.
class SceneRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        reset_scene_defaults();
        clear_bodies();
    }
    void TearDown() override {
        if (run_body_count > 0) end_run();
        clear_bodies();
    }
};
