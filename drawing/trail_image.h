// Offscreen pictures of the 3D view's trails.
//
// Drawing every trail anew each frame hands the GL up to a hundred thousand
// line segments, which a software renderer cannot rasterise at the view's
// frame rate. The trails are therefore kept as pictures the size of the
// viewport: the shown one gets only each frame's newest segments, while a
// second one is redrawn whole a slice of bodies per frame (so that old
// positions drop off and colours fade) and then takes its place. The
// picture is copied under the spheres each frame.
//
// All of it needs framebuffer objects; where the GL lacks them or refuses
// one, size_trail_images() answers 0 from then on and the trails are drawn
// directly.
#pragma once

enum TrailImage { SHOWN_TRAIL_IMAGE = 0, NEXT_TRAIL_IMAGE = 1 };

// Window pixels [left, right) x [bottom, top); empty when right <= left.
struct PixelRect {
    int left, bottom, right, top;
};

// Gives both pictures the viewport's size: 1 when they already had it, 2
// when they were made anew (cleared, so what they held is gone), 0 when
// they cannot be had (the GL lacks framebuffer objects, or refused one or
// a copy before).
int size_trail_images(int width, int height);
// Directs drawing into one picture, cleared first when `clear` is 1, and
// back to where it went before.
void begin_trail_image(TrailImage image, int clear);
void end_trail_image();
// Pixels the lines just drawn into the picture being drawn may have touched:
// only the part of the shown picture that any lines touched is copied.
void mark_trail_image(PixelRect touched);
// The next picture takes the shown one's place.
void swap_trail_images();
// Copies the shown picture's touched part over the colour buffer being drawn
// (the rest of the picture is the cleared background);
// 0 (and trail images no longer used) when the GL refuses the copy.
int show_trail_image();
// The GL context was made anew: its pictures went with the old one.
void forget_trail_images();
