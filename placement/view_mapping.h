// The interactive view's zoom and pan: the one mapping between client
// pixels and world points that both its drawing and its clicks use. At
// scale 1 and centre (0, 0) WORLD_HALF_HEIGHT world units reach from the
// centre of the client area to its top edge; a larger scale shows less.
// Before a run the world is the scene's plane; during one, the plane about
// the centre of mass of the pass shown. Not saved with the scene.
#pragma once

constexpr double PLANE_VIEW_SMALLEST_SCALE = 1e-3;
constexpr double PLANE_VIEW_LARGEST_SCALE = 1e3;
constexpr double PLANE_VIEW_WHEEL_FACTOR = 1.2;  // per wheel notch
// Part of the view the bodies' centres fill after Fit (room for their size).
constexpr double PLANE_VIEW_FIT_MARGIN = 0.8;

struct PlaneView {
    double scale;
    double centre_x, centre_y;  // world point at the centre of the client area
};
extern PlaneView plane_view;

// Back to the described view: scale 1 about the origin.
void reset_plane_view();

// Client pixel (px, py) of a client area width x height (whole area, device
// pixels) to world coordinates, and back. An empty area maps everything to
// the view's centre.
void screen_to_world(int px, int py, int width, int height, double* wx, double* wy);
void world_to_screen(double wx, double wy, int width, int height, double* px, double* py);

// Multiplies the scale by factor (held within the limits), keeping the
// world point under pixel (px, py) under it.
void zoom_plane_view(double factor, int px, int py, int width, int height);
// Moves the view with the pointer: the world point that was under a drag's
// first pixel follows it by (dx, dy) pixels from the view `from`.
void pan_plane_view(const PlaneView& from, int dx, int dy, int height);
// Shows every point (x[i], y[i]): centred on them, as large as fits with a
// margin. A single point, or points all at one place, is centred at scale 1.
void fit_plane_view(const double* x, const double* y, int count, int width, int height);
