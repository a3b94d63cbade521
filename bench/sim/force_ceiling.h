// A bare softened-force loop: one divide and one square root per pair, summed
// in whatever order the vectors like. It bounds what any integrator built on
// the same pair arithmetic can reach on this machine.
#pragma once

void ceiling_force(int count, double xi, double yi, const double* x, const double* y, const double* m,
                   double* fx, double* fy);
