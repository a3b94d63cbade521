// The simulation thread: a fourth-order integrator with an individual time
// step per body, publishing predicted positions at every time_step of
// simulated time through the frame_free / positions_ready hand-over.
#pragma once

#include "platform/platform.h"

constexpr int LIGHT_SLOTS = 8;
constexpr double TIME_LIMIT = 1e10;

// Arrays of a run (body_count elements, list order), allocated by the
// simulation thread's set-up; null outside a run.
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

// Light slots, filled in list order by the set-up.
extern int light_body[LIGHT_SLOTS];
extern float light_position[LIGHT_SLOTS][4];

// The frame hand-over events (created by the 3D view before its threads).
extern Event* frame_free;       // auto-reset, created signalled
extern Event* positions_ready;  // auto-reset, created unsignalled

// Handles of the worker threads of the open scene (null when none).
extern Thread* simulation_thread_handle;
extern Thread* frame_thread_handle;
extern Thread* interactive_frame_thread_handle;

// Thread entry of the simulation thread.
int simulation_thread();
