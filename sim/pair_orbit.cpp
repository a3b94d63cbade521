// The relative motion of a close pair, integrated on its own time scale.
//
// Within a few softening lengths the pair's time scale is some ten orders
// of magnitude below the scene's, and its kinetic energy is up to a million
// times the scene's total energy, so a relative velocity error of 1e-12 there
// already shows in the total. The motion is smooth (the softening keeps the
// force finite), so a classical fourth-order Runge-Kutta step a small
// fraction of the local time scale follows it closely; after every step the
// velocity is put back on the energy and angular momentum the pair started
// with, which it keeps exactly. What error is left is a little lag or lead
// along the orbit and a little turn of it, not a gain or loss of energy.
#include "sim/pair_orbit.h"

#include <cmath>

#include "sim/bodies.h"

namespace {

// Steps per unit of the local time scale: about 1 / 0.002 steps per radian of
// an orbit, some 2000 for a passage through the core.
constexpr double STEP_FRACTION = 0.002;

struct Derivative {
    double vx, vy, ax, ay;
};

Derivative derivative(double mass, const PairState& s) {
    const double q = 1.0 / (s.x * s.x + s.y * s.y + softening2);
    const double g = mass * std::sqrt(q) * q;
    return {s.vx, s.vy, -g * s.x, -g * s.y};
}

PairState moved(const PairState& s, const Derivative& d, double h) {
    return {s.x + h * d.vx, s.y + h * d.vy, s.vx + h * d.ax, s.vy + h * d.ay};
}

void runge_kutta_step(double mass, PairState* s, double h) {
    const Derivative k1 = derivative(mass, *s);
    const Derivative k2 = derivative(mass, moved(*s, k1, 0.5 * h));
    const Derivative k3 = derivative(mass, moved(*s, k2, 0.5 * h));
    const Derivative k4 = derivative(mass, moved(*s, k3, h));
    const double w = h / 6.0;
    s->x += w * (k1.vx + 2.0 * (k2.vx + k3.vx) + k4.vx);
    s->y += w * (k1.vy + 2.0 * (k2.vy + k3.vy) + k4.vy);
    s->vx += w * (k1.ax + 2.0 * (k2.ax + k3.ax) + k4.ax);
    s->vy += w * (k1.ay + 2.0 * (k2.ay + k3.ay) + k4.ay);
}

// The velocity that has the kept energy and angular momentum at the current
// position: the tangential part from the angular momentum, the radial part's
// size from the energy, its sign as it was. Where the position has strayed a
// hair beyond a turning point the radial part is zero.
void keep_invariants(double mass, double energy, double angular_momentum, PairState* s) {
    const double r2 = s->x * s->x + s->y * s->y;
    if (!(r2 > 0.0)) return;
    const double r = std::sqrt(r2);
    const double ux = s->x / r, uy = s->y / r;
    const double radial = s->vx * ux + s->vy * uy;
    const double tangential = angular_momentum / r;
    const double radial2 = 2.0 * (energy + mass / std::sqrt(r2 + softening2)) - tangential * tangential;
    const double new_radial = radial2 > 0.0 ? std::copysign(std::sqrt(radial2), radial) : 0.0;
    const double vx = new_radial * ux - tangential * uy;
    const double vy = new_radial * uy + tangential * ux;
    if (std::isfinite(vx) && std::isfinite(vy)) {
        s->vx = vx;
        s->vy = vy;
    }
}

// The step length for the state: a fraction of the shorter of the free-fall
// time at the softened separation and the time to cross it.
double step_length(double mass, const PairState& s) {
    const double rho2 = s.x * s.x + s.y * s.y + softening2;
    const double rho = std::sqrt(rho2);
    const double v2 = s.vx * s.vx + s.vy * s.vy;
    double scale = std::sqrt(rho2 * rho / mass);
    if (v2 > 0.0) scale = std::fmin(scale, rho / std::sqrt(v2));
    return STEP_FRACTION * scale;
}

}  // namespace

double pair_energy(double mass, const PairState& s) {
    return 0.5 * (s.vx * s.vx + s.vy * s.vy) - mass / std::sqrt(s.x * s.x + s.y * s.y + softening2);
}

double pair_angular_momentum(const PairState& s) { return s.x * s.vy - s.y * s.vx; }

double advance_pair(double mass, double energy, double angular_momentum, PairState* s, double dt, long max_steps) {
    double done = 0.0;
    for (long n = 0; n < max_steps && done != dt; ++n) {
        const double remaining = dt - done;
        const double h = step_length(mass, *s);
        if (!(h < std::fabs(remaining))) {  // the last step (or no usable length)
            runge_kutta_step(mass, s, remaining);
            keep_invariants(mass, energy, angular_momentum, s);
            return dt;
        }
        runge_kutta_step(mass, s, std::copysign(h, remaining));
        keep_invariants(mass, energy, angular_momentum, s);
        done += std::copysign(h, remaining);
    }
    return done;
}

double advance_pair_to_separation(double mass, double energy, double angular_momentum, PairState* s,
                                  double distance, long max_steps) {
    PairState state = *s;
    double elapsed = 0.0;
    for (long n = 0; n < max_steps; ++n) {
        if (state.x * state.x + state.y * state.y >= distance * distance &&
            state.x * state.vx + state.y * state.vy > 0.0) {
            *s = state;
            return elapsed;
        }
        const double h = step_length(mass, state);
        if (!(h > 0.0) || !std::isfinite(h)) return -1.0;
        runge_kutta_step(mass, &state, h);
        keep_invariants(mass, energy, angular_momentum, &state);
        elapsed += h;
    }
    return -1.0;
}
