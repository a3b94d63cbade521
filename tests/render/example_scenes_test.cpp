// Every example scene, opened and run through the control window as a person
// would, shows moving bodies in the 3D view. With STELO_VIEW3D_SCREENSHOT set
// to a path, the 3D view of the example named by STELO_VIEW3D_SCREENSHOT_SCENE
// (file name without extension; the first example by default) is saved there
// as a PNG.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "drawing/scene_drawing.h"
#include "drawing/view3d_frame.h"
#include "shell/shell.h"
#include "sim/frames.h"
#include "sim/simulation.h"
#include "windows/view3d_window.h"

namespace {

std::string chosen_file;
int choose_file(const FileDialogRequest&, char* path, std::size_t capacity) {
    std::snprintf(path, capacity, "%s", chosen_file.c_str());
    return 1;
}
int answer_ok(Window, const char*, const char*, unsigned buttons) { return buttons == MB_SAVEDISCARDCANCEL ? IDDISCARD : IDOK; }

std::vector<std::string> example_scenes() {
    std::vector<std::string> paths;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(STELO_EXAMPLES_DIR, error))
        if (entry.path().extension() == ".slo") paths.push_back(entry.path().string());
    std::sort(paths.begin(), paths.end());
    return paths;
}

bool pump_until(bool (*condition)(), int limit_ms) {
    for (int waited = 0; waited < limit_ms; waited += 10) {
        if (condition()) return true;
        gui_process_events(10);
    }
    return condition();
}

std::vector<unsigned char> view_pixels() {
    int width = 0, height = 0;
    gl_read_pixels(view3d_window, nullptr, 0, &width, &height);
    std::vector<unsigned char> pixels(static_cast<std::size_t>(width) * height * 4);
    if (!gl_read_pixels(view3d_window, pixels.data(), static_cast<int>(pixels.size()), &width, &height))
        pixels.clear();
    return pixels;
}

std::vector<unsigned char> first_pixels;  // the first lit picture of a run

bool lit(const std::vector<unsigned char>& pixels) {
    for (std::size_t i = 0; i < pixels.size(); i += 4)
        if (pixels[i] > 16 || pixels[i + 1] > 16 || pixels[i + 2] > 16) return true;
    return false;
}

class ExampleScenes : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override {
        directory = std::filesystem::temp_directory_path() / ("stelo-examples-" + std::to_string(getpid()));
        std::filesystem::create_directories(directory);
        previous = std::filesystem::current_path();
        std::filesystem::current_path(directory);  // the settings file goes here
        set_file_dialog_hook(choose_file);
        set_message_box_hook(answer_ok);
    }
    void TearDown() override {
        if (is_window(control_window)) {
            send_message(control_window, WM_COMMAND, CMD_EXIT, 0);
            gui_run_message_loop();
        }
        set_file_dialog_hook(nullptr);
        set_message_box_hook(nullptr);
        std::filesystem::current_path(previous);
        std::filesystem::remove_all(directory);
    }
    std::filesystem::path directory, previous;
};

TEST_P(ExampleScenes, OpenAndRunShowsMovingBodies) {
    ASSERT_NE(start_control_window(nullptr), NO_WINDOW);
    ASSERT_TRUE(pump_until([] { return page_rendering != NO_WINDOW; }, 60000));
    chosen_file = GetParam();
    send_message(control_window, WM_COMMAND, CMD_OPEN_AND_RUN, 0);
    ASSERT_TRUE(pump_until([] { return view3d_started == 1; }, 60000)) << chosen_file;
    ASSERT_TRUE(pump_until([] { return view3d_frame_count > 0; }, 60000)) << chosen_file;
    ASSERT_TRUE(pump_until([] { return lit(first_pixels = view_pixels()); }, 60000))
        << chosen_file << ": nothing is drawn";
    ASSERT_TRUE(pump_until(
        [] {
            const std::vector<unsigned char> now = view_pixels();
            return !now.empty() && now != first_pixels;
        },
        60000))
        << chosen_file << ": nothing moves";

    const char* screenshot = std::getenv("STELO_VIEW3D_SCREENSHOT");
    const char* scene = std::getenv("STELO_VIEW3D_SCREENSHOT_SCENE");
    const std::string stem = std::filesystem::path(GetParam()).stem().string();
    const bool chosen = scene != nullptr ? stem == scene : GetParam() == example_scenes().front();
    if (screenshot != nullptr && chosen) {
        gui_process_events(2000);
        EXPECT_TRUE(save_window_image(view3d_window, screenshot));
    }
}

INSTANTIATE_TEST_SUITE_P(Examples, ExampleScenes, ::testing::ValuesIn(example_scenes()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             std::string name = std::filesystem::path(info.param).stem().string();
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             return name;
                         });
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(ExampleScenes);

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    static int toolkit_argc = 1;
    static char name[] = "render_example_tests";
    static char* toolkit_argv[] = {name, nullptr};
    if (!gui_init(&toolkit_argc, toolkit_argv)) {
        std::fprintf(stderr, "no display: run it with ctest or set DISPLAY\n");
        return 1;
    }
    if (!register_window_classes()) return 1;
    const int result = RUN_ALL_TESTS();
    gui_shutdown();
    return result;
}
