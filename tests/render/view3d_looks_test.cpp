// Looking around the 3D view: the wheel, a left drag and Fit move the camera
// (and the Viewing page with it), and the energy plot window draws the
// readout's series and writes it as CSV, agreeing with the headless runner.
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "app_state/energy_series.h"
#include "app_state/scene_changes.h"
#include "drawing/plot_drawing.h"
#include "drawing/view3d_frame.h"
#include "scenefile/scene_file.h"
#include "shell/shell.h"
#include "tests/render/render_test_support.h"
#include "tests/support/screen_pixels.h"
#include "windows/plot_window.h"
#include "windows/view3d_camera.h"
#include "windows/view3d_window.h"

namespace {

constexpr int TRANSLATE_FIELD = 1000, FAR_FIELD = 1001, NEAR_FIELD = 1002, ROTATE_FIELD = 1004;

LRESULT page_proc(Window, unsigned, WPARAM, LPARAM) { return 0; }

std::string csv_path;
int save_as_csv(const FileDialogRequest&, char* path, std::size_t capacity) {
    std::snprintf(path, capacity, "%s", csv_path.c_str());
    return 1;
}

class View3dLooks : public View3dTest {
protected:
    void TearDown() override {
        set_file_dialog_hook(nullptr);
        destroy_window(plot_window);
        if (page_host != NO_WINDOW) destroy_window(page_host);
        page_host = page_viewing = NO_WINDOW;
        View3dTest::TearDown();
    }
    void make_viewing_page() {
        static const DialogControl controls[] = {{TRANSLATE_FIELD, CONTROL_EDIT, "", 10, 10, 80, 12},
                                                 {FAR_FIELD, CONTROL_EDIT, "", 10, 25, 80, 12},
                                                 {NEAR_FIELD, CONTROL_EDIT, "", 10, 40, 80, 12},
                                                 {ROTATE_FIELD, CONTROL_EDIT, "", 10, 55, 80, 12}};
        static const DialogTemplate page{105, nullptr, 0, 0, 150, 80, "Sans", 8, controls, 4};
        register_window_class(WindowClass{"render_test_page_host", page_proc, 0, nullptr});
        page_host = create_window("render_test_page_host", "host", WS_OVERLAPPED_WINDOW, 700, 500, 300, 160,
                                  NO_WINDOW, 0);
        page_viewing = create_dialog_page(page, page_host, page_proc);
    }
    double field(int id) {
        char text[64] = {};
        get_dialog_item_text(page_viewing, id, text, sizeof text);
        return std::atof(text);
    }
    // Lit pixels of the screen's picture of the view between its bars.
    int lit_on_screen(const ScreenPixels& s) {
        int lit = 0;
        for (int y = 40; y < s.height - 40; ++y)
            for (int x = 0; x < s.width; ++x) lit += s.brightness(x, y) > 60;
        return lit;
    }

    Window page_host = NO_WINDOW;
};

TEST_F(View3dLooks, WheelDragAndFitMoveTheCameraOnScreen) {
    make_viewing_page();
    // Three bodies drifted far to the right of the default camera's view.
    add_body_at(30.0, 0.0, 0.8, WHITE, 1e-6);
    add_body_at(36.0, 3.0, 0.8, WHITE, 1e-6);
    add_body_at(40.0, -4.0, 0.8, WHITE, 1e-6);
    open_view();
    ASSERT_TRUE(run_frames(2));
    command(CMD_STOP);
    scene_changed = 0;
    EXPECT_EQ(lit_on_screen(read_screen(view)), 0);

    // Fit (Home): every body on screen, tilt kept, the Viewing page told.
    press_keys(view, "Home");
    EXPECT_EQ(camera_rotate, -85.0f);
    EXPECT_NEAR(field(TRANSLATE_FIELD), camera_translate, 1e-4 * std::fabs(camera_translate));
    EXPECT_EQ(scene_changed, 1);
    const ScreenPixels fitted = read_screen_when(view, [&](const ScreenPixels& s) { return lit_on_screen(s) > 30; });
    for (int i = 0; i < 3; ++i) {
        int column = 0, row = 0;
        ASSERT_TRUE(project(view3d_frame_x[i], view3d_frame_y[i], 0.0, &column, &row));
        EXPECT_GT(column, 0);
        EXPECT_LT(column, fitted.width);
        EXPECT_GT(fitted.brightness(column, row), 60) << i;
    }
    const int fitted_lit = lit_on_screen(fitted);

    // The wheel away from the scene: 1.1 times as far per notch, smaller on screen.
    const float fit_distance = camera_translate;
    wheel_client(view, 320, 200, -3);
    EXPECT_NEAR(camera_translate, fit_distance * std::pow(1.1, 3), 1e-3);
    EXPECT_NEAR(field(TRANSLATE_FIELD), camera_translate, 1e-3);
    EXPECT_LT(lit_on_screen(read_screen_when(view, [&](const ScreenPixels& s) { return lit_on_screen(s) < fitted_lit; })),
              fitted_lit);

    // A left drag down 40 pixels tilts by 20 degrees.
    drag_client(view, 320, 150, 320, 190, 0);
    EXPECT_FLOAT_EQ(camera_rotate, -65.0f);
    EXPECT_EQ(field(ROTATE_FIELD), -65.0);

    // Far out, the far plane goes with the camera (near keeps the ratio);
    // at the ends the distance stops at its limits.
    wheel_client(view, 320, 200, -80);
    EXPECT_GT(far_plane, std::fabs(camera_translate));
    EXPECT_LE(far_plane / near_plane, CLIPPING_RATIO_LIMIT * (1 + 1e-12));
    EXPECT_NEAR(field(FAR_FIELD), far_plane, 1e-5 * far_plane);
    wheel_client(view, 320, 200, -200);
    EXPECT_EQ(camera_translate, static_cast<float>(-CAMERA_FARTHEST));
    for (int turn = 0; turn < 4; ++turn) wheel_client(view, 320, 200, 100);
    EXPECT_EQ(camera_translate, static_cast<float>(-CAMERA_NEAREST));
    drag_client(view, 320, 0, 320, 2000, 0);
    EXPECT_EQ(camera_rotate, 180.0f);
}

// The runner's energy and error per frame time up to t.
std::map<double, std::pair<double, double>> runner_energy(const std::string& scene, double t) {
    char command[1024];
    std::snprintf(command, sizeof command, "%s %s --until %.17g --energy", STELO_BATCH_PATH, scene.c_str(), t);
    std::map<double, std::pair<double, double>> rows;
    FILE* pipe = popen(command, "r");
    if (pipe == nullptr) return rows;
    char line[256];
    double time = 0, energy = 0, error = 0;
    while (std::fgets(line, sizeof line, pipe) != nullptr)
        if (std::sscanf(line, "%lf,energy,%lf,%lf", &time, &energy, &error) == 3) rows[time] = {energy, error};
    pclose(pipe);
    return rows;
}

TEST_F(View3dLooks, EnergyPlotShowsTheGrowingErrorAndSavesItLikeTheRunner) {
    const std::string scene = std::string(STELO_EXAMPLES_DIR) + "/binary-with-planet.slo";
    std::snprintf(scene_path, sizeof scene_path, "%s", scene.c_str());
    ASSERT_TRUE(read_scene());
    open_view();
    open_energy_plot(40, 500, PLOT_WIDTH, PLOT_HEIGHT);
    ASSERT_TRUE(is_window(plot_window));
    char title[64] = {};
    get_window_text(plot_window, title, sizeof title);
    EXPECT_STREQ(title, "Stelo3d - Energy");

    // The curve goes on across Stop and Run.
    ASSERT_TRUE(run_frames(1));
    ASSERT_TRUE(pump_until([] { return energy_series_copy().size() >= 4; }));
    command(CMD_STOP);
    const double first_time = energy_series_copy().front().time;
    ASSERT_TRUE(run_frames(1));
    ASSERT_TRUE(pump_until([] { return energy_series_copy().size() >= 8; }));
    command(CMD_STOP);
    const std::vector<EnergyPoint> series = energy_series_copy();
    EXPECT_EQ(series.front().time, first_time);

    // On screen: the curve (in the colour of a lost energy: this scene's
    // error grows steadily below its start) stands higher at its right end
    // than a quarter of the way along.
    auto topmost_curve_rows = [](const ScreenPixels& s) {
        std::vector<int> top(static_cast<std::size_t>(s.width), -1);
        for (int x = 0; x < s.width; ++x)
            for (int y = 30; y < s.height - 44 && top[x] < 0; ++y) {
                const unsigned c = s.rgb(x, y);
                if ((c >> 16) <= 110 && ((c >> 8) & 0xFF) >= 120 && (c & 0xFF) >= 200) top[x] = y;
            }
        return top;
    };
    auto curve_span = [&](const ScreenPixels& s, int* quarter_row, int* right_row) {
        const std::vector<int> top = topmost_curve_rows(s);
        int left = -1, right = -1;
        for (int x = 0; x < s.width; ++x)
            if (top[x] >= 0) (left < 0 ? left : right) = x, right = x;
        if (left < 0) return 0;
        int quarter = left + (right - left) / 4;
        while (top[quarter] < 0) ++quarter;
        *quarter_row = top[quarter];
        *right_row = top[right];
        return right - left;
    };
    int quarter_row = 0, right_row = 0;
    const ScreenPixels plot = read_screen_when(energy_plot_area, [&](const ScreenPixels& s) {
        return curve_span(s, &quarter_row, &right_row) > s.width / 2;
    });
    ASSERT_GT(curve_span(plot, &quarter_row, &right_row), plot.width / 2);
    EXPECT_LT(right_row + 5, quarter_row);

    // Save Readout As...: the series as CSV, as the runner computes it.
    csv_path = std::string(::testing::TempDir()) + "readout-" + std::to_string(getpid()) + ".csv";
    set_file_dialog_hook(save_as_csv);
    send_message(plot_window, WM_COMMAND, CMD_SAVE_READOUT, 0);
    std::ifstream csv(csv_path);
    std::string line;
    ASSERT_TRUE(std::getline(csv, line));
    EXPECT_EQ(line, "time,energy,relative error,momentum x,momentum y");
    const auto runner = runner_energy(scene, series.back().time);
    int rows = 0;
    while (std::getline(csv, line)) {
        double t = 0, energy = 0, error = 0, px = 0, py = 0;
        ASSERT_EQ(std::sscanf(line.c_str(), "%lf,%lf,%lf,%lf,%lf", &t, &energy, &error, &px, &py), 5) << line;
        const auto found = runner.find(t);
        ASSERT_NE(found, runner.end()) << t;
        EXPECT_NEAR(energy, found->second.first, 1e-9 * std::fabs(found->second.first));
        EXPECT_NEAR(error, found->second.second, 1e-9 * std::fabs(found->second.second));
        EXPECT_TRUE(std::isfinite(px) && std::isfinite(py));
        ++rows;
    }
    EXPECT_EQ(rows, static_cast<int>(series.size()));
    std::remove(csv_path.c_str());

    // The picture of the README, after a longer run (to the path in
    // STELO_PLOT_SCREENSHOT).
    if (const char* picture = std::getenv("STELO_PLOT_SCREENSHOT")) {
        ASSERT_TRUE(run_frames(1));
        ASSERT_TRUE(pump_until([] { return energy_series_copy().size() >= 60; }));
        command(CMD_STOP);
        gui_process_events(300);
        EXPECT_EQ(save_window_image(plot_window, picture), 1);
    }

    // A new scene starts afresh.
    close_view();
    open_view();
    EXPECT_TRUE(energy_series_copy().empty());
}

}  // namespace
