// Auto-reset events: one set releases exactly one wait.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/platform.h"

namespace {

TEST(Events, AutoReset) {
    Event* event = create_event(0);
    EXPECT_EQ(wait_event_ms(event, 0), 0);
    set_event(event);
    set_event(event);  // not counted: still one release
    EXPECT_EQ(wait_event_ms(event, 0), 1);
    EXPECT_EQ(wait_event_ms(event, 10), 0);
    close_event(event);

    Event* signalled = create_event(1);
    EXPECT_EQ(wait_event(signalled), 1);  // the first wait goes through
    EXPECT_EQ(wait_event_ms(signalled, 0), 0);
    close_event(signalled);
}

TEST(Events, OneSetReleasesExactlyOneWaiter) {
    Event* event = create_event(0);
    std::atomic<int> released{0};
    auto waiter = [&] {
        if (wait_event(event)) released.fetch_add(1);
    };
    std::thread a(waiter), b(waiter);
    set_event(event);
    while (released.load() == 0) sleep_ms(1);
    sleep_ms(50);  // room for a wrong second release to show
    EXPECT_EQ(released.load(), 1);
    set_event(event);  // the other waiter needs a set of its own
    a.join();
    b.join();
    EXPECT_EQ(released.load(), 2);
    close_event(event);
}

TEST(Events, SetFromAnotherThreadWakesWait) {
    Event* event = create_event(0);
    std::thread setter([&] {
        sleep_ms(20);
        set_event(event);
    });
    EXPECT_EQ(wait_event(event), 1);
    setter.join();
    close_event(event);
}

// Two threads hand a turn back and forth through two events, as the
// simulation and frame threads do: a lost wake-up would leave both asleep
// for good, and a turn taken twice would leave the events out of step at
// the end. A wake-up is lost only when a set falls between a sleeper's
// count and its last look at the flag, a span of a few instructions, so the
// turns are many: one side waits with a limit of a day, which goes to sleep
// at once without spinning, while the other watches for its turn (and now
// and then waits with a short limit), so its answer comes just as the
// first falls asleep.
TEST(Events, PingPongNeverLosesAWakeUp) {
    constexpr int ROUNDS = 400000;
    constexpr int A_DAY_MS = 24 * 60 * 60 * 1000;
    Event* ping = create_event(1);
    Event* pong = create_event(0);
    std::thread other([&] {
        for (int i = 0; i < ROUNDS; ++i) {
            if (i % 16 != 0) {
                wait_event(pong);
            } else {
                while (!wait_event_ms(pong, 1)) {
                }
            }
            set_event(ping);
        }
    });
    for (int i = 0; i < ROUNDS; ++i) {
        wait_event_ms(ping, A_DAY_MS);
        set_event(pong);
    }
    other.join();
    EXPECT_EQ(wait_event_ms(ping, 0), 1) << "the last turn's answer";
    EXPECT_EQ(wait_event_ms(pong, 0), 0);
    close_event(ping);
    close_event(pong);
}

}  // namespace
