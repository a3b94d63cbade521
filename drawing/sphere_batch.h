// Spheres drawn many to a call. The software renderers that draw the 3D
// view spend their time on the number of draws and on assembling strips,
// not on the triangles themselves, so the spheres of a frame that share
// their material and lights go to the GL as a few large indexed triangle
// arrays: the unit mesh of the subdivision repeated, each copy scaled by
// its body's radius and moved to its body's centre.
#pragma once

// Makes the arrays ready for the subdivision (built again when it
// changes). Returns 0 when memory runs out; nothing is drawn then.
int prepare_sphere_batch(int slices, int stacks);
// Draws, under the current material, lights and model-view matrix, the
// spheres of the count bodies listed in `bodies`: body b centred at
// (x[b], y[b], 0) with radius radius[b].
void draw_sphere_batch(const int* bodies, int count, const float* x, const float* y, const double* radius);
// Room for count body indices, the order a caller draws its spheres in;
// kept with the arrays. Null when memory runs out.
int* sphere_order_buffer(int count);
// A new context: the buffer objects of the last one are gone with it.
void forget_sphere_buffers();
// Releases the arrays (the 3D view's destruction).
void release_sphere_batch();
