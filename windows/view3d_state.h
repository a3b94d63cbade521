// Save State As of the 3D view's popup menu: the frame on screen written as
// a scene file, so a run can carry on from there.
#pragma once

#include "platform/platform.h"

constexpr int CMD_SAVE_STATE = 40123;

// Keeps the world positions and velocities of the frame being drawn; only
// while the view handles a frame thread's WM_DRAW_FRAME, when drawn_frame
// is valid. Before the first frame the state is the scene's own bodies.
void keep_view3d_state();
// The time of the kept frame (0 before the first).
extern double view3d_state_time;
void release_view3d_state();
// Asks for a file name with the Save As dialog and writes the scene there
// with every body at the kept frame's position and velocity (world
// coordinates, whatever the reference frame). The scene's path and its
// unsaved changes stay as they are. Returns 1 when a file was written.
int save_view3d_state(Window window);
