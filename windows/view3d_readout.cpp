#include "windows/view3d_readout.h"

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "app_state/energy_series.h"
#include "sim/bodies.h"
#include "sim/simulation.h"

int view3d_show_readout = 0;
double readout_time = 0.0;
double readout_energy_error = 0.0;
double readout_steps_per_second = 0.0;

namespace {

using Clock = std::chrono::steady_clock;

// The copy handed to the thread. The GUI writes it only while `busy` is 0;
// the thread reads it only while `busy` is 1 (set and cleared with release,
// read with acquire), so the two never touch it at once.
int copy_capacity = 0;
double* copy_x = nullptr;
double* copy_y = nullptr;
double* copy_vx = nullptr;
double* copy_vy = nullptr;
double* copy_m = nullptr;
PublishedFrame copy_frame = {};
int copy_is_first = 0;
std::atomic<int> busy{0};
std::atomic<int> result_ready{0};
std::atomic<int> quit{0};
double result_error = 0.0;  // written by the thread before result_ready
double start_energy = 0.0;  // the thread's own

Event* wake = nullptr;
Thread* thread = nullptr;
Clock::time_point last_copy;
long long last_steps = 0;
int copies = 0;

int readout_thread() {
    for (;;) {
        wait_event(wake);
        if (quit.load(std::memory_order_acquire)) return 0;
        if (!busy.load(std::memory_order_acquire)) continue;
        const double energy = frame_energy(copy_frame, copy_m);
        if (copy_is_first) start_energy = energy;
        result_error = start_energy != 0.0 ? (energy - start_energy) / std::fabs(start_energy) : energy - start_energy;
        double px = 0.0, py = 0.0;
        for (int i = 0; i < copy_frame.count; ++i) {
            px += copy_m[i] * copy_frame.vx[i];
            py += copy_m[i] * copy_frame.vy[i];
        }
        append_energy_point({copy_frame.time, energy, result_error, px, py});
        result_ready.store(1, std::memory_order_release);
        busy.store(0, std::memory_order_release);
    }
}

void release_copy() {
    for (double** array : {&copy_x, &copy_y, &copy_vx, &copy_vy, &copy_m}) {
        free_block(*array);
        *array = nullptr;
    }
    copy_capacity = 0;
}

void copy(const PublishedFrame& frame) {
    if (frame.count > copy_capacity) {
        release_copy();
        for (double** array : {&copy_x, &copy_y, &copy_vx, &copy_vy, &copy_m})
            *array = static_cast<double*>(alloc_zeroed(static_cast<std::size_t>(frame.count), sizeof(double)));
        copy_capacity = frame.count;
    }
    const auto bytes = static_cast<std::size_t>(frame.count) * sizeof(double);
    std::memcpy(copy_x, frame.x, bytes);
    std::memcpy(copy_y, frame.y, bytes);
    std::memcpy(copy_vx, frame.vx, bytes);
    std::memcpy(copy_vy, frame.vy, bytes);
    std::memcpy(copy_m, body_masses, bytes);
    copy_frame = PublishedFrame{frame.time, frame.body_steps, frame.count, copy_x, copy_y, copy_vx, copy_vy};
}

}  // namespace

void start_readout() {
    view3d_show_readout = 0;
    quit = 0;
    busy = 0;
    result_ready = 0;
    copies = 0;
    readout_time = readout_energy_error = readout_steps_per_second = 0.0;
    clear_energy_series();
    wake = create_event(0);
    thread = create_thread(readout_thread, 0);
}

void end_readout() {
    if (thread != nullptr) {
        quit.store(1, std::memory_order_release);
        set_event(wake);
        close_thread(thread);
        thread = nullptr;
    }
    if (wake != nullptr) close_event(wake);
    wake = nullptr;
    release_copy();
}

void show_readout(Window status_bar, int shown) {
    view3d_show_readout = shown;
    if (!shown) status_bar_set_part_text(status_bar, 1, "");
}

void readout_take_frame(Window status_bar) {
    if (thread == nullptr || drawn_frame == nullptr || body_masses == nullptr) return;
    if (result_ready.exchange(0, std::memory_order_acquire)) {
        readout_time = copy_frame.time;
        readout_energy_error = result_error;
        char text[128];
        std::snprintf(text, sizeof text, "t = %.6g   dE/E = %.3e   %.3g body steps/s", readout_time,
                      readout_energy_error, readout_steps_per_second);
        if (view3d_show_readout) status_bar_set_part_text(status_bar, 1, text);
        invalidate_window(energy_plot_area);
    }
    const Clock::time_point now = Clock::now();
    if (copies > 0 && now - last_copy < std::chrono::milliseconds(READOUT_PERIOD_MS)) return;
    if (busy.load(std::memory_order_acquire)) return;
    const PublishedFrame& frame = *drawn_frame;
    if (copies > 0) {
        const double seconds = std::chrono::duration<double>(now - last_copy).count();
        readout_steps_per_second = seconds > 0.0 ? static_cast<double>(frame.body_steps - last_steps) / seconds : 0.0;
    }
    copy(frame);
    copy_is_first = copies == 0;
    last_copy = now;
    last_steps = frame.body_steps;
    ++copies;
    busy.store(1, std::memory_order_release);
    set_event(wake);
}
