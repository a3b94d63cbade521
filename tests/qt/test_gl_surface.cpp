// GL surfaces: drawn directly by the window procedure, read back as shown,
// with the toolbar and status bar lying over the GL area.
#include <GL/gl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "tests/qt/qt_test_support.h"

namespace {

constexpr unsigned WM_TEST_CLEAR = WM_USER + 20;  // wparam: 0xRRGGBB
int surface_made = -1;
int draws = 0;
Window gl_toolbar = NO_WINDOW;
Window gl_status = NO_WINDOW;
std::vector<std::string> clicks;

const ToolbarEntry tools[] = {
    {0, 40002, TOOL_CHECK_GROUP, "Stop", 1},
    {1, 40003, TOOL_CHECK_GROUP, "Run", 0},
};

unsigned last_colour = 0;

void clear_to(Window window, unsigned rgb) {
    last_colour = rgb;
    ASSERT_TRUE(gl_make_current(window));
    glClearColor(((rgb >> 16) & 0xFF) / 255.0f, ((rgb >> 8) & 0xFF) / 255.0f, (rgb & 0xFF) / 255.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    gl_swap_buffers(window);
}

LRESULT view_proc(Window window, unsigned message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_CREATE:
            surface_made = gl_create_surface(window);
            gl_status = create_status_bar(window, 1401);
            gl_toolbar = create_toolbar(window, 105, resource_path("toolbar3d.png"), 10, tools, 2);
            return 0;
        case WM_DRAW_FRAME:
            ++draws;
            clear_to(window, static_cast<unsigned>(wparam));
            return 0;
        case WM_TEST_CLEAR:
            clear_to(window, static_cast<unsigned>(wparam));
            return 0;
        case WM_PAINT:
            // Exposure shows the last frame again, as a view does once it runs.
            if (last_colour != 0) {
                clear_to(window, last_colour);
                return 0;
            }
            return default_window_proc(window, message, wparam, lparam);
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
            clicks.push_back(std::string(message == WM_LBUTTONDOWN ? "L " : "R ") +
                             std::to_string(low_word(static_cast<std::uintptr_t>(lparam))) + "," +
                             std::to_string(high_word(static_cast<std::uintptr_t>(lparam))));
            return 0;
        case WM_COMMAND:
            clicks.push_back("command " + std::to_string(low_word(wparam)));
            return 0;
        case WM_DESTROY:
            gl_release_surface(window);
            return 0;
        default:
            return default_window_proc(window, message, wparam, lparam);
    }
}

Window make_view() {
    last_colour = 0;
    register_window_class(WindowClass{"qt_test_view", view_proc, 1, nullptr});
    const Window window = create_window("qt_test_view", "view", WS_OVERLAPPED_WINDOW, 60, 60, 408, 327, NO_WINDOW, 0);
    show_window(window, SHOW_NORMAL);
    gui_process_events(100);
    return window;
}

unsigned pixel_at(const std::vector<unsigned char>& rgba, int width, int x, int y) {
    const std::size_t at = (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)) * 4;
    return (static_cast<unsigned>(rgba[at]) << 16) | (static_cast<unsigned>(rgba[at + 1]) << 8) | rgba[at + 2];
}

bool near_colour(unsigned got, unsigned want) {
    for (int shift = 0; shift <= 16; shift += 8) {
        const int a = static_cast<int>((got >> shift) & 0xFF), b = static_cast<int>((want >> shift) & 0xFF);
        if (a - b > 2 || b - a > 2) return false;
    }
    return true;
}

}  // namespace

TEST(GlSurface, ClearsToAColourAndReadsItBackOverTheWholeClientArea) {
    const Window window = make_view();
    ASSERT_EQ(surface_made, 1);
    int cx, cy, cw, ch;
    get_client_rect(window, &cx, &cy, &cw, &ch);
    send_message(window, WM_TEST_CLEAR, 0x336699, 0);
    int width = 0, height = 0;
    EXPECT_EQ(gl_read_pixels(window, nullptr, 0, &width, &height), 0);  // no room: sizes only
    const double ratio = window_pixel_ratio(window);
    EXPECT_EQ(width, static_cast<int>(cw * ratio + 0.5));
    EXPECT_EQ(height, static_cast<int>(ch * ratio + 0.5));
    std::vector<unsigned char> rgba(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
    ASSERT_EQ(gl_read_pixels(window, rgba.data(), static_cast<int>(rgba.size()), &width, &height), 1);
    EXPECT_TRUE(near_colour(pixel_at(rgba, width, width / 2, height / 2), 0x336699));
    // The GL area reaches under the toolbar and the status bar.
    EXPECT_TRUE(near_colour(pixel_at(rgba, width, 1, 1), 0x336699));
    EXPECT_TRUE(near_colour(pixel_at(rgba, width, width - 1, height - 1), 0x336699));
    destroy_window(window);
    EXPECT_FALSE(is_window(gl_toolbar));
}

TEST(GlSurface, AFrameSentFromAWorkerIsDrawnBeforeTheSendReturns) {
    const Window window = make_view();
    draws = 0;
    std::atomic<int> done{0};
    std::atomic<int> draws_seen{-1};
    std::thread frame_thread([&] {
        for (int i = 0; i < 20; ++i) send_message(window, WM_DRAW_FRAME, i % 2 ? 0x00FF00 : 0xFF0000, 0);
        done.store(1);
    });
    ASSERT_TRUE(wait_until([&] { return done.load() == 1; }));
    frame_thread.join();
    EXPECT_EQ(draws, 20);
    int width = 0, height = 0;
    gl_read_pixels(window, nullptr, 0, &width, &height);
    std::vector<unsigned char> rgba(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
    ASSERT_EQ(gl_read_pixels(window, rgba.data(), static_cast<int>(rgba.size()), &width, &height), 1);
    EXPECT_TRUE(near_colour(pixel_at(rgba, width, width / 2, height / 2), 0x00FF00));
    destroy_window(window);
}

TEST(GlSurface, AViewThatDoesNotDrawShowsBlack) {
    const Window window = make_view();
    send_message(window, WM_TEST_CLEAR, 0xFFFFFF, 0);
    last_colour = 0;  // from now on the view leaves painting to the default
    invalidate_window(window);
    update_window(window);  // WM_PAINT to default processing
    int width = 0, height = 0;
    gl_read_pixels(window, nullptr, 0, &width, &height);
    std::vector<unsigned char> rgba(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
    ASSERT_EQ(gl_read_pixels(window, rgba.data(), static_cast<int>(rgba.size()), &width, &height), 1);
    EXPECT_EQ(pixel_at(rgba, width, width / 2, height / 2), 0x000000u);
    destroy_window(window);
}

TEST(GlSurface, ScreenshotShowsTheGlFrameWithTheBarsOverIt) {
    const Window window = make_view();
    send_message(window, WM_TEST_CLEAR, 0x3366CC, 0);
    const std::string path = "/tmp/stelo_qt_shot_" + std::to_string(getpid()) + ".png";
    int wx, wy, ww, wh, cx, cy, cw, ch;
    get_window_rect(window, &wx, &wy, &ww, &wh);
    get_client_rect(window, &cx, &cy, &cw, &ch);
    // The cleared frame reaches the screen once the server has shown it.
    EXPECT_TRUE(wait_until([&] {
        return save_window_image(window, path.c_str()) == 1 &&
               near_colour(static_cast<unsigned>(png_pixel(path, cw / 2, ch / 2)), 0x3366CC);
    }));
    // Toolbar and status bar cover the GL area at top and bottom.
    EXPECT_FALSE(near_colour(static_cast<unsigned>(png_pixel(path, cw - 3, 8)), 0x3366CC));
    EXPECT_FALSE(near_colour(static_cast<unsigned>(png_pixel(path, cw / 2, ch - 6)), 0x3366CC));
    std::remove(path.c_str());
    destroy_window(window);
}

TEST(GlSurface, RefusesWindowsItCannotCover) {
    EXPECT_EQ(gl_create_surface(NO_WINDOW), 0);
    EXPECT_EQ(gl_make_current(NO_WINDOW), 0);
    int width = -1, height = -1;
    EXPECT_EQ(gl_read_pixels(NO_WINDOW, nullptr, 0, &width, &height), 0);
    gl_swap_buffers(NO_WINDOW);
    gl_release_surface(NO_WINDOW);
}

TEST(GlSurface, ClicksOnTheGlAreaReachTheWindowAndClicksOnTheToolbarReachItsButtons) {
    const Window window = make_view();
    clicks.clear();
    int cx, cy, cw, ch;
    get_client_rect(window, &cx, &cy, &cw, &ch);
    const double ratio = window_pixel_ratio(window);
    const int mid_x = static_cast<int>(cw * ratio / 2), mid_y = static_cast<int>(ch * ratio / 2);
    click_client(window, mid_x, mid_y, 0);
    click_client(window, mid_x + 5, mid_y + 7, 1);
    // The first toolbar button lies at the top left corner, over the GL area.
    click_client(window, static_cast<int>(12 * ratio), static_cast<int>(10 * ratio), 0);
    ASSERT_EQ(clicks.size(), 3u);
    EXPECT_EQ(clicks[0], "L " + std::to_string(mid_x) + "," + std::to_string(mid_y));
    EXPECT_EQ(clicks[1], "R " + std::to_string(mid_x + 5) + "," + std::to_string(mid_y + 7));
    EXPECT_EQ(clicks[2], "command 40002");
    destroy_window(window);
}
