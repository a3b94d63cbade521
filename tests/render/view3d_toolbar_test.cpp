// The 3D view's toolbar, status bar and popup menu, driven as a person
// would, and what they do to the simulation.
#include <GL/gl.h>

#include <string>
#include <vector>

#include "app_state/settings.h"
#include "drawing/scene_drawing.h"
#include "drawing/view3d_frame.h"
#include "shell/shell.h"
#include "sim/frames.h"
#include "sim/simulation.h"
#include "tests/render/render_test_support.h"
#include "windows/view3d_window.h"

namespace {

constexpr int TIMESTEP_FIELD = 1000;

// Stands in for the interactive view: records the commands it receives.
std::vector<int> partner_commands;
LRESULT partner_proc(Window window, unsigned message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_COMMAND) {
        partner_commands.push_back(static_cast<int>(low_word(wparam)));
        return 0;
    }
    return default_window_proc(window, message, wparam, lparam);
}

LRESULT page_proc(Window, unsigned, WPARAM, LPARAM) { return 0; }

class View3dToolbar : public View3dTest {
protected:
    void SetUp() override {
        View3dTest::SetUp();
        if (IsSkipped()) return;
        partner_commands.clear();
        register_window_class(WindowClass{"render_test_partner", partner_proc, 0, nullptr});
    }
    void TearDown() override {
        if (page_host != NO_WINDOW) destroy_window(page_host);
        page_host = NO_WINDOW;
        page_timestep = NO_WINDOW;
        if (interactive_window != NO_WINDOW) destroy_window(interactive_window);
        interactive_window = NO_WINDOW;
        View3dTest::TearDown();
    }
    void make_partner() {
        interactive_window = create_window("render_test_partner", "partner", WS_OVERLAPPED_WINDOW, 0, 0, 200,
                                           100, NO_WINDOW, 0);
    }
    void make_timestep_page() {
        static const DialogControl controls[] = {{TIMESTEP_FIELD, CONTROL_EDIT, "", 10, 10, 80, 12}};
        static const DialogTemplate page{104, nullptr, 0, 0, 150, 40, "Sans", 8, controls, 1};
        page_host = create_window("render_test_partner", "host", WS_OVERLAPPED_WINDOW, 0, 0, 300, 120,
                                  NO_WINDOW, 0);
        page_timestep = create_dialog_page(page, page_host, page_proc);
    }
    std::string timestep_text() {
        char text[64] = {};
        get_dialog_item_text(page_timestep, TIMESTEP_FIELD, text, sizeof text);
        return text;
    }
    bool checked(int id) { return toolbar_is_checked(toolbar(), id) != 0; }

    Window page_host = NO_WINDOW;
};

TEST_F(View3dToolbar, NewViewShowsStopAndTheFixedFrame) {
    open_view();
    EXPECT_TRUE(checked(CMD_STOP));
    EXPECT_FALSE(checked(CMD_RUN));
    EXPECT_TRUE(checked(FRAME_FIXED));
    EXPECT_FALSE(checked(CMD_SHOW_CM));
    EXPECT_EQ(status_text(), "Fixed reference frame");
    char tip[80] = {};
    toolbar_tooltip(toolbar(), CMD_DECREASE_TIMESTEP, tip, sizeof tip);
    EXPECT_STREQ(tip, "Decrease timestep");
    toolbar_tooltip(toolbar(), FRAME_ROTATING, tip, sizeof tip);
    EXPECT_STREQ(tip, "Rotating Frame");
}

TEST_F(View3dToolbar, SavedMovingFrameIsShownAtCreation) {
    frame_mode = FRAME_MOVING;
    open_view();
    EXPECT_TRUE(checked(FRAME_MOVING));
    EXPECT_FALSE(checked(FRAME_FIXED));
    EXPECT_EQ(status_text(), "Moving reference frame");
    EXPECT_EQ(frame_mode, FRAME_MOVING);
}

TEST_F(View3dToolbar, ReferenceBodyBeyondTheLastIsReset) {
    for (int i = 0; i < 3; ++i) add_body_at(i, 0, 0.3, WHITE);
    frame_body = 5;
    open_view();
    EXPECT_EQ(frame_body, 0);
    close_view();
    for (int i = 0; i < 3; ++i) add_body_at(i, 0, 0.3, WHITE);
    frame_body = 2;
    open_view();
    EXPECT_EQ(frame_body, 2);
}

TEST_F(View3dToolbar, FrameButtonsSetTheFrameAndItsText) {
    open_view();
    toolbar_click(toolbar(), FRAME_ROTATING);
    EXPECT_EQ(frame_mode, FRAME_ROTATING);
    EXPECT_EQ(status_text(), "Rotating reference frame centered at Center of Mass");
    EXPECT_FALSE(checked(FRAME_FIXED));
    toolbar_click(toolbar(), FRAME_ROTATING);
    EXPECT_TRUE(checked(FRAME_ROTATING));
    EXPECT_EQ(status_text(), "Rotating reference frame centered at Center of Mass");
    command(FRAME_CM);  // as the scene reader's choice arrives
    EXPECT_TRUE(checked(FRAME_CM));
    EXPECT_FALSE(checked(FRAME_ROTATING));
    EXPECT_EQ(status_text(), "Center of Mass reference frame");
    command(FRAME_ORBIT);
    EXPECT_EQ(status_text(), "Orbit reference frame");
}

TEST_F(View3dToolbar, RunWithoutBodiesShowsStopAndChangesNothing) {
    make_partner();
    open_view();
    toolbar_click(toolbar(), CMD_RUN);
    EXPECT_TRUE(checked(CMD_STOP));
    EXPECT_FALSE(checked(CMD_RUN));
    EXPECT_EQ(view3d_started, 0);
    EXPECT_TRUE(partner_commands.empty());
    const long long drawn = view3d_frames_drawn;
    pump_until([] { return false; }, 200);
    EXPECT_EQ(simulation_active.load(), 0);
    EXPECT_EQ(view3d_frames_drawn, drawn);
}

TEST_F(View3dToolbar, StopAndRunArePairedWithTheInteractiveView) {
    make_partner();
    add_body_at(0, 0, 0.5, WHITE);
    add_body_at(3, 0, 0.5, WHITE);
    open_view();
    toolbar_click(toolbar(), CMD_RUN);  // pressed here: passed on
    EXPECT_EQ(partner_commands, std::vector<int>{CMD_RUN});
    EXPECT_TRUE(wait_frames(1));
    command(CMD_STOP);  // pressed there: shown here, not sent back
    EXPECT_TRUE(checked(CMD_STOP));
    EXPECT_EQ(partner_commands, std::vector<int>{CMD_RUN});
    command(CMD_RUN);
    EXPECT_TRUE(checked(CMD_RUN));
    EXPECT_EQ(partner_commands, std::vector<int>{CMD_RUN});
    toolbar_click(toolbar(), CMD_STOP);
    EXPECT_EQ(partner_commands, (std::vector<int>{CMD_RUN, CMD_STOP}));
}

TEST_F(View3dToolbar, StopAndRunAreStatesNotCounts) {
    add_body_at(0, 0, 0.5, WHITE);
    add_body_at(3, 0, 0.5, WHITE);
    open_view();
    ASSERT_TRUE(run_frames(2));
    // From a run, each sequence of presses (s Stop, r Run, ' ' Space) ends
    // with Run shown pressed, and both workers go on: body steps and frames.
    for (const char* presses : {"ssr", "sssr", "ssrsr", "rr", "sr", "ss ", " s "}) {
        for (const char* p = presses; *p != '\0'; ++p) {
            if (*p == ' ')
                press_keys(view, "Space");
            else
                toolbar_click(toolbar(), *p == 's' ? CMD_STOP : CMD_RUN);
        }
        EXPECT_TRUE(checked(CMD_RUN)) << presses;
        const long long steps = body_steps_done.load();
        const long long frames = view3d_frames_drawn;
        EXPECT_TRUE(pump_until([&] { return body_steps_done.load() > steps + 10 && view3d_frames_drawn > frames + 2; }))
            << "frozen after " << presses;
    }
    // Stopped, the workers stay at their safe points: a frame already past
    // the frame thread's one may still be drawn, but no later one.
    toolbar_click(toolbar(), CMD_STOP);
    toolbar_click(toolbar(), CMD_STOP);
    const long long stopped_at = view3d_frames_drawn + 1;
    pump_until([] { return false; }, 300);
    EXPECT_LE(view3d_frames_drawn, stopped_at);
}

TEST_F(View3dToolbar, IncreaseAndDecreaseWriteTheTimeStepField) {
    make_timestep_page();
    open_view();
    ASSERT_DOUBLE_EQ(time_step, 0.001);
    toolbar_click(toolbar(), CMD_INCREASE_TIMESTEP);
    toolbar_click(toolbar(), CMD_INCREASE_TIMESTEP);
    EXPECT_EQ(timestep_text(), "0.00225");
    toolbar_click(toolbar(), CMD_DECREASE_TIMESTEP);
    EXPECT_EQ(timestep_text(), "0.0015");
    EXPECT_NEAR(read_time_step(), 0.0015, 1e-15);

    // At the ends of the number range a press that would overflow to
    // infinity or underflow towards zero changes nothing.
    set_time_step(1.5e308);
    toolbar_click(toolbar(), CMD_INCREASE_TIMESTEP);
    EXPECT_EQ(read_time_step(), 1.5e308);
    set_time_step(-2e-308);
    toolbar_click(toolbar(), CMD_DECREASE_TIMESTEP);
    EXPECT_EQ(read_time_step(), -2e-308);
    EXPECT_EQ(timestep_text(), "0.0015");
}

TEST_F(View3dToolbar, FirstRunLimitsTheLightsToEight) {
    for (int i = 0; i < 11; ++i) add_body_at(2.0 * i - 10.0, 0, 0.3, RED, 1.0, 1);
    ASSERT_EQ(glow_count, 11);
    open_view();
    ASSERT_TRUE(run_frames(1));
    EXPECT_EQ(glow_count, 8);
    gl_make_current(view);
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    for (int k = 0; k < 8; ++k) EXPECT_TRUE(glIsEnabled(GL_LIGHT0 + k)) << k;
}

TEST_F(View3dToolbar, LightsFollowTheGlowingBodiesInBothModes) {
    star_lighting = 0;
    for (int i = 0; i < 3; ++i) add_body_at(2.0 * i, 0, 0.3, RED, 1.0, 1);
    add_body_at(-3, 0, 0.3, WHITE);
    open_view();
    ASSERT_TRUE(run_frames(1));
    gl_make_current(view);
    for (int k = 0; k < 3; ++k) EXPECT_TRUE(glIsEnabled(GL_LIGHT0 + k)) << k;
    for (int k = 3; k < 8; ++k) EXPECT_FALSE(glIsEnabled(GL_LIGHT0 + k)) << k;
    close_view();

    star_lighting = 1;
    glow_count = 0;  // as New leaves it
    add_body_at(0, 0, 0.3, WHITE);
    add_body_at(2, 0, 0.3, WHITE);
    open_view();
    ASSERT_TRUE(run_frames(1));
    gl_make_current(view);
    EXPECT_TRUE(glIsEnabled(GL_LIGHT0));  // light 0 whatever the count
    EXPECT_FALSE(glIsEnabled(GL_LIGHT1));
}

int popup_choice = 0;
int popup_toolbar_checked = -1;
int popup_statusbar_checked = -1;
int choose_from_popup(std::uintptr_t popup, Window) {
    popup_toolbar_checked = is_menu_item_checked(popup, CMD_SHOW_TOOLBAR);
    popup_statusbar_checked = is_menu_item_checked(popup, CMD_SHOW_STATUSBAR);
    return popup_choice;
}

TEST_F(View3dToolbar, PopupMenuHidesAndShowsTheBars) {
    open_view();
    set_popup_menu_hook(choose_from_popup);
    popup_choice = CMD_SHOW_STATUSBAR;
    send_message(view, WM_RBUTTONDOWN, 0, make_lparam(20, 20));
    gui_process_events(20);
    EXPECT_EQ(popup_statusbar_checked, 1);
    EXPECT_EQ(popup_toolbar_checked, 1);
    EXPECT_FALSE(is_window_visible(statusbar()));
    EXPECT_TRUE(is_window_visible(toolbar()));

    popup_choice = CMD_SHOW_TOOLBAR;
    send_message(view, WM_RBUTTONDOWN, 0, make_lparam(20, 20));
    gui_process_events(20);
    EXPECT_EQ(popup_statusbar_checked, 0);
    EXPECT_FALSE(is_window_visible(toolbar()));

    popup_choice = CMD_SHOW_STATUSBAR;
    send_message(view, WM_RBUTTONDOWN, 0, make_lparam(20, 20));
    gui_process_events(20);
    EXPECT_EQ(popup_toolbar_checked, 0);
    EXPECT_TRUE(is_window_visible(statusbar()));
    set_popup_menu_hook(nullptr);
}

TEST_F(View3dToolbar, CloseBoxDoesNothing) {
    open_view();
    send_message(view, WM_SYSCOMMAND, SC_CLOSE, 0);
    gui_process_events(20);
    EXPECT_TRUE(is_window(view));
}

TEST_F(View3dToolbar, MinimisedViewKeepsItsSizeAndProjection) {
    open_view(600, 300);
    const double aspect = view3d_aspect;
    send_message(view, WM_SIZE, 1, 0);
    EXPECT_DOUBLE_EQ(view3d_aspect, aspect);
    EXPECT_GT(rv_width, 0);
    EXPECT_GT(rv_height, 0);
}

TEST_F(View3dToolbar, ViewingAndRenderingChangesReachTheView) {
    open_view(600, 300);
    auto projection_x_scale = [&] {
        gl_make_current(view);
        GLdouble m[16];
        glGetDoublev(GL_PROJECTION_MATRIX, m);
        return m[0];
    };
    const double before = projection_x_scale();
    field_of_view = 35.0;  // a narrower view magnifies
    send_message(view, WM_VIEWING_CHANGED, 0, 0);
    const double narrower = projection_x_scale();
    EXPECT_GT(narrower, 1.9 * before);

    // Parameters that make no perspective keep the last one.
    far_plane = near_plane;
    send_message(view, WM_VIEWING_CHANGED, 0, 0);
    EXPECT_DOUBLE_EQ(projection_x_scale(), narrower);
    field_of_view = 180.0;
    far_plane = 50.0;
    send_message(view, WM_VIEWING_CHANGED, 0, 0);
    EXPECT_DOUBLE_EQ(projection_x_scale(), narrower);

    GLint model = 0;
    smooth_shading = 0;
    send_message(view, WM_RENDERING_CHANGED, 0, 0);
    gl_make_current(view);
    glGetIntegerv(GL_SHADE_MODEL, &model);
    EXPECT_EQ(model, GL_FLAT);
    smooth_shading = 1;
    send_message(view, WM_RENDERING_CHANGED, 0, 0);
    gl_make_current(view);
    glGetIntegerv(GL_SHADE_MODEL, &model);
    EXPECT_EQ(model, GL_SMOOTH);
}

}  // namespace
