// The 3D view as the X server shows it: light bars with dark text over the
// black GL area, the drawing on screen, and bars redrawn whole after the
// window grows.
#include "app_state/settings.h"
#include "tests/render/render_test_support.h"
#include "tests/support/screen_pixels.h"
#include "windows/view3d_window.h"

namespace {

using View3dScreen = View3dTest;

// Most of the bar is light, and the left part, where the text or the first
// buttons stand, holds dark pixels.
bool light_bar_with_dark_marks(const ScreenPixels& bar) {
    const int area = bar.width * bar.height;
    return bar.count_light(0, 0, bar.width, bar.height) > area * 3 / 5 &&
           bar.count_dark(0, 2, 160, bar.height - 4) > 20;
}

TEST_F(View3dScreen, BarsAreLightWithDarkTextAndTheDrawingShowsBetweenThem) {
    add_body_at(0.0, 0.0, 1.5, YELLOW, 1.0, 1);
    open_view(500, 300);
    ASSERT_TRUE(run_frames(3));
    command(CMD_STOP);
    ASSERT_EQ(status_text(), "Fixed reference frame");

    const ScreenPixels status = read_screen_when(statusbar(), light_bar_with_dark_marks);
    EXPECT_TRUE(light_bar_with_dark_marks(status)) << status.count_light(0, 0, status.width, status.height)
                                                   << " light of " << status.width * status.height;
    // Beyond the text the status bar is plain background.
    EXPECT_EQ(status.count_dark(status.width - 120, 3, 100, status.height - 6), 0);
    const ScreenPixels tools = read_screen_when(toolbar(), light_bar_with_dark_marks);
    EXPECT_TRUE(light_bar_with_dark_marks(tools));
    EXPECT_EQ(tools.count_light(tools.width - 100, 0, 100, tools.height), 100 * tools.height);

    // The glowing body in the middle of the view, black around it.
    int column = 0, row = 0;
    ASSERT_TRUE(project(0.0, 0.0, 0.0, &column, &row));
    const ScreenPixels client = read_screen_when(view, [&](const ScreenPixels& p) {
        return p.brightness(column, row) > 300;
    });
    EXPECT_GT(client.brightness(column, row), 300);
    EXPECT_LT(client.brightness(20, client.height / 2), 30);

    // Wider and taller: both bars are drawn whole across the new width.
    move_window(view, 40, 40, 760 + 8, 360 + 27, 1);
    ASSERT_TRUE(pump_until([&] { return rv_width == static_cast<int>(760 * window_pixel_ratio(view) + 0.5); }));
    const auto whole = [](const ScreenPixels& bar) {
        if (bar.width < 700) return false;
        // Every column of the bar's right half is mostly light, and its top
        // row looks the same within the old width and beyond it.
        for (int x = bar.width / 2; x < bar.width; ++x)
            if (bar.count_light(x, 0, 1, bar.height) < bar.height / 2) return false;
        return bar.rgb(bar.width - 10, 0) == bar.rgb(400, 0);
    };
    EXPECT_TRUE(whole(read_screen_when(statusbar(), whole)));
    EXPECT_TRUE(whole(read_screen_when(toolbar(), whole)));
}

}  // namespace
