// The runner's frames: the real frame thread hands each converted frame to
// take_frame, which writes the CSV rows of the frames it selects; the
// headless window ends the run when the frame nearest to T has been taken or
// the simulation cannot go on.
#pragma once

#include <atomic>

#include "platform/platform.h"
#include "tools/stelo-batch/batch_options.h"

// What the run produced, read after the frame thread has been joined.
struct BatchProgress {
    long long frames;      // frames taken
    long long body_steps;  // body steps done up to the last frame taken
    std::atomic<int> done; // the frame nearest to T has been taken (or the run stalled)
    int stalled;           // the simulation stopped before T
};

extern BatchProgress batch_progress;

// Registers the window class; the options must outlive the run.
int register_batch_window(const BatchOptions* options);
// Takes drawn_frame on the frame thread (see take_drawn_frame); tells
// `window` when the run is done.
void take_frame();
extern Window batch_window;
extern const char BATCH_WINDOW_CLASS[];

// Posted by the runner's watch thread and by take_frame: the procedure ends
// the loop when the frame nearest to T has been taken or the simulation can
// no longer publish frames.
constexpr unsigned WM_CHECK_PROGRESS = WM_USER + 20;
