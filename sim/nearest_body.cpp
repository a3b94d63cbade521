// The nearest body, found in vector lanes: every body's q = 1 / (d^2 +
// softening2) from a point is kept in body_q, then its largest value and
// the first body that has it are looked up. A maximum does not depend on
// how its operands are grouped, so the lanes find what a loop in index order
// would.
#include "sim/bodies.h"
#include "sim/integrator.h"
#include "sim/vector_clones.h"

double* body_q = nullptr;

namespace {

VECTOR_CLONES void measure(double t, double xi, double yi, int count, double* __restrict q) {
    for (int j = 0; j < count; ++j) {
        const Predicted p = predict_third_order(j, t);
        const double dx = p.x - xi, dy = p.y - yi;
        q[j] = 1.0 / ((dx * dx + dy * dy) + softening2);
    }
}

// The largest of q[0..count-1] and 0, and the first index that holds it
// (-1 when none is above 0).
VECTOR_CLONES double largest_q(const double* q, int count, int* index) {
    LaneMaximum lanes;
    int k = 0;
    for (; k + MAXIMUM_LANES <= count; k += MAXIMUM_LANES) lanes.take(q + k, k);
    return lanes.largest(index, q, k, count);
}

}  // namespace

void measure_body_q(double t, double xi, double yi) {
    measure(t, xi, yi, run_body_count, body_q);
}

int nearest_in_body_q(int a, int b, int c, double above, double* q_out) {
    for (const int left_out : {a, b, c})
        if (left_out >= 0) body_q[left_out] = 0.0;
    int index = -1;
    *q_out = largest_q(body_q, run_body_count, &index);
    return *q_out > above ? index : -1;
}
