// The energy series of the plot: a whole run in bounded memory, evenly
// spread, written as CSV in full precision.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "app_state/energy_series.h"

namespace {

TEST(EnergySeries, AWholeRunStaysBoundedEvenlySpreadAndWritesAsCsv) {
    clear_energy_series();
    constexpr int OFFERED = 10 * ENERGY_SERIES_CAPACITY + 3;
    for (int i = 0; i < OFFERED; ++i) append_energy_point({0.5 * i, -2.0, 1e-9 * i, 0.25, -0.125});
    const std::vector<EnergyPoint> series = energy_series_copy();
    ASSERT_LE(series.size(), static_cast<std::size_t>(ENERGY_SERIES_CAPACITY));
    ASSERT_GE(series.size(), static_cast<std::size_t>(ENERGY_SERIES_CAPACITY / 2));
    // From the run's first point to within one stride of its last, equal steps.
    EXPECT_EQ(series.front().time, 0.0);
    const double step = series[1].time - series[0].time;
    for (std::size_t i = 1; i < series.size(); ++i) EXPECT_EQ(series[i].time - series[i - 1].time, step) << i;
    EXPECT_GT(series.back().time + step, 0.5 * (OFFERED - 1));

    const std::string path = ::testing::TempDir() + "energy-series.csv";
    ASSERT_EQ(write_energy_csv(path.c_str()), 1);
    std::ifstream csv(path);
    std::string line;
    std::getline(csv, line);
    EXPECT_EQ(line, "time,energy,relative error,momentum x,momentum y");
    std::getline(csv, line);
    std::getline(csv, line);
    double t = 0, e = 0, error = 0, px = 0, py = 0;
    ASSERT_EQ(std::sscanf(line.c_str(), "%lf,%lf,%lf,%lf,%lf", &t, &e, &error, &px, &py), 5);
    EXPECT_EQ(t, series[1].time);
    EXPECT_EQ(error, series[1].error);  // full precision: read back exactly
    EXPECT_EQ(py, -0.125);
    std::remove(path.c_str());
    EXPECT_EQ(write_energy_csv("/nonexistent-folder/readout.csv"), 0);

    clear_energy_series();
    EXPECT_TRUE(energy_series_copy().empty());
}

}  // namespace
