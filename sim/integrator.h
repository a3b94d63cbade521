// The integrator's private state and its pieces, used by the simulation
// thread (and by the tests and benchmarks that drive it without threads).
// Only the simulation thread touches this state during a run.
#pragma once

#include "sim/simulation.h"

// Longest step any body takes, in time units. It applies only to bodies
// whose own criterion gives no usable length (see choose_step) or a length
// beyond it; it does not depend on time_step, so the trajectory does not
// depend on how often frames are published.
constexpr double MAX_STEP = 1000.0;

// Private arrays (run_body_count elements).
extern double* pos_x;
extern double* pos_y;
extern double* vel_x;
extern double* vel_y;
extern double* half_force_x;
extern double* half_force_y;
extern double* sixth_jerk_x;
extern double* sixth_jerk_y;
extern double* diff1_x;
extern double* diff1_y;
extern double* diff2_x;
extern double* diff2_y;
extern double* diff3_x;
extern double* diff3_y;
extern double* t0;
extern double* t1;
extern double* t2;
extern double* t3;
extern double* step;
// Scratch for finding the nearest body: q = 1 / (d^2 + softening2) of every
// body seen from a point.
extern double* body_q;

// Allocates the shared and private arrays of a run for the current body
// list and copies the list into them (including light slots); sets sim_time
// to 0. Does not touch simulation_active.
void copy_body_list();
// Initial forces, their derivatives, step lengths and differences. Returns
// 0 when stop_requested was seen on the way: the set-up is abandoned and
// only release_integrator may follow.
int start_integrator();
// The next body to step (lowest index among the earliest t0 + step), or -1
// when every body's next time lies at or beyond TIME_LIMIT.
int next_body();
// Advances body i to t0 + step: predicts every body, computes the new force
// on i, corrects i and chooses its next step. Sets sim_time.
void step_body(int i);
// Steps the next body (the one next_body() names); returns 0 when no body
// can step.
int step_next_body();
// Predicts every body at time t to third order into pred_x, pred_y (the
// positions a body step at t works with), for the live copy.
void predict_positions(double t);
// Body j's prediction polynomial at time t: to third order (the positions a
// body step works with, and their time derivative), and to the full order of
// the published frames. Every caller gets the same arithmetic, bit for bit.
struct Predicted {
    double x, y, vx, vy;
};

inline Predicted predict_third_order(int j, double t) {
    const double tau = t - t0[j];
    return {pos_x[j] + tau * (vel_x[j] + tau * (half_force_x[j] + tau * sixth_jerk_x[j])),
            pos_y[j] + tau * (vel_y[j] + tau * (half_force_y[j] + tau * sixth_jerk_y[j])),
            vel_x[j] + tau * (2.0 * half_force_x[j] + tau * (3.0 * sixth_jerk_x[j])),
            vel_y[j] + tau * (2.0 * half_force_y[j] + tau * (3.0 * sixth_jerk_y[j]))};
}

inline Predicted predict_full_order(int j, double t) {
    constexpr double twelfth = 0.08333333333333333, twentieth = 0.05, third = 0.3333333333333333;
    const double tau = t - t0[j];
    const double s = (t0[j] - t1[j]) + (t0[j] - t2[j]);
    const double px = diff2_x[j] + s * diff3_x[j];
    const double py = diff2_y[j] + s * diff3_y[j];
    return {pos_x[j] + tau * (vel_x[j] + tau * (half_force_x[j] +
                       tau * (sixth_jerk_x[j] + tau * (px * twelfth + (tau * diff3_x[j]) * twentieth)))),
            pos_y[j] + tau * (vel_y[j] + tau * (half_force_y[j] +
                       tau * (sixth_jerk_y[j] + tau * (py * twelfth + (tau * diff3_y[j]) * twentieth)))),
            vel_x[j] + tau * (2.0 * half_force_x[j] +
                       tau * (3.0 * sixth_jerk_x[j] + tau * (px * third + (tau * diff3_x[j]) * 0.25))),
            vel_y[j] + tau * (2.0 * half_force_y[j] +
                       tau * (3.0 * sixth_jerk_y[j] + tau * (py * third + (tau * diff3_y[j]) * 0.25)))};
}

// Evaluates every body's prediction polynomial at time t (positions and
// their time derivatives) into the frame's arrays.
void predict_frame(double t, PublishedFrame* frame);
// Force F and jerk J on body i from every other body at the given positions
// and velocities (out: Fx, Fy, Jx, Jy, the largest term's |x| + |y|).
void force_and_jerk(int count, int i, const double* x, const double* y, const double* vx, const double* vy,
                    const double* m, double* out);
// Second and third time derivatives S and T of the force on body i, from the
// forces F and jerks J of all bodies (out: Sx, Sy, Tx, Ty).
void force_derivatives(int count, int i, const double* x, const double* y, const double* vx, const double* vy,
                       const double* m, const double* fx, const double* fy, const double* jx, const double* jy,
                       double* out);
// Starts body i's differences at time t from its force and first three
// derivatives (Fx, Fy, Jx, Jy, Sx, Sy, Tx, Ty), with step[i] already chosen:
// the steps before t stand at t - step, t - 2 step and t - 3 step.
void take_start_derivatives(int i, double t, const double* derivatives);
// Every body's q from the point (xi, yi), the bodies predicted to third
// order at time t, into body_q.
void measure_body_q(double t, double xi, double yi);
// The largest q in body_q but those of bodies a, b and c (any of them -1 for
// none; their entries become 0), into q_out; returns the first body that
// has it when it is above `above`, else -1.
int nearest_in_body_q(int a, int b, int c, double above, double* q_out);
// Releases the private arrays (the shared ones go with the last user).
void release_integrator();

// The step criterion sqrt(eta * |F| / |S|) from the force F and its second
// derivative S, computed as sqrt(eta * sqrt(|F|^2 / |S|^2)).
double criterion_step(double fx, double fy, double sx, double sy);
// The step body i takes from time t0_i given its criterion value h: h when
// it is a usable length, otherwise the rule for degenerate cases.
double usable_step(int i, double t0_i, double h);
// A criterion value that is never usable.
constexpr double NO_STEP = -1.0;
// Whether a force summed from terms of which the largest has the magnitude
// (|x| + |y|) largest_term vanishes within the rounding of the sum.
bool force_vanishes(double fx, double fy, double largest_term);

// The queue of next step times (a tournament tree over t0 + step).
void build_step_queue(int count);
void update_step_queue(int i);
void release_step_queue();

// Shared arrays of a run: allocation, users, the live copy of positions.
void allocate_run_arrays(int count, int lit);
// Registers a user of the run's arrays; returns 0 when no run's arrays exist.
int acquire_run_arrays();
// Drops a user; the last one releases every shared array exactly once.
void release_run_arrays();
// Whether a reader has asked for a fresh live copy.
int live_positions_wanted();
// Copies pred_x, pred_y into the live copy when a reader has asked for one
// and the copy is not being read (never blocks).
void refresh_live_positions(const double* x, const double* y);
// Holds the live copy for reading (the caller must hold the run's arrays)
// and asks for a fresh one; returns the number of bodies in it.
int lock_live_positions(const double** x, const double** y);
void unlock_live_positions();
// The published frames.
PublishedFrame* frame_to_publish();
void mark_published(PublishedFrame* frame);
PublishedFrame* latest_published_frame();
