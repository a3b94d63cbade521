// One body step: every body predicted to the step's time, the new force on
// the stepped body from those predictions, then its divided differences,
// correction and next step length. Also the predictions published in frames.
#include <cmath>
#include <cstring>

#include "sim/bodies.h"
#include "sim/close_pairs.h"
#include "sim/integrator.h"
#include "sim/vector_clones.h"

double* pos_x = nullptr;
double* pos_y = nullptr;
double* vel_x = nullptr;
double* vel_y = nullptr;
double* half_force_x = nullptr;
double* half_force_y = nullptr;
double* sixth_jerk_x = nullptr;
double* sixth_jerk_y = nullptr;
double* diff1_x = nullptr;
double* diff1_y = nullptr;
double* diff2_x = nullptr;
double* diff2_y = nullptr;
double* diff3_x = nullptr;
double* diff3_y = nullptr;
double* t0 = nullptr;
double* t1 = nullptr;
double* t2 = nullptr;
double* t3 = nullptr;
double* step = nullptr;
std::atomic<long long> body_steps_done{0};

namespace {

constexpr double SIXTH = 0.16666666666666666;
constexpr double TWELFTH = 0.08333333333333333;
constexpr double TWENTIETH = 0.05;
constexpr double THIRTIETH = 0.03333333333333333;
constexpr double THIRD = 0.3333333333333333;

// Two doubles in one register: the x and y sums of a force advance together,
// each lane with its own correctly rounded addition in index order.
typedef double Pair __attribute__((vector_size(16)));

inline Pair load_pair(const double* p) {
    Pair v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

// A body step in progress: the stepped body, its new time, its prediction
// and velocity raised to that time, and its new force (x, y) summed in index
// order; also the largest q = 1 / (d^2 + softening2) among the other bodies,
// which tells how near the nearest one is (the body's own term and its pair
// companion's left out), see sim/close_pairs.h.
struct BodyStep {
    int body;
    int companion;  // -1 unless the body leads a close pair
    double nearest_q;
    int nearest;    // the body of nearest_q when within the watched distance, else -1
    double t;
    double xi, yi;
    double vxi, vyi;
    Pair force;
};

// Bodies per group of force terms. The terms of one group are computed in
// vector lanes while those of the group before are added to the sum one by
// one in index order: the additions depend on each other and wait, and the
// processor fills the wait with the next group's arithmetic.
constexpr int TERM_GROUP = MAXIMUM_LANES;  // what a LaneMaximum takes at once

// A group's force terms on the stepped body, x and y side by side.
struct GroupTerms {
    alignas(64) double f[2 * TERM_GROUP];
};

// The arrays the terms are computed from (a body's third-order prediction
// polynomial and its mass).
#define TERM_ARRAYS                                                                                               \
    const double *__restrict x, const double *__restrict y, const double *__restrict vx,                        \
        const double *__restrict vy, const double *__restrict hx, const double *__restrict hy,                  \
        const double *__restrict jx, const double *__restrict jy, const double *__restrict time0,               \
        const double *__restrict m
#define TERM_ARRAY_NAMES x, y, vx, vy, hx, hy, jx, jy, time0, m

// Predicts bodies start..start+len-1 at time t to third order and computes
// their force terms on a body at (xi, yi) into f and their q into qs[start..].
// A constant len gives straight vector code.
[[gnu::always_inline]] inline void group_terms(double t, double xi, double yi, int start, int len, TERM_ARRAYS,
                                               double* __restrict f, double* __restrict qs) {
    const double soft = softening2;
    for (int k = 0; k < len; ++k) {
        const int j = start + k;
        const double tau = t - time0[j];
        const double pxj = x[j] + tau * (vx[j] + tau * (hx[j] + tau * jx[j]));
        const double pyj = y[j] + tau * (vy[j] + tau * (hy[j] + tau * jy[j]));
        const double dx = pxj - xi, dy = pyj - yi;
        const double q = 1.0 / ((dx * dx + dy * dy) + soft);
        const double g = m[j] * std::sqrt(q) * q;
        f[2 * k] = g * dx;
        f[2 * k + 1] = g * dy;
        qs[j] = q;
    }
}

// Adds terms [from, to) of a group to a sum, in index order.
[[gnu::always_inline]] inline Pair add_terms(Pair sum, const GroupTerms& terms, int from, int to) {
    for (int k = from; k < to; ++k) sum += load_pair(&terms.f[2 * k]);
    return sum;
}

// Adds a group of len terms that starts at body `start` to the sum, leaving
// out the stepped body's own term and its companion's (which stands where
// the body's lower-order prediction puts it, a hair away from its raised
// one).
[[gnu::always_inline]] inline Pair add_group(Pair sum, GroupTerms& terms, int start, int len, int own,
                                             int companion) {
    own -= start;
    companion -= start;
    if (companion >= 0 && companion < len) {
        terms.f[2 * companion] = 0.0;
        terms.f[2 * companion + 1] = 0.0;
    }
    if (own >= 0 && own < len) {
        sum = add_terms(sum, terms, 0, own);
        return add_terms(sum, terms, own + 1, len);
    }
    if (len == TERM_GROUP) {
#pragma GCC unroll 32
        for (int k = 0; k < TERM_GROUP; ++k) sum += load_pair(&terms.f[2 * k]);
        return sum;
    }
    return add_terms(sum, terms, 0, len);
}

// Sums the force terms of bodies 0..count-1 on the body at (xi, yi) at time
// t onto sum, each full group's terms computed one group ahead. Every
// body's q goes to qs; the largest of them, but the stepped body's own and
// its companion's (whose entries become 0), goes to most, and the first body
// that has it to nearest (-1 when none is above 0).
VECTOR_CLONES Pair sum_force(Pair sum, double t, double xi, double yi, int count, int own, int companion,
                             TERM_ARRAYS, double* __restrict qs, double* most, int* nearest) {
    GroupTerms terms[2];
    LaneMaximum lanes;
    const int full_end = count / TERM_GROUP * TERM_GROUP;
    if (full_end > 0) group_terms(t, xi, yi, 0, TERM_GROUP, TERM_ARRAY_NAMES, terms[0].f, qs);
    int current = 0;
    for (int start = 0; start < full_end; start += TERM_GROUP) {
        const int next = start + TERM_GROUP;
        if (next < full_end) group_terms(t, xi, yi, next, TERM_GROUP, TERM_ARRAY_NAMES, terms[current ^ 1].f, qs);
        sum = add_group(sum, terms[current], start, TERM_GROUP, own, companion);
        if (own - start >= 0 && own - start < TERM_GROUP) qs[own] = 0.0;
        if (companion - start >= 0 && companion - start < TERM_GROUP) qs[companion] = 0.0;
        lanes.take(qs + start, start);
        current ^= 1;
    }
    if (full_end < count) {
        group_terms(t, xi, yi, full_end, count - full_end, TERM_ARRAY_NAMES, terms[0].f, qs);
        sum = add_group(sum, terms[0], full_end, count - full_end, own, companion);
        if (own >= full_end) qs[own] = 0.0;
        if (companion >= full_end) qs[companion] = 0.0;
    }
    *most = lanes.largest(nearest, qs, full_end, count);
    return sum;
}

// Sums a step's force over all bodies and finds the nearest one.
void advance_step(BodyStep& s) {
    s.force = sum_force(s.force, s.t, s.xi, s.yi, run_body_count, s.body, s.companion, pos_x, pos_y, vel_x,
                        vel_y, half_force_x, half_force_y, sixth_jerk_x, sixth_jerk_y, t0, body_masses, body_q,
                        &s.nearest_q, &s.nearest);
    if (!(s.nearest_q > approach_q())) s.nearest = -1;
}

// The largest magnitude |x| + |y| among the force terms of a step, the scale
// against which its force counts as vanishing. A separate pass: it is only
// needed when the step length collapses. (It writes body_q again.)
double largest_term(const BodyStep& s) {
    GroupTerms terms;
    double result = 0.0;
    for (int start = 0; start < run_body_count; start += TERM_GROUP) {
        const int len = run_body_count - start < TERM_GROUP ? run_body_count - start : TERM_GROUP;
        group_terms(s.t, s.xi, s.yi, start, len, pos_x, pos_y, vel_x, vel_y, half_force_x, half_force_y,
                    sixth_jerk_x, sixth_jerk_y, t0, body_masses, terms.f, body_q);
        for (int k = 0; k < len; ++k) {
            const double size = std::fabs(terms.f[2 * k]) + std::fabs(terms.f[2 * k + 1]);
            if (start + k != s.body && start + k != s.companion && size > result) result = size;
        }
    }
    return result;
}

// Starts the step of body i: its time and raised prediction and velocity.
BodyStep begin_step(int i) {
    BodyStep s{};
    s.body = i;
    s.t = t0[i] + step[i];
    const double t0_old = t0[i], t1_old = t1[i], t2_old = t2[i];
    const double dt = s.t - t0_old;
    // Body i to third order, then raised with its differences.
    const double x3 = pos_x[i] + dt * (vel_x[i] + dt * (half_force_x[i] + dt * sixth_jerk_x[i]));
    const double y3 = pos_y[i] + dt * (vel_y[i] + dt * (half_force_y[i] + dt * sixth_jerk_y[i]));
    const double sum = (t0_old - t1_old) + (t0_old - t2_old);
    const double p_x = diff2_x[i] + sum * diff3_x[i];
    const double p_y = diff2_y[i] + sum * diff3_y[i];
    const double dt4 = dt * dt * dt * dt;
    s.xi = x3 + dt4 * (p_x * TWELFTH + (dt * diff3_x[i]) * TWENTIETH);
    s.yi = y3 + dt4 * (p_y * TWELFTH + (dt * diff3_y[i]) * TWENTIETH);
    s.vxi = vel_x[i] + dt * (2.0 * half_force_x[i] +
                             dt * (3.0 * sixth_jerk_x[i] + dt * (p_x * THIRD + (dt * diff3_x[i]) * 0.25)));
    s.vyi = vel_y[i] + dt * (2.0 * half_force_y[i] +
                             dt * (3.0 * sixth_jerk_y[i] + dt * (p_y * THIRD + (dt * diff3_y[i]) * 0.25)));
    s.force = Pair{0.0, 0.0};
    s.companion = pair_of[i] >= 0 ? close_pairs[pair_of[i]].companion : -1;
    s.nearest_q = 0.0;
    s.nearest = -1;
    return s;
}

// Completes a step whose force is summed over all bodies: differences,
// correction, stored state and the next step length.
void finish_step(const BodyStep& s) {
    const int i = s.body;
    const double t = s.t;
    sim_time = t;
    const double t0_old = t0[i], t1_old = t1[i], t2_old = t2[i], t3_old = t3[i];
    const double dt = t - t0_old;
    const double xi = s.xi, yi = s.yi;
    const double fx = s.force[0], fy = s.force[1];

    // New divided differences, with the times before the shift.
    const double d1x = (fx - 2.0 * half_force_x[i]) / dt;
    const double d1y = (fy - 2.0 * half_force_y[i]) / dt;
    const double d2x = (d1x - diff1_x[i]) / (t - t1_old);
    const double d2y = (d1y - diff1_y[i]) / (t - t1_old);
    const double d3x = (d2x - diff2_x[i]) / (t - t2_old);
    const double d3y = (d2y - diff2_y[i]) / (t - t2_old);
    const double d4x = (d3x - diff3_x[i]) / (t - t3_old);
    const double d4y = (d3y - diff3_y[i]) / (t - t3_old);

    // The next step length. The criterion is checked for a vanishing force
    // when it gives no usable length or collapses below an eighth of the
    // last step: a force that is only rounding noise does that at once.
    const double s2 = t - t1_old;  // t - t2 after the shift
    const double sx = 2.0 * (d2x + (dt + s2) * d3x);
    const double sy = 2.0 * (d2y + (dt + s2) * d3y);
    double h = criterion_step(fx, fy, sx, sy);
    if (!(h > 0.0 && h <= MAX_STEP && h >= 0.125 * step[i]) && force_vanishes(fx, fy, largest_term(s)))
        h = NO_STEP;

    vel_x[i] = s.vxi;
    vel_y[i] = s.vyi;
    t3[i] = t2_old;
    t2[i] = t1_old;
    t1[i] = t0_old;
    t0[i] = t;

    // Correction by the fourth difference. The fourth-order term of the force
    // is D4 (u)(u + a1)(u + a2)(u + a3) with u counted from the old t0 and
    // a1..a3 the spans from the old t0 back to the three steps before it;
    // integrated once and twice over the step it gives the terms below.
    const double a1 = t0_old - t1_old, a2 = t0_old - t2_old, a3 = t0_old - t3_old;
    const double sum1 = a1 + a2 + a3;
    const double sum2 = (a1 + a2) * a3 + a1 * a2;
    const double sum3 = a1 * a2 * a3;
    const double dt2 = dt * dt;
    const double dt3 = dt2 * dt;
    pos_x[i] = xi + dt3 * ((sum3 * d4x) * SIXTH +
                           dt * ((sum2 * d4x) * TWELFTH + dt * ((sum1 * d4x) * TWENTIETH + (dt * d4x) * THIRTIETH)));
    pos_y[i] = yi + dt3 * ((sum3 * d4y) * SIXTH +
                           dt * ((sum2 * d4y) * TWELFTH + dt * ((sum1 * d4y) * TWENTIETH + (dt * d4y) * THIRTIETH)));
    vel_x[i] += dt2 * ((sum3 * d4x) * 0.5 + dt * ((sum2 * d4x) * THIRD + dt * ((sum1 * d4x) * 0.25 + (dt * d4x) * 0.2)));
    vel_y[i] += dt2 * ((sum3 * d4y) * 0.5 + dt * ((sum2 * d4y) * THIRD + dt * ((sum1 * d4y) * 0.25 + (dt * d4y) * 0.2)));

    // Store the new state.
    half_force_x[i] = fx * 0.5;
    half_force_y[i] = fy * 0.5;
    diff1_x[i] = d1x;
    diff1_y[i] = d1y;
    diff2_x[i] = d2x;
    diff2_y[i] = d2y;
    diff3_x[i] = d3x;
    diff3_y[i] = d3y;
    sixth_jerk_x[i] = (d1x + dt * (d2x + s2 * d3x)) * SIXTH;
    sixth_jerk_y[i] = (d1y + dt * (d2y + s2 * d3y)) * SIXTH;

    step[i] = usable_step(i, t, h);
    if (pair_of[i] >= 0 || s.nearest >= 0) after_body_step(i, s.nearest, s.nearest_q, dt);
    update_step_queue(i);
    body_steps_done.store(body_steps_done.load(std::memory_order_relaxed) + 1, std::memory_order_relaxed);
}

}  // namespace

void step_body(int i) {
    BodyStep s = begin_step(i);
    advance_step(s);
    finish_step(s);
}

int step_next_body() {
    const int i = next_body();
    if (i < 0) return 0;
    step_body(i);
    return 1;
}

void predict_positions(double t) {
    for (int j = 0; j < run_body_count; ++j) {
        const Predicted p = predict_third_order(j, t);
        pred_x[j] = p.x;
        pred_y[j] = p.y;
    }
}

void predict_frame(double t, PublishedFrame* frame) {
    const int count = run_body_count;
    for (int j = 0; j < count; ++j) {
        const Predicted p = predict_full_order(j, t);
        double x = p.x, y = p.y, vx = p.vx, vy = p.vy;
        // A polynomial evaluated far from its step (a huge or negative frame
        // time) can overflow; the body is then shown where it last was.
        if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(vx) || !std::isfinite(vy)) {
            x = pos_x[j];
            y = pos_y[j];
            vx = vel_x[j];
            vy = vel_y[j];
        }
        frame->x[j] = x;
        frame->y[j] = y;
        frame->vx[j] = vx;
        frame->vy[j] = vy;
        pred_x[j] = x;
        pred_y[j] = y;
    }
    if (close_pair_count > 0) {
        place_pair_members(t, frame->x, frame->y, frame->vx, frame->vy);
        for (int j = 0; j < count; ++j) {
            pred_x[j] = frame->x[j];
            pred_y[j] = frame->y[j];
        }
    }
    frame->time = t;
    frame->count = count;
    frame->body_steps = body_steps_done.load(std::memory_order_relaxed);
}

void release_integrator() {
    for (double** block : {&pos_x, &pos_y, &vel_x, &vel_y, &half_force_x, &half_force_y, &sixth_jerk_x,
                           &sixth_jerk_y, &diff1_x, &diff1_y, &diff2_x, &diff2_y, &diff3_x, &diff3_y, &t0, &t1,
                           &t2, &t3, &step, &body_q}) {
        free_block(*block);
        *block = nullptr;
    }
    release_step_queue();
    release_close_pairs();
}
