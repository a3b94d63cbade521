// A scene built with the mouse alone, as a person would: what the screen
// shows while building and running it, and the whole round of Run, Stop,
// Save As, Close, Open and Run, and a run of the saved file without a
// display.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "drawing/scene_drawing.h"
#include "drawing/view3d_frame.h"
#include "placement/placement.h"
#include "shell/shell.h"
#include "sim/bodies.h"
#include "sim/frames.h"
#include "sim/simulation.h"
#include "tests/gui/shell_fixture.h"
#include "tests/interact/view_driver.h"
#include "tests/support/screen_pixels.h"
#include "windows/interactive_window.h"
#include "windows/view3d_window.h"

namespace {

struct Snapshot {
    double x, y, vx, vy, mass, radius;
    int colour, glowing;
};

std::vector<Snapshot> snapshot() {
    std::vector<Snapshot> bodies;
    const Body* body = body_list;
    for (int i = 0; i < body_count; ++i, body = body->next)
        bodies.push_back({body->x, body->y, body->vx, body->vy, body->mass, body->radius, body->colour, body->glowing});
    return bodies;
}

// A saved mass comes back through the reader's conversion to user units,
// which may move it by an ulp; every other value comes back exactly.
bool within_an_ulp(double a, double b) {
    return a == b || b == std::nextafter(a, HUGE_VAL) || b == std::nextafter(a, -HUGE_VAL);
}

// The last energy error that stelo-batch prints for the file.
double batch_energy_error(const std::string& path) {
    const std::string command = std::string(STELO_BATCH_PATH) + " " + path + " --until 0.2 --every 0.1 --energy";
    FILE* out = popen(command.c_str(), "r");
    if (out == nullptr) return 1e9;
    char line[512];
    double error = 1e9;
    while (std::fgets(line, sizeof line, out) != nullptr) {
        double t = 0, energy = 0, de = 0;
        char name[16] = {};
        if (std::sscanf(line, "%lf,%15[a-z],%lf", &t, name, &energy) == 3 && std::string(name) == "energy") {
            const char* last = std::strrchr(line, ',');
            if (last != nullptr && std::sscanf(last + 1, "%lf", &de) == 1) error = de;
        }
    }
    return pclose(out) == 0 ? error : 1e9;
}

class BuildingAScene : public ShellTest {
protected:
    // Apart from the other windows, which open at the screen's corner
    // without a window manager.
    void place_view_apart() {
        move_window(interactive_window, 620, 420, 525, 370, 1);
        wait_until([] {
            int x = 0, y = 0;
            get_window_rect(interactive_window, &x, &y, nullptr, nullptr);
            return x == 620 && y == 420;
        });
    }
};

TEST_F(BuildingAScene, TheScreenShowsTheBarsThePlacedBodyAndTheRun) {
    start();
    command(CMD_NEW);
    place_view_apart();
    const auto light_bar_with_text = [](const ScreenPixels& bar) {
        return bar.count_light(0, 0, bar.width, bar.height) > bar.width * bar.height * 3 / 5 &&
               bar.count_dark(0, 2, 200, bar.height - 4) > 20;
    };
    const ScreenPixels status = read_screen_when(interactive_statusbar, light_bar_with_text);
    EXPECT_TRUE(light_bar_with_text(status));

    press(SIZE_LARGEST);
    press(COLOUR_GREEN);
    int px = 0, py = 0;
    world_to_pixel(interactive_window, 150000.0, -100000.0, &px, &py);
    click_client(interactive_window, px, py, 0);
    ASSERT_EQ(body_count, 1);
    const auto green_at_click = [&](const ScreenPixels& p) {
        const unsigned rgb = p.rgb(px, py);
        return ((rgb >> 8) & 0xFF) > 100 && (rgb >> 16) < 60 && (rgb & 0xFF) < 60;
    };
    const ScreenPixels placed = read_screen_when(interactive_window, green_at_click);
    EXPECT_TRUE(green_at_click(placed)) << std::hex << placed.rgb(px, py);
    EXPECT_LT(placed.brightness(20, placed.height / 2), 30);

    // A second body in orbit about it; while running the picture changes.
    press(PLACE_CIRCLE);
    click_client(interactive_window, px, py, 0);
    press(SIZE_SMALL);
    click_world(interactive_window, 150000.0, 50000.0);
    press(CMD_RUN);
    const ScreenPixels first = read_screen_when(interactive_window, [](const ScreenPixels&) { return true; });
    const ScreenPixels later = read_screen_when(interactive_window, [&](const ScreenPixels& p) {
        return p.width == first.width && p.rgba != first.rgba;
    });
    EXPECT_NE(later.rgba, first.rgba);
}

TEST_F(BuildingAScene, AStarWithPlanetsAndABinaryComeBackFromTheFile) {
    start();
    command(CMD_NEW);
    place_view_apart();
    Window view = interactive_window;
    // The star.
    press(SIZE_LARGEST);
    press(COLOUR_YELLOW);
    click_world(view, 0.0, 0.0);
    // Three planets in circular orbits about it.
    press(PLACE_CIRCLES);
    click_world(view, 0.0, 0.0);
    press(SIZE_SMALL);
    press(COLOUR_BLUE);
    click_world(view, 150000.0, 0.0);
    click_world(view, 0.0, 250000.0);
    click_world(view, -350000.0, 0.0);
    // A binary pair of small bodies far out.
    press(PLACE_BINARY);
    press(SIZE_SMALLEST);
    press(COLOUR_WHITE);
    click_world(view, -450000.0, -450000.0);
    click_world(view, -390000.0, -450000.0);
    ASSERT_EQ(body_count, 6);
    EXPECT_EQ(glow_count, 1);
    // The picture of the README (to the path in STELO_INTERACTIVE_SCREENSHOT).
    if (const char* picture = std::getenv("STELO_INTERACTIVE_SCREENSHOT")) {
        pump(300);
        EXPECT_EQ(save_window_image(view, picture), 1);
    }

    // Run; in the Moving frame a click on a drawn planet makes it the reference.
    press(CMD_RUN);
    const long long passes = interactive_frames_drawn;
    ASSERT_TRUE(wait_until([&] { return interactive_frames_drawn > passes + 2; }));
    toolbar_click(view3d_toolbar, FRAME_MOVING);
    const int planet = 3;  // the first planet placed
    click_world(view, interactive_frame_x[planet] / VIEW_SCALE, interactive_frame_y[planet] / VIEW_SCALE);
    ASSERT_EQ(frame_body, planet);
    press(CMD_STOP);

    const std::vector<Snapshot> built = snapshot();
    const std::string path = (working_directory / "built.slo").string();
    next_file_choice = path;
    command(CMD_SAVE_AS);
    command(CMD_CLOSE);
    EXPECT_EQ(body_count, 0);

    command(CMD_OPEN_AND_RUN);
    ASSERT_EQ(body_count, 6);
    const std::vector<Snapshot> read = snapshot();
    // The reader puts the bodies in reverse order; the reference body is
    // still the same planet.
    for (int i = 0; i < 6; ++i) {
        const Snapshot& a = built[5 - i];
        const Snapshot& b = read[i];
        EXPECT_TRUE(a.x == b.x && a.y == b.y && a.vx == b.vx && a.vy == b.vy && a.radius == b.radius) << i;
        EXPECT_TRUE(within_an_ulp(a.mass, b.mass)) << i;
        EXPECT_EQ(a.colour, b.colour);
        EXPECT_EQ(a.glowing, b.glowing);
    }
    EXPECT_EQ(frame_body, 5 - planet);
    EXPECT_EQ(frame_mode, FRAME_MOVING);
    EXPECT_EQ(time_step, 0.001);
    EXPECT_EQ(max_radius, 0.5);
    const long long frames = view3d_frames_drawn;
    EXPECT_TRUE(wait_until([&] { return view3d_frames_drawn > frames + 5; }));

    // The saved scene runs without a display with little energy error.
    EXPECT_LT(std::fabs(batch_energy_error(path)), 1e-3);
}

}  // namespace
