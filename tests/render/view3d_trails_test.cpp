// Trails in the 3D view, read back from the screen: none until chosen from
// the popup menu, a fresh start when the reference frame changes, and a
// bounded length on a long run.
#include <algorithm>
#include <cmath>

#include "app_state/settings.h"
#include "drawing/trails.h"
#include "drawing/view3d_frame.h"
#include "sim/bodies.h"
#include "tests/render/render_test_support.h"
#include "tests/support/screen_pixels.h"
#include "windows/view3d_window.h"

namespace {

using View3dTrails = View3dTest;

int choose_trails(std::uintptr_t, Window) { return CMD_SHOW_TRAILS; }

// A lone body crossing the view along x at 0.03 GL units per frame.
constexpr double DRAW_SPEED = 0.03;

TEST_F(View3dTrails, AppearOnlyWhenChosenRestartOnAFrameChangeAndStayBounded) {
    Body* body = add_body_at(-6.0, 0.0, 0.3, WHITE);
    body->vx = DRAW_SPEED / VIEW_SCALE / time_step;
    open_view(640, 400);
    ASSERT_TRUE(run_frames(100));
    const double untraced_x = view3d_frame_x[0];
    ASSERT_TRUE(wait_frames(50));
    EXPECT_EQ(trail_length(0), 0);

    int column = 0, row = 0;
    auto lit_at = [&](double x) {
        project(x, 0.0, 0.0, &column, &row);
        return [column = column, row = row](const ScreenPixels& p) {
            int brightest = 0;
            for (int dy = -2; dy <= 2; ++dy) brightest = std::max(brightest, p.brightness(column, row + dy));
            return brightest > 60;
        };
    };
    // The body's path behind it is dark without trails.
    const double earlier_x = (untraced_x + view3d_frame_x[0]) / 2;
    EXPECT_FALSE(lit_at(earlier_x)(read_screen(view)));

    set_popup_menu_hook(choose_trails);
    send_message(view, WM_RBUTTONDOWN, 0, make_lparam(20, 20));
    set_popup_menu_hook(nullptr);
    const double chosen_x = view3d_frame_x[0];
    ASSERT_TRUE(wait_frames(150));
    const double traced_x = (chosen_x + view3d_frame_x[0]) / 2;
    const auto traced = lit_at(traced_x);
    EXPECT_TRUE(traced(read_screen_when(view, traced)));
    EXPECT_FALSE(lit_at(earlier_x)(read_screen(view)));  // the trail begins when chosen
    EXPECT_GE(trail_length(0), 150);

    // In the centre-of-mass frame the lone body stands still at the centre:
    // the path across the view is gone from the screen.
    toolbar_click(toolbar(), FRAME_CM);
    ASSERT_TRUE(wait_frames(5));
    EXPECT_LT(trail_length(0), 50);
    const auto gone = [&](const ScreenPixels& p) { return !traced(p); };
    EXPECT_TRUE(gone(read_screen_when(view, gone)));

    ASSERT_TRUE(pump_until([] { return trail_length(0) == TRAIL_FRAMES; }, 60000));
    EXPECT_EQ(trail_capacity(), TRAIL_FRAMES);
    ASSERT_TRUE(wait_frames(50));
    EXPECT_EQ(trail_length(0), TRAIL_FRAMES);
}

// A planet circling a heavy star seen face-on, trails full and the run
// stopped: the part of the orbit the planet passed more than the bound ago
// is dark, the recent part lit, before and after the view is resized.
TEST_F(View3dTrails, KeepOnlyTheirBoundOnTheScreenThroughAResize) {
    constexpr double RADIUS = 4.0, PERIOD_FRAMES = 1600.0;
    const double r = RADIUS / VIEW_SCALE, speed = 2.0 * M_PI * r / (PERIOD_FRAMES * time_step);
    camera_rotate = 0.0f;
    add_body_at(0.0, 0.0, 0.3, WHITE, speed * speed * r / MASS_UNIT);
    add_body_at(RADIUS, 0.0, 0.15, WHITE, 1e-6)->vy = speed;  // body 0: the newest comes first
    open_view(640, 400);
    ASSERT_TRUE(run_frames(2));
    set_popup_menu_hook(choose_trails);
    send_message(view, WM_RBUTTONDOWN, 0, make_lparam(20, 20));
    set_popup_menu_hook(nullptr);
    ASSERT_TRUE(pump_until([] { return trail_length(0) == TRAIL_FRAMES; }));
    ASSERT_TRUE(wait_frames(400));
    command(CMD_STOP);
    pump_until([] { return false; }, 200);

    const double now = std::atan2(view3d_frame_y[0], view3d_frame_x[0]);
    auto lit_frames_ago = [&](const ScreenPixels& p, double frames) {
        const double angle = now - 2.0 * M_PI * frames / PERIOD_FRAMES;
        int column = 0, row = 0;
        project(RADIUS * std::cos(angle), RADIUS * std::sin(angle), 0.0, &column, &row);
        int brightest = 0;
        for (int dx = -2; dx <= 2; ++dx)
            for (int dy = -2; dy <= 2; ++dy) brightest = std::max(brightest, p.brightness(column + dx, row + dy));
        return brightest > 60;
    };
    auto bounded = [&](const ScreenPixels& p) {
        return lit_frames_ago(p, 100) && lit_frames_ago(p, 500) && lit_frames_ago(p, 900) &&
               !lit_frames_ago(p, 1300) && !lit_frames_ago(p, 1500);
    };
    EXPECT_TRUE(bounded(read_screen_when(view, bounded)));

    move_window(view, 40, 40, 500 + 8, 340 + 27, 1);
    const int want_width = static_cast<int>(500 * window_pixel_ratio(view) + 0.5);
    ASSERT_TRUE(pump_until([&] { return rv_width == want_width; }));
    EXPECT_TRUE(bounded(read_screen_when(view, bounded)));
}

}  // namespace
