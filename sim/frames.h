// Frame threads: the published positions expressed in the chosen reference
// frame and scaled into the views' draw coordinates; the centre of mass.
#pragma once

#include "platform/platform.h"

// The windows the frame threads ask to draw. The shell writes them when it
// creates the view windows; the headless runner sets its own.
extern Window view3d_window;
extern Window interactive_window;
// When set, the 3D view's frame thread calls it with each converted frame
// (drawn_frame) in place of asking view3d_window to draw: a reader without a
// screen takes its frames on that thread, and a frame costs no round trip
// through a third one. The run's arrays are held during the call.
extern void (*take_drawn_frame)();

// Centre of mass of the frame being converted or drawn by the 3D view's
// frame thread (drawn_frame); 0 when there is none.
double cm_x();
double cm_y();
// Centre of mass of any positions: sum of m[i] * x[i] in index order,
// divided by total_mass. When total_mass is below NO_TOTAL_MASS of the sum
// of the masses' magnitudes (all zero, or cancelling), the mean position.
constexpr double NO_TOTAL_MASS = 1e-12;
void centre_of_mass(const double* x, const double* y, const double* m, int count, double total_mass,
                    double* out_x, double* out_y);

// A reference frame fixed for one frame: frame_mode, frame_body (an index
// outside the bodies counts as 0) and the origin read once, the centre of
// mass C, the reference body B and the rotation that puts B - C on the
// positive x axis (no rotation when B is at C).
struct FrameTransform {
    int mode;
    int converts;               // 0 when mode is outside 40005..40009, or no bodies
    double origin_x, origin_y;  // Fixed
    double cx, cy;              // C (CM, Rotating, Orbit)
    double bx, by;              // B (Moving, Rotating, Orbit)
    double c, s;                // rotation (Rotating, Orbit)
    double ref_x, ref_y;        // the reference point of Orbit
};
FrameTransform make_frame_transform(const double* x, const double* y, const double* masses, int count,
                                    double total_mass);
// Position of the world point (px, py) in the frame, in world units (the
// frame thread multiplies by VIEW_SCALE and stores floats). Returns 0 and
// leaves the outputs alone when the frame converts nothing.
int frame_position(const FrameTransform& frame, double px, double py, double* out_x, double* out_y);

// The transform of drawn_frame (same validity).
extern FrameTransform drawn_transform;

// Thread entries. Both variants move the light positions with the glowing
// bodies when the run was set up with star lighting, so the lights follow
// the value in force at the first Run.
int frame_thread_lit();
int frame_thread_unlit();
int interactive_frame_thread();
// The centre of mass (world units) about which the interactive frame thread
// converted its last pass; written with interactive_x and interactive_y and
// read while the view handles that pass's WM_DRAW_FRAME.
extern double interactive_centre_x;
extern double interactive_centre_y;
