// Windows and messages across threads: where procedures run, what senders get
// back, and that destruction releases senders instead of blocking them.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "platform/platform.h"

namespace {

std::atomic<std::thread::id> proc_thread;
std::atomic<int> destroy_count{0};
std::vector<unsigned> received;  // posted messages seen, on the owner thread

LRESULT test_proc(Window window, unsigned message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_CREATE:
            return 0;
        case WM_DESTROY:
            destroy_count.fetch_add(1);
            return 0;
        case WM_USER + 10:  // echoes wparam doubled, noting the thread
            proc_thread.store(std::this_thread::get_id());
            return static_cast<LRESULT>(wparam * 2);
        case WM_USER + 20:
            received.push_back(static_cast<unsigned>(wparam));
            return 0;
        default:
            return default_window_proc(window, message, wparam, lparam);
    }
}

LRESULT refusing_proc(Window, unsigned message, WPARAM, LPARAM) {
    if (message == WM_CREATE) return -1;
    if (message == WM_DESTROY) destroy_count.fetch_add(1);
    return 0;
}

class Messages : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        register_window_class(WindowClass{"core.test", test_proc, 0, nullptr});
        register_window_class(WindowClass{"core.refusing", refusing_proc, 0, nullptr});
    }
    void SetUp() override {
        destroy_count.store(0);
        received.clear();
        window = create_window("core.test", "first title", WS_OVERLAPPED_WINDOW, 0, 0, 100, 100, NO_WINDOW, 0);
        ASSERT_NE(window, NO_WINDOW);
    }
    void TearDown() override { destroy_window(window); }
    Window window = NO_WINDOW;
};

TEST_F(Messages, ClassesAndWindowsLifecycle) {
    EXPECT_EQ(register_window_class(WindowClass{"core.test", test_proc, 0, nullptr}), 0);
    EXPECT_EQ(register_window_class(WindowClass{"", test_proc, 0, nullptr}), 0);
    EXPECT_EQ(create_window("core.unknown", "", 0, 0, 0, 0, 0, NO_WINDOW, 0), NO_WINDOW);
    EXPECT_EQ(create_window("core.refusing", "", 0, 0, 0, 0, 0, NO_WINDOW, 0), NO_WINDOW);
    EXPECT_EQ(destroy_count.load(), 1);  // a refused WM_CREATE still ends with WM_DESTROY

    char title[8];
    EXPECT_EQ(get_window_text(window, title, sizeof title), 7);
    EXPECT_STREQ(title, "first t");  // cut to the buffer
    set_window_text(window, "two");
    get_window_text(window, title, sizeof title);
    EXPECT_STREQ(title, "two");

    Window other = create_window("core.test", "", 0, 0, 0, 0, 0, NO_WINDOW, 0);
    EXPECT_GT(other, window);  // handles are never reused
    destroy_window(other);
    destroy_window(other);  // twice is harmless
    EXPECT_FALSE(is_window(other));
    EXPECT_EQ(send_message(other, WM_USER + 10, 4, 0), 0);
    EXPECT_EQ(post_message(other, WM_USER + 20, 1, 0), 0);
}

TEST_F(Messages, ChildrenGoWithTheirParent) {
    Window child = create_window("core.test", "", WS_CHILD, 0, 0, 10, 10, window, 0);
    ASSERT_TRUE(is_window(child));
    destroy_window(window);
    EXPECT_FALSE(is_window(child));
    EXPECT_EQ(destroy_count.load(), 2);
}

TEST_F(Messages, CrossThreadSendRunsOnOwnerThread) {
    EXPECT_EQ(send_message(window, WM_USER + 10, 5, 0), 10);
    EXPECT_EQ(proc_thread.load(), std::this_thread::get_id());

    std::atomic<LRESULT> result{-1};
    std::thread sender([&] { result.store(send_message(window, WM_USER + 10, 21, 0)); });
    Message message{};
    // The owner serves the send while it waits for a posted message.
    while (result.load() == -1) {
        serve_sent_messages();
        std::this_thread::yield();
    }
    sender.join();
    EXPECT_EQ(result.load(), 42);
    EXPECT_EQ(proc_thread.load(), std::this_thread::get_id());
    EXPECT_EQ(peek_message(&message), 0);
}

TEST_F(Messages, GetMessageServesSendsWhileWaiting) {
    std::atomic<LRESULT> result{-1};
    std::thread sender([&] {
        result.store(send_message(window, WM_USER + 10, 3, 0));
        post_message(window, WM_USER + 20, 99, 0);
    });
    Message message{};
    ASSERT_EQ(get_message(&message), 1);  // blocks; serves the send, then gets the post
    sender.join();
    EXPECT_EQ(result.load(), 6);
    EXPECT_EQ(message.message, WM_USER + 20u);
    EXPECT_EQ(message.wparam, 99u);
}

// A frame hand-over in miniature, many times over: each send is answered
// and every post arrives, whether the loop was awake or asleep when they
// came, so no wake-up is ever lost.
TEST_F(Messages, ManySendsAndPostsToASleepingLoopAllArrive) {
    constexpr int ROUNDS = 20000;
    std::atomic<int> wrong{0};
    std::thread sender([&] {
        for (int i = 0; i < ROUNDS; ++i) {
            if (send_message(window, WM_USER + 10, static_cast<WPARAM>(i), 0) != 2 * i) wrong.fetch_add(1);
            if (i % 100 == 0) post_message(window, WM_USER + 20, static_cast<WPARAM>(i), 0);
        }
        post_message(window, WM_USER + 30, 0, 0);
    });
    Message message{};
    while (get_message(&message) && message.message != WM_USER + 30u) dispatch_message(message);
    sender.join();
    EXPECT_EQ(wrong.load(), 0);
    EXPECT_EQ(received.size(), static_cast<std::size_t>(ROUNDS / 100));
}

TEST_F(Messages, DestroyReleasesBlockedSender) {
    std::atomic<LRESULT> result{-1};
    std::thread sender([&] {
        result.store(send_message(window, WM_USER + 10, 8, 0));
    });
    while (sent_messages_waiting() == 0) std::this_thread::yield();
    destroy_window(window);
    sender.join();
    EXPECT_EQ(result.load(), 0);
    EXPECT_EQ(destroy_count.load(), 1);
}

TEST_F(Messages, WindowDestroyedFromAnotherThreadRunsDestroyOnOwner) {
    std::atomic<int> done{0};
    std::thread destroyer([&] {
        destroy_window(window);
        done.store(1);
    });
    while (!done.load()) serve_sent_messages();
    destroyer.join();
    EXPECT_FALSE(is_window(window));
    EXPECT_EQ(destroy_count.load(), 1);
}

TEST_F(Messages, SendToWindowOfEndedThreadReturnsAtOnce) {
    Window orphan = NO_WINDOW;
    std::thread owner([&] { orphan = create_window("core.test", "", 0, 0, 0, 0, 0, NO_WINDOW, 0); });
    owner.join();
    ASSERT_TRUE(is_window(orphan));
    EXPECT_EQ(send_message(orphan, WM_USER + 10, 1, 0), 0);
    destroy_window(orphan);  // done here, its thread is gone
    EXPECT_FALSE(is_window(orphan));
}

TEST_F(Messages, PostedMessagesKeepOrderAndQuitEndsTheLoop) {
    for (unsigned i = 1; i <= 3; ++i) post_message(window, WM_USER + 20, i, 0);
    post_quit_message(7);
    post_message(window, WM_USER + 20, 4, 0);
    EXPECT_EQ(run_message_loop(), 7);
    EXPECT_EQ(received, (std::vector<unsigned>{1, 2, 3}));
    Message message{};
    ASSERT_EQ(peek_message(&message), 1);
    EXPECT_EQ(message.wparam, 4u);
    EXPECT_EQ(peek_message(&message), 0);
}

TEST_F(Messages, PostsFromOtherThreadsReachTheOwner) {
    std::thread poster([&] {
        post_message(window, WM_USER + 20, 11, 0);
        post_message(window, WM_USER + 20, 12, 0);
    });
    poster.join();
    Message message{};
    while (peek_message(&message)) dispatch_message(message);
    EXPECT_EQ(received, (std::vector<unsigned>{11, 12}));
}

TEST_F(Messages, PostsToDestroyedWindowAreDropped) {
    Window other = create_window("core.test", "", 0, 0, 0, 0, 0, NO_WINDOW, 0);
    post_message(other, WM_USER + 20, 1, 0);
    destroy_window(other);
    Message message{};
    EXPECT_EQ(peek_message(&message), 0);
}

TEST_F(Messages, DefaultProcedureClosesTheWindow) {
    send_message(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_FALSE(is_window(window));
    EXPECT_EQ(destroy_count.load(), 1);
}

}  // namespace
