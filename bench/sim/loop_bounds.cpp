#include <cstring>
#include <cmath>

#include "force_ceiling.h"

void bound_predicted_terms(int count, double t, double xi, double yi, const double* __restrict x,
                           const double* __restrict y, const double* __restrict vx, const double* __restrict vy,
                           const double* __restrict hx, const double* __restrict hy, const double* __restrict jx,
                           const double* __restrict jy, const double* __restrict time0, const double* __restrict m,
                           double* __restrict f) {
    for (int j = 0; j < count; ++j) {
        const double tau = t - time0[j];
        const double dx = (x[j] + tau * (vx[j] + tau * (hx[j] + tau * jx[j]))) - xi;
        const double dy = (y[j] + tau * (vy[j] + tau * (hy[j] + tau * jy[j]))) - yi;
        const double q = 1.0 / ((dx * dx + dy * dy) + 0.05);
        const double g = m[j] * std::sqrt(q) * q;
        f[2 * j] = g * dx;
        f[2 * j + 1] = g * dy;
    }
}

void bound_in_order_sum(int count, const double* f, double* fx, double* fy) {
    typedef double Pair __attribute__((vector_size(16)));
    Pair sum = {0.0, 0.0};
    for (int j = 0; j < count; ++j) {
        Pair term;
        std::memcpy(&term, f + 2 * j, sizeof term);
        sum += term;
    }
    *fx = sum[0];
    *fy = sum[1];
}
