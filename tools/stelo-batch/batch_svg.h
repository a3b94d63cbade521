// The runner's picture: the path of every body over the run as an SVG file,
// one polyline per body in its material colour.
#pragma once

#include "sim/simulation.h"

// At most this many points per path; longer runs are thinned evenly.
constexpr int SVG_POINTS_PER_BODY = 10000;

// Adds the positions of a selected frame (world units, in the run's
// reference frame) to the paths. The first call fixes the bodies and their
// colours from the run's arrays.
void svg_add_frame(const PublishedFrame& frame);
// Writes the picture, the view fitted to the paths, with a caption naming
// the scene, the frame and the time span; releases the paths. Returns 0 and
// says why on standard error when the file cannot be written.
int write_svg(const char* path, const char* scene, const char* frame_name);
// Whether the picture's file can be written, tried before the run so that a
// long run is not spent on a path that fails at its end. An existing file is
// left as it is; one made for the trial is removed again. Says why not on
// standard error.
int svg_path_writable(const char* path);
