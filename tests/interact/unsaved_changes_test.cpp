// A scene built by hand is not given up unasked: every action that would end
// it asks "Save changes to <name>?" while it holds unsaved changes, and
// Save, Discard and Cancel each do what they say.
#include <cmath>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "app_state/scene_changes.h"
#include "placement/placement.h"
#include "shell/shell.h"
#include "sim/bodies.h"
#include "sim/frames.h"
#include "sim/simulation.h"
#include "tests/gui/shell_fixture.h"
#include "tests/interact/view_driver.h"
#include "windows/view3d_window.h"

namespace {

constexpr int APPLY = 1, DEFAULTS = 5, STAR_LIGHTING_BOX = 1007;

// Each body's position, velocity, radius and mass, in list order.
std::vector<std::vector<double>> bodies() {
    std::vector<std::vector<double>> all;
    const Body* body = body_list;
    for (int i = 0; i < body_count; ++i, body = body->next)
        all.push_back({body->x, body->y, body->vx, body->vy, body->radius, body->mass});
    return all;
}

bool views_open() { return is_window(view3d_window) && is_window(interactive_window); }

class UnsavedChanges : public ShellTest {
protected:
    void place(double wx, double wy) {
        const int before = body_count;
        click_world(interactive_window, wx, wy);
        ASSERT_EQ(body_count, before + 1);
    }
    // Runs the action and waits until the question has been asked (a drop
    // arrives through the queue).
    void answer(const std::function<void()>& action) {
        const std::size_t asked = save_questions.size();
        action();
        wait_until([&] { return save_questions.size() > asked; }, 10000);
        ASSERT_EQ(save_questions.size(), asked + 1);
    }
    void drop(const std::string& path) {
        const char* paths[1] = {path.c_str()};
        ASSERT_EQ(drop_files(control_window, paths, 1), 1);
    }
    std::string path_of(const std::string& name) { return (working_directory / name).string(); }
};

TEST_F(UnsavedChanges, CancelLeavesTheBuiltSceneAsItWasAfterEveryEndingAction) {
    start();
    write_file("other.slo", two_body_scene());
    command(CMD_NEW);
    place(-200000, 100000);
    place(150000, -50000);
    ASSERT_EQ(scene_changed, 1);
    const auto built = bodies();

    save_answer = IDCANCEL;
    next_file_choice = path_of("other.slo");
    const std::vector<std::pair<const char*, std::function<void()>>> actions = {
        {"New", [this] { command(CMD_NEW); }},
        {"Open", [this] { command(CMD_OPEN); }},
        {"Open and Run", [this] { command(CMD_OPEN_AND_RUN); }},
        {"Close", [this] { command(CMD_CLOSE); }},
        {"Exit", [this] { command(CMD_EXIT); }},
        {"Ctrl+Q", [] { press_keys(control_window, "Ctrl+Q"); }},
        {"close box", [] { press_close_box(control_window); }},
        {"drop", [this] { drop(path_of("other.slo")); }},
    };
    for (const auto& [name, action] : actions) {
        answer(action);
        pump(20);
        EXPECT_EQ(save_questions.back(), "Save changes to stelo.slo?") << name;
        EXPECT_TRUE(is_window(control_window) && views_open()) << name;
        EXPECT_EQ(bodies(), built) << name;
        EXPECT_TRUE(file_dialogs.empty()) << name;
        EXPECT_EQ(simulation_active, 0) << name;
        EXPECT_FALSE(toolbar_is_checked(view3d_toolbar, CMD_RUN)) << name;
        EXPECT_EQ(scene_changed, 1) << name;
    }

    // After a Run, OK to the star-lighting question brings Close and so the
    // save question; Cancel to that sets the box back.
    press(CMD_RUN);
    ASSERT_TRUE(wait_until([] { return simulation_active == 1; }));
    set_dialog_check(page_rendering, STAR_LIGHTING_BOX, 0);
    answer([] { click_dialog_button(page_rendering, APPLY); });
    ASSERT_FALSE(shown_messages.empty());
    EXPECT_EQ(shown_messages.back().text, "This change will kill a running simulation");
    EXPECT_TRUE(views_open());
    EXPECT_EQ(star_lighting, 1);
    EXPECT_EQ(get_dialog_check(page_rendering, STAR_LIGHTING_BOX), 1);
    EXPECT_EQ(save_questions.size(), actions.size() + 1);
    EXPECT_FALSE(file_exists("stelo.slo"));
}

TEST_F(UnsavedChanges, WhatCountsAsAChangeAndDiscardGoesOn) {
    start();
    write_file("other.slo", two_body_scene());
    write_file("fixed.slo", scene_text("2.0.002 0.001 2 0 0 0 40005 -15 -85 70 0.1 50 0.5 10 10 1 1",
                                       {"0 0.5 0 0 0 0 8.16701e+19 16384 1", "2 0.3 300000 0 0 2000 8.16701e+15 0 0"}));
    // Apply and Defaults that change nothing, and a loaded scene that only
    // ran, leave nothing to save: New asks nothing.
    command(CMD_NEW);
    click_dialog_button(page_timestep, APPLY);
    click_dialog_button(page_viewing, DEFAULTS);
    EXPECT_EQ(scene_changed, 0);
    next_file_choice = path_of("other.slo");
    command(CMD_OPEN_AND_RUN);
    ASSERT_TRUE(wait_until([] { return simulation_active == 1; }));
    EXPECT_EQ(scene_changed, 0);
    command(CMD_NEW);
    EXPECT_TRUE(save_questions.empty());

    // Each change, then Discard to another ending action, which goes on.
    const auto check = [&](const char* change, const std::function<void()>& action,
                           const std::function<bool()>& went_on) {
        EXPECT_EQ(scene_changed, 1) << change;
        answer(action);
        EXPECT_TRUE(wait_until(went_on, 10000)) << change;
        EXPECT_EQ(scene_changed, 0) << change;
    };
    place(0, 0);
    check("placing", [this] { command(CMD_NEW); }, [] { return body_count == 0; });

    type_dialog_item_text(page_timestep, 1000, "0.005");
    click_dialog_button(page_timestep, APPLY);
    check("Apply", [this] { command(CMD_OPEN); }, [] { return body_count == 2 && time_step == 0.002; });

    toolbar_click(view3d_toolbar, CMD_INCREASE_TIMESTEP);
    check("a timestep button", [this] { command(CMD_OPEN_AND_RUN); }, [] { return simulation_active == 1; });

    toolbar_click(view3d_toolbar, FRAME_MOVING);
    check("a frame choice", [this] { drop(path_of("fixed.slo")); },
          [] { return simulation_active == 1 && frame_mode == FRAME_FIXED; });

    click_world(interactive_window, 100000, 100000);  // the Fixed frame's origin
    check("a reference choice", [this] { command(CMD_CLOSE); }, [] { return !views_open(); });

    // Undo after a Save; Discard to the close box ends the program unsaved.
    command(CMD_NEW);
    place(0, 0);
    command(CMD_SAVE);
    EXPECT_EQ(scene_changed, 0);
    const std::string saved = read_file("fixed.slo");  // New keeps the path of the last file
    press_keys(interactive_window, "Ctrl+Z");
    EXPECT_EQ(body_count, 0);
    EXPECT_EQ(scene_changed, 1);
    answer([] { press_close_box(control_window); });
    gui_run_message_loop();
    EXPECT_FALSE(is_window(control_window));
    EXPECT_EQ(read_file("fixed.slo"), saved);
    EXPECT_EQ(save_questions.back(), "Save changes to fixed.slo?");
}

TEST_F(UnsavedChanges, SaveWritesBeforeTheActionAndTheFileReopensWithTheSameBodies) {
    start();
    command(CMD_NEW);
    place(-200000, 100000);
    press(SIZE_LARGEST);
    place(150000, -50000);
    const auto built = bodies();
    save_answer = IDSAVE;

    // An unnamed scene is saved through Save As; a cancelled dialog or a
    // failed write cancels the Close.
    answer([this] { command(CMD_CLOSE); });
    ASSERT_EQ(file_dialogs.size(), 1u);
    EXPECT_EQ(file_dialogs[0].save, 1);
    EXPECT_TRUE(views_open());
    const std::string chosen = path_of("scenes/built.slo");
    next_file_choice = chosen;
    answer([this] { command(CMD_CLOSE); });  // the folder does not exist yet
    ASSERT_EQ(shown_messages.size(), 1u);
    EXPECT_EQ(shown_messages[0].text, "Could not create file " + chosen);
    EXPECT_TRUE(views_open());
    EXPECT_EQ(scene_changed, 1);

    // Named now, the scene is saved without a dialog, and Close goes on.
    std::filesystem::create_directory(working_directory / "scenes");
    answer([this] { command(CMD_CLOSE); });
    EXPECT_EQ(save_questions.back(), "Save changes to built.slo?");
    EXPECT_EQ(file_dialogs.size(), 2u);
    EXPECT_FALSE(views_open());

    command(CMD_OPEN);
    ASSERT_EQ(body_count, 2);
    const auto read = bodies();
    for (int i = 0; i < 2; ++i) {  // the reader reverses the list
        for (int k = 0; k < 5; ++k) EXPECT_EQ(read[i][k], built[1 - i][k]) << i << k;
        EXPECT_LE(std::fabs(read[i][5] - built[1 - i][5]), std::nextafter(built[1 - i][5], HUGE_VAL) - built[1 - i][5]);
    }
    EXPECT_EQ(scene_changed, 0);
    const std::size_t asked = save_questions.size();
    press_keys(control_window, "Ctrl+Q");
    gui_run_message_loop();
    EXPECT_FALSE(is_window(control_window));
    EXPECT_EQ(save_questions.size(), asked);
}

}  // namespace
