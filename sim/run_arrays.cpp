// The shared arrays of a run. The simulation thread allocates them at its
// start and holds them until it ends; a frame thread holds them while it
// converts and while the view draws its frame. Whichever holder lets go last
// releases them, exactly once, and clears every pointer.
#include <cstring>
#include <mutex>

#include "sim/bodies.h"
#include "sim/integrator.h"

double* pred_x = nullptr;
double* pred_y = nullptr;
double* body_masses = nullptr;
float* draw_x = nullptr;
float* draw_y = nullptr;
float* interactive_x = nullptr;
float* interactive_y = nullptr;
const float** draw_material = nullptr;
double* draw_radius = nullptr;
const float** draw_emission = nullptr;
int* draw_glowing = nullptr;
int run_body_count = 0;
double run_total_mass = 0.0;

namespace {

std::mutex run_mutex;  // guards run_users and the release
int run_users = 0;

PublishedFrame frames[2];
PublishedFrame* latest_frame = nullptr;
int next_frame = 0;

// The live copy of the predicted positions for readers without a hand-over.
std::mutex live_mutex;
std::atomic<int> live_wanted{0};
double* live_x = nullptr;
double* live_y = nullptr;

template <typename T>
void release(T*& block) {
    free_block(const_cast<void*>(static_cast<const void*>(block)));
    block = nullptr;
}

void allocate_frame(PublishedFrame& frame, int count) {
    frame = PublishedFrame{};
    frame.count = count;
    frame.x = static_cast<double*>(alloc_zeroed(count, sizeof(double)));
    frame.y = static_cast<double*>(alloc_zeroed(count, sizeof(double)));
    frame.vx = static_cast<double*>(alloc_zeroed(count, sizeof(double)));
    frame.vy = static_cast<double*>(alloc_zeroed(count, sizeof(double)));
}

void release_frame(PublishedFrame& frame) {
    release(frame.x);
    release(frame.y);
    release(frame.vx);
    release(frame.vy);
    frame.count = 0;
}

void release_shared_arrays() {
    release(draw_x);
    release(draw_y);
    release(interactive_x);
    release(interactive_y);
    release(draw_material);
    release(draw_radius);
    release(draw_emission);
    release(draw_glowing);
    release(pred_x);
    release(pred_y);
    release(body_masses);
    release_frame(frames[0]);
    release_frame(frames[1]);
    latest_frame = nullptr;
    drawn_frame = nullptr;
    {
        std::lock_guard<std::mutex> lock(live_mutex);
        release(live_x);
        release(live_y);
    }
    run_body_count = 0;
    run_total_mass = 0.0;
}

}  // namespace

void allocate_run_arrays(int count, int lit) {
    draw_x = static_cast<float*>(alloc_zeroed(count, sizeof(float)));
    draw_y = static_cast<float*>(alloc_zeroed(count, sizeof(float)));
    interactive_x = static_cast<float*>(alloc_zeroed(count, sizeof(float)));
    interactive_y = static_cast<float*>(alloc_zeroed(count, sizeof(float)));
    draw_material = static_cast<const float**>(alloc_zeroed(count, sizeof(const float*)));
    draw_radius = static_cast<double*>(alloc_zeroed(count, sizeof(double)));
    if (lit) {
        draw_emission = static_cast<const float**>(alloc_zeroed(count, sizeof(const float*)));
        draw_glowing = static_cast<int*>(alloc_zeroed(count, sizeof(int)));
    }
    pred_x = static_cast<double*>(alloc_zeroed(count, sizeof(double)));
    pred_y = static_cast<double*>(alloc_zeroed(count, sizeof(double)));
    body_masses = static_cast<double*>(alloc_zeroed(count, sizeof(double)));
    allocate_frame(frames[0], count);
    allocate_frame(frames[1], count);
    latest_frame = nullptr;
    next_frame = 0;
    {
        std::lock_guard<std::mutex> live_lock(live_mutex);
        live_x = static_cast<double*>(alloc_zeroed(count, sizeof(double)));
        live_y = static_cast<double*>(alloc_zeroed(count, sizeof(double)));
        live_wanted = 1;
    }
    // (The live lock is taken inside the run lock only, never around it.)
    std::lock_guard<std::mutex> lock(run_mutex);
    run_body_count = count;
    run_users = 1;  // the simulation thread
}

int acquire_run_arrays() {
    std::lock_guard<std::mutex> lock(run_mutex);
    if (run_users == 0) return 0;
    ++run_users;
    return 1;
}

void release_run_arrays() {
    std::lock_guard<std::mutex> lock(run_mutex);
    if (run_users == 0) return;
    if (--run_users == 0) release_shared_arrays();
}

int live_positions_wanted() { return live_wanted.load(std::memory_order_relaxed); }

void refresh_live_positions(const double* x, const double* y) {
    if (!live_wanted.load(std::memory_order_relaxed)) return;
    std::unique_lock<std::mutex> lock(live_mutex, std::try_to_lock);
    if (!lock.owns_lock() || !live_x) return;
    std::memcpy(live_x, x, sizeof(double) * run_body_count);
    std::memcpy(live_y, y, sizeof(double) * run_body_count);
    live_wanted.store(0, std::memory_order_relaxed);
}

int copy_live_positions(double* x, double* y, int capacity) {
    if (!acquire_run_arrays()) return 0;
    int count = 0;
    {
        std::lock_guard<std::mutex> lock(live_mutex);
        count = run_body_count < capacity ? run_body_count : capacity;
        if (count > 0) {
            std::memcpy(x, live_x, sizeof(double) * count);
            std::memcpy(y, live_y, sizeof(double) * count);
        }
        live_wanted.store(1, std::memory_order_relaxed);
    }
    release_run_arrays();
    return count;
}

int lock_live_positions(const double** x, const double** y) {
    live_mutex.lock();
    live_wanted.store(1, std::memory_order_relaxed);
    *x = live_x;
    *y = live_y;
    return live_x ? run_body_count : 0;
}

void unlock_live_positions() { live_mutex.unlock(); }

// Alternates between the two frames: the frame thread may still be drawing
// the one published before the latest while the next is filled.
PublishedFrame* frame_to_publish() {
    PublishedFrame* frame = &frames[next_frame];
    next_frame ^= 1;
    return frame;
}

void mark_published(PublishedFrame* frame) { latest_frame = frame; }

PublishedFrame* latest_published_frame() { return latest_frame; }
