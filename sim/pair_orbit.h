// The relative motion of two bodies under their own softened attraction
// alone: x'' = -M x / (|x|^2 + softening2)^(3/2), with x the position of one
// body relative to the other and M the sum of their masses. A close pair
// moves this way while it passes (sim/close_pairs.cpp).
#pragma once

struct PairState {
    double x, y;    // relative position
    double vx, vy;  // relative velocity
};

// The two quantities the motion keeps: the energy per unit reduced mass
// (1/2 |v|^2 - M / sqrt(|x|^2 + softening2)) and the angular momentum per
// unit reduced mass (x vy - y vx).
double pair_energy(double mass, const PairState& s);
double pair_angular_momentum(const PairState& s);

// Advances s by dt (either sign) in steps a small fraction of the pair's own
// time scale, taking at most max_steps steps; each step ends on the given
// energy and angular momentum. Returns the time actually advanced: dt, or
// less when max_steps ran out first.
double advance_pair(double mass, double energy, double angular_momentum, PairState* s, double dt, long max_steps);

// Advances s forward until the separation is at least distance and growing,
// within max_steps steps. Returns the time that took (s is then the state
// there), or -1 when the steps ran out first (a pair bound within distance,
// or one that takes longer to leave); s is then unchanged.
double advance_pair_to_separation(double mass, double energy, double angular_momentum, PairState* s,
                                  double distance, long max_steps);
