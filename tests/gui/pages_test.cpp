// The three parameter pages driven as a person does: typing into the
// fields, pressing Apply and Defaults, answering the star-lighting question,
// and watching what a running 3D view draws.
#include <GL/gl.h>

#include <climits>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "drawing/view3d_frame.h"
#include "shell/shell.h"
#include "shell_fixture.h"
#include "sim/bodies.h"
#include "sim/frames.h"
#include "tests/support/screen_pixels.h"
#include "windows/view3d_window.h"

namespace {

constexpr int APPLY = 1, DEFAULTS = 5;

int question_answer = IDOK;
int answer_question(Window owner, const char* text, const char* caption, unsigned buttons) {
    if (buttons == MB_SAVEDISCARDCANCEL) {
        save_questions.push_back(text ? text : "");
        return save_answer;
    }
    shown_messages.push_back({owner, text ? text : "", caption ? caption : "", buttons});
    return question_answer;
}

std::string field(Window page, int id) {
    char text[64] = {};
    get_dialog_item_text(page, id, text, sizeof text);
    return text;
}

void type_and_apply(Window page, int id, const char* text) {
    type_dialog_item_text(page, id, text);
    click_dialog_button(page, APPLY);
}

// What the 3D view shows: its last drawn frame, read back from the surface.
std::vector<unsigned char> view_picture() {
    int width = 0, height = 0;
    gl_read_pixels(view3d_window, nullptr, 0, &width, &height);
    std::vector<unsigned char> rgba(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
    if (rgba.empty() || !gl_read_pixels(view3d_window, rgba.data(), static_cast<int>(rgba.size()), &width, &height))
        return {};
    return rgba;
}

int lit_pixels(const std::vector<unsigned char>& rgba) {
    int count = 0;
    for (std::size_t i = 0; i + 3 < rgba.size(); i += 4) count += rgba[i] + rgba[i + 1] + rgba[i + 2] > 60;
    return count;
}

// Two glowing bodies passing each other fast enough to move on the screen
// from frame to frame; with the scene's time step of 0 every frame shows
// the same picture, so a change of the picture is the pages' doing.
std::string still_scene(int star_lighting_flag) {
    return scene_text("2.0.002 0 2 1 0 0 40005 -15 -85 70 0.1 50 0.6 10 10 1 " + std::to_string(star_lighting_flag),
                      {"6 0.5 -150000 0 0 1e+06 8.16701e+19 16384 1", "2 0.4 150000 0 0 -1e+06 8.16701e+19 16385 1"});
}

class PagesTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        question_answer = IDOK;
        set_message_box_hook(answer_question);
    }

    // Opens a scene file of the working directory and runs it.
    void open_and_run(const std::string& name) {
        next_file_choice = (working_directory / name).string();
        command(CMD_OPEN_AND_RUN);
        ASSERT_TRUE(wait_until([] { return view3d_frames_drawn > 0 && simulation_active == 1; }));
    }

    // Waits until the 3D view has drawn three more frames (past the one a
    // running simulation publishes ahead) and returns the last.
    std::vector<unsigned char> next_picture() {
        const long long seen = view3d_frames_drawn;
        EXPECT_TRUE(wait_until([seen] { return view3d_frames_drawn >= seen + 3; })) << "the 3D view stopped drawing";
        return view_picture();
    }
};

// Which window got a rendering change, in order of arrival.
std::vector<Window> rendering_changes;
LRESULT record_rendering_change(Window window, unsigned message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_RENDERING_CHANGED) rendering_changes.push_back(window);
    return default_window_proc(window, message, wparam, lparam);
}

}  // namespace

// Apply and Defaults on the rendering page tell the 3D view first, then the
// interactive view: two recording windows stand in for the views.
TEST_F(PagesTest, RenderingChangeReachesThe3DViewBeforeTheInteractiveView) {
    start();
    ASSERT_TRUE(register_window_class({"RenderingChangeRecorder", record_rendering_change, 0, nullptr}));
    const Window first = create_window("RenderingChangeRecorder", "3D", 0, 0, 0, 10, 10, NO_WINDOW, 0);
    const Window second = create_window("RenderingChangeRecorder", "interactive", 0, 0, 0, 10, 10, NO_WINDOW, 0);
    const Window views[2] = {view3d_window, interactive_window};
    view3d_window = first;
    interactive_window = second;
    click_dialog_button(page_rendering, APPLY);
    click_dialog_button(page_rendering, DEFAULTS);
    view3d_window = views[0];
    interactive_window = views[1];
    destroy_window(first);
    destroy_window(second);
    EXPECT_EQ(rendering_changes, (std::vector<Window>{first, second, first, second}));
}

TEST_F(PagesTest, ApplyTakesTypedTextAsTheConversionsDo) {
    start();
    const Window step = page_timestep;
    type_and_apply(step, 1000, "abc");
    EXPECT_EQ(time_step, 0.0);
    EXPECT_EQ(field(step, 1000), "0");  // Apply shows the value held, not the text typed
    type_and_apply(step, 1000, " 2.5e-4xyz");
    EXPECT_EQ(time_step, 0.00025);
    type_and_apply(step, 1000, "");
    EXPECT_EQ(time_step, 0.00025);
    EXPECT_EQ(field(step, 1000), "0.00025");  // an emptied field shows the kept value
    // Only the first 19 characters count.
    type_and_apply(step, 1000, "0.00012345678901234567");
    EXPECT_EQ(time_step, std::strtod("0.00012345678901234", nullptr));
    // Numbers that are not finite are refused and the value in force shown.
    for (const char* absurd : {"1e999", "nan", "-inf"}) {
        type_and_apply(step, 1000, absurd);
        EXPECT_EQ(time_step, std::strtod("0.00012345678901234", nullptr)) << absurd;
        EXPECT_EQ(field(step, 1000), "0.000123457") << absurd;
    }
    click_dialog_button(step, DEFAULTS);
    EXPECT_EQ(time_step, 0.001);
    EXPECT_EQ(field(step, 1000), "0.001");

    const Window view = page_viewing;
    type_dialog_item_text(view, 1000, "0.1");
    type_dialog_item_text(view, 1004, "1e39");  // beyond single precision
    type_dialog_item_text(view, 1003, "");
    type_dialog_item_text(view, 1001, "12abc");
    click_dialog_button(view, APPLY);
    EXPECT_EQ(camera_translate, 0.1f);
    EXPECT_EQ(camera_rotate, -85.0f);
    EXPECT_EQ(field(view, 1004), "-85");
    EXPECT_EQ(field_of_view, 70.0);
    EXPECT_EQ(far_plane, 12.0);
    EXPECT_EQ(field(view, 1000), "0.1");
    EXPECT_EQ(field(view, 1003), "70");
    EXPECT_EQ(field(view, 1001), "12");

    const Window render = page_rendering;
    type_dialog_item_text(render, 1000, "-2");
    type_dialog_item_text(render, 1004, "3.9");
    type_dialog_item_text(render, 1003, "99999999999999999");
    click_dialog_button(render, 1006);  // smooth shading off
    click_dialog_button(render, APPLY);
    EXPECT_EQ(max_radius, -2.0);
    EXPECT_EQ(sphere_slices, 3);
    EXPECT_EQ(sphere_stacks, INT_MAX);
    EXPECT_EQ(smooth_shading, 0);
    EXPECT_EQ(field(render, 1004), "3");
    EXPECT_EQ(field(render, 1003), "2147483647");
    type_and_apply(render, 1004, "-4");
    EXPECT_EQ(sphere_slices, -4);

    click_dialog_button(view, DEFAULTS);
    click_dialog_button(render, DEFAULTS);
    EXPECT_EQ(camera_translate, -15.0f);
    EXPECT_EQ(far_plane, 50.0);
    EXPECT_EQ(field(view, 1001), "50");
    EXPECT_EQ(max_radius, 0.5);
    EXPECT_EQ(sphere_slices, 10);
    EXPECT_EQ(field(render, 1003), "10");
    EXPECT_EQ(smooth_shading, 1);
    EXPECT_EQ(get_dialog_check(render, 1006), 1);
    EXPECT_TRUE(shown_messages.empty());
}

TEST_F(PagesTest, StarLightingAsksOnlyOnceTheSceneHasRun) {
    start();
    const Window render = page_rendering;
    // No scene, then a new scene not yet run: the flag changes without a
    // question and the hand-built scene stays open.
    click_dialog_button(render, 1007);
    click_dialog_button(render, APPLY);
    EXPECT_EQ(star_lighting, 0);
    command(CMD_NEW);
    const Window unrun = view3d_window;
    click_dialog_button(render, 1007);
    click_dialog_button(render, APPLY);
    EXPECT_EQ(star_lighting, 1);
    EXPECT_TRUE(is_window(unrun));
    EXPECT_TRUE(shown_messages.empty());

    write_file("still.slo", still_scene(1));
    open_and_run("still.slo");
    // Cancel: the box and the flag stay, the other fields are stored, the
    // run goes on.
    question_answer = IDCANCEL;
    type_dialog_item_text(render, 1004, "7");
    click_dialog_button(render, 1006);  // smooth shading off: the 3D view turns flat
    click_dialog_button(render, 1007);
    click_dialog_button(render, APPLY);
    ASSERT_EQ(shown_messages.size(), 1u);
    EXPECT_EQ(shown_messages[0].text, "This change will kill a running simulation");
    EXPECT_EQ(shown_messages[0].caption, "Confirm");
    EXPECT_EQ(shown_messages[0].buttons, MB_OKCANCEL);
    EXPECT_EQ(shown_messages[0].owner, control_window);
    EXPECT_EQ(get_dialog_check(render, 1007), 1);
    EXPECT_EQ(star_lighting, 1);
    EXPECT_EQ(sphere_slices, 7);
    gl_make_current(view3d_window);
    GLint shading = 0;
    glGetIntegerv(GL_SHADE_MODEL, &shading);
    EXPECT_EQ(shading, GL_FLAT);
    EXPECT_FALSE(next_picture().empty());

    // OK: the scene is closed, then the flag stored.
    question_answer = IDOK;
    click_dialog_button(render, 1007);
    click_dialog_button(render, APPLY);
    EXPECT_EQ(shown_messages.size(), 2u);
    EXPECT_FALSE(is_window(view3d_window));
    EXPECT_FALSE(is_window(interactive_window));
    EXPECT_EQ(star_lighting, 0);
    EXPECT_EQ(get_dialog_check(render, 1007), 0);

    // Defaults turns the flag on by the same path.
    write_file("unlit.slo", still_scene(0));
    open_and_run("unlit.slo");
    EXPECT_EQ(get_dialog_check(render, 1007), 0);
    question_answer = IDCANCEL;
    click_dialog_button(render, DEFAULTS);
    EXPECT_EQ(shown_messages.size(), 3u);
    EXPECT_EQ(star_lighting, 0);
    EXPECT_EQ(get_dialog_check(render, 1007), 0);
    EXPECT_EQ(max_radius, 0.5);
    EXPECT_TRUE(is_window(view3d_window));
    question_answer = IDOK;
    click_dialog_button(render, DEFAULTS);
    EXPECT_EQ(star_lighting, 1);
    EXPECT_FALSE(is_window(view3d_window));
}

TEST_F(PagesTest, LoadFillsThePagesDefaultsWritesNoFileAndRefusedValuesNeverReachAFile) {
    start();
    write_file("two.slo", two_body_scene());
    const std::string original = read_file("two.slo");
    next_file_choice = (working_directory / "two.slo").string();
    command(CMD_OPEN);
    EXPECT_EQ(field(page_timestep, 1000), "0.002");
    EXPECT_EQ(field(page_viewing, 1003), "60");
    EXPECT_EQ(field(page_viewing, 1002), "0.2");
    EXPECT_EQ(field(page_rendering, 1000), "0.7");
    EXPECT_EQ(field(page_rendering, 1003), "14");
    EXPECT_EQ(get_dialog_check(page_rendering, 1006), 0);

    for (Window page : {page_timestep, page_viewing, page_rendering}) click_dialog_button(page, DEFAULTS);
    EXPECT_EQ(field(page_viewing, 1003), "70");
    EXPECT_EQ(read_file("two.slo"), original);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(working_directory), {}), 1);

    type_and_apply(page_timestep, 1000, "1e999");
    type_dialog_item_text(page_viewing, 1000, "nan");
    type_dialog_item_text(page_viewing, 1003, "inf");
    click_dialog_button(page_viewing, APPLY);
    type_and_apply(page_rendering, 1000, "-1e400");
    command(CMD_SAVE);
    const std::string saved = read_file("two.slo");
    EXPECT_EQ(saved.rfind("2.0.002 0.001 2 ", 0), 0u) << saved;
    EXPECT_NE(saved.find(" 40006 -15 -85 70 0.1 50 0.5 10 10 1 1\n"), std::string::npos) << saved;
    command(CMD_OPEN);
    EXPECT_TRUE(shown_messages.empty());
    EXPECT_EQ(body_count, 2);
    EXPECT_EQ(field(page_viewing, 1000), "-15");
}

TEST_F(PagesTest, RunningViewFollowsThePagesAndComesBackAfterAbsurdValues) {
    start();
    write_file("still.slo", still_scene(1));
    open_and_run("still.slo");
    // Apart from the other windows, which all open at the same place when
    // no window manager places them.
    move_window(view3d_window, 560, 420, 525, 370, 1);
    const std::vector<unsigned char> still = next_picture();
    ASSERT_GT(lit_pixels(still), 0);
    EXPECT_EQ(next_picture(), still);

    // A viewing change shows on the screen at the next frames.
    const ScreenPixels shown = read_screen_when(view3d_window, [](const ScreenPixels& p) { return !p.empty(); });
    ASSERT_GT(shown.count_light(0, 0, shown.width, shown.height), 0);
    const Window view = page_viewing;
    type_and_apply(view, 1000, "-30");
    const auto changed = [&shown](const ScreenPixels& p) { return !p.empty() && p.rgba != shown.rgba; };
    EXPECT_TRUE(changed(read_screen_when(view3d_window, changed)));
    const std::vector<unsigned char> farther = next_picture();
    EXPECT_NE(farther, still);
    EXPECT_GT(lit_pixels(farther), 0);
    type_and_apply(view, 1000, "-15");
    EXPECT_EQ(next_picture(), still);

    // Unusable viewing values keep the last projection; a sound value
    // afterwards gives the picture back.
    struct Absurd {
        int id;
        const char* text;
        const char* sound;
    };
    const Absurd viewing[] = {{1002, "0", "0.1"},   {1002, "-1", "0.1"},  {1001, "0.05", "50"},
                              {1003, "0", "70"},    {1003, "180", "70"},  {1003, "1e999", "70"},
                              {1000, "1e39", "-15"}, {1004, "nan", "-85"}};
    for (const Absurd& a : viewing) {
        type_and_apply(view, a.id, a.text);
        EXPECT_FALSE(next_picture().empty()) << a.text;
        type_and_apply(view, a.id, a.sound);
        EXPECT_EQ(next_picture(), still) << a.id << " " << a.text;
    }

    // Sphere counts out of reason are drawn within bounds, never stalling.
    const Window render = page_rendering;
    const Absurd rendering[] = {{1004, "0", "10"}, {1003, "-4", "10"}, {1004, "100000", "10"},
                                {1003, "100000", "10"}, {1000, "0", "0.6"}, {1000, "-3", "0.6"}};
    for (const Absurd& a : rendering) {
        type_and_apply(render, a.id, a.text);
        EXPECT_GT(lit_pixels(next_picture()), 0) << a.text;
        type_and_apply(render, a.id, a.sound);
        EXPECT_EQ(next_picture(), still) << a.id << " " << a.text;
    }

    // The time step: a new value is used while the run goes on, and Save
    // writes it.
    const Window step = page_timestep;
    type_and_apply(step, 1000, "0.002");
    std::vector<unsigned char> moving = next_picture();
    EXPECT_NE(next_picture(), moving);
    command(CMD_SAVE);
    EXPECT_EQ(read_file("still.slo").rfind("2.0.002 0.002 2 ", 0), 0u) << read_file("still.slo");
    type_and_apply(step, 1000, "0");  // stands still
    moving = next_picture();
    EXPECT_EQ(next_picture(), moving);
    type_and_apply(step, 1000, "0.002");
    moving = next_picture();
    EXPECT_NE(next_picture(), moving);
    // Backwards the frames show the motion's prediction to earlier times;
    // the view keeps drawing finite positions, and again after a sound step.
    for (const char* value : {"-0.002", "0.002"}) {
        type_and_apply(step, 1000, value);
        next_picture();
        EXPECT_TRUE(std::isfinite(view3d_frame_x[0]) && std::isfinite(view3d_frame_y[1])) << value;
    }

    // The toolbar's time-step buttons write into the page's field.
    toolbar_click(view3d_toolbar, CMD_INCREASE_TIMESTEP);
    EXPECT_EQ(field(step, 1000), "0.003");
    click_dialog_button(step, APPLY);
    EXPECT_EQ(read_time_step(), 0.003);
    EXPECT_TRUE(shown_messages.empty());
}

// Each page shown on the screen; saves the pictures used in docs/ (into the
// directory in STELO_SCREENSHOT_DIR when set, otherwise the test's own).
TEST_F(PagesTest, EachPageShowsOnTheScreen) {
    start();
    pump(200);
    const char* wanted = std::getenv("STELO_SCREENSHOT_DIR");
    const std::filesystem::path folder = wanted && wanted[0] ? std::filesystem::path(wanted) : working_directory;
    const char* names[3] = {"stelo", "viewing", "rendering"};
    std::vector<std::vector<unsigned char>> seen;
    for (int tab = 0; tab < 3; ++tab) {
        tab_select(tab_control, tab);
        const ScreenPixels shown = read_screen_when(control_window, [&seen](const ScreenPixels& p) {
            if (p.empty()) return false;
            for (const auto& earlier : seen)
                if (earlier == p.rgba) return false;
            return true;
        });
        ASSERT_FALSE(shown.empty());
        for (const auto& earlier : seen) EXPECT_NE(earlier, shown.rgba) << "tab " << tab;
        // A light page with dark text on it.
        EXPECT_GT(shown.count_light(0, 0, shown.width, shown.height), shown.width * shown.height / 2) << tab;
        EXPECT_GT(shown.count_dark(0, 0, shown.width, shown.height), 200) << tab;
        seen.push_back(shown.rgba);
        const std::string path = (folder / ("page-" + std::string(names[tab]) + ".png")).string();
        ASSERT_EQ(save_window_image(control_window, path.c_str()), 1);
    }
}
