// The energy plot's picture: |dE/E| on a logarithmic axis against simulated
// time, its sign by colour, with labelled axes, painted on a painted child
// window through the platform's line, text and fill calls.
#pragma once

#include <vector>

#include "app_state/energy_series.h"
#include "platform/platform.h"

// Colours of the curve: a point above the first frame's energy, and below.
constexpr unsigned PLOT_GAIN_COLOUR = 0xFF5040;
constexpr unsigned PLOT_LOSS_COLOUR = 0x40A0FF;
constexpr unsigned PLOT_BACKGROUND = 0x101418;

// Paints the series on the area (width x height logical pixels); in its WM_PAINT.
void draw_energy_plot(Window area, int width, int height, const std::vector<EnergyPoint>& points);
