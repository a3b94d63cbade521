// The live readout in the 3D view's status bar, right of the frame's name:
// the simulated time, the relative energy error since the run's first frame
// and the body steps per second, refreshed a few times a second from the
// frames the view is handed. The O(N^2) energy is computed on a thread of
// its own, so neither the GUI nor the simulation waits for it; that thread
// also adds each result to the energy series the plot window shows.
#pragma once

#include "platform/platform.h"

constexpr int CMD_SHOW_READOUT = 40103;
// 1 while the popup menu's "Show Readout" is checked (off in a new view: the
// status bar then shows the frame's name alone).
extern int view3d_show_readout;

// The last values shown (0 before the first).
extern double readout_time;
extern double readout_energy_error;
extern double readout_steps_per_second;

// The readout's thread, started with the view and ended (woken and joined)
// with it.
void start_readout();
void end_readout();
// Shows or hides the readout part (the energy error keeps counting from the
// run's first frame either way).
void show_readout(Window status_bar, int shown);
// In the view's WM_DRAW_FRAME, after the frame has been taken: shows a
// result that is ready, and at most READOUT_PERIOD_MS after the last copy
// hands this frame to the thread.
void readout_take_frame(Window status_bar);
constexpr int READOUT_PERIOD_MS = 250;
