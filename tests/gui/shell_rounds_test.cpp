// Scenes opened, run and ended over and over: every round must end without
// a hang, with no window, thread, event or body left behind (the sanitizer
// builds report any leak or race).
#include <string>

#include "scenefile/scene_file.h"
#include "shell/shell.h"
#include "shell_fixture.h"
#include "sim/bodies.h"
#include "sim/frames.h"
#include "sim/simulation.h"

// A hundred rounds in the plain build. The sanitizer builds run several
// times slower and take forty, still every pairing of the moment the run is
// ended with Close or Exit several times over.
#if defined(__SANITIZE_THREAD__) || defined(__SANITIZE_ADDRESS__)
constexpr int ROUNDS = 40;
#else
constexpr int ROUNDS = 100;
#endif

TEST_F(ShellTest, RoundsOfNewLoadRunCloseExitEndCleanly) {
    write_file("two.slo", two_body_scene());
    const std::string scene = (working_directory / "two.slo").string();
    for (int round = 0; round < ROUNDS; ++round) {
        SCOPED_TRACE(round);
        start();
        command(CMD_NEW);
        next_file_choice = scene;
        command(CMD_OPEN);
        ASSERT_EQ(body_count, 2);
        command(ID_RUN_SCENE);
        // End the run at different moments: at once, while it starts, while it runs.
        pump(round % 3 == 0 ? 0 : round % 3 == 1 ? 2 : 30);
        const Window view3d = view3d_window, interactive = interactive_window;
        if (round % 2 == 0) command(CMD_CLOSE);  // otherwise Exit closes the scene
        exit_program();

        EXPECT_FALSE(is_window(control_window));
        EXPECT_FALSE(is_window(view3d));
        EXPECT_FALSE(is_window(interactive));
        EXPECT_EQ(simulation_thread_handle, nullptr);
        EXPECT_EQ(frame_thread_handle, nullptr);
        EXPECT_EQ(interactive_frame_thread_handle, nullptr);
        EXPECT_EQ(frame_free, nullptr);
        EXPECT_EQ(positions_ready, nullptr);
        EXPECT_EQ(simulation_active, 0);
        if (HasFailure()) break;
    }
    // The bodies of the last scene stay in the list until the next New.
    clear_bodies();
    EXPECT_EQ(body_count, 0);
}
