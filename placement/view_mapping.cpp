#include "placement/view_mapping.h"

#include <algorithm>
#include <cmath>

#include "sim/bodies.h"

PlaneView plane_view = {1.0, 0.0, 0.0};

namespace {

// World units per pixel at the view's scale.
double world_per_pixel(int height) { return 2.0 * WORLD_HALF_HEIGHT / (height * plane_view.scale); }

double held_scale(double scale) {
    if (!std::isfinite(scale)) return plane_view.scale;
    return std::clamp(scale, PLANE_VIEW_SMALLEST_SCALE, PLANE_VIEW_LARGEST_SCALE);
}

}  // namespace

void reset_plane_view() { plane_view = {1.0, 0.0, 0.0}; }

void screen_to_world(int px, int py, int width, int height, double* wx, double* wy) {
    if (width <= 0 || height <= 0) {
        *wx = plane_view.centre_x;
        *wy = plane_view.centre_y;
        return;
    }
    // One pixel is the same world length in both directions.
    *wx = (2.0 * px - width) / height * WORLD_HALF_HEIGHT / plane_view.scale + plane_view.centre_x;
    *wy = (1.0 - 2.0 * py / height) * WORLD_HALF_HEIGHT / plane_view.scale + plane_view.centre_y;
}

void world_to_screen(double wx, double wy, int width, int height, double* px, double* py) {
    const double per_pixel = height > 0 ? world_per_pixel(height) : 1.0;
    *px = 0.5 * width + (wx - plane_view.centre_x) / per_pixel;
    *py = 0.5 * height - (wy - plane_view.centre_y) / per_pixel;
}

void zoom_plane_view(double factor, int px, int py, int width, int height) {
    if (width <= 0 || height <= 0) return;
    double wx = 0.0, wy = 0.0;
    screen_to_world(px, py, width, height, &wx, &wy);
    plane_view.scale = held_scale(plane_view.scale * factor);
    // The centre moves so that (wx, wy) maps to (px, py) again.
    plane_view.centre_x = wx - (2.0 * px - width) / height * WORLD_HALF_HEIGHT / plane_view.scale;
    plane_view.centre_y = wy - (1.0 - 2.0 * py / height) * WORLD_HALF_HEIGHT / plane_view.scale;
}

void pan_plane_view(const PlaneView& from, int dx, int dy, int height) {
    if (height <= 0) return;
    const double per_pixel = 2.0 * WORLD_HALF_HEIGHT / (height * from.scale);
    plane_view.scale = from.scale;
    plane_view.centre_x = from.centre_x - dx * per_pixel;
    plane_view.centre_y = from.centre_y + dy * per_pixel;
}

void fit_plane_view(const double* x, const double* y, int count, int width, int height) {
    double left = HUGE_VAL, right = -HUGE_VAL, bottom = HUGE_VAL, top = -HUGE_VAL;
    int spread = 0, first = -1;
    for (int i = 0; i < count; ++i) {
        if (!std::isfinite(x[i]) || !std::isfinite(y[i])) continue;
        if (first < 0) first = i;
        if (x[i] != x[first] || y[i] != y[first]) spread = 1;
        left = std::min(left, x[i]);
        right = std::max(right, x[i]);
        bottom = std::min(bottom, y[i]);
        top = std::max(top, y[i]);
    }
    if (!(left <= right) || width <= 0 || height <= 0) return;
    if (!spread) {
        plane_view = {1.0, x[first], y[first]};
        return;
    }
    plane_view.centre_x = 0.5 * (left + right);
    plane_view.centre_y = 0.5 * (bottom + top);
    // The half-height that shows the box, across and up.
    const double aspect = static_cast<double>(width) / height;
    const double half_height = std::max(0.5 * (top - bottom), 0.5 * (right - left) / aspect) / PLANE_VIEW_FIT_MARGIN;
    plane_view.scale = half_height > 0.0 ? held_scale(WORLD_HALF_HEIGHT / half_height) : 1.0;
}
