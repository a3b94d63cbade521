// A short, bounded spin before a thread goes to sleep on an event. When the
// other side of a frame hand-over answers within microseconds (the headless
// runner's frames), watching for the answer on the processor costs far less
// than the system calls and the wake-up of a sleeping thread. When answers
// take longer (a view that really draws, a machine busy with other work),
// spinning only burns processor time, so each event keeps a history and
// spins less, down to not at all, while its spins go unanswered.
#pragma once

#include <atomic>
#include <chrono>

// Lets a sibling hardware thread run while this one watches.
inline void spin_pause() {
#if defined(__x86_64__) || defined(__i386__)
    __builtin_ia32_pause();
#endif
}

// How long one place that waits spins next time, in microseconds.
struct SpinHistory {
    std::atomic<int> limit_us{8};
    std::atomic<unsigned> skipped{0};
};

constexpr int SPIN_MAX_US = 256;
// While spinning does not pay, one wait in this many still tries briefly, so
// the history notices when answers become quick again.
constexpr unsigned SPIN_PROBE_EVERY = 64;
constexpr int SPIN_PROBE_US = 2;

// Watches done() for at most the history's limit; returns whether it
// became true. An answered spin doubles the limit (up to SPIN_MAX_US), an
// unanswered one halves it. The spin never yields: on a busy machine a
// yield hands the processor to another process for a whole time slice.
template <typename Done>
bool spin_until(SpinHistory& history, Done done) {
    int limit = history.limit_us.load(std::memory_order_relaxed);
    if (limit == 0) {
        if (history.skipped.fetch_add(1, std::memory_order_relaxed) % SPIN_PROBE_EVERY != 0) return done();
        limit = SPIN_PROBE_US;
    }
    const auto end = std::chrono::steady_clock::now() + std::chrono::microseconds(limit);
    for (;;) {
        for (int round = 0; round < 32; ++round) {
            if (done()) {
                history.limit_us.store(limit * 2 < SPIN_MAX_US ? limit * 2 : SPIN_MAX_US, std::memory_order_relaxed);
                return true;
            }
            spin_pause();
        }
        if (std::chrono::steady_clock::now() >= end) break;
    }
    history.limit_us.store(limit / 2, std::memory_order_relaxed);
    return done();
}
