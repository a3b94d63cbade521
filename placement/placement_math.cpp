// The nearest body, and the velocities that put a new body in a circular
// orbit or make a binary pair.
#include <cmath>

#include "placement/placement.h"

Body* nearest_body(double wx, double wy) {
    Body* best = body_list;
    double bound = 1e90;
    Body* body = body_list;
    for (int i = 0; i < body_count && body != nullptr; ++i, body = body->next) {
        const double d = sqr(body->x - wx) + sqr(body->y - wy);
        if (d < bound) {
            best = body;
            bound = d;
        }
    }
    return best;
}

int nearest_index(double wx, double wy, const double* x, const double* y, int count) {
    int best = 0;
    double bound = 1e90;
    for (int i = 0; i < count; ++i) {
        const double d = sqr(x[i] - wx) + sqr(y[i] - wy);
        if (d < bound) {
            best = i;
            bound = d;
        }
    }
    return best;
}

namespace {

// A speed that is a real, finite number, else 0 (zero distance, or masses
// from a file that give no real root).
double finite_speed(double speed) { return std::isfinite(speed) ? speed : 0.0; }

}  // namespace

void set_circular_velocity(Body* body, const Body* centre) {
    const double dx = body->x - centre->x;
    const double dy = body->y - centre->y;
    const double r = std::sqrt(dx * dx + dy * dy);
    body->vx = centre->vx;
    body->vy = centre->vy;
    if (!(r > 0.0)) return;
    const double v = finite_speed(std::sqrt(centre->mass / r));
    body->vx += v * (centre->y - body->y) / r;
    body->vy += v * dx / r;
}

void set_binary_velocities(Body* second, Body* first) {
    const double dx = second->x - first->x;
    const double dy = second->y - first->y;
    const double total = first->mass + second->mass;
    const double r = std::sqrt(dx * dx + dy * dy);
    second->vx = second->vy = first->vx = first->vy = 0.0;
    if (!(r > 0.0)) return;
    const double v_second = finite_speed(std::sqrt(first->mass * first->mass / (total * r)));
    const double v_first = finite_speed(std::sqrt(second->mass * second->mass / (total * r)));
    second->vx = v_second * (first->y - second->y) / r;
    second->vy = v_second * dx / r;
    first->vx = -(v_first * (first->y - second->y) / r);
    first->vy = -(v_first * dx / r);
}
