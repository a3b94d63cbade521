// The runner's headless window: its procedure receives WM_DRAW_FRAME from the
// real frame thread and writes the CSV rows of the frames it selects.
#pragma once

#include "platform/platform.h"
#include "tools/stelo-batch/batch_options.h"

// What the run produced, read after the message loop has ended.
struct BatchProgress {
    long long frames;      // frames taken
    long long body_steps;  // body steps done up to the last frame taken
    int done;              // the frame nearest to T has been taken
    int stalled;           // the simulation stopped before T
};

extern BatchProgress batch_progress;

// Registers the window class; the options must outlive the run.
int register_batch_window(const BatchOptions* options);
extern const char BATCH_WINDOW_CLASS[];

// Posted by the runner's watch thread: the procedure ends the loop when the
// simulation can no longer publish frames.
constexpr unsigned WM_CHECK_PROGRESS = WM_USER + 20;
