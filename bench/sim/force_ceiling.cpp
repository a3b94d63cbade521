#include "force_ceiling.h"

#include <cmath>

void ceiling_force(int count, double xi, double yi, const double* __restrict x, const double* __restrict y,
                   const double* __restrict m, double* fx, double* fy) {
    double sx = 0.0, sy = 0.0;
#pragma omp simd reduction(+ : sx, sy)
    for (int j = 0; j < count; ++j) {
        const double dx = x[j] - xi, dy = y[j] - yi;
        const double q = 1.0 / ((dx * dx + dy * dy) + 0.05);
        const double g = m[j] * std::sqrt(q) * q;
        sx += g * dx;
        sy += g * dy;
    }
    *fx = sx;
    *fy = sy;
}
