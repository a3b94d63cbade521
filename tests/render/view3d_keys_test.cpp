// The 3D view's keys and its Save Image item, as a person uses them.
#include <filesystem>
#include <string>
#include <unistd.h>

#include "app_state/settings.h"
#include "drawing/view3d_frame.h"
#include "tests/render/render_test_support.h"
#include "windows/view3d_image.h"
#include "windows/view3d_window.h"

namespace {

using View3dKeys = View3dTest;

std::string image_path;
int choose_image_path(const FileDialogRequest& request, char* path, std::size_t capacity) {
    if (!request.save) return 0;
    std::snprintf(path, capacity, "%s", image_path.c_str());
    return 1;
}
int choose_save_image(std::uintptr_t, Window) { return CMD_SAVE_IMAGE; }

TEST_F(View3dKeys, SpaceRunsAndStopsPlusMinusStepAndSaveImageWritesTheFrame) {
    add_body_at(0.0, 0.0, 1.0, WHITE);
    open_view(640, 400);
    ASSERT_EQ(press_keys(view, "Space"), 1);
    EXPECT_TRUE(toolbar_is_checked(toolbar(), CMD_RUN));
    ASSERT_TRUE(wait_frames(3));
    const double step = time_step;
    press_keys(view, "+");
    EXPECT_DOUBLE_EQ(time_step, step * 1.5);
    press_keys(view, "-");
    EXPECT_NEAR(time_step, step, 1e-15);
    press_keys(view, "Space");
    EXPECT_TRUE(toolbar_is_checked(toolbar(), CMD_STOP));
    const long long stopped_at = view3d_frames_drawn;
    gui_process_events(100);
    EXPECT_LE(view3d_frames_drawn, stopped_at + 1);

    image_path = ::testing::TempDir() + "stelo_view_" + std::to_string(getpid()) + ".png";
    set_file_dialog_hook(choose_image_path);
    set_popup_menu_hook(choose_save_image);
    send_message(view, WM_RBUTTONDOWN, 0, make_lparam(20, 20));
    set_popup_menu_hook(nullptr);
    set_file_dialog_hook(nullptr);
    std::vector<unsigned char> rgba;
    int width = 0, height = 0;
    ASSERT_EQ(read_png(image_path.c_str(), &rgba, &width, &height), 1);
    std::filesystem::remove(image_path);
    EXPECT_EQ(width, rv_width);
    EXPECT_EQ(height, rv_height);
    // The body in the middle is lit; the corners are the black background.
    int column = 0, row = 0;
    ASSERT_TRUE(project(0.0, 0.0, 0.0, &column, &row));
    const std::size_t centre = (static_cast<std::size_t>(row) * width + column) * 4;
    EXPECT_GT(rgba[centre] + rgba[centre + 1] + rgba[centre + 2], 150);
    EXPECT_EQ(rgba[0] + rgba[1] + rgba[2], 0);
}

}  // namespace
