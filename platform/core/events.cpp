// Auto-reset events: a set releases exactly one wait (or lets the next wait
// through) and the event is reset by the wait it released.
//
// A frame hand-over sets and waits on two events per frame, so the common
// cases cost little: a set with nobody asleep is one atomic store, a wait
// whose set arrives within a short spin takes it without sleeping, and
// otherwise each side makes one system call.
#include <chrono>
#include <thread>

#include "platform/core/futex.h"
#include "platform/core/spin.h"
#include "platform/platform.h"

struct Event {
    std::atomic<unsigned> signalled{0};
    std::atomic<int> sleepers{0};  // waiters that may be asleep on the word
    SpinHistory spin;
};

namespace {

int take(Event* event) {
    unsigned expected = 1;
    return event->signalled.compare_exchange_strong(expected, 0) ? 1 : 0;
}

// Waits until the event is taken or the deadline passes (none when
// `forever`). A sleeper is counted before its last look at the flag and a
// set stores the flag before it looks at the count (both sequentially
// consistent), so either the waiter sees the set or the set sees the
// sleeper; the kernel sleeps only while the flag is still clear.
int sleep_until_taken(Event* event, bool forever, std::chrono::steady_clock::time_point deadline) {
    for (;;) {
        if (take(event)) return 1;
        timespec left{};
        if (!forever) {
            const auto now = std::chrono::steady_clock::now();
            if (now >= deadline) return 0;
            const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(deadline - now).count();
            left.tv_sec = static_cast<time_t>(ns / 1000000000);
            left.tv_nsec = static_cast<long>(ns % 1000000000);
        }
        event->sleepers.fetch_add(1);
        if (event->signalled.load() == 0) futex_wait(event->signalled, 0, forever ? nullptr : &left);
        event->sleepers.fetch_sub(1);
    }
}

}  // namespace

Event* create_event(int initially_signalled) {
    auto* event = new Event;
    event->signalled.store(initially_signalled ? 1 : 0);
    return event;
}

void set_event(Event* event) {
    if (event == nullptr) return;
    event->signalled.store(1);
    if (event->sleepers.load() != 0) futex_wake(event->signalled, 1);
}

int wait_event(Event* event) {
    if (event == nullptr) return 0;
    if (spin_until(event->spin, [event] { return take(event) != 0; })) return 1;
    return sleep_until_taken(event, true, {});
}

int wait_event_ms(Event* event, int milliseconds) {
    if (event == nullptr) return 0;
    if (milliseconds < 0) return wait_event(event);  // no limit
    if (take(event)) return 1;
    if (milliseconds == 0) return 0;
    return sleep_until_taken(event, false, std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds));
}

void close_event(Event* event) { delete event; }

void sleep_ms(int milliseconds) {
    if (milliseconds > 0) std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}
