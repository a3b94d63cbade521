// Opening, running, saving and closing scenes through the control window.
#include <cstring>
#include <string>

#include "scenefile/scene_file.h"
#include "shell/shell.h"
#include "shell_fixture.h"
#include "sim/bodies.h"
#include "sim/frames.h"
#include "sim/simulation.h"
#include "windows/view3d_window.h"

namespace {

std::string window_text(Window window) {
    char text[256] = {};
    get_window_text(window, text, sizeof text);
    return text;
}

int scene_menu_enabled() {
    int save = is_menu_item_enabled(main_menu, CMD_SAVE);
    int save_as = is_menu_item_enabled(main_menu, CMD_SAVE_AS);
    int close = is_menu_item_enabled(main_menu, CMD_CLOSE);
    return save == save_as && save_as == close ? close : -1;  // -1: out of step
}

bool views_open() { return is_window(view3d_window) && is_window(interactive_window); }

std::string page_field(Window page, int id) {
    char text[64] = {};
    get_dialog_item_text(page, id, text, sizeof text);
    return text;
}

}  // namespace

TEST_F(ShellTest, MenuAndViewsFollowNewCloseLoadAndSaveAs) {
    start();
    command(CMD_NEW);
    EXPECT_EQ(scene_menu_enabled(), 1);
    ASSERT_TRUE(views_open());
    EXPECT_EQ(window_text(view3d_window), "Stelo3d - 3D View");
    EXPECT_EQ(window_text(interactive_window), "Stelo3d - Interactive View");
    EXPECT_TRUE(is_window_visible(view3d_window));
    EXPECT_TRUE(is_window_visible(interactive_window));
    int x = 0, y = 0, width = 0, height = 0;
    get_window_rect(interactive_window, &x, &y, &width, &height);
    EXPECT_EQ(width, 525);
    EXPECT_EQ(height, 370);

    // Close is greyed in the views' system menus: only the shell ends them.
    send_message(view3d_window, WM_SYSCOMMAND, SC_CLOSE, 0);
    send_message(interactive_window, WM_SYSCOMMAND, SC_CLOSE, 0);
    pump(0);
    EXPECT_TRUE(views_open());

    command(CMD_CLOSE);
    EXPECT_EQ(scene_menu_enabled(), 0);
    EXPECT_FALSE(is_window(view3d_window));
    EXPECT_FALSE(is_window(interactive_window));
    EXPECT_EQ(frame_free, nullptr);
    EXPECT_EQ(positions_ready, nullptr);
    EXPECT_STREQ(scene_path, "stelo.slo");  // kept, though Save is greyed

    write_file("two.slo", two_body_scene());
    next_file_choice = (working_directory / "two.slo").string();
    command(CMD_OPEN);
    ASSERT_EQ(file_dialogs.size(), 1u);
    EXPECT_EQ(file_dialogs[0].save, 0);
    EXPECT_EQ(scene_menu_enabled(), 1);
    EXPECT_TRUE(views_open());
    EXPECT_EQ(body_count, 2);
    EXPECT_EQ(page_field(page_timestep, 1000), "0.002");
    EXPECT_EQ(page_field(page_viewing, 1000), "-20");
    EXPECT_EQ(page_field(page_rendering, 1004), "12");
    EXPECT_EQ(get_dialog_check(page_rendering, 1006), 0);

    command(CMD_CLOSE);
    EXPECT_EQ(scene_menu_enabled(), 0);
    command(CMD_NEW);
    next_file_choice = (working_directory / "copy.slo").string();
    command(CMD_SAVE_AS);
    ASSERT_EQ(file_dialogs.size(), 2u);
    EXPECT_EQ(file_dialogs[1].save, 1);
    EXPECT_TRUE(file_exists("copy.slo"));
    EXPECT_EQ(is_menu_item_enabled(main_menu, CMD_SAVE), 1);
    EXPECT_TRUE(shown_messages.empty());
}

TEST_F(ShellTest, SaveAfterNewWritesTheDefaultSceneFile) {
    start();
    command(CMD_NEW);
    command(CMD_SAVE);
    ASSERT_TRUE(file_exists("stelo.slo"));
    EXPECT_EQ(read_file("stelo.slo").rfind("2.0.002 0.001 0 ", 0), 0u) << read_file("stelo.slo");
    EXPECT_TRUE(shown_messages.empty());
}

TEST_F(ShellTest, UnreadableArgumentLeavesBothViewsOpenOnAnEmptyScene) {
    start("no-such-scene.slo");
    ASSERT_TRUE(wait_until([] { return !shown_messages.empty() && views_open(); }));
    ASSERT_EQ(shown_messages.size(), 1u);
    EXPECT_EQ(shown_messages[0].text, "Could not open file no-such-scene.slo");
    EXPECT_EQ(shown_messages[0].owner, control_window);
    EXPECT_EQ(shown_messages[0].caption, "Error");  // the default caption
    EXPECT_EQ(body_count, 0);
    EXPECT_EQ(scene_menu_enabled(), 1);
    pump(50);
    EXPECT_EQ(simulation_active, 0);  // Run found no bodies
}

TEST_F(ShellTest, ArgumentSceneIsLoadedAndRun) {
    write_file("two.slo", two_body_scene());
    start("two.slo");
    ASSERT_TRUE(wait_until([] { return views_open() && simulation_active == 1; }));
    EXPECT_TRUE(shown_messages.empty());
    EXPECT_EQ(page_field(page_timestep, 1000), "0.002");
    EXPECT_TRUE(wait_until([] { return is_window_minimized(interactive_window) == (under_window_manager() ? 1 : 0); }));
}

// A cancelled dialog runs the open scene; a choice too long for the scene
// path is refused and runs nothing.
TEST_F(ShellTest, OpenAndRunWithCancelledDialogStillRunsTheOpenScene) {
    start();
    write_file("two.slo", two_body_scene());
    next_file_choice = (working_directory / "two.slo").string();
    command(CMD_OPEN);
    ASSERT_TRUE(views_open());
    const Window view3d = view3d_window, interactive = interactive_window;
    EXPECT_EQ(simulation_active, 0);

    next_file_choice = "/" + std::string(300, 'p') + ".slo";
    command(CMD_OPEN_AND_RUN);
    ASSERT_EQ(shown_messages.size(), 1u);
    EXPECT_EQ(shown_messages[0].text, "Could not open file " + next_file_choice);
    pump(100);
    EXPECT_EQ(simulation_active, 0);

    next_file_choice.clear();
    command(CMD_OPEN_AND_RUN);
    EXPECT_EQ(file_dialogs.size(), 3u);
    EXPECT_EQ(view3d_window, view3d);  // nothing was reloaded
    EXPECT_EQ(interactive_window, interactive);
    EXPECT_TRUE(wait_until([] { return simulation_active == 1; }));
    EXPECT_TRUE(wait_until([] { return is_window_minimized(interactive_window) == (under_window_manager() ? 1 : 0); }));
}

TEST_F(ShellTest, NewWhileRunningClosesTheSceneAndResetsOnlyItsOwnValues) {
    start();
    write_file("two.slo", two_body_scene());
    next_file_choice = (working_directory / "two.slo").string();
    command(CMD_OPEN_AND_RUN);
    ASSERT_TRUE(wait_until([] { return simulation_active == 1; }));
    const Window old_view3d = view3d_window, old_interactive = interactive_window;

    command(CMD_NEW);
    EXPECT_FALSE(is_window(old_view3d));
    EXPECT_FALSE(is_window(old_interactive));
    ASSERT_TRUE(views_open());
    EXPECT_EQ(body_count, 0);
    EXPECT_EQ(body_list, nullptr);
    EXPECT_EQ(total_mass, 0.0);
    EXPECT_EQ(glow_count, 0);
    EXPECT_EQ(time_step, 0.001);
    EXPECT_EQ(frame_body, 0);
    EXPECT_EQ(frame_origin_x, 0.0);
    EXPECT_EQ(frame_origin_y, 0.0);
    EXPECT_EQ(stop_requested, 0);
    EXPECT_EQ(simulation_active, 0);
    // The reference frame and the viewing and rendering parameters stay.
    EXPECT_EQ(frame_mode, FRAME_CM);
    EXPECT_EQ(camera_translate, -20.0f);
    EXPECT_EQ(camera_rotate, -80.0f);
    EXPECT_EQ(field_of_view, 60.0);
    EXPECT_EQ(near_plane, 0.2);
    EXPECT_EQ(far_plane, 40.0);
    EXPECT_EQ(max_radius, 0.7);
    EXPECT_EQ(sphere_slices, 12);
    EXPECT_EQ(sphere_stacks, 14);
    EXPECT_EQ(smooth_shading, 0);
    EXPECT_EQ(star_lighting, 1);
}

TEST_F(ShellTest, DroppingSeveralFilesLoadsOnlyTheFirst) {
    start();
    write_file("first.slo", scene_text("2.0.002 0.003 1 0 0 0 40005 -15 -85 70 0.1 50 0.5 10 10 1 1",
                                       {"1 0.5 0 0 0 0 8.16701e+19 16384 1"}));
    write_file("second.slo", two_body_scene());
    const std::string first = (working_directory / "first.slo").string();
    const std::string second = (working_directory / "second.slo").string();
    const char* paths[2] = {first.c_str(), second.c_str()};
    ASSERT_EQ(drop_files(control_window, paths, 2), 1);
    ASSERT_TRUE(wait_until([] { return views_open() && simulation_active == 1; }));
    EXPECT_EQ(std::string(scene_path), first);
    EXPECT_EQ(time_step, 0.003);
    EXPECT_EQ(page_field(page_timestep, 1000), "0.003");
    EXPECT_TRUE(shown_messages.empty());
}

TEST_F(ShellTest, ScenePathTooLongForTheBufferIsRefusedWhole) {
    const std::string long_path = std::string(300, 'p') + ".slo";
    start(long_path.c_str());
    ASSERT_TRUE(wait_until([] { return !shown_messages.empty(); }));
    pump(20);
    ASSERT_EQ(shown_messages.size(), 1u);
    EXPECT_EQ(shown_messages[0].text, "Could not open file " + long_path);
    EXPECT_STREQ(scene_path, "stelo.slo");
    EXPECT_FALSE(is_window(view3d_window));
    EXPECT_EQ(scene_menu_enabled(), 0);

    // A dropped path that long is refused the same way.
    std::filesystem::path deep = working_directory;
    while (deep.string().size() < 300) deep /= std::string(60, 'd');
    std::filesystem::create_directories(deep);
    const std::string dropped = (deep / "scene.slo").string();
    write_file((deep / "scene.slo").string(), two_body_scene());
    const char* paths[1] = {dropped.c_str()};
    ASSERT_EQ(drop_files(control_window, paths, 1), 1);
    ASSERT_TRUE(wait_until([] { return shown_messages.size() == 2; }));
    EXPECT_EQ(shown_messages[1].text, "Could not open file " + dropped);
    EXPECT_STREQ(scene_path, "stelo.slo");
    EXPECT_FALSE(is_window(view3d_window));
}

TEST_F(ShellTest, ScenePathThatJustFitsIsTakenWhole) {
    const std::string path = std::string(255 - 4, 'q') + ".slo";
    start(path.c_str());
    ASSERT_TRUE(wait_until([] { return !shown_messages.empty() && views_open(); }));
    EXPECT_EQ(std::string(scene_path), path);
    EXPECT_EQ(shown_messages[0].text, "Could not open file " + path);
}
