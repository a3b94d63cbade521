// What the 3D view draws: a copy of the last frame that the frame thread
// handed over.
//
// The frame thread writes draw_x, draw_y and the light positions and then
// waits while the view draws them (WM_DRAW_FRAME). A repaint at any other
// moment (exposure, resize, Stop) would read those arrays while the next
// frame is being written, so the view copies each handed-over frame and
// every drawing reads the copy: a repaint shows the last complete frame.
#pragma once

#include "sim/simulation.h"

// The frame shown, in draw coordinates: view3d_frame_count bodies (0 until
// the first frame of the run has been copied) and the light positions.
extern int view3d_frame_count;
extern float* view3d_frame_x;
extern float* view3d_frame_y;
extern float view3d_frame_lights[LIGHT_SLOTS][4];
// The centre of mass of the frame shown, when view3d_frame_has_cm is set.
extern int view3d_frame_has_cm;
extern float view3d_frame_cm_x;
extern float view3d_frame_cm_y;

// Frames handed over by the frame thread and drawn since the program began.
extern long long view3d_frames_drawn;

// Light slots the lit drawing places, fixed when the first Run sets up the
// lights (glow_count, at most LIGHT_SLOTS).
extern int view3d_run_lights;
// 1 while the toolbar's Show CM button is down: a marker at the centre of
// mass of the frame shown.
extern int view3d_show_cm;

// Copies the frame just converted; only while the frame thread waits for its
// WM_DRAW_FRAME, when the run's arrays and drawn_frame are valid.
void take_view3d_frame();
// Releases the copy; the next view starts without a frame.
void release_view3d_frame();
