// The run's energy over simulated time, as the readout measures it: one
// point per readout (time, total energy, error relative to the run's first
// frame, total momentum), appended by the readout's thread and read by the
// plot window and its CSV export on the GUI thread. The series of a whole
// run stays within ENERGY_SERIES_CAPACITY points: when it is full every
// second point is dropped and from then on only every second readout is
// kept (the kept stride doubles), so the points stay spread evenly over
// the run.
#pragma once

#include <vector>

#include "platform/platform.h"

// Shows the plot window (the 3D view passes it to the control window).
constexpr int CMD_SHOW_PLOT = 40106;
constexpr int ENERGY_SERIES_CAPACITY = 4096;

struct EnergyPoint {
    double time;
    double energy;
    double error;  // (E - E0) / |E0|, or E - E0 when E0 is 0
    double momentum_x;
    double momentum_y;
};

// The plot's drawing area: repainted when a point arrives (NO_WINDOW when
// no plot is open).
extern Window energy_plot_area;

// Forgets the series (a new scene's first readout starts the next one).
void clear_energy_series();
// From the readout's thread.
void append_energy_point(const EnergyPoint& point);
// A consistent copy of the series, oldest first.
std::vector<EnergyPoint> energy_series_copy();
// Writes the series as CSV (header line, then time,energy,relative error,
// momentum x,momentum y in full precision); 0 when the file cannot be written.
int write_energy_csv(const char* path);
