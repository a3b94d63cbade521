// Moving the 3D view's camera with the mouse: the wheel brings it nearer or
// farther, a left-button drag tilts it, and Fit chooses the distance that
// shows every body of the frame on screen. Each writes the scene's values
// and the Viewing page's fields, and the far clipping plane follows the
// distance so that the plane never falls beyond it.
#pragma once

#include "platform/platform.h"

constexpr int CMD_FIT = 40105;

// Limits of the camera's distance (GL units) and tilt (degrees).
constexpr double CAMERA_NEAREST = 0.5;
constexpr double CAMERA_FARTHEST = 1e5;
constexpr double CAMERA_WHEEL_FACTOR = 1.1;
constexpr double CAMERA_TILT_LIMIT = 180.0;
constexpr double CAMERA_DEGREES_PER_PIXEL = 0.5;
// The distance Fit gives a scene whose bodies are all at one point.
constexpr double CAMERA_DEFAULT_DISTANCE = -15.0;
// The largest far / near ratio the far plane's moves keep.
constexpr double CLIPPING_RATIO_LIMIT = 1e5;

// A turn of the wheel in WHEEL_DELTA units per notch (positive: toward the
// scene); a part of a notch moves the camera that part of the way.
void camera_wheel(Window view, int delta);
// The view's mouse messages of a tilt drag; 1 when the message was one.
int camera_mouse(Window view, unsigned message, WPARAM wparam, LPARAM lparam);
// Fit: the distance that shows every body of the frame shown with a margin.
void camera_fit(Window view);
