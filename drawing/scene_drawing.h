// Drawing of the bodies as lit spheres: the GL state each view sets up
// once, the lights and the perspective camera of the 3D view, and the
// drawings that paint one frame and swap the buffers.
#pragma once

#include "platform/platform.h"

// 1 from the first accepted Run of the current 3D view on (the 3D view
// writes it).
extern int view3d_started;
// Client width / height of the 3D view, from the last non-empty size.
extern double view3d_aspect;

// Every drawing leaves the model-view matrix selected; the projection of
// the 3D view is applied again at the start of each of its frames, so a
// context that the window system had to recreate still draws correctly.

void init_view3d_gl();
// Lighting with lights 0 .. n - 1 (light 0 always), at the first Run.
void setup_view3d_lights(int n);
// The perspective of the viewing page with view3d_aspect. Parameters that
// make no perspective (a field of view outside (0, 180), near plane not
// positive, far plane not beyond it, no finite aspect) keep the last one.
void apply_view3d_projection();
// Records the client size (device pixels) and sets the viewport.
void set_view3d_viewport(int width, int height);

// One frame of the 3D view. The lit drawing needs the run's glowing flags
// and emission colours, which exist only when star lighting was on when
// the run started; without them it draws the plain frame.
void draw_view3d_plain(Window window);
void draw_view3d_lit(Window window);

// The interactive view's perspective: its vertical field of view, degrees.
constexpr double INTERACTIVE_FIELD_OF_VIEW = 30.0;
void init_interactive_gl();
// Before the first Run: the body list, lifted towards the eye. During a run:
// the last pass that the interactive view took with take_interactive_frame.
// Either goes through the view's zoom and pan (interact/view_mapping.h).
void draw_interactive(Window window);
// The interactive view's WM_DRAW_FRAME calls this before draw_interactive:
// its frame thread writes interactive_x and interactive_y between passes and
// waits only while that message is handled, so the drawing (and any later
// repaint) uses this copy of the pass.
void take_interactive_frame();
// The pass drawn last: its number of bodies (0 before the first one), their
// draw positions, and the centre of mass (world units) they were drawn
// about, so that a click maps to the world point under the pointer.
extern int interactive_frame_count;
extern float* interactive_frame_x;
extern float* interactive_frame_y;
extern double interactive_frame_centre_x;
extern double interactive_frame_centre_y;
// Releases the copy (the interactive view's destruction; the 3D view's
// destruction releases it too, as its run ends there).
void release_interactive_frame();
