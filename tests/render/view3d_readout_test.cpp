// The 3D view's live readout agrees with the headless runner on the same
// scene at the same frame time.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "scenefile/scene_file.h"
#include "tests/render/render_test_support.h"
#include "windows/view3d_readout.h"
#include "windows/view3d_window.h"

namespace {

using View3dReadout = View3dTest;

// The runner's energy error at the frame nearest t.
bool runner_error_at(const std::string& scene, double t, double* error) {
    char command[1024];
    std::snprintf(command, sizeof command, "%s %s --until %.17g --every %.17g --energy", STELO_BATCH_PATH,
                  scene.c_str(), t, t);
    FILE* pipe = popen(command, "r");
    if (pipe == nullptr) return false;
    char line[256];
    bool found = false;
    while (std::fgets(line, sizeof line, pipe) != nullptr) {
        double time = 0, energy = 0, e = 0;
        if (std::sscanf(line, "%lf,energy,%lf,%lf", &time, &energy, &e) == 3 && time == t) {
            *error = e;
            found = true;
        }
    }
    pclose(pipe);
    return found;
}

TEST_F(View3dReadout, ShowsTimeEnergyErrorAndRateLikeTheRunner) {
    const std::string scene = std::string(STELO_EXAMPLES_DIR) + "/figure-eight.slo";
    std::snprintf(scene_path, sizeof scene_path, "%s", scene.c_str());
    ASSERT_TRUE(read_scene());
    open_view(640, 400);
    command(CMD_SHOW_READOUT);
    ASSERT_TRUE(run_frames(1));
    ASSERT_TRUE(pump_until([] { return readout_time > 0.05; }));
    command(CMD_STOP);
    char text[128] = {};
    status_bar_get_part_text(statusbar(), 1, text, sizeof text);
    EXPECT_NE(std::strstr(text, "dE/E = "), nullptr) << text;
    EXPECT_EQ(status_text(), "Center of Mass reference frame");  // the scene's frame, as described
    EXPECT_GT(readout_steps_per_second, 0.0);
    double runner = 0.0;
    ASSERT_TRUE(runner_error_at(scene, readout_time, &runner));
    EXPECT_NEAR(readout_energy_error, runner, 1e-9 * std::max(1.0, std::fabs(runner)));
    EXPECT_NE(readout_energy_error, 0.0);
}

}  // namespace
