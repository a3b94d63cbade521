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

}  // namespace
