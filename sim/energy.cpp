// Total energy of a published frame, for the headless runner and the tests.
#include <cmath>

#include "sim/bodies.h"
#include "sim/simulation.h"

double frame_energy(const PublishedFrame& frame, const double* masses) {
    double kinetic = 0.0, potential = 0.0;
    for (int i = 0; i < frame.count; ++i) {
        kinetic += 0.5 * masses[i] * (frame.vx[i] * frame.vx[i] + frame.vy[i] * frame.vy[i]);
        for (int j = i + 1; j < frame.count; ++j) {
            const double dx = frame.x[j] - frame.x[i], dy = frame.y[j] - frame.y[i];
            potential -= masses[i] * masses[j] / std::sqrt(dx * dx + dy * dy + softening2);
        }
    }
    return kinetic + potential;
}
