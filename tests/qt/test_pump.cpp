// The event pump: the core's queue of the main thread is served while Qt's
// event loop runs, for sends from other threads and for posted messages.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "tests/qt/qt_test_support.h"

TEST(Pump, SendFromWorkerRunsOnMainThreadAndReturnsResult) {
    received.clear();
    const Window window = make_recorder();
    ASSERT_NE(window, NO_WINDOW);
    std::atomic<int> done{0};
    LRESULT result = 0;
    std::thread worker([&] {
        result = send_message(window, WM_TEST_ANSWER, 4, 0);
        done.store(1);
    });
    EXPECT_TRUE(wait_until([&] { return done.load() == 1; }));
    worker.join();
    EXPECT_EQ(result, 40);
    const Received* answered = last_received(window, WM_TEST_ANSWER);
    ASSERT_NE(answered, nullptr);
    EXPECT_EQ(answered->thread, std::this_thread::get_id());
    destroy_window(window);
}

TEST(Pump, ManyWorkersSendingConcurrentlyAllGetTheirAnswers) {
    received.clear();
    const Window window = make_recorder();
    std::atomic<int> done{0};
    LRESULT results[4] = {};
    std::thread workers[4];
    for (int i = 0; i < 4; ++i) {
        workers[i] = std::thread([&, i] {
            for (int k = 0; k < 25; ++k) results[i] += send_message(window, WM_TEST_ANSWER, static_cast<WPARAM>(i), 0);
            done.fetch_add(1);
        });
    }
    EXPECT_TRUE(wait_until([&] { return done.load() == 4; }));
    for (auto& worker : workers) worker.join();
    for (int i = 0; i < 4; ++i) EXPECT_EQ(results[i], 25 * i * 10);
    EXPECT_EQ(count_received(window, WM_TEST_ANSWER), 100);
    destroy_window(window);
}

TEST(Pump, DestroyingTheWindowReleasesABlockedSender) {
    received.clear();
    const Window window = make_recorder();
    std::atomic<int> done{0};
    LRESULT result = -1;
    std::thread worker([&] {
        result = send_message(window, WM_TEST_ANSWER, 9, 0);
        done.store(1);
    });
    // The main thread does not serve the queue here, so the send waits
    // until the window goes.
    while (sent_messages_waiting() == 0) std::this_thread::yield();
    destroy_window(window);
    worker.join();
    EXPECT_EQ(done.load(), 1);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(count_received(window, WM_TEST_ANSWER), 0);
    EXPECT_EQ(send_message(window, WM_TEST_ANSWER, 1, 0), 0);
}

TEST(Pump, PostsToSelfBeforeTheLoopAreServedAndQuitEndsTheLoop) {
    received.clear();
    const Window window = make_recorder();
    ASSERT_TRUE(post_message(window, WM_USER, 1, 0));
    ASSERT_TRUE(post_message(window, WM_USER + 2, 2, 0));
    post_quit_message(7);
    EXPECT_EQ(gui_run_message_loop(), 7);
    EXPECT_EQ(count_received(window, WM_USER), 1);
    EXPECT_EQ(count_received(window, WM_USER + 2), 1);
    // Order kept: WM_USER before WM_USER + 2.
    int first = -1, second = -1;
    for (int i = 0; i < static_cast<int>(received.size()); ++i) {
        if (received[i].message == WM_USER && first < 0) first = i;
        if (received[i].message == WM_USER + 2 && second < 0) second = i;
    }
    EXPECT_LT(first, second);
    destroy_window(window);
}

TEST(Pump, PostFromWorkerWhileTheLoopRunsIsDispatched) {
    received.clear();
    const Window window = make_recorder();
    std::thread worker([&] {
        post_message(window, WM_USER + 3, 5, 6);
        post_message(window, WM_CLOSE, 0, 0);  // default processing destroys it
    });
    EXPECT_TRUE(wait_until([&] { return is_window(window) == 0; }));
    worker.join();
    const Received* posted = last_received(window, WM_USER + 3);
    ASSERT_NE(posted, nullptr);
    EXPECT_EQ(posted->wparam, 5u);
    EXPECT_EQ(posted->lparam, 6);
    EXPECT_EQ(count_received(window, WM_DESTROY), 1);
}
