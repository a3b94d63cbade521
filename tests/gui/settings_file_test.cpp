// The settings file "stelo20.ini": read at start from the working directory,
// applied to the three windows, written at exit when the geometry is known.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "app_state/settings.h"
#include "scenefile/scene_file.h"
#include "shell/shell.h"
#include "shell_fixture.h"
#include "sim/frames.h"
#include "tests/support/x_frames.h"

namespace {

struct Rect {
    int x, y, width, height;
};

Rect client_of(Window window) {
    Rect r{};
    get_client_rect(window, &r.x, &r.y, &r.width, &r.height);
    return r;
}

Rect outer_of(Window window) {
    Rect r{};
    get_window_rect(window, &r.x, &r.y, &r.width, &r.height);
    return r;
}

std::vector<int> numbers(const std::string& text) {
    std::istringstream in(text);
    std::vector<int> values;
    int v = 0;
    while (in >> v) values.push_back(v);
    return values;
}

}  // namespace

TEST_F(ShellTest, WithoutSettingsOrSceneOpenShowsTheExamplesAndNothingIsWritten) {
    start();
    command(CMD_OPEN);  // cancelled
    ASSERT_EQ(file_dialogs.size(), 1u);
    ASSERT_NE(file_dialogs[0].folder, nullptr);
    EXPECT_TRUE(std::filesystem::is_regular_file(std::filesystem::path(file_dialogs[0].folder) / "solar-system.slo"));
    exit_program();
    EXPECT_FALSE(file_exists("stelo20.ini"));
}

TEST_F(ShellTest, ExitWithASceneOpenClosesItThenWritesTheRestoredGeometry) {
    start();
    write_file("two.slo", two_body_scene());
    next_file_choice = (working_directory / "two.slo").string();
    command(CMD_OPEN);
    ASSERT_TRUE(is_window(interactive_window));
    pump(50);
    const Rect control = client_of(control_window);
    const Rect view3d = client_of(view3d_window);
    const Rect interactive = client_of(interactive_window);
    const Window old_view3d = view3d_window, old_interactive = interactive_window;

    command(ID_RUN_SCENE);  // minimises the interactive view where a window manager can
    ASSERT_TRUE(wait_until([] { return is_window_minimized(interactive_window) == (under_window_manager() ? 1 : 0); }));
    exit_program();

    EXPECT_FALSE(is_window(old_view3d));
    EXPECT_FALSE(is_window(old_interactive));
    ASSERT_TRUE(file_exists("stelo20.ini"));
    const std::string text = read_file("stelo20.ini");
    const std::vector<int> v = numbers(text);
    ASSERT_EQ(v.size(), 10u) << text;
    char expected[160];
    std::snprintf(expected, sizeof expected, "%d %d %d %d %d %d %d %d %d %d\n", v[0], v[1], v[2], v[3],
                  v[4], v[5], v[6], v[7], v[8], v[9]);
    EXPECT_EQ(text, expected);  // one line, single blanks
    EXPECT_EQ(v[0], control.x);
    EXPECT_EQ(v[1], control.y);
    EXPECT_EQ(v[2], view3d.x);
    EXPECT_EQ(v[3], view3d.y);
    EXPECT_EQ(v[4], interactive.x);
    EXPECT_EQ(v[5], interactive.y);
    EXPECT_EQ(v[6], view3d.width);
    EXPECT_EQ(v[7], view3d.height);
    EXPECT_EQ(v[8], interactive.width);  // the restored size, not a minimised one
    EXPECT_EQ(v[9], interactive.height);
}

TEST_F(ShellTest, CloseBoxEndsTheProgramAsExitDoes) {
    start();
    command(CMD_NEW);
    const Window view3d = view3d_window;
    send_message(control_window, WM_SYSCOMMAND, SC_CLOSE, 0);
    gui_run_message_loop();  // returns once the shutdown has posted its quit
    EXPECT_FALSE(is_window(control_window));
    EXPECT_FALSE(is_window(view3d));
    EXPECT_TRUE(file_exists("stelo20.ini"));  // the views' moves made the geometry known
}

TEST_F(ShellTest, TenValuesPlaceAllThreeWindows) {
    write_file("stelo20.ini", "100 200 10 20 30 40 500 300 510 310\n");
    start();
    EXPECT_EQ(geometry_known, 1);
    EXPECT_EQ(open_dialog_folder, nullptr);  // a returning user opens from the working directory
    const Rect control = client_of(control_window);
    EXPECT_EQ(control.x, 100);
    EXPECT_EQ(control.y, 200);
    EXPECT_EQ(control.width, 298);
    EXPECT_EQ(control.height, 310);

    command(CMD_NEW);
    pump(20);
    const Rect view3d = client_of(view3d_window);
    EXPECT_EQ(view3d.x, 10);
    EXPECT_EQ(view3d.y, 20);
    EXPECT_EQ(view3d.width, 500);
    EXPECT_EQ(view3d.height, 300);
    const Rect view3d_outer = outer_of(view3d_window);
    EXPECT_EQ(view3d_outer.x, 6);
    EXPECT_EQ(view3d_outer.y, -3);
    EXPECT_EQ(view3d_outer.width, 508);
    EXPECT_EQ(view3d_outer.height, 327);
    const Rect interactive = client_of(interactive_window);
    EXPECT_EQ(interactive.x, 30);
    EXPECT_EQ(interactive.y, 40);
    EXPECT_EQ(interactive.width, 510);
    EXPECT_EQ(interactive.height, 310);
    const Rect interactive_outer = outer_of(interactive_window);
    EXPECT_EQ(interactive_outer.x, 26);
    EXPECT_EQ(interactive_outer.y, 17);
    EXPECT_EQ(interactive_outer.width, 518);
    EXPECT_EQ(interactive_outer.height, 337);
}

TEST_F(ShellTest, NineValuesAreDiscardedWhole) {
    write_file("stelo20.ini", "100 200 10 20 30 40 500 300 510\n");
    start();
    EXPECT_EQ(geometry_known, 0);
    EXPECT_EQ(client_of(control_window).height, 312);  // not moved, not the restored size
    EXPECT_EQ(iv_left, 0);
    EXPECT_EQ(rv_width, 0);

    // The 3D view's move makes the geometry known; the interactive view then
    // must not take values the file only half gave.
    command(CMD_NEW);
    pump(20);
    EXPECT_EQ(geometry_known, 1);
    const Rect interactive = client_of(interactive_window);
    EXPECT_EQ(interactive.width, 525 - 8);
    EXPECT_EQ(interactive.height, 370 - 27);
}

TEST_F(ShellTest, UnreadableTextInTheFileMovesNothing) {
    write_file("stelo20.ini", "100 200 ten 20 30 40 500 300 510 310\n");
    start();
    EXPECT_EQ(geometry_known, 0);
    exit_program();
    EXPECT_EQ(read_file("stelo20.ini"), "100 200 ten 20 30 40 500 300 510 310\n");  // not rewritten
}

TEST_F(ShellTest, PlacesLeftOfTheScreenComeBackNegative) {
    // 65436 is how a window 100 pixels left of the screen's edge was saved;
    // most of its title bar stays on the screen, so it goes back there.
    write_file("stelo20.ini", "65436 30 10 20 30 40 500 300 510 310\n");
    start();
    const Rect control = client_of(control_window);
    EXPECT_EQ(control.x, -100);
    EXPECT_EQ(control.y, 30);
}

namespace {
Rect work_area() {
    Rect r{};
    get_screen_work_area(&r.x, &r.y, &r.width, &r.height);
    return r;
}
bool inside(const Rect& inner, const Rect& outer) {
    return inner.x >= outer.x && inner.y >= outer.y && inner.x + inner.width <= outer.x + outer.width &&
           inner.y + inner.height <= outer.y + outer.height;
}
}  // namespace

// Without settings the three windows open apart, the control window at the
// left, each wholly on the screen, as the X server shows them (with a
// window manager, frames included, once it has framed all three).
TEST_F(ShellTest, WithoutSettingsTheWindowsOpenApartOnTheScreen) {
    start();
    command(CMD_NEW);
    const char* titles[3] = {CONTROL_TITLE, VIEW3D_TITLE, INTERACTIVE_TITLE};
    const bool managed = under_window_manager();
    XFrame frames[3];
    auto placed = [&] {
        for (int i = 0; i < 3; ++i) {
            XFrame before;
            if (!read_x_frame(titles[i], &before) || !before.viewable || before.framed != managed) return false;
            gui_process_events(20);
            if (!read_x_frame(titles[i], &frames[i]) || frames[i].x != before.x || frames[i].y != before.y) return false;
        }
        return true;
    };
    ASSERT_TRUE(wait_until(placed));
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(frame_on_screen(frames[i])) << titles[i] << " at " << frames[i].x << "," << frames[i].y << " "
                                                << frames[i].width << "x" << frames[i].height;
        for (int j = i + 1; j < 3; ++j) EXPECT_FALSE(frames_overlap(frames[i], frames[j])) << titles[i] << " / " << titles[j];
    }
    EXPECT_LT(frames[0].x + frames[0].width, frames[1].x);  // the control window at the left
    // Only the control window asks for a close box.
    EXPECT_TRUE(x_window_asks_close_box(CONTROL_TITLE));
    EXPECT_FALSE(x_window_asks_close_box(VIEW3D_TITLE));
    EXPECT_FALSE(x_window_asks_close_box(INTERACTIVE_TITLE));

    // Once recorded, the places come back exactly.
    int x = 0, y = 0, width = 0, height = 0;
    get_client_rect(interactive_window, &x, &y, &width, &height);
    command(CMD_NEW);
    pump(20);
    const Rect again = client_of(interactive_window);
    EXPECT_EQ(again.x, x);
    EXPECT_EQ(again.y, y);
    EXPECT_EQ(again.width, width);
    EXPECT_EQ(again.height, height);
}

// A saved place that would leave a title bar off every screen brings the
// window back whole onto the screen; a saved size never exceeds the screen;
// other places and sizes come back exactly.
TEST_F(ShellTest, SavedPlacesOutOfReachComeBackOnTheScreen) {
    // Control window at 3000 3000, below and right of the screen; 3D view at
    // 65000 65000 (-536 -536, above and left of it) and larger than any
    // screen; interactive view where it was. The screen is wider than high,
    // so a bottom edge taken from its width would leave the control window
    // partly below it.
    write_file("stelo20.ini", "3000 3000 65000 65000 100 200 8000 8000 400 300\n");
    start();
    command(CMD_NEW);
    ASSERT_TRUE(wait_until([] { return is_window_visible(interactive_window) && is_window_visible(view3d_window); }));
    const Rect screen = work_area();
    ASSERT_GT(screen.width, screen.height);
    const Rect control = outer_of(control_window);
    EXPECT_TRUE(inside(control, screen)) << control.x << "," << control.y << " " << control.width << "x"
                                         << control.height;
    const Rect view3d = outer_of(view3d_window);
    EXPECT_TRUE(inside(view3d, screen)) << view3d.x << "," << view3d.y << " " << view3d.width << "x" << view3d.height;
    EXPECT_GT(view3d.width, screen.width * 9 / 10);
    const Rect interactive = client_of(interactive_window);
    EXPECT_EQ(interactive.x, 100);
    EXPECT_EQ(interactive.y, 200);
    EXPECT_EQ(interactive.width, 400);
    EXPECT_EQ(interactive.height, 300);
}

TEST_F(ShellTest, ZeroSizesKeepTheViewsDefaultSize) {
    write_file("stelo20.ini", "0 0 0 0 0 0 0 0 0 0\n");
    start();
    EXPECT_EQ(geometry_known, 1);
    EXPECT_EQ(open_dialog_folder, nullptr);  // a returning user opens from the working directory
    command(CMD_NEW);
    pump(20);
    EXPECT_EQ(client_of(view3d_window).width, 525 - 8);
    EXPECT_EQ(client_of(interactive_window).height, 370 - 27);
}
