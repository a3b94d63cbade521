// What the 3D view draws: real runs, read back from the view's pixels.
#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include "app_state/settings.h"
#include "drawing/scene_drawing.h"
#include "sim/simulation.h"
#include "tests/render/render_test_support.h"
#include "windows/view3d_window.h"

namespace {

using View3dPixels = View3dTest;

TEST_F(View3dPixels, EveryDrawingClearsToBlackWithoutBodies) {
    open_view();
    // Something on screen first, so that black means the drawing cleared it.
    gl_make_current(view);
    glClearColor(1.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    gl_swap_buffers(view);
    EXPECT_FALSE(read_pixels().all_black());
    draw_view3d_plain(view);
    EXPECT_TRUE(read_pixels().all_black());

    gl_make_current(view);
    glClearColor(0.0f, 1.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    gl_swap_buffers(view);
    draw_view3d_lit(view);
    EXPECT_TRUE(read_pixels().all_black());
}

TEST_F(View3dPixels, BodyFifteenUnitsOutIsDrawnBesideTheOriginAtTheEyesDistance) {
    add_body_at(15.0, 0.0, 0.5, WHITE);
    open_view(800, 400);
    ASSERT_TRUE(run_frames(2));
    const Pixels pixels = read_pixels();
    ASSERT_EQ(pixels.width, 800);
    // The eye is 15 units from the plane's origin, the plane almost edge-on:
    // a point 15 units along x lies 45 degrees off the axis of view.
    const double half_width = std::tan(70.0 / 2 * M_PI / 180.0) * (800.0 / 400.0);
    const int column = static_cast<int>((1.0 + 1.0 / half_width) / 2.0 * 800.0);
    EXPECT_FALSE(pixels.brightest_near(column, 200, 3).black());
    EXPECT_TRUE(pixels.brightest_near(400, 200, 3).black());        // nothing at the origin
    EXPECT_TRUE(pixels.brightest_near(800 - column, 200, 3).black());  // nor on the other side
}

TEST_F(View3dPixels, GlowingBodyShinesWithItsEmissionAndLightsItsNeighbour) {
    add_body_at(2.5, 0.0, 0.6, WHITE);
    add_body_at(0.0, 0.0, 0.6, RED, 1.0, 1);
    open_view();
    ASSERT_TRUE(run_frames(2));
    const Pixels pixels = read_pixels();
    int column = 0, row = 0;
    ASSERT_TRUE(project(0.0, 0.0, 0.0, &column, &row));
    // Red diffuse light plus the red emission (0.5, 0.2, 0.2): green and blue
    // come from the emission alone.
    const Rgb star = pixels.at(column, row);
    EXPECT_GT(star.r, 200);
    EXPECT_NEAR(star.g, 51, 12);
    EXPECT_NEAR(star.b, 51, 12);
    // The white neighbour is lit on the side that faces the star.
    int near_column = 0, far_column = 0;
    ASSERT_TRUE(project(2.5 - 0.45, 0.0, 0.0, &near_column, &row));
    ASSERT_TRUE(project(2.5 + 0.45, 0.0, 0.0, &far_column, &row));
    const Rgb near_side = pixels.at(near_column, row);
    const Rgb far_side = pixels.at(far_column, row);
    EXPECT_GT(near_side.brightness(), far_side.brightness() + 150);
    EXPECT_FALSE(far_side.black());  // the scene's ambient light
}

TEST_F(View3dPixels, WithoutStarLightingFixedLightsShineFromTheViewer) {
    star_lighting = 0;
    add_body_at(0.0, 0.0, 0.6, WHITE);
    add_body_at(-2.5, 0.0, 0.6, RED, 1.0, 1);
    open_view();
    ASSERT_TRUE(run_frames(2));
    const Pixels pixels = read_pixels();
    int column = 0, row = 0;
    ASSERT_TRUE(project(-2.5, 0.0, 0.0, &column, &row));
    // A glowing body is a plain red sphere here: no emission.
    const Rgb star = pixels.at(column, row);
    EXPECT_GT(star.r, 150);
    EXPECT_LT(star.g, 10);
    EXPECT_LT(star.b, 10);
    // The white sphere on the axis of view is lit evenly from the front: its
    // middle is brightest and its two sides match, star or no star beside it.
    int left = 0, middle = 0, right = 0;
    ASSERT_TRUE(project(-0.45, 0.0, 0.0, &left, &row));
    ASSERT_TRUE(project(0.0, 0.0, 0.0, &middle, &row));
    ASSERT_TRUE(project(0.45, 0.0, 0.0, &right, &row));
    const int l = pixels.at(left, row).brightness();
    const int m = pixels.at(middle, row).brightness();
    const int r = pixels.at(right, row).brightness();
    EXPECT_NEAR(l, r, 40);
    EXPECT_GT(m, l + 60);
    EXPECT_GT(m, 3 * 200);
}

struct FrameCase {
    int mode;
    const char* name;
};

class View3dFrames : public View3dTest, public ::testing::WithParamInterface<FrameCase> {};

// The reference body (index 0: the newest) is red; the others are blue.
TEST_P(View3dFrames, ReferenceBodyIsDrawnWhereItsFrameShowsIt) {
    const int mode = GetParam().mode;
    Body* a = add_body_at(-2.0, -1.0, 0.4, BLUE, 3.0);
    Body* b = add_body_at(1.0, -3.0, 0.4, BLUE, 2.0);
    Body* ref = add_body_at(4.0, 3.0, 0.4, RED, 1.0);
    const double m = a->mass + b->mass + ref->mass;
    const double cx = (a->mass * a->x + b->mass * b->x + ref->mass * ref->x) / m * VIEW_SCALE;
    const double cy = (a->mass * a->y + b->mass * b->y + ref->mass * ref->y) / m * VIEW_SCALE;
    if (mode == FRAME_FIXED) set_frame_origin(ref->x, ref->y);
    set_frame_body(0);
    open_view();
    toolbar_click(toolbar(), mode);
    EXPECT_EQ(frame_mode, mode);
    ASSERT_TRUE(run_frames(2));

    double x = 0.0, y = 0.0;  // where the reference body belongs, draw units
    if (mode == FRAME_CM) {
        x = 4.0 - cx;
        y = 3.0 - cy;
    } else if (mode == FRAME_ROTATING) {
        x = std::hypot(4.0 - cx, 3.0 - cy);
    }
    const Pixels pixels = read_pixels();
    int column = 0, row = 0;
    ASSERT_TRUE(project(x, y, 0.0, &column, &row));
    // Red, not blue, around that point (the middle carries a white highlight).
    int redness = -255;
    for (int dy = -4; dy <= 4; ++dy)
        for (int dx = -4; dx <= 4; ++dx) {
            const Rgb p = pixels.at(column + dx, row + dy);
            redness = std::max(redness, p.r - p.b);
        }
    EXPECT_GT(redness, 100) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(EachFrame, View3dFrames,
                         ::testing::Values(FrameCase{FRAME_FIXED, "Fixed"}, FrameCase{FRAME_CM, "CM"},
                                           FrameCase{FRAME_ROTATING, "Rotating"},
                                           FrameCase{FRAME_MOVING, "Moving"}, FrameCase{FRAME_ORBIT, "Orbit"}),
                         [](const ::testing::TestParamInfo<FrameCase>& info) { return info.param.name; });

TEST_F(View3dPixels, ShowCmMarksTheCentreOfMass) {
    add_body_at(-3.0, 0.0, 0.4, WHITE);
    add_body_at(3.0, 0.0, 0.4, WHITE);
    open_view();
    ASSERT_TRUE(run_frames(2));
    int column = 0, row = 0;
    ASSERT_TRUE(project(0.0, 0.0, 0.0, &column, &row));
    EXPECT_TRUE(read_pixels().brightest_near(column, row, 2).black());
    toolbar_click(toolbar(), CMD_SHOW_CM);
    ASSERT_TRUE(wait_frames(2));
    EXPECT_GT(read_pixels().brightest_near(column, row, 2).brightness(), 3 * 150);
    toolbar_click(toolbar(), CMD_SHOW_CM);
    ASSERT_TRUE(wait_frames(2));
    EXPECT_TRUE(read_pixels().brightest_near(column, row, 2).black());
}

TEST_F(View3dPixels, StaysBlackThroughResizesBeforeTheFirstRun) {
    add_body_at(0.0, 0.0, 1.0, WHITE);
    open_view();
    EXPECT_TRUE(read_pixels().all_black());
    move_window(view, 60, 60, 500 + 8, 300 + 27, 1);
    const int want_width = static_cast<int>(500 * window_pixel_ratio(view) + 0.5);
    ASSERT_TRUE(pump_until([&] { return rv_width == want_width; }));
    EXPECT_TRUE(read_pixels().all_black());
    invalidate_window(view);
    update_window(view);
    EXPECT_TRUE(read_pixels().all_black());
}

TEST_F(View3dPixels, RepaintWhileStoppedShowsTheLastFrame) {
    add_body_at(0.0, 0.0, 1.0, WHITE);
    add_body_at(5.0, 0.0, 0.3, WHITE, 0.001);
    open_view();
    ASSERT_TRUE(run_frames(2));
    command(CMD_STOP);
    pump_until([] { return false; }, 200);
    int column = 0, row = 0;
    ASSERT_TRUE(project(0.0, 0.0, 0.0, &column, &row));
    EXPECT_FALSE(read_pixels().at(column, row).black());
    invalidate_window(view);
    update_window(view);
    pump_until([] { return false; }, 100);
    EXPECT_FALSE(read_pixels().at(column, row).black());
}

}  // namespace
