// The simulation thread: set-up, then frames published at every time_step of
// simulated time with the body steps between them, until stop_requested.
#include <cmath>
#include <condition_variable>
#include <cstring>
#include <limits>
#include <mutex>

#include "sim/bodies.h"
#include "sim/integrator.h"

int light_body[LIGHT_SLOTS] = {};
float light_position[LIGHT_SLOTS][4] = {};
int light_slot_count = 0;
Event* frame_free = nullptr;
Event* positions_ready = nullptr;
Thread* simulation_thread_handle = nullptr;
Thread* frame_thread_handle = nullptr;
Thread* interactive_frame_thread_handle = nullptr;
std::atomic<int> time_limit_reached{0};

namespace {

// Wakes the threads that wait for the run to start, to reach the time limit
// or to be ended.
std::mutex run_state_mutex;
std::condition_variable run_state_changed;

// Hands a frame to the frame thread: waits until it has taken the previous
// one, fills the other published frame and signals it. The shutdown sets
// frame_free to wake a waiting thread; it must then publish nothing, since
// the frame thread may still be reading the latest frame.
void publish(double frame_time) {
    wait_event(frame_free);
    if (stop_requested) return;
    PublishedFrame* frame = frame_to_publish();
    predict_frame(frame_time, frame);
    mark_published(frame);
    refresh_live_positions(frame->x, frame->y);
    set_event(positions_ready);
}

// The next frame time; a time_step that is not a number, or a sum that
// overflows, leaves it where it is.
double next_frame_time(double frame_time) {
    const double next = frame_time + read_time_step();
    return std::isfinite(next) ? next : frame_time;
}

// No body can step before TIME_LIMIT: the run stays where it is until Close.
void wait_for_stop() {
    time_limit_reached = 1;
    announce_run_state();
    std::unique_lock<std::mutex> lock(run_state_mutex);
    run_state_changed.wait(lock, [] { return stop_requested.load() != 0; });
}

// Body steps until the next frame time after the given one is reached,
// then leaves that time in *frame_time; returns 0 when the run must end.
// The next frame time follows the time step in force at every body step, so
// a step made smaller during a long stretch (a huge step mended) brings the
// next frame at once; that frame comes where the body steps have got to,
// not behind them, so it is never predicted backwards over the stretch.
int advance_to(double* frame_time) {
    const double previous = *frame_time;
    double reached = -std::numeric_limits<double>::infinity();  // before the latest body step
    for (;;) {
        const double target = next_frame_time(previous);
        if (!(target > sim_time)) {
            *frame_time = target > reached ? target : reached;
            return 1;
        }
        reached = sim_time;
        suspension_point();
        if (!step_next_body()) {
            wait_for_stop();
            return 0;
        }
        if (live_positions_wanted()) {
            predict_positions(sim_time);
            refresh_live_positions(pred_x, pred_y);
        }
        if (stop_requested) return 0;
    }
}

}  // namespace

void announce_run_state() {
    std::lock_guard<std::mutex> lock(run_state_mutex);
    run_state_changed.notify_all();
}

int wait_for_stall_or_stop() {
    std::unique_lock<std::mutex> lock(run_state_mutex);
    run_state_changed.wait(lock, [] { return time_limit_reached.load() != 0 || stop_requested.load() != 0; });
    return time_limit_reached.load();
}

void wait_for_run_or_stop() {
    std::unique_lock<std::mutex> lock(run_state_mutex);
    run_state_changed.wait(lock, [] { return simulation_active.load() != 0 || stop_requested.load() != 0; });
}

int simulation_thread() {
    suspension_point();
    if (body_count == 0) return 0;
    if (stop_requested) {  // closed before it ever ran: nothing to integrate
        clear_bodies();
        return 0;
    }
    time_limit_reached = 0;
    copy_body_list();
    simulation_active = 1;
    announce_run_state();
    const int started = start_integrator();

    double frame_time = 0.0;
    if (started && !stop_requested) {
        for (;;) {
            suspension_point();
            publish(frame_time);
            if (stop_requested) break;
            if (!advance_to(&frame_time)) break;
        }
    }

    simulation_active = 0;
    clear_bodies();
    release_integrator();
    release_run_arrays();  // body_masses and the shared arrays go with their last user
    return 0;
}
