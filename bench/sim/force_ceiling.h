// A bare softened-force loop: one divide and one square root per pair, summed
// in whatever order the vectors like. It bounds what any integrator built on
// the same pair arithmetic can reach on this machine.
#pragma once

void ceiling_force(int count, double xi, double yi, const double* x, const double* y, const double* m,
                   double* fx, double* fy);

// The two halves of a body step's force loop, each alone, with the
// integrator's arithmetic (no fused multiply-adds) on this machine's widest
// vectors. Each bounds the step loop from below on its own: the terms of
// every body from its third-order prediction, and their sum in index order,
// a chain of dependent additions.
void bound_predicted_terms(int count, double t, double xi, double yi, const double* x, const double* y,
                           const double* vx, const double* vy, const double* hx, const double* hy, const double* jx,
                           const double* jy, const double* time0, const double* m, double* f);
void bound_in_order_sum(int count, const double* f, double* fx, double* fy);
