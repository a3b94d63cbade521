// The Bodies window as a person uses it: a scene typed into the table,
// refused values, Zero Momentum, Delete and Edit > Undo, the round of Save
// As and Open, the table after Run; and Save State As of the 3D view, whose
// file carries the run on.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "windows/bodies_window.h"
#include "placement/body_edits.h"
#include "windows/interactive_window.h"
#include "windows/view3d_state.h"
#include "windows/view3d_window.h"
#include "scenefile/scene_file.h"
#include "app_state/scene_changes.h"
#include "shell/shell.h"
#include "sim/bodies.h"
#include "sim/frames.h"
#include "sim/simulation.h"
#include "tests/gui/shell_fixture.h"
#include "tests/interact/view_driver.h"

namespace {

struct Position {
    double x, y;
};

// The last frame stelo-batch prints for the file: every body's position.
std::vector<Position> batch_positions(const std::string& path, double until, const char* frame = "fixed") {
    char command[1024];
    std::snprintf(command, sizeof command, "%s %s --until %.17g --frame %s", STELO_BATCH_PATH, path.c_str(), until,
                  frame);
    if (until > 0.0) std::snprintf(command + std::strlen(command), sizeof command - std::strlen(command), " --every %.17g", until);
    FILE* out = popen(command, "r");
    if (out == nullptr) return {};
    std::map<double, std::vector<Position>> frames;
    char line[512];
    while (std::fgets(line, sizeof line, out) != nullptr) {
        double t = 0, x = 0, y = 0;
        int i = 0;
        if (std::sscanf(line, "%lf,%d,%lf,%lf", &t, &i, &x, &y) == 4) frames[t].push_back({x, y});
    }
    if (pclose(out) != 0 || frames.empty()) return {};
    return frames.rbegin()->second;
}

std::string cell_text(int row, int column) {
    char text[128] = {};
    table_get_cell_text(bodies_table, row, column, text, sizeof text);
    return text;
}

std::string note() {
    char text[256] = {};
    get_dialog_item_text(bodies_page, BODIES_NOTE, text, sizeof text);
    return text;
}

bool within_an_ulp(double a, double b) {
    return a == b || b == std::nextafter(a, HUGE_VAL) || b == std::nextafter(a, -HUGE_VAL);
}

bool overlap(Window a, Window b) {
    int ax = 0, ay = 0, aw = 0, ah = 0, bx = 0, by = 0, bw = 0, bh = 0;
    get_frame_rect(a, &ax, &ay, &aw, &ah);
    get_frame_rect(b, &bx, &by, &bw, &bh);
    return ax < bx + bw && bx < ax + aw && ay < by + bh && by < ay + ah;
}

int chosen_popup_item = 0;
std::string save_state_text;
int choose_from_popup(std::uintptr_t popup, Window) {
    char text[64] = {};
    get_menu_item_text(popup, CMD_SAVE_STATE, text, sizeof text);
    save_state_text = text;
    return chosen_popup_item;
}

class BodiesWindow : public ShellTest {
protected:
    void TearDown() override {
        set_popup_menu_hook(nullptr);
        ShellTest::TearDown();
    }
    void type(int row, int column, const char* text) { table_type_cell(bodies_table, row, column, text); }
    void button(int id) { click_dialog_button(bodies_page, id); }
};

// Rows of typed text: colour, glowing, then mass .. vy.
struct TypedBody {
    int colour, glowing;
    const char* text[6];
};
const TypedBody typed[3] = {
    {BLUE, 0, {"1", "0.2", "300000", "0", "0", "5217600.5"}},
    {GREEN, 0, {"3.3333333333333335", "0.3", "-123456.78901234567", "0.1", "-3000000.25", "1e-300"}},
    {YELLOW, 1, {"1000", "0.5", "0", "0", "0", "-1.5"}},
};

TEST_F(BodiesWindow, ATypedSceneSavesReopensAndRunsAsTyped) {
    start();
    EXPECT_EQ(is_menu_item_enabled(main_menu, CMD_BODIES), 0);
    command(CMD_NEW);
    EXPECT_EQ(is_menu_item_enabled(main_menu, CMD_BODIES), 1);
    EXPECT_EQ(is_menu_item_enabled(main_menu, CMD_ZERO_MOMENTUM), 1);
    command(CMD_BODIES);
    ASSERT_TRUE(is_window(bodies_window));
    char title[32] = {};
    get_window_text(bodies_window, title, sizeof title);
    EXPECT_STREQ(title, "Bodies");
    // Its default place is on the screen, clear of the other windows.
    ASSERT_TRUE(wait_until([] { return is_window_visible(bodies_window); }));
    for (Window other : {control_window, view3d_window, interactive_window})
        EXPECT_FALSE(overlap(bodies_window, other)) << other;

    // Three bodies added and typed, every cell left as a person leaves it.
    for (int i = 0; i < 3; ++i) button(BODIES_ADD);
    ASSERT_EQ(body_count, 3);
    ASSERT_EQ(table_row_count(bodies_table), 3);
    EXPECT_EQ(scene_changed, 1);
    for (int row = 0; row < 3; ++row) {
        table_choose_cell(bodies_table, row, COLUMN_COLOUR, typed[row].colour);
        table_choose_cell(bodies_table, row, COLUMN_GLOWING, typed[row].glowing);
        for (int column = COLUMN_MASS; column < BODY_COLUMN_COUNT; ++column)
            type(row, column, typed[row].text[column - COLUMN_MASS]);
    }
    EXPECT_EQ(glow_count, 1);
    EXPECT_EQ(body_at(1)->x, -123456.78901234567);
    EXPECT_EQ(body_at(1)->vy, 1e-300);
    EXPECT_EQ(body_at(1)->material, material_colours[GREEN]);
    EXPECT_EQ(cell_text(1, COLUMN_X), "-123456.78901234567");
    // A refused value: the reason shows and the cell keeps the old value.
    type(1, COLUMN_Y, "0.1.2");
    EXPECT_NE(note().find("not a finite number"), std::string::npos) << note();
    EXPECT_EQ(cell_text(1, COLUMN_Y), "0.1");
    EXPECT_EQ(body_at(1)->y, 0.1);

    // Zero Momentum shows in the table at once.
    command(CMD_ZERO_MOMENTUM);
    double px = 0.0, py = 0.0;
    for (int i = 0; i < 3; ++i) {
        const Body* body = body_at(i);
        px += body->mass * body->vx;
        py += body->mass * body->vy;
        EXPECT_EQ(std::strtod(cell_text(i, COLUMN_VX).c_str(), nullptr), body->vx);
    }
    EXPECT_LT(std::fabs(px) + std::fabs(py), 1e-9 * MASS_UNIT * 5217600.5);

    // Deleting the middle row and the glowing one, then Edit > Undo.
    const int rows[] = {1, 2};
    table_select_rows(bodies_table, rows, 2);
    button(BODIES_DELETE);
    EXPECT_EQ(body_count, 1);
    EXPECT_EQ(glow_count, 0);
    EXPECT_EQ(table_row_count(bodies_table), 1);
    command(CMD_UNDO);
    ASSERT_EQ(body_count, 3);
    EXPECT_EQ(glow_count, 1);
    EXPECT_EQ(cell_text(1, COLUMN_X), "-123456.78901234567");

    // Before a Run the status bar shows the world point under the pointer.
    double wx = 0.0, wy = 0.0;
    pixel_to_world(interactive_window, 40, 60, &wx, &wy);
    move_pointer_client(interactive_window, 40, 60);
    char shown[64] = {}, wanted[64] = {};
    std::snprintf(wanted, sizeof wanted, "x %.0f, y %.0f", wx, wy);
    status_bar_get_part_text(interactive_statusbar, 1, shown, sizeof shown);
    EXPECT_STREQ(shown, wanted);

    if (const char* picture = std::getenv("STELO_BODIES_SCREENSHOT")) {
        move_window(bodies_window, 0, 0, 1000, 200, 1);
        pump(500);
        EXPECT_EQ(save_window_image(bodies_window, picture), 1);
    }

    // Saved and opened again: the same bodies, in the reversed order of the file.
    std::vector<Body> built;
    for (int i = 0; i < 3; ++i) built.push_back(*body_at(i));
    const std::string path = (working_directory / "typed.slo").string();
    next_file_choice = path;
    command(CMD_SAVE_AS);
    command(CMD_CLOSE);
    EXPECT_EQ(table_row_count(bodies_table), 0);
    command(CMD_OPEN);
    ASSERT_EQ(body_count, 3);
    ASSERT_EQ(table_row_count(bodies_table), 3);
    for (int i = 0; i < 3; ++i) {
        const Body& a = built[static_cast<std::size_t>(2 - i)];
        const Body* b = body_at(i);
        EXPECT_TRUE(a.x == b->x && a.y == b->y && a.vx == b->vx && a.vy == b->vy && a.radius == b->radius) << i;
        EXPECT_TRUE(within_an_ulp(a.mass, b->mass)) << i;
        EXPECT_EQ(a.colour, b->colour);
        EXPECT_EQ(a.glowing, b->glowing);
        EXPECT_EQ(table_get_cell_value(bodies_table, i, COLUMN_COLOUR), b->colour);
    }

    // The centre of mass stays at rest in the Fixed frame of a run without
    // a display.
    const std::vector<Position> start_positions = batch_positions(path, 0.0);
    const std::vector<Position> later = batch_positions(path, 0.5);
    ASSERT_EQ(start_positions.size(), 3u);
    ASSERT_EQ(later.size(), 3u);
    double cx0 = 0, cy0 = 0, cx1 = 0, cy1 = 0, moved = 0;
    for (std::size_t i = 0; i < 3; ++i) {
        const double m = body_at(static_cast<int>(i))->mass / total_mass;
        cx0 += m * start_positions[i].x;
        cy0 += m * start_positions[i].y;
        cx1 += m * later[i].x;
        cy1 += m * later[i].y;
        moved = std::max(moved, std::hypot(later[i].x - start_positions[i].x, later[i].y - start_positions[i].y));
    }
    EXPECT_GT(moved, 1e5);  // the planets did move
    EXPECT_LT(std::hypot(cx1 - cx0, cy1 - cy0), 1e-6 * moved);

    // Once run, the table shows the initial conditions and takes no edits.
    press(CMD_RUN);
    EXPECT_EQ(table_is_read_only(bodies_table), 1);
    EXPECT_NE(note().find("read-only"), std::string::npos) << note();
    button(BODIES_ADD);
    EXPECT_EQ(body_count, 3);
    command(CMD_ZERO_MOMENTUM);
    EXPECT_EQ(shown_messages.size(), 1u);
}

TEST_F(BodiesWindow, SaveStateCarriesTheRunOnFromTheFrameShown) {
    const std::filesystem::path example = std::filesystem::path(examples_folder()) / "solar-system.slo";
    const char* wanted_time = std::getenv("STELO_SAVE_STATE_TIME");
    const double at = wanted_time != nullptr ? std::atof(wanted_time) : 0.2;
    start(example.string().c_str());
    ASSERT_TRUE(wait_until([&] { return view3d_state_time >= at; }, 600000));
    toolbar_click(view3d_toolbar, CMD_STOP);
    const double t = view3d_state_time;
    const std::string path_before = scene_path;
    const int changed_before = scene_changed;

    // Through the popup menu as a person chooses it.
    const std::string state = (working_directory / "state.slo").string();
    next_file_choice = state;
    chosen_popup_item = CMD_SAVE_STATE;
    set_popup_menu_hook(choose_from_popup);
    click_client(view3d_window, 100, 100, 1);
    ASSERT_TRUE(wait_until([&] { return file_exists("state.slo"); }));
    EXPECT_EQ(save_state_text, "Save Sta&te As...");
    EXPECT_EQ(std::string(scene_path), path_before);
    EXPECT_EQ(scene_changed, changed_before);

    // Run on from the state, the file ends where the example does later on
    // (over as long again as the state's time when that was asked for).
    const double span = wanted_time != nullptr ? at : 0.5;
    const std::vector<Position> from_state = batch_positions(state, span);
    const std::vector<Position> through = batch_positions(example.string(), t + span);
    ASSERT_EQ(from_state.size(), 6u);
    ASSERT_EQ(through.size(), 6u);
    double largest = 0.0, moved = 0.0;
    const std::vector<Position> at_state = batch_positions(state, 0.0);
    // Reading a file reverses the order of its bodies.
    for (std::size_t i = 0; i < 6; ++i) {
        const Position& same = through[5 - i];
        largest = std::max(largest, std::hypot(from_state[i].x - same.x, from_state[i].y - same.y));
        moved = std::max(moved, std::hypot(from_state[i].x - at_state[i].x, from_state[i].y - at_state[i].y));
    }
    std::printf("Save State at t = %.17g: after %g more the largest distance is %g world units (bodies moved up to %g)\n",
                t, span, largest, moved);
    EXPECT_GT(moved, 1e5);
    EXPECT_LT(largest, 1e-4 * moved);
}

}  // namespace
