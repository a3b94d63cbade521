// Step lengths.
//
// The criterion sqrt(eta * |F| / |S|) gives a body about 0.1 / omega on an
// orbit of angular velocity omega. It has no value when the force F or its
// second derivative S vanishes: a lone body (F = S = 0 gives 0 / 0), a body
// balanced at the centre of a symmetric arrangement (F = 0 gives a step of
// 0, and a zero step divides by zero in the corrector), an instant at which
// S = 0 (an infinite step); huge or tiny values can also overflow. A force
// that cancels to within the rounding of its terms counts as zero too: there
// it is noise, and a step from noise shrinks the next step without end (the
// differences of noise over shorter and shorter steps only grow). Rule:
//  - a force below 1e-10 of its largest term vanishes (cancellation among
//    N terms leaves about N * 1e-16 of the largest); after a body step this
//    is checked when the criterion gives no usable length or less than an
//    eighth of the body's last step, which a force of noise always does;
//  - a finite positive criterion is used as it is, up to MAX_STEP;
//  - a criterion beyond MAX_STEP is cut to MAX_STEP;
//  - otherwise the body takes the shortest step of the other bodies: its own
//    force says nothing about how soon it will change, and it can change no
//    faster than the bodies producing it move, which their steps resolve;
//    with no other body (a lone body, which moves in a straight line whatever
//    its step) it takes MAX_STEP;
//  - a step too short to advance the body's time becomes the shortest one
//    that does.
// So every chosen time is finite and later than the body's t0.
#include <cmath>
#include <limits>

#include "sim/bodies.h"
#include "sim/integrator.h"

namespace {

bool usable(double h) { return h > 0.0 && h <= MAX_STEP; }

double shortest_other_step(int i) {
    double shortest = MAX_STEP;
    for (int j = 0; j < run_body_count; ++j) {
        if (j == i) continue;
        const double h = step[j] > MAX_STEP ? MAX_STEP : step[j];  // an uncut criterion at set-up
        if (h > 0.0 && h < shortest) shortest = h;
    }
    return shortest;
}

}  // namespace

bool force_vanishes(double fx, double fy, double largest_term) {
    return std::fabs(fx) + std::fabs(fy) <= 1e-10 * largest_term;
}

double criterion_step(double fx, double fy, double sx, double sy) {
    return std::sqrt(eta * std::sqrt((fx * fx + fy * fy) / (sx * sx + sy * sy)));
}

double usable_step(int i, double t0_i, double h) {
    if (!usable(h)) h = (h > MAX_STEP && std::isfinite(h)) ? MAX_STEP : shortest_other_step(i);
    if (!(t0_i + h > t0_i)) h = std::nextafter(t0_i, std::numeric_limits<double>::infinity()) - t0_i;
    return h;
}
