// Runs the simulation-side threads against headless windows that record what
// the views would be asked to draw.
#pragma once

#include <atomic>
#include <functional>
#include <vector>

#include "platform/platform.h"
#include "sim/bodies.h"
#include "sim/frames.h"
#include "sim/integrator.h"
#include "sim/simulation.h"

// One frame as the 3D view saw it while handling WM_DRAW_FRAME.
struct SeenFrame {
    double time;
    long long body_steps;        // published with the frame
    long long steps_while_drawn; // body steps done when the view handled it
    std::vector<double> x, y, vx, vy;
    std::vector<float> draw_x, draw_y;
    std::vector<float> light_x, light_y;
};

extern std::vector<SeenFrame> seen_frames;
extern std::vector<std::vector<float>> seen_interactive_x;
extern std::vector<std::vector<float>> seen_interactive_y;
// Called in the 3D view's WM_DRAW_FRAME after recording (may be empty).
extern std::function<void()> on_draw;

// Creates the two headless views and clears the records.
void open_views();
void close_views();
// Serves the windows of this thread until done() or a generous limit (a
// guard against hangs, not a timing requirement); returns done().
bool pump_until(const std::function<bool()>& done);
// Serves the windows of this thread for a while.
void pump_for(int milliseconds);
// Adds a body at rest or moving, with a user mass.
Body* add_test_body(double x, double y, double vx, double vy, double user_mass);
// Every pointer of a run is null and the body list is empty.
bool run_fully_released();
