// The energy plot window ("Stelo3d - Energy"): the series of the open
// scene's readout drawn on a painted child, and "Save Readout As..." in its
// right-click menu writing the series as CSV. It is not recorded in the
// settings file; it stays open across scenes, each starting a fresh curve.
#pragma once

#include "platform/platform.h"

constexpr const char* PLOT_CLASS = "stelo20plot";
constexpr const char* PLOT_AREA_CLASS = "stelo20plotarea";
constexpr const char* PLOT_TITLE = "Stelo3d - Energy";
constexpr int CMD_SAVE_READOUT = 40107;
constexpr int PLOT_WIDTH = 525;  // outer size of a new plot window
constexpr int PLOT_HEIGHT = 300;

extern Window plot_window;

// Registers the window's class and its drawing area's; 0 when one cannot be.
int register_plot_classes();
// Shows the open plot window, or creates it with the outer rectangle given.
void open_energy_plot(int x, int y, int width, int height);
