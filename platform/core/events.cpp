// Auto-reset events: a set releases exactly one wait (or lets the next wait
// through) and the event is reset by the wait it released.
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "platform/platform.h"

struct Event {
    std::mutex mutex;
    std::condition_variable signalled_changed;
    int signalled = 0;
};

Event* create_event(int initially_signalled) {
    auto* event = new Event;
    event->signalled = initially_signalled ? 1 : 0;
    return event;
}

void set_event(Event* event) {
    if (event == nullptr) return;
    std::lock_guard<std::mutex> lock(event->mutex);
    event->signalled = 1;
    event->signalled_changed.notify_one();
}

int wait_event(Event* event) {
    if (event == nullptr) return 0;
    std::unique_lock<std::mutex> lock(event->mutex);
    event->signalled_changed.wait(lock, [event] { return event->signalled != 0; });
    event->signalled = 0;
    return 1;
}

int wait_event_ms(Event* event, int milliseconds) {
    if (event == nullptr) return 0;
    if (milliseconds < 0) return wait_event(event);  // no limit
    std::unique_lock<std::mutex> lock(event->mutex);
    if (!event->signalled_changed.wait_for(lock, std::chrono::milliseconds(milliseconds),
                                           [event] { return event->signalled != 0; })) {
        return 0;
    }
    event->signalled = 0;
    return 1;
}

void close_event(Event* event) { delete event; }

void sleep_ms(int milliseconds) {
    if (milliseconds > 0) std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}
