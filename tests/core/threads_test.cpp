// Threads: counted suspension, threads created suspended, and joins that end
// in order even when the worker is blocked sending to the joiner.
#include <gtest/gtest.h>

#include <atomic>

#include "platform/platform.h"

namespace {

std::atomic<int> started{0};
std::atomic<int> steps{0};
std::atomic<int> stop{0};
Window target = NO_WINDOW;

int counting_entry() {
    started.store(1);
    while (!stop.load()) {
        suspension_point();
        steps.fetch_add(1);
        sleep_ms(1);
    }
    return 17;
}

int sending_entry() {
    started.store(1);
    while (!stop.load()) send_message(target, WM_USER, 0, 0);
    return 3;
}

LRESULT quiet_proc(Window, unsigned, WPARAM, LPARAM) { return 0; }

class Threads : public ::testing::Test {
protected:
    void SetUp() override {
        started.store(0);
        steps.store(0);
        stop.store(0);
    }
    static void wait_for_steps(int at_least) {
        while (steps.load() < at_least) sleep_ms(1);
    }
};

TEST_F(Threads, CreatedSuspendedDoesNotRunUntilResumed) {
    Thread* thread = create_thread(counting_entry, 1);
    ASSERT_NE(thread, nullptr);
    sleep_ms(50);
    EXPECT_EQ(started.load(), 0);
    EXPECT_TRUE(thread_running(thread));
    EXPECT_EQ(resume_thread(thread), 1);
    wait_for_steps(1);
    stop.store(1);
    EXPECT_EQ(join_thread(thread), 17);
    EXPECT_FALSE(thread_running(thread));
    close_thread(thread);
}

TEST_F(Threads, TwoSuspensionsNeedTwoResumptions) {
    Thread* thread = create_thread(counting_entry, 0);
    set_thread_priority(thread, PRIORITY_BELOW_NORMAL);
    wait_for_steps(1);
    EXPECT_EQ(suspend_thread(thread), 0);
    EXPECT_EQ(suspend_thread(thread), 1);
    // A step already past its safe point may still end; none starts after it.
    const int held = steps.load() + 1;
    EXPECT_EQ(resume_thread(thread), 2);
    sleep_ms(50);
    EXPECT_LE(steps.load(), held);  // still held by the second suspension
    EXPECT_EQ(resume_thread(thread), 1);
    wait_for_steps(held + 1);
    EXPECT_EQ(resume_thread(thread), 0);  // never below zero
    EXPECT_EQ(suspend_thread(thread), 0);

    suspend_thread(thread);
    resume_thread_fully(thread);
    wait_for_steps(steps.load() + 1);
    stop.store(1);
    close_thread(thread);  // joins
}

TEST_F(Threads, JoinReleasesWorkerBlockedInSend) {
    register_window_class(WindowClass{"core.quiet", quiet_proc, 0, nullptr});
    target = create_window("core.quiet", "", 0, 0, 0, 0, 0, NO_WINDOW, 0);
    Thread* thread = create_thread(sending_entry, 0);
    while (!started.load()) sleep_ms(1);
    stop.store(1);
    // The worker may be waiting for this thread to serve its send; the join
    // must release it rather than wait for ever.
    EXPECT_EQ(join_thread(thread), 3);
    EXPECT_EQ(join_thread(thread), 3);  // again: same code, no wait
    close_thread(thread);
    destroy_window(target);
}

TEST_F(Threads, NullHandlesAreHarmless) {
    EXPECT_EQ(create_thread(nullptr, 0), nullptr);
    EXPECT_EQ(thread_running(nullptr), 0);
    close_thread(nullptr);
    suspension_point();  // not a created thread: returns at once
}

}  // namespace
