// The centre of mass and the five reference frames.
#include <cmath>

#include "sim/bodies.h"
#include "sim/frames.h"
#include "sim/simulation.h"

const PublishedFrame* drawn_frame = nullptr;
FrameTransform drawn_transform = {};

void centre_of_mass(const double* x, const double* y, const double* m, int count, double total,
                    double* out_x, double* out_y) {
    double sum_x = 0.0, sum_y = 0.0, weight = 0.0;
    for (int i = 0; i < count; ++i) sum_x += m[i] * x[i];
    for (int i = 0; i < count; ++i) sum_y += m[i] * y[i];
    for (int i = 0; i < count; ++i) weight += std::fabs(m[i]);
    // Masses that are all zero, or that cancel (+m and -m), give no centre
    // of mass: the mean position stands in for it.
    if (!(std::fabs(total) > NO_TOTAL_MASS * weight)) {
        sum_x = sum_y = 0.0;
        for (int i = 0; i < count; ++i) sum_x += x[i];
        for (int i = 0; i < count; ++i) sum_y += y[i];
        total = count > 0 ? count : 1;
    }
    *out_x = sum_x / total;
    *out_y = sum_y / total;
}

double cm_x() {
    if (!drawn_frame || drawn_frame->count == 0 || !body_masses) return 0.0;
    double x, y;
    centre_of_mass(drawn_frame->x, drawn_frame->y, body_masses, drawn_frame->count, run_total_mass, &x, &y);
    return x;
}

double cm_y() {
    if (!drawn_frame || drawn_frame->count == 0 || !body_masses) return 0.0;
    double x, y;
    centre_of_mass(drawn_frame->x, drawn_frame->y, body_masses, drawn_frame->count, run_total_mass, &x, &y);
    return y;
}

FrameTransform make_frame_transform(const double* x, const double* y, const double* masses, int count,
                                    double total) {
    FrameTransform f = {};
    f.mode = read_frame_mode();
    f.c = 1.0;
    f.converts = count > 0 && f.mode >= FRAME_FIXED && f.mode <= FRAME_ORBIT;
    if (!f.converts) return f;
    f.origin_x = read_frame_origin_x();
    f.origin_y = read_frame_origin_y();
    int body = read_frame_body();
    if (body < 0 || body >= count) body = 0;  // a reference beyond the bodies means the first
    f.bx = x[body];
    f.by = y[body];
    if (f.mode == FRAME_CM || f.mode == FRAME_ROTATING || f.mode == FRAME_ORBIT)
        centre_of_mass(x, y, masses, count, total, &f.cx, &f.cy);
    if (f.mode == FRAME_ROTATING || f.mode == FRAME_ORBIT) {
        const double dx = f.bx - f.cx, dy = f.by - f.cy;
        const double r = std::sqrt(dx * dx + dy * dy);
        // With the reference body at the centre of mass no direction is
        // defined: the frame does not rotate.
        if (r > 0.0 && std::isfinite(r)) {
            f.c = dx / r;
            f.s = dy / r;
        }
        f.ref_x = f.cx + (f.s * dy + f.c * dx);
        f.ref_y = f.cy + (f.c * dy - f.s * dx);
    }
    return f;
}

int frame_position(const FrameTransform& f, double px, double py, double* out_x, double* out_y) {
    if (!f.converts) return 0;
    switch (f.mode) {
    case FRAME_FIXED:
        *out_x = px - f.origin_x;
        *out_y = py - f.origin_y;
        return 1;
    case FRAME_CM:
        *out_x = px - f.cx;
        *out_y = py - f.cy;
        return 1;
    case FRAME_ROTATING: {
        const double ux = px - f.cx, uy = py - f.cy;
        *out_x = f.c * ux + f.s * uy;
        *out_y = f.c * uy - f.s * ux;
        return 1;
    }
    case FRAME_MOVING:
        *out_x = px - f.bx;
        *out_y = py - f.by;
        return 1;
    case FRAME_ORBIT: {
        const double ux = px - f.cx, uy = py - f.cy;
        *out_x = (f.cx + f.c * ux + f.s * uy) - f.ref_x;
        *out_y = (f.cy + f.c * uy - f.s * ux) - f.ref_y;
        return 1;
    }
    default:
        return 0;
    }
}
