// The simulation thread: a fourth-order integrator with an individual time
// step per body, publishing predicted positions at every time_step of
// simulated time through the frame_free / positions_ready hand-over.
#pragma once

#include <atomic>

#include "platform/platform.h"

constexpr int LIGHT_SLOTS = 8;
constexpr double TIME_LIMIT = 1e10;

// Arrays of a run (body_count elements, list order), allocated by the
// simulation thread's set-up; null outside a run. pred_x and pred_y are the
// simulation thread's working positions: only that thread touches them.
// Other threads read positions through a published frame (below) or
// copy_live_positions. The draw and interactive arrays are written by the
// frame threads and read by the views while those threads' WM_DRAW_FRAME is
// being handled.
extern double* pred_x;
extern double* pred_y;
extern double* body_masses;
extern float* draw_x;
extern float* draw_y;
extern float* interactive_x;
extern float* interactive_y;
extern const float** draw_material;
extern double* draw_radius;
extern const float** draw_emission;  // only when star_lighting was set at the start
extern int* draw_glowing;            // likewise

// Number of bodies and total mass of the current run, fixed by its set-up.
// Unlike body_count and total_mass (the body list, emptied when the run
// ends) they stay valid for as long as the run's arrays exist.
extern int run_body_count;
extern double run_total_mass;

// Light slots, filled in list order by the set-up; light_slot_count slots
// (at most LIGHT_SLOTS) are in use. Glowing bodies beyond the eighth glow
// but light nothing.
extern int light_body[LIGHT_SLOTS];
extern float light_position[LIGHT_SLOTS][4];
extern int light_slot_count;

// The frame hand-over events (created by the 3D view before its threads).
extern Event* frame_free;       // auto-reset, created signalled
extern Event* positions_ready;  // auto-reset, created unsignalled

// Handles of the worker threads of the open scene (null when none).
extern Thread* simulation_thread_handle;
extern Thread* frame_thread_handle;
extern Thread* interactive_frame_thread_handle;

// Thread entry of the simulation thread.
int simulation_thread();

// Body steps done by the current run; reset by its set-up.
extern std::atomic<long long> body_steps_done;
// 1 once no body can step before TIME_LIMIT: the run publishes no more
// frames and waits for Close.
extern std::atomic<int> time_limit_reached;
// Waiting for the run's state instead of polling it: until
// time_limit_reached or stop_requested is set (returns time_limit_reached),
// and until simulation_active or stop_requested is set. announce_run_state
// wakes the waiters after one of those flags was set; the simulation thread
// and end_simulation_workers call it.
int wait_for_stall_or_stop();
void wait_for_run_or_stop();
void announce_run_state();

// One published frame: every body predicted at the frame time, in world
// units and list order. The simulation thread fills two of them in turn;
// because it is never more than one frame ahead of the frame thread, the
// frame the frame thread took stays untouched until that thread's
// WM_DRAW_FRAME has been handled.
struct PublishedFrame {
    double time;           // frame time
    long long body_steps;  // body steps done when the frame was published
    int count;             // bodies
    double* x;             // predicted positions
    double* y;
    double* vx;            // their time derivatives: the velocities at the frame time
    double* vy;
};

// The frame the 3D view's frame thread converted last (null before the first
// one). Valid in the frame thread and in the handler of the WM_DRAW_FRAME it
// sends, together with body_masses, run_body_count and run_total_mass.
extern const PublishedFrame* drawn_frame;

// Total energy of a frame: kinetic 1/2 m v^2 plus the softened potential
// -m_i m_j / sqrt(r^2 + softening2) of every pair, in internal units.
double frame_energy(const PublishedFrame& frame, const double* masses);

// Copies the latest predicted positions of the running simulation (at most
// capacity bodies) for threads that have no hand-over with it (the
// interactive view's reference selection). Returns the number of bodies
// copied, 0 when no run's arrays exist.
int copy_live_positions(double* x, double* y, int capacity);

// Creates the hand-over events (frame_free signalled, positions_ready not),
// the 3D view's frame thread (lit or unlit variant, running, normal
// priority) and the simulation thread (suspended, below normal priority).
void start_simulation_workers(int lit);

// Orderly end of every worker of the open scene, idempotent: sets
// stop_requested, resumes each worker fully, sets positions_ready and
// frame_free, joins and closes simulation_thread_handle, frame_thread_handle
// and interactive_frame_thread_handle (clearing them), closes both events
// (clearing them); the simulation thread's own clean-up releases the run's
// arrays, which the last thread holding them frees. Joining releases a
// frame thread's pending WM_DRAW_FRAME to the calling thread's windows
// without drawing, so it may be called from the thread whose window the
// frame threads draw on. Afterwards the
// body list is empty and every array of the run is released exactly once.
void end_simulation_workers();
