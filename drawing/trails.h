// Trails of the 3D view: each body's last positions in the reference frame
// shown, drawn as a line in its material colour that fades with age.
//
// Positions are recorded from each frame the view copies, so a trail is
// always a path in the frame on screen; a change of the reference frame or
// of its reference body starts every trail afresh. Memory is bounded: at
// most TRAIL_FRAMES positions per body and TRAIL_POINT_BUDGET positions in
// all, whatever the number of bodies and the length of the run.
#pragma once

constexpr int CMD_SHOW_TRAILS = 40100;
constexpr int TRAIL_FRAMES = 1000;
constexpr int TRAIL_POINT_BUDGET = 1000000;

// 1 while the popup menu's "Show Trails" is checked (off in a new view).
extern int view3d_show_trails;

// Positions each trail holds at most for the current run (0 before the first
// recorded frame), and the positions body i holds now.
int trail_capacity();
int trail_length(int body);

// Appends the frame just copied (view3d_frame_x / _y) to every trail, after
// starting afresh when the reference frame, its reference body or the Fixed
// frame's origin changed. Nothing is recorded while trails are off. Only
// while the frame thread waits for its WM_DRAW_FRAME (drawn_transform valid).
void record_trails();
// Draws the trails unlit in the current model-view frame (lighting
// restored), before the spheres: where the GL allows, by copying a kept
// picture of them over the cleared colour buffer.
void draw_trails();
// Forgets every trail and releases their memory.
void release_trails();
