// Sleeping on a word and waking its sleepers: the kernel's futex, the one
// wait primitive that costs a single system call on each side. The word is
// an atomic the callers also use to decide (without a system call) whether
// anyone needs waking.
#pragma once

#include <linux/futex.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <climits>
#include <ctime>

static_assert(sizeof(std::atomic<unsigned>) == sizeof(unsigned) && std::atomic<unsigned>::is_always_lock_free);

// Sleeps while the word holds `expected` (returns at once otherwise), until
// a wake, a signal or the relative timeout (none when null). Callers look
// at the word again: a return proves nothing.
inline void futex_wait(std::atomic<unsigned>& word, unsigned expected, const timespec* timeout) {
    syscall(SYS_futex, reinterpret_cast<unsigned*>(&word), FUTEX_WAIT_PRIVATE, expected, timeout, nullptr, 0);
}

// Wakes up to `count` sleepers of the word.
inline void futex_wake(std::atomic<unsigned>& word, int count) {
    syscall(SYS_futex, reinterpret_cast<unsigned*>(&word), FUTEX_WAKE_PRIVATE, count, nullptr, nullptr, 0);
}

inline void futex_wake_all(std::atomic<unsigned>& word) { futex_wake(word, INT_MAX); }
