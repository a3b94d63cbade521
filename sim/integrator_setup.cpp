// The start of a run: the body list copied into the run's arrays, then the
// initial force of every body with its first three time derivatives from two
// passes over all pairs, the first step lengths and the divided differences
// that stand for the steps before time 0.
#include <cmath>

#include "sim/bodies.h"
#include "sim/close_pairs.h"
#include "sim/integrator.h"
#include "sim/vector_clones.h"

namespace {

constexpr double SIXTH = 0.16666666666666666;

double* allocate_doubles(int count) { return static_cast<double*>(alloc_zeroed(count, sizeof(double))); }

// Adds terms[0..len) to the sum in index order, leaving out the term of body
// `skip` (an index relative to the block, possibly outside it).
inline double add_in_order(double sum, const double* terms, int len, int skip) {
    for (int k = 0; k < len; ++k)
        if (k != skip) sum += terms[k];
    return sum;
}

}  // namespace

VECTOR_CLONES
void force_and_jerk(int count, int i, const double* __restrict x, const double* __restrict y,
                const double* __restrict vx, const double* __restrict vy, const double* __restrict m,
                double* out) {
    alignas(64) double fx[PAIR_BLOCK], fy[PAIR_BLOCK], jx[PAIR_BLOCK], jy[PAIR_BLOCK], size[PAIR_BLOCK];
    const double xi = x[i], yi = y[i], vxi = vx[i], vyi = vy[i];
    const double soft = softening2;
    double sfx = 0.0, sfy = 0.0, sjx = 0.0, sjy = 0.0;
    double scale = 0.0;
    for (int start = 0; start < count; start += PAIR_BLOCK) {
        const int len = count - start < PAIR_BLOCK ? count - start : PAIR_BLOCK;
        for (int k = 0; k < len; ++k) {
            const int j = start + k;
            const double dx = x[j] - xi, dy = y[j] - yi;
            const double dvx = vx[j] - vxi, dvy = vy[j] - vyi;
            const double q = 1.0 / ((dx * dx + dy * dy) + soft);
            const double g = m[j] * std::sqrt(q) * q;
            const double alpha3 = 3.0 * ((dx * dvx + dy * dvy) * q);
            fx[k] = g * dx;
            fy[k] = g * dy;
            jx[k] = g * (dvx - alpha3 * dx);
            jy[k] = g * (dvy - alpha3 * dy);
            size[k] = std::fabs(fx[k]) + std::fabs(fy[k]);
        }
        const int skip = i - start;
        scale = largest(scale, size, len);  // body i's own term is 0
        sfx = add_in_order(sfx, fx, len, skip);
        sfy = add_in_order(sfy, fy, len, skip);
        sjx = add_in_order(sjx, jx, len, skip);
        sjy = add_in_order(sjy, jy, len, skip);
    }
    out[0] = sfx;
    out[1] = sfy;
    out[2] = sjx;
    out[3] = sjy;
    out[4] = scale;
}

VECTOR_CLONES
void force_derivatives(int count, int i, const double* __restrict x, const double* __restrict y,
                 const double* __restrict vx, const double* __restrict vy, const double* __restrict m,
                 const double* __restrict fx, const double* __restrict fy, const double* __restrict jx,
                 const double* __restrict jy, double* out) {
    alignas(64) double sx[PAIR_BLOCK], sy[PAIR_BLOCK], tx[PAIR_BLOCK], ty[PAIR_BLOCK];
    const double xi = x[i], yi = y[i], vxi = vx[i], vyi = vy[i];
    const double fxi = fx[i], fyi = fy[i], jxi = jx[i], jyi = jy[i];
    const double soft = softening2;
    double ssx = 0.0, ssy = 0.0, stx = 0.0, sty = 0.0;
    for (int start = 0; start < count; start += PAIR_BLOCK) {
        const int len = count - start < PAIR_BLOCK ? count - start : PAIR_BLOCK;
        for (int k = 0; k < len; ++k) {
            const int j = start + k;
            const double dx = x[j] - xi, dy = y[j] - yi;
            const double dvx = vx[j] - vxi, dvy = vy[j] - vyi;
            const double q = 1.0 / ((dx * dx + dy * dy) + soft);
            const double g = m[j] * std::sqrt(q) * q;
            const double alpha = (dx * dvx + dy * dvy) * q;
            const double dfx = fx[j] - fxi, dfy = fy[j] - fyi;
            const double djx = jx[j] - jxi, djy = jy[j] - jyi;
            const double beta = ((dvx * dvx + dvy * dvy) + (dx * dfx + dy * dfy)) * q + alpha * alpha;
            const double ax = dvx - (3.0 * alpha) * dx, ay = dvy - (3.0 * alpha) * dy;
            const double gamma = (3.0 * q) * (3.0 * (dvx * dfx + dvy * dfy) + (dx * djx + dy * djy)) +
                                 alpha * (9.0 * beta - 12.0 * (alpha * alpha));
            const double p2x = g * ((dfx - (6.0 * alpha) * ax) - (3.0 * beta) * dx);
            const double p2y = g * ((dfy - (6.0 * alpha) * ay) - (3.0 * beta) * dy);
            sx[k] = p2x;
            sy[k] = p2y;
            tx[k] = g * ((djx - (9.0 * beta) * ax) - gamma * dx) - (9.0 * alpha) * p2x;
            ty[k] = g * ((djy - (9.0 * beta) * ay) - gamma * dy) - (9.0 * alpha) * p2y;
        }
        const int skip = i - start;
        ssx = add_in_order(ssx, sx, len, skip);
        ssy = add_in_order(ssy, sy, len, skip);
        stx = add_in_order(stx, tx, len, skip);
        sty = add_in_order(sty, ty, len, skip);
    }
    out[0] = ssx;
    out[1] = ssy;
    out[2] = stx;
    out[3] = sty;
}

void take_start_derivatives(int i, double t, const double* derivatives) {
    const double fx = derivatives[0], fy = derivatives[1];
    const double jx = derivatives[2], jy = derivatives[3];
    const double sx = derivatives[4], sy = derivatives[5];
    const double tx = derivatives[6], ty = derivatives[7];
    const double h = step[i];
    t0[i] = t;
    t1[i] = t0[i] - h;
    t2[i] = t0[i] - 2.0 * h;
    t3[i] = t0[i] - 3.0 * h;
    diff1_x[i] = jx + h * ((tx * h) * SIXTH - sx * 0.5);
    diff1_y[i] = jy + h * ((ty * h) * SIXTH - sy * 0.5);
    diff2_x[i] = sx * 0.5 - (tx * h) * 0.5;
    diff2_y[i] = sy * 0.5 - (ty * h) * 0.5;
    diff3_x[i] = tx * SIXTH;
    diff3_y[i] = ty * SIXTH;
    half_force_x[i] = fx * 0.5;
    half_force_y[i] = fy * 0.5;
    sixth_jerk_x[i] = jx * SIXTH;
    sixth_jerk_y[i] = jy * SIXTH;
}

void copy_body_list() {
    const int count = body_count;
    const int lit = read_star_lighting();
    allocate_run_arrays(count, lit);
    pos_x = allocate_doubles(count);
    pos_y = allocate_doubles(count);
    vel_x = allocate_doubles(count);
    vel_y = allocate_doubles(count);
    half_force_x = allocate_doubles(count);
    half_force_y = allocate_doubles(count);
    sixth_jerk_x = allocate_doubles(count);
    sixth_jerk_y = allocate_doubles(count);
    diff1_x = allocate_doubles(count);
    diff1_y = allocate_doubles(count);
    diff2_x = allocate_doubles(count);
    diff2_y = allocate_doubles(count);
    diff3_x = allocate_doubles(count);
    diff3_y = allocate_doubles(count);
    t0 = allocate_doubles(count);
    t1 = allocate_doubles(count);
    t2 = allocate_doubles(count);
    t3 = allocate_doubles(count);
    step = allocate_doubles(count);
    body_q = allocate_doubles(count);
    allocate_close_pairs(count);

    constexpr double WORLD_TO_INITIAL_DRAW = 1.5813026771454325e-06;  // 1 / 632390
    light_slot_count = 0;
    const Body* body = body_list;
    for (int i = 0; i < count; ++i, body = body->next) {
        pos_x[i] = body->x;
        pos_y[i] = body->y;
        vel_x[i] = body->vx;
        vel_y[i] = body->vy;
        body_masses[i] = body->mass;
        draw_material[i] = body->material;
        draw_radius[i] = body->radius;
        draw_x[i] = static_cast<float>(body->x * WORLD_TO_INITIAL_DRAW);
        draw_y[i] = static_cast<float>(body->y * WORLD_TO_INITIAL_DRAW);
        pred_x[i] = body->x;
        pred_y[i] = body->y;
        if (lit) {
            draw_emission[i] = body->emission;
            draw_glowing[i] = body->glowing;
            // Only eight lights exist: later glowing bodies glow but light nothing.
            if (body->glowing && light_slot_count < LIGHT_SLOTS) {
                const int k = light_slot_count++;
                light_body[k] = i;
                light_position[k][2] = 0.0f;
                light_position[k][3] = 1.0f;
            }
        }
    }
    run_total_mass = total_mass;
    refresh_live_positions(pred_x, pred_y);
    sim_time = 0.0;
    body_steps_done = 0;
}

namespace {

// Between two rows of a pass over all pairs: a Stop suspends the set-up
// here, and a Close abandons it. A row costs one pass over the bodies, so a
// large scene answers within a fraction of a millisecond, not after its
// whole set-up. The load acquires: a set-up abandoned here empties the body
// list, which the control thread read before it asked for the Close.
bool setup_goes_on() {
    suspension_point();
    return !stop_requested.load();
}

}  // namespace

int start_integrator() {
    const int count = run_body_count;
    // F and J go to half_force and sixth_jerk, S and T to diff2 and diff3,
    // until the last loop turns them into the stored quantities.
    // The step array holds the scale of each force until the criteria.
    double out[5];
    for (int i = 0; i < count; ++i) {
        if (!setup_goes_on()) return 0;
        force_and_jerk(count, i, pos_x, pos_y, vel_x, vel_y, body_masses, out);
        half_force_x[i] = out[0];
        half_force_y[i] = out[1];
        sixth_jerk_x[i] = out[2];
        sixth_jerk_y[i] = out[3];
        step[i] = out[4];
    }
    for (int i = 0; i < count; ++i) {
        if (!setup_goes_on()) return 0;
        force_derivatives(count, i, pos_x, pos_y, vel_x, vel_y, body_masses, half_force_x, half_force_y,
                          sixth_jerk_x, sixth_jerk_y, out);
        diff2_x[i] = out[0];
        diff2_y[i] = out[1];
        diff3_x[i] = out[2];
        diff3_y[i] = out[3];
    }
    // Every criterion first, so that degenerate bodies can take their length
    // from the others.
    for (int i = 0; i < count; ++i)
        step[i] = force_vanishes(half_force_x[i], half_force_y[i], step[i])
                      ? NO_STEP
                      : criterion_step(half_force_x[i], half_force_y[i], diff2_x[i], diff2_y[i]);
    for (int i = 0; i < count; ++i) step[i] = usable_step(i, sim_time, step[i]);

    for (int i = 0; i < count; ++i) {
        const double derivatives[8] = {half_force_x[i], half_force_y[i], sixth_jerk_x[i], sixth_jerk_y[i],
                                       diff2_x[i],      diff2_y[i],      diff3_x[i],      diff3_y[i]};
        take_start_derivatives(i, sim_time, derivatives);
    }
    build_step_queue(count);
    pair_close_bodies_at_start();
    return 1;
}
