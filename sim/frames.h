// Frame threads: the published positions expressed in the chosen reference
// frame and scaled into the views' draw coordinates; the centre of mass.
#pragma once

#include "platform/platform.h"

// The windows the frame threads ask to draw. The shell writes them when it
// creates the view windows; the headless runner sets its own.
extern Window view3d_window;
extern Window interactive_window;

double cm_x();
double cm_y();

// Thread entries. The lit variant also moves the light positions with the
// glowing bodies.
int frame_thread_lit();
int frame_thread_unlit();
int interactive_frame_thread();
