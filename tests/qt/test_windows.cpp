// Top-level windows: what Qt reports becomes the window system's messages.
#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/qt/qt_test_support.h"

TEST(Windows, ShowingReportsClientSizeInDevicePixelsAndClientPosition) {
    received.clear();
    const Window window = make_recorder("sized", WS_OVERLAPPED_WINDOW, 408, 327);
    show_window(window, SHOW_NORMAL);
    ASSERT_TRUE(wait_until([&] { return count_received(window, WM_SIZE) > 0 && count_received(window, WM_MOVE) > 0; }));
    EXPECT_TRUE(is_window_visible(window));
    int cx = 0, cy = 0, cw = 0, ch = 0;
    get_client_rect(window, &cx, &cy, &cw, &ch);
    // The outer rectangle counts a 4-pixel border and a 23-pixel caption.
    EXPECT_EQ(cw, 400);
    EXPECT_EQ(ch, 300);
    const double ratio = window_pixel_ratio(window);
    const Received* size = last_received(window, WM_SIZE);
    EXPECT_EQ(size->wparam, 0u);
    EXPECT_EQ(low_word(static_cast<std::uintptr_t>(size->lparam)), static_cast<unsigned>(cw * ratio + 0.5));
    EXPECT_EQ(high_word(static_cast<std::uintptr_t>(size->lparam)), static_cast<unsigned>(ch * ratio + 0.5));
    const Received* move = last_received(window, WM_MOVE);
    EXPECT_EQ(low_word(static_cast<std::uintptr_t>(move->lparam)), static_cast<unsigned>(cx) & 0xFFFFu);
    EXPECT_EQ(high_word(static_cast<std::uintptr_t>(move->lparam)), static_cast<unsigned>(cy) & 0xFFFFu);
    destroy_window(window);
}

TEST(Windows, OuterRectangleRoundTripsThroughMoveWindow) {
    const Window window = make_recorder();
    show_window(window, SHOW_NORMAL);
    move_window(window, 150, 120, 525, 370, 1);
    int x = 0, y = 0, w = 0, h = 0;
    // A window manager may take a while to grant the move.
    wait_until([&] {
        get_window_rect(window, &x, &y, &w, &h);
        return x == 150 && y == 120 && w == 525 && h == 370;
    });
    EXPECT_EQ(x, 150);
    EXPECT_EQ(y, 120);
    EXPECT_EQ(w, 525);
    EXPECT_EQ(h, 370);
    int cx = 0, cy = 0, cw = 0, ch = 0;
    get_client_rect(window, &cx, &cy, &cw, &ch);
    // Saving client position and size and moving back to (x - 4, y - 23)
    // with (w + 8, h + 27) puts the window where it was.
    EXPECT_EQ(cx - 4, x);
    EXPECT_EQ(cy - 23, y);
    EXPECT_EQ(cw + 8, w);
    EXPECT_EQ(ch + 27, h);
    destroy_window(window);
}

TEST(Windows, MinimiseAndRestoreThroughTheDefaultProcedure) {
    received.clear();
    const Window window = make_recorder();
    show_window(window, SHOW_NORMAL);
    ASSERT_TRUE(wait_until([&] { return count_received(window, WM_SIZE) > 0; }));
    send_message(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_NE(last_received(window, WM_SIZE), nullptr);
    if (std::getenv("STELO_TEST_WINDOW_MANAGER") == nullptr) {
        // Nothing can take the window off the screen: it stays there, with
        // its size, and is not minimised.
        EXPECT_FALSE(is_window_minimized(window));
        EXPECT_TRUE(is_window_visible(window));
        EXPECT_EQ(last_received(window, WM_SIZE)->wparam, 0u);
    } else {
        EXPECT_TRUE(is_window_minimized(window));
        EXPECT_EQ(last_received(window, WM_SIZE)->wparam, 1u);  // minimised
    }
    send_message(window, WM_SYSCOMMAND, SC_RESTORE, 0);
    // Under a window manager the restore completes when the manager maps
    // the window again, which a loaded machine may take a while to do.
    EXPECT_TRUE(wait_until([&] {
        return !is_window_minimized(window) && last_received(window, WM_SIZE)->wparam == 0u;
    }));
    const Received* restored = last_received(window, WM_SIZE);
    EXPECT_EQ(restored->wparam, 0u);
    EXPECT_GT(low_word(static_cast<std::uintptr_t>(restored->lparam)), 0u);
    destroy_window(window);
}

TEST(Windows, CloseCommandDestroysUnlessCloseIsGreyed) {
    received.clear();
    const Window kept = make_recorder("kept");
    grey_system_close(kept);
    show_window(kept, SHOW_NORMAL);
    send_message(kept, WM_SYSCOMMAND, SC_CLOSE, 0);
    gui_process_events(20);
    EXPECT_TRUE(is_window(kept));
    EXPECT_TRUE(is_window_visible(kept));
    EXPECT_EQ(count_received(kept, WM_CLOSE), 0);

    const Window closed = make_recorder("closed");
    show_window(closed, SHOW_NORMAL);
    send_message(closed, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(count_received(closed, WM_CLOSE), 1);
    EXPECT_EQ(count_received(closed, WM_DESTROY), 1);
    EXPECT_FALSE(is_window(closed));
    destroy_window(kept);
}

TEST(Windows, InvalidateThenUpdatePaintsAtOnce) {
    received.clear();
    const Window window = make_recorder();
    show_window(window, SHOW_NORMAL);
    gui_process_events(50);
    const int before = count_received(window, WM_PAINT);
    invalidate_window(window);
    update_window(window);
    EXPECT_GT(count_received(window, WM_PAINT), before);
    destroy_window(window);
}

TEST(Windows, DroppedFilesArriveAsAHandleThatReadsThePaths) {
    received.clear();
    const Window window = make_recorder();
    const char* paths[] = {"/tmp/first scene.slo", "/tmp/second.slo"};
    EXPECT_EQ(drop_files(window, paths, 2), 0);  // not accepting yet
    accept_dropped_files(window, 1);
    ASSERT_EQ(drop_files(window, paths, 2), 1);
    ASSERT_TRUE(wait_until([&] { return count_received(window, WM_DROPFILES) == 1; }));
    const WPARAM drop = last_received(window, WM_DROPFILES)->wparam;
    EXPECT_EQ(drop_file_count(drop), 2);
    char path[64];
    EXPECT_EQ(drop_file_path(drop, 0, path, sizeof path), 20);
    EXPECT_STREQ(path, "/tmp/first scene.slo");
    char small[6];
    drop_file_path(drop, 1, small, sizeof small);
    EXPECT_STREQ(small, "/tmp/");
    EXPECT_EQ(drop_file_path(drop, 2, path, sizeof path), 0);
    release_drop(drop);
    // A released handle is an empty drop, not freed memory.
    EXPECT_EQ(drop_file_count(drop), 0);
    EXPECT_EQ(drop_file_path(drop, 0, path, sizeof path), 0);
    release_drop(drop);
    destroy_window(window);
}

TEST(Windows, CloseBoxAsksTheProcedureAndDoesNothingWhenGreyed) {
    received.clear();
    const Window kept = make_recorder("kept");
    grey_system_close(kept);
    show_window(kept, SHOW_NORMAL);
    press_close_box(kept);
    EXPECT_EQ(count_received(kept, WM_SYSCOMMAND), 0);
    EXPECT_TRUE(is_window(kept));
    EXPECT_TRUE(is_window_visible(kept));

    const Window closed = make_recorder("closed");
    show_window(closed, SHOW_NORMAL);
    press_close_box(closed);
    ASSERT_EQ(count_received(closed, WM_SYSCOMMAND), 1);
    EXPECT_EQ(last_received(closed, WM_SYSCOMMAND)->wparam, SC_CLOSE);
    EXPECT_FALSE(is_window(closed));
    destroy_window(kept);
}

TEST(Windows, MousePressesArriveWithClientCoordinates) {
    received.clear();
    const Window window = make_recorder();
    show_window(window, SHOW_NORMAL);
    gui_process_events(50);
    click_client(window, 37, 21, 0);
    click_client(window, 150, 99, 1);
    const Received* left = last_received(window, WM_LBUTTONDOWN);
    const Received* right = last_received(window, WM_RBUTTONDOWN);
    ASSERT_NE(left, nullptr);
    ASSERT_NE(right, nullptr);
    EXPECT_EQ(low_word(static_cast<std::uintptr_t>(left->lparam)), 37u);
    EXPECT_EQ(high_word(static_cast<std::uintptr_t>(left->lparam)), 21u);
    EXPECT_EQ(low_word(static_cast<std::uintptr_t>(right->lparam)), 150u);
    EXPECT_EQ(high_word(static_cast<std::uintptr_t>(right->lparam)), 99u);
    destroy_window(window);
}
