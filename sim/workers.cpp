// Start and orderly end of the worker threads of a scene, shared by the 3D
// view and the headless runner.
#include "sim/bodies.h"
#include "sim/integrator.h"
#include "sim/frames.h"

void start_simulation_workers(int lit) {
    frame_free = create_event(1);
    positions_ready = create_event(0);
    frame_thread_handle = create_thread(lit ? frame_thread_lit : frame_thread_unlit, 0);
    if (frame_thread_handle) set_thread_priority(frame_thread_handle, PRIORITY_NORMAL);
    simulation_thread_handle = create_thread(simulation_thread, 1);
    if (simulation_thread_handle) set_thread_priority(simulation_thread_handle, PRIORITY_BELOW_NORMAL);
}

namespace {

// Joining releases the thread's pending sends to the joiner's windows, so a
// frame thread waiting for a view to draw still reaches its end.
void join_and_close(Thread*& thread) {
    if (!thread) return;
    close_thread(thread);
    thread = nullptr;
}

}  // namespace

void end_simulation_workers() {
    stop_requested = 1;
    announce_run_state();
    for (Thread* thread : {simulation_thread_handle, frame_thread_handle, interactive_frame_thread_handle})
        if (thread) resume_thread_fully(thread);
    if (positions_ready) set_event(positions_ready);
    if (frame_free) set_event(frame_free);
    join_and_close(simulation_thread_handle);
    join_and_close(frame_thread_handle);
    join_and_close(interactive_frame_thread_handle);
    if (frame_free) close_event(frame_free);
    if (positions_ready) close_event(positions_ready);
    frame_free = nullptr;
    positions_ready = nullptr;
}
