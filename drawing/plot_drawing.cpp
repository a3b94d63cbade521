#include "drawing/plot_drawing.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr unsigned AXIS_COLOUR = 0xC8C8C8;
constexpr unsigned GRID_COLOUR = 0x343A40;
constexpr unsigned TEXT_COLOUR = 0xE8E8E8;
constexpr int LEFT = 64, RIGHT = 16, TOP = 28, BOTTOM = 44;
constexpr int TIME_TICKS = 5;
// Errors below this are drawn at it: the first frame's own error is 0, and
// a double cannot tell a smaller relative change.
constexpr double SMALLEST_ERROR = 1e-17;

struct Axes {
    int x0, y0, width, height;  // the plot's inner rectangle
    double t_min, t_max;
    int decade_min, decade_max;
};

double error_decades(double error) { return std::log10(std::max(std::fabs(error), SMALLEST_ERROR)); }

Axes choose_axes(int width, int height, const std::vector<EnergyPoint>& points) {
    Axes axes{LEFT, TOP, std::max(1, width - LEFT - RIGHT), std::max(1, height - TOP - BOTTOM), 0.0, 1.0, -16, -15};
    double t_min = HUGE_VAL, t_max = -HUGE_VAL, e_min = HUGE_VAL, e_max = -HUGE_VAL;
    for (const EnergyPoint& p : points) {
        if (!std::isfinite(p.time) || !std::isfinite(p.error)) continue;
        t_min = std::min(t_min, p.time);
        t_max = std::max(t_max, p.time);
        if (p.error == 0.0) continue;
        e_min = std::min(e_min, error_decades(p.error));
        e_max = std::max(e_max, error_decades(p.error));
    }
    if (t_min <= t_max) {
        axes.t_min = t_min;
        axes.t_max = t_max > t_min ? t_max : t_min + 1.0;
    }
    if (e_min <= e_max) {
        axes.decade_min = static_cast<int>(std::floor(e_min));
        axes.decade_max = std::max(static_cast<int>(std::ceil(e_max)), axes.decade_min + 1);
    }
    return axes;
}

double column(const Axes& a, double t) { return a.x0 + (t - a.t_min) / (a.t_max - a.t_min) * a.width; }
double row(const Axes& a, double error) {
    const double d = std::clamp(error_decades(error), static_cast<double>(a.decade_min),
                                static_cast<double>(a.decade_max));
    return a.y0 + a.height - (d - a.decade_min) / (a.decade_max - a.decade_min) * a.height;
}

void draw_grid(Window area, const Axes& a, int line_height) {
    // One labelled line per decade, fewer when the decades crowd.
    const int decades = a.decade_max - a.decade_min;
    const int every = std::max(1, decades * line_height / std::max(1, a.height) + 1);
    char text[32];
    for (int d = a.decade_min; d <= a.decade_max; d += every) {
        const int y = static_cast<int>(row(a, std::pow(10.0, d)));
        paint_line(area, a.x0, y, a.x0 + a.width, y, GRID_COLOUR, 1);
        std::snprintf(text, sizeof text, "1e%d", d);
        paint_text(area, a.x0 - 6, y + line_height / 3, text, TEXT_COLOUR, 2, 0);
    }
    for (int i = 0; i <= TIME_TICKS; ++i) {
        const double t = a.t_min + (a.t_max - a.t_min) * i / TIME_TICKS;
        const int x = static_cast<int>(column(a, t));
        paint_line(area, x, a.y0, x, a.y0 + a.height, GRID_COLOUR, 1);
        std::snprintf(text, sizeof text, "%.4g", t);
        paint_text(area, x, a.y0 + a.height + line_height, text, TEXT_COLOUR, 1, 0);
    }
    paint_line(area, a.x0, a.y0, a.x0, a.y0 + a.height, AXIS_COLOUR, 1);
    paint_line(area, a.x0, a.y0 + a.height, a.x0 + a.width, a.y0 + a.height, AXIS_COLOUR, 1);
}

void draw_labels(Window area, const Axes& a, int line_height) {
    paint_text(area, a.x0 + a.width / 2, a.y0 + a.height + 2 * line_height + 2, "simulated time", TEXT_COLOUR, 1, 0);
    paint_text(area, line_height, a.y0 + a.height / 2, "|dE/E|", TEXT_COLOUR, 1, 1);
    const int x = a.x0 + a.width;
    const int gained = paint_text(area, x, line_height + 2, "E above start", PLOT_GAIN_COLOUR, 2, 0);
    paint_text(area, x - gained - 16, line_height + 2, "E below start", PLOT_LOSS_COLOUR, 2, 0);
}

}  // namespace

void draw_energy_plot(Window area, int width, int height, const std::vector<EnergyPoint>& points) {
    paint_fill_rect(area, 0, 0, width, height, PLOT_BACKGROUND);
    const int line_height = std::max(1, paint_text_height(area));
    const Axes axes = choose_axes(width, height, points);
    draw_grid(area, axes, line_height);
    draw_labels(area, axes, line_height);
    if (points.empty()) {
        paint_text(area, axes.x0 + axes.width / 2, axes.y0 + axes.height / 2, "Run the scene to plot its energy",
                   TEXT_COLOUR, 1, 0);
        return;
    }
    const EnergyPoint* previous = nullptr;
    for (const EnergyPoint& p : points) {
        if (!std::isfinite(p.time) || !std::isfinite(p.error)) continue;
        const unsigned colour = p.error < 0.0 ? PLOT_LOSS_COLOUR : PLOT_GAIN_COLOUR;
        const double x = column(axes, p.time), y = row(axes, p.error);
        if (previous != nullptr)
            paint_line(area, column(axes, previous->time), row(axes, previous->error), x, y, colour, 2);
        else
            paint_line(area, x, y, x + 1, y, colour, 2);
        previous = &p;
    }
}
