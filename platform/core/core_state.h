// Shared records of the core half: the window table, the per-thread message
// queues and the installed GUI backend. Everything here is guarded by
// core_mutex() (the atomics excepted); each thread waits only on its own queue.
#pragma once

#include <atomic>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "platform/platform.h"

struct ThreadQueue;

// A cross-thread send waiting to be served by the owner of its window. A
// destroy request asks the owner to destroy the window on its own thread.
struct SentMessage {
    enum Kind { MESSAGE, DESTROY };
    Kind kind = MESSAGE;
    Message message{};
    LRESULT result = 0;
    int done = 0;    // the sender may return
    int served = 0;  // the owner actually ran it
    std::shared_ptr<ThreadQueue> sender;
};

struct ThreadQueue {
    std::thread::id thread;
    std::deque<Message> posted;
    std::deque<std::shared_ptr<SentMessage>> sent;
    // Raised (signal_queue) for: a new post or send, a send of this thread
    // completed, a thread this one joins has ended. The thread sleeps on it.
    std::atomic<unsigned> arrivals{0};
    std::atomic<int> sleepers{0};
    int dead = 0;  // the thread has ended; nothing will be served any more
};

struct WindowRecord {
    WindowProc proc = nullptr;
    std::shared_ptr<ThreadQueue> owner;
    std::string class_name;
    std::string title;
    Window parent = NO_WINDOW;
    int dying = 0;
};

std::mutex& core_mutex();
std::map<std::uint32_t, WindowRecord>& window_table();  // by Window id

// The calling thread's queue, made on first use and retired when the thread
// ends (pending sends to it are released then).
std::shared_ptr<ThreadQueue> current_queue();

// Something arrived for the queue's thread: wakes it if it sleeps. Lock held.
void signal_queue(ThreadQueue& queue);
// Waits for the next signal of the queue (or a spurious wake-up; callers
// look again). Lock held on entry and return. A sleeping thread costs one
// system call on each side, and a signal to a thread that is awake none.
void wait_for_signal(std::unique_lock<std::mutex>& lock, ThreadQueue& queue);

// Completes a send with the result and wakes its sender. Lock held.
void complete_send(SentMessage& sent, LRESULT result);

// Releases (result 0) every queued send to the window. Lock held.
void release_sends_to(ThreadQueue& owner, Window window);

// Serves one waiting send of the queue; unlocks while the procedure runs.
// Returns 0 when none was waiting.
int serve_one_send(std::unique_lock<std::mutex>& lock, ThreadQueue& queue);

// Runs the destruction on the calling thread (the window is already dying).
void finish_destroy(Window window);

// A copy of the installed backend (all members null when none).
GuiBackend current_backend();
void set_main_thread_if_unset();
bool is_main(std::thread::id thread);
// Wakes the main thread's toolkit loop when the queue is the main thread's.
void wake_owner(const ThreadQueue& owner);
