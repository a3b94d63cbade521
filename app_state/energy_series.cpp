#include "app_state/energy_series.h"

#include <cstdio>
#include <mutex>

Window energy_plot_area = NO_WINDOW;

namespace {

std::mutex series_lock;
std::vector<EnergyPoint> series;  // guarded by series_lock
long long offered = 0;            // points offered since the series began
long long stride = 1;             // every stride-th offered point is kept

}  // namespace

void clear_energy_series() {
    std::lock_guard<std::mutex> hold(series_lock);
    series.clear();
    series.shrink_to_fit();
    offered = 0;
    stride = 1;
}

void append_energy_point(const EnergyPoint& point) {
    std::lock_guard<std::mutex> hold(series_lock);
    const long long index = offered++;
    if (index % stride != 0) return;
    if (series.size() >= static_cast<std::size_t>(ENERGY_SERIES_CAPACITY)) {
        // Keep the points at even positions: those are the multiples of the
        // doubled stride, so the series stays evenly spaced.
        std::size_t kept = 0;
        for (std::size_t i = 0; i < series.size(); i += 2) series[kept++] = series[i];
        series.resize(kept);
        stride *= 2;
        if (index % stride != 0) return;
    }
    if (series.capacity() == 0) series.reserve(ENERGY_SERIES_CAPACITY);
    series.push_back(point);
}

std::vector<EnergyPoint> energy_series_copy() {
    std::lock_guard<std::mutex> hold(series_lock);
    return series;
}

int write_energy_csv(const char* path) {
    const std::vector<EnergyPoint> points = energy_series_copy();
    FILE* file = std::fopen(path, "w");
    if (file == nullptr) return 0;
    std::fprintf(file, "time,energy,relative error,momentum x,momentum y\n");
    for (const EnergyPoint& p : points)
        std::fprintf(file, "%.17g,%.17g,%.17g,%.17g,%.17g\n", p.time, p.energy, p.error, p.momentum_x, p.momentum_y);
    const int written = std::ferror(file) == 0;
    return std::fclose(file) == 0 && written;
}
