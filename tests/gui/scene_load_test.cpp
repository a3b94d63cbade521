// Loading a scene over an open one: a refused file costs nothing, and an
// accepted file's values reach the 3D view as if it had been made for them.
#include <GL/gl.h>

#include <string>

#include "drawing/view3d_frame.h"
#include "scenefile/scene_file.h"
#include "shell/shell.h"
#include "shell_fixture.h"
#include "sim/bodies.h"
#include "sim/frames.h"
#include "windows/view3d_window.h"

namespace {

std::string status_text() {
    char text[128] = {};
    status_bar_get_text(view3d_statusbar, text, sizeof text);
    return text;
}

// Two glowing bodies circling each other about their centre of mass.
std::string circling_pair(int frame_mode, int smooth_shading, int star_lighting, int reference = 0) {
    return scene_text("2.0.002 0.001 2 " + std::to_string(reference) + " 0 0 " + std::to_string(frame_mode) +
                          " -15 -85 70 0.1 50 0.5 10 10 " + std::to_string(smooth_shading) + " " +
                          std::to_string(star_lighting),
                      {"0 0.5 100000 0 0 451858 8.16701e+16 16384 1", "2 0.5 -100000 0 0 -451858 8.16701e+16 0 1"});
}

}  // namespace

TEST_F(ShellTest, RefusedFilesLeaveTheRunningSceneAndItsPathAsTheyWere) {
    start();
    write_file("two.slo", circling_pair(FRAME_CM, 1, 1));
    const std::string damaged = "2.0.002 0.004 3 0 0 0 40005 -15 -85 70 0.1 50 0.5 10 10 1 1\n"
                                "0 0.5 0 0 0 0 8.16701e+19 16384 1\n";
    const std::string other = "2.0.001 0.004 0 0 0 0 40005 -15 -85 70 0.1 50 0.5 10 10 1 1\n";
    write_file("damaged.slo", damaged);
    write_file("other.slo", other);
    next_file_choice = (working_directory / "two.slo").string();
    command(CMD_OPEN_AND_RUN);
    ASSERT_TRUE(wait_until([] { return simulation_active == 1; }));
    const Window view3d = view3d_window, interactive = interactive_window;
    const std::string path = scene_path;

    struct Case {
        const char* name;
        std::string message;
    };
    const Case cases[] = {
        {"damaged.slo", " is not a valid Stelo scene file"},
        {"other.slo", " was not saved with Stelo3D version 2.0.002...Sorry."},
        {"missing.slo", ""},
    };
    for (const Case& c : cases) {
        const std::string file = (working_directory / c.name).string();
        const std::string message = c.message.empty() ? "Could not open file " + file : file + c.message;
        // Open over the running scene, then Open and Run and a drop over the
        // stopped scene: none of them sends Run.
        for (int route = 0; route < 3; ++route) {
            SCOPED_TRACE(std::string(c.name) + " route " + std::to_string(route));
            shown_messages.clear();
            if (route > 0) send_message(view3d_window, WM_COMMAND, CMD_STOP, 0);
            next_file_choice = file;
            const char* paths[1] = {file.c_str()};
            if (route == 0) command(CMD_OPEN);
            if (route == 1) command(CMD_OPEN_AND_RUN);
            if (route == 2) {
                ASSERT_EQ(drop_files(control_window, paths, 1), 1);
            }
            ASSERT_TRUE(wait_until([] { return !shown_messages.empty(); }));
            EXPECT_EQ(shown_messages[0].text, message);
            EXPECT_EQ(view3d_window, view3d);
            EXPECT_EQ(interactive_window, interactive);
            EXPECT_EQ(std::string(scene_path), path);
            EXPECT_EQ(body_count, 2);
            EXPECT_EQ(frame_mode, FRAME_CM);
            const long long drawn = view3d_frames_drawn;
            if (route == 0) {
                EXPECT_TRUE(wait_until([drawn] { return view3d_frames_drawn > drawn; }));
            } else {
                pump(50);
                EXPECT_EQ(toolbar_is_checked(view3d_toolbar, CMD_STOP), 1);
                EXPECT_LE(view3d_frames_drawn, drawn + 1);  // at most the frame already handed over
                send_message(view3d_window, WM_COMMAND, CMD_RUN, 0);
            }
        }
    }
    // The scene still runs, and Save writes it to its own file.
    const long long drawn = view3d_frames_drawn;
    EXPECT_TRUE(wait_until([drawn] { return view3d_frames_drawn > drawn + 5; }));
    command(CMD_SAVE);
    EXPECT_EQ(read_file("damaged.slo"), damaged);
    EXPECT_EQ(read_file("other.slo"), other);
    EXPECT_FALSE(file_exists("missing.slo"));
    EXPECT_EQ(read_file("two.slo").rfind("2.0.002 0.001 2 1 0 0 40006 ", 0), 0u);
}

TEST_F(ShellTest, LoadedValuesReachTheViewAsIfItWereMadeForThem) {
    start();
    write_file("fixed.slo", circling_pair(FRAME_FIXED, 1, 0));
    write_file("moving.slo", circling_pair(FRAME_MOVING, 0, 1, 7));  // a reference beyond the bodies
    next_file_choice = (working_directory / "fixed.slo").string();
    command(CMD_OPEN_AND_RUN);
    ASSERT_TRUE(wait_until([] { return simulation_active == 1; }));
    EXPECT_EQ(status_text(), "Fixed reference frame");

    next_file_choice = (working_directory / "moving.slo").string();
    command(CMD_OPEN_AND_RUN);
    ASSERT_TRUE(wait_until([] { return simulation_active == 1 && view3d_frames_drawn > 0; }));
    EXPECT_TRUE(shown_messages.empty());
    EXPECT_EQ(frame_body, 0);
    EXPECT_EQ(toolbar_is_checked(view3d_toolbar, FRAME_MOVING), 1);
    EXPECT_EQ(toolbar_is_checked(view3d_toolbar, FRAME_FIXED), 0);
    EXPECT_EQ(status_text(), "Moving reference frame");
    ASSERT_EQ(gl_make_current(view3d_window), 1);
    GLint shading = 0;
    glGetIntegerv(GL_SHADE_MODEL, &shading);
    EXPECT_EQ(shading, GL_FLAT);

    // The reference body (list index 0, the last body line) stays at the
    // origin; the other body, whose light is slot 1, moves, and its light
    // moves with it.
    float first[2] = {};
    for (int sample = 0; sample < 2; ++sample) {
        const long long drawn = view3d_frames_drawn;
        ASSERT_TRUE(wait_until([drawn] { return view3d_frames_drawn > drawn + 20; }));
        ASSERT_EQ(view3d_frame_count, 2);
        EXPECT_EQ(view3d_frame_x[0], 0.0f);
        EXPECT_EQ(view3d_frame_y[0], 0.0f);
        EXPECT_EQ(view3d_frame_lights[1][0], view3d_frame_x[1]);
        EXPECT_EQ(view3d_frame_lights[1][1], view3d_frame_y[1]);
        if (sample == 0) {
            first[0] = view3d_frame_lights[1][0];
            first[1] = view3d_frame_lights[1][1];
        }
    }
    EXPECT_TRUE(first[0] != view3d_frame_lights[1][0] || first[1] != view3d_frame_lights[1][1]);
}
