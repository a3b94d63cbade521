// The real interactive view inside the real program: bodies placed with the
// mouse, the glow limit, the Stop and Run pair with the 3D view and the
// frame thread that follows it, and clicks that pick a reference while the
// scene runs.
#include <GL/gl.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "drawing/scene_drawing.h"
#include "drawing/view3d_frame.h"
#include "placement/placement.h"
#include "placement/view_mapping.h"
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

Body* nth_newest(int n) {
    Body* body = body_list;
    for (int i = 0; i < n; ++i) body = body->next;
    return body;
}

// Every body's place and mass, newest first: which bodies an undo left.
std::vector<std::array<double, 3>> bodies_held() {
    std::vector<std::array<double, 3>> held;
    const Body* body = body_list;
    for (int i = 0; i < body_count; ++i, body = body->next) held.push_back({body->x, body->y, body->mass});
    return held;
}

// Speed squared of a body relative to a centre, times its distance, over
// the centre's mass: 1 for a circular orbit.
double circular_ratio(const Body* body, const Body* centre) {
    const double r = std::hypot(body->x - centre->x, body->y - centre->y);
    const double vx = body->vx - centre->vx, vy = body->vy - centre->vy;
    return (vx * vx + vy * vy) * r / centre->mass;
}

// Radial part of the relative velocity (0 for a circular orbit), as a share of the speed.
double radial_share(const Body* body, const Body* centre) {
    const double dx = body->x - centre->x, dy = body->y - centre->y;
    const double vx = body->vx - centre->vx, vy = body->vy - centre->vy;
    return (dx * vx + dy * vy) / (std::hypot(dx, dy) * std::hypot(vx, vy));
}

// A planet in a circular orbit about a star: frames keep coming.
std::string orbit_scene() {
    return scene_text("2.0.002 0.001 2 0 0 0 40005 -15 -85 70 0.1 50 0.5 10 10 1 1",
                      {"6 0.5 0 0 0 0 8.16701e+19 16384 1", "4 0.3 300000 0 0 1.64997e+07 8.16701e+15 0 0"});
}

int popup_choice = 0;
std::string popup_seen;  // the items as the last popup showed them
int choose_popup_item(std::uintptr_t popup, Window) {
    popup_seen.clear();
    for (int id : {CMD_SHOW_TOOLBAR, CMD_SHOW_STATUSBAR, CMD_TOGGLE_THREAD}) {
        char text[64] = {};
        get_menu_item_text(popup, id, text, sizeof text);
        popup_seen += std::string(text) + (is_menu_item_checked(popup, id) ? "+" : "-") + " ";
    }
    return popup_choice;
}

class InteractiveView : public ShellTest {
protected:
    void TearDown() override {
        set_popup_menu_hook(nullptr);
        ShellTest::TearDown();
    }
    // Waits until the interactive view has drawn more passes; false when
    // none came.
    bool passes_arrive(int count = 3) {
        const long long from = interactive_frames_drawn;
        return wait_until([&] { return interactive_frames_drawn >= from + count; });
    }
    // True when no pass was drawn while the 3D view drew several frames
    // (after the pass that may have been under way).
    bool passes_stay() {
        long long frames = view3d_frames_drawn;
        wait_until([&] { return view3d_frames_drawn >= frames + 2; });
        const long long from = interactive_frames_drawn;
        frames = view3d_frames_drawn;
        wait_until([&] { return view3d_frames_drawn >= frames + 10; });
        return interactive_frames_drawn == from;
    }
    void popup(int choice) {
        popup_choice = choice;
        set_popup_menu_hook(choose_popup_item);
        click_client(interactive_window, 200, 150, 1);
    }
    void toggle_thread() { popup(CMD_TOGGLE_THREAD); }
    // Minimising takes the view off the screen only where a window manager
    // can; elsewhere the view stays and is not minimised.
    bool minimise() {
        send_message(interactive_window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        if (under_window_manager()) return wait_until([] { return interactive_minimised == 1; });
        return interactive_minimised == 0 && !is_window_minimized(interactive_window);
    }
};

TEST_F(InteractiveView, BodiesPlacedWithTheMouseLandUnderThePointer) {
    start();
    command(CMD_NEW);
    Window view = interactive_window;
    ASSERT_TRUE(is_window(view));
    // Also run on a screen of two device pixels to a logical one.
    if (const char* scale = std::getenv("QT_SCALE_FACTOR")) {
        EXPECT_EQ(window_pixel_ratio(view), std::atof(scale));
    }
    for (int id : {CMD_STOP, PLACE_UNASSISTED, SIZE_MEDIUM, COLOUR_RED, MATERIAL_GLOWING}) EXPECT_TRUE(checked(id)) << id;
    EXPECT_EQ(interactive_status(), "Unassisted - left click to place body at cursor position");
    // Stop pressed while stopped, in either view: both stay stopped (the
    // pair does not echo Stop forever).
    press(CMD_STOP);
    toolbar_click(view3d_toolbar, CMD_STOP);
    EXPECT_TRUE(checked(CMD_STOP));
    EXPECT_TRUE(toolbar_is_checked(view3d_toolbar, CMD_STOP));
    // All 25 entries fit across the default client width.
    int width = 0, height = 0, x = 0, w = 0;
    client_size(view, &width, &height);
    ASSERT_TRUE(toolbar_button_rect(interactive_toolbar, MATERIAL_GLOWING, &x, nullptr, &w, nullptr));
    EXPECT_LE(x + w, width);
    int unassisted = 0, circle = 0;
    toolbar_button_rect(interactive_toolbar, PLACE_UNASSISTED, &unassisted, nullptr, nullptr, nullptr);
    toolbar_button_rect(interactive_toolbar, PLACE_CIRCLE, &circle, nullptr, nullptr, nullptr);
    EXPECT_LE(circle - unassisted, 23 * window_pixel_ratio(view));
    char tip[80] = {};
    toolbar_tooltip(interactive_toolbar, SIZE_LARGEST, tip, sizeof tip);
    EXPECT_STREQ(tip, "Largest");

    // Unassisted: a glowing body, then (Glowing used up) a reflective one.
    double cx = 0, cy = 0;
    click_world(view, -200000.0, 150000.0, &cx, &cy);
    ASSERT_EQ(body_count, 1);
    Body* star = body_list;
    EXPECT_EQ(star->x, cx);
    EXPECT_EQ(star->y, cy);
    EXPECT_NEAR(cx, -200000.0, 2 * WORLD_HALF_HEIGHT / height);
    EXPECT_EQ(star->vx, 0.0);
    EXPECT_EQ(star->glowing, 1);
    EXPECT_EQ(star->material, material_colours[RED]);
    EXPECT_TRUE(checked(MATERIAL_REFLECTIVE));
    press(SIZE_LARGEST);
    click_world(view, 250000.0, -100000.0);
    ASSERT_EQ(body_count, 2);
    EXPECT_EQ(body_list->glowing, 0);
    EXPECT_EQ(body_list->mass, 10000.0 * MASS_UNIT);
    EXPECT_EQ(glow_count, 1);

    // Circle about the first body, then back to Unassisted.
    press(PLACE_CIRCLE);
    EXPECT_EQ(interactive_status(), "Circle mode - left click on body at center of circle");
    click_world(view, star->x + 3000.0, star->y);
    EXPECT_EQ(interactive_status(), "Circle mode - left click to place body in circular orbit");
    press(COLOUR_GREEN);
    click_world(view, star->x, star->y + 120000.0);
    ASSERT_EQ(body_count, 3);
    EXPECT_NEAR(circular_ratio(body_list, star), 1.0, 1e-9);
    EXPECT_NEAR(radial_share(body_list, star), 0.0, 0.02);
    EXPECT_LT(body_list->vx, 0.0);  // counter-clockwise
    EXPECT_EQ(body_list->material, material_colours[GREEN]);
    EXPECT_TRUE(checked(PLACE_UNASSISTED));
    EXPECT_EQ(interactive_status(), "Unassisted - left click to place body at cursor position");

    // Circles: two orbits about the large body; the mode stays.
    Body* large = nth_newest(1);
    press(PLACE_CIRCLES);
    click_world(view, large->x, large->y);
    click_world(view, large->x + 80000.0, large->y);
    click_world(view, large->x, large->y - 160000.0);
    ASSERT_EQ(body_count, 5);
    EXPECT_NEAR(circular_ratio(nth_newest(0), large), 1.0, 1e-9);
    EXPECT_NEAR(circular_ratio(nth_newest(1), large), 1.0, 1e-9);
    EXPECT_TRUE(checked(PLACE_CIRCLES));
    EXPECT_EQ(interactive_status(), "Circles mode - left click to place body in circular orbit");

    // Binary: two members, no momentum, back to Unassisted.
    press(PLACE_BINARY);
    EXPECT_EQ(interactive_status(), "Binary mode - left click to place first member of binary system.");
    click_world(view, 0.0, 400000.0);
    EXPECT_EQ(interactive_status(), "Binary mode - left click to place second member of binary pair");
    press(SIZE_SMALL);
    click_world(view, 60000.0, 400000.0);
    ASSERT_EQ(body_count, 7);
    const Body* second = nth_newest(0);
    const Body* first = nth_newest(1);
    const double momentum = first->mass * std::hypot(first->vx, first->vy);
    EXPECT_GT(momentum, 0.0);
    EXPECT_NEAR(first->mass * first->vx + second->mass * second->vx, 0.0, 1e-9 * momentum);
    EXPECT_NEAR(first->mass * first->vy + second->mass * second->vy, 0.0, 1e-9 * momentum);
    EXPECT_GT(second->vy, 0.0);
    EXPECT_TRUE(checked(PLACE_UNASSISTED));

    // Ring makes nothing and returns to Unassisted.
    press(PLACE_RING);
    EXPECT_EQ(interactive_status(), "Ring mode - left click on body at center of ring. NOT YET IMPLEMENTED");
    click_world(view, 0.0, 0.0);
    EXPECT_EQ(body_count, 7);
    EXPECT_TRUE(checked(PLACE_UNASSISTED));
    EXPECT_EQ(interactive_status(), "Unassisted - left click to place body at cursor position");
}

TEST_F(InteractiveView, TheEighthGlowingBodyEndsTheGlowingChoice) {
    start();
    command(CMD_NEW);
    Window view = interactive_window;
    for (int i = 0; i < 8; ++i) {
        press(MATERIAL_GLOWING);
        click_world(view, -400000.0 + 100000.0 * i, 0.0);
    }
    EXPECT_EQ(glow_count, 8);
    EXPECT_TRUE(checked(MATERIAL_REFLECTIVE));
    EXPECT_FALSE(enabled(MATERIAL_REFLECTIVE));
    EXPECT_FALSE(enabled(MATERIAL_GLOWING));
    press(MATERIAL_GLOWING);
    click_world(view, 0.0, 300000.0);
    EXPECT_EQ(body_list->glowing, 0);

    // Run greys every choice; Stop brings back all but the material ones.
    press(CMD_RUN);
    EXPECT_FALSE(enabled(SIZE_LARGE));
    EXPECT_FALSE(enabled(PLACE_UNASSISTED));
    press(CMD_STOP);
    EXPECT_TRUE(enabled(SIZE_LARGE));
    EXPECT_TRUE(enabled(COLOUR_WHITE));
    EXPECT_FALSE(enabled(MATERIAL_GLOWING));
    EXPECT_EQ(interactive_status(), "Simulation stopped");

    // The right-button menu hides and shows the bars.
    popup(CMD_SHOW_TOOLBAR);
    EXPECT_EQ(popup_seen, "Show &Toolbar+ Show &Statusbar+ T&oggle Thread- ");
    EXPECT_FALSE(is_window_visible(interactive_toolbar));
    popup(CMD_SHOW_STATUSBAR);
    EXPECT_EQ(popup_seen, "Show &Toolbar- Show &Statusbar+ T&oggle Thread- ");
    EXPECT_FALSE(is_window_visible(interactive_statusbar));
    popup(CMD_SHOW_TOOLBAR);
    popup(CMD_SHOW_STATUSBAR);
    EXPECT_TRUE(is_window_visible(interactive_toolbar));
    EXPECT_TRUE(is_window_visible(interactive_statusbar));

    // The rendering page's Apply while stopped: Medium from the new Max radius.
    press(SIZE_SMALLEST);
    max_radius = 1.5;
    send_message(view, WM_RENDERING_CHANGED, 0, 0);
    EXPECT_TRUE(checked(SIZE_MEDIUM));
    EXPECT_DOUBLE_EQ(place_radius, 0.9);
    EXPECT_EQ(place_mass, 100.0);
}

TEST_F(InteractiveView, AViewMadeAfterAReadTakesTheScenesValues) {
    start();
    std::vector<std::string> bodies;
    for (int i = 0; i < 8; ++i) bodies.push_back("4 0.5 " + std::to_string(50000 * i) + " 0 0 0 8.16701e+15 16384 1");
    write_file("lights.slo", scene_text("2.0.002 0.001 8 0 0 0 40005 -15 -85 70 0.1 50 2 10 10 1 1", bodies));
    next_file_choice = (working_directory / "lights.slo").string();
    command(CMD_OPEN);
    ASSERT_EQ(glow_count, 8);
    // The view as New makes it once the file has been read.
    destroy_window(interactive_window);
    interactive_window = create_window(INTERACTIVE_CLASS, INTERACTIVE_TITLE, WS_OVERLAPPED_WINDOW, DEFAULT_POSITION,
                                       DEFAULT_POSITION, VIEW_WIDTH, VIEW_HEIGHT, NO_WINDOW, 0);
    ASSERT_TRUE(is_window(interactive_window));
    EXPECT_TRUE(checked(MATERIAL_REFLECTIVE));
    EXPECT_FALSE(enabled(MATERIAL_REFLECTIVE));
    EXPECT_FALSE(enabled(MATERIAL_GLOWING));
    EXPECT_DOUBLE_EQ(place_radius, 1.2);
    EXPECT_NE(interactive_frame_thread_handle, nullptr);
    command(CMD_CLOSE);
    EXPECT_EQ(interactive_frame_thread_handle, nullptr);
}

TEST_F(InteractiveView, StopAndRunAreStatesInEitherView) {
    start();
    write_file("orbit.slo", orbit_scene());
    next_file_choice = (working_directory / "orbit.slo").string();
    command(CMD_OPEN);
    ASSERT_FALSE(is_window_minimized(interactive_window));
    press(CMD_RUN);
    // From a run, each sequence of presses (s Stop and r Run here, S and R in
    // the 3D view, ' ' Space here) ends with Run shown pressed in both views,
    // and every worker goes on: body steps, frames and the view's passes.
    for (const char* presses : {"ssr", "sssr", "ssrsr", "rr", "sr", "sSr", "SsR", "SSr", "ss ", " S "}) {
        for (const char* p = presses; *p != '\0'; ++p) {
            if (*p == ' ')
                press_keys(interactive_window, "Space");
            else if (*p == 's' || *p == 'r')
                press(*p == 's' ? CMD_STOP : CMD_RUN);
            else
                toolbar_click(view3d_toolbar, *p == 'S' ? CMD_STOP : CMD_RUN);
        }
        EXPECT_TRUE(checked(CMD_RUN)) << presses;
        EXPECT_TRUE(toolbar_is_checked(view3d_toolbar, CMD_RUN)) << presses;
        const long long steps = body_steps_done.load();
        const long long frames = view3d_frames_drawn;
        const long long passes = interactive_frames_drawn;
        EXPECT_TRUE(wait_until([&] {
            return body_steps_done.load() > steps + 10 && view3d_frames_drawn > frames + 2 &&
                   interactive_frames_drawn > passes + 2;
        })) << "frozen after " << presses;
    }
    command(CMD_CLOSE);
}

TEST_F(InteractiveView, TheFrameThreadRunsExactlyWhileTheViewShowsARun) {
    start();
    // Run with no bodies leaves both views stopped, from either side.
    command(CMD_NEW);
    press(CMD_RUN);
    EXPECT_TRUE(checked(CMD_STOP));
    EXPECT_TRUE(toolbar_is_checked(view3d_toolbar, CMD_STOP));
    toolbar_click(view3d_toolbar, CMD_RUN);
    EXPECT_TRUE(checked(CMD_STOP));
    EXPECT_TRUE(toolbar_is_checked(view3d_toolbar, CMD_STOP));
    EXPECT_EQ(interactive_status(), "Unassisted - left click to place body at cursor position");

    // Open and Run minimises the view where a window manager can, and its
    // thread waits; a view left on the screen goes on showing the run.
    const bool managed = under_window_manager();
    write_file("orbit.slo", orbit_scene());
    next_file_choice = (working_directory / "orbit.slo").string();
    command(CMD_OPEN_AND_RUN);
    ASSERT_TRUE(wait_until([] { return view3d_frames_drawn > 3; }));
    EXPECT_TRUE(checked(CMD_RUN));
    EXPECT_EQ(is_window_minimized(interactive_window), managed ? 1 : 0);
    EXPECT_EQ(interactive_thread_suspended, managed ? 1 : 0);
    EXPECT_TRUE(managed ? passes_stay() : passes_arrive());
    // Run pressed again in either view, or a cancelled Open and Run, while
    // running: both views stay running.
    toolbar_click(view3d_toolbar, CMD_RUN);
    press(CMD_RUN);
    next_file_choice.clear();
    command(CMD_OPEN_AND_RUN);
    EXPECT_TRUE(checked(CMD_RUN));
    EXPECT_TRUE(toolbar_is_checked(view3d_toolbar, CMD_RUN));
    const long long frames_before = view3d_frames_drawn;
    EXPECT_TRUE(wait_until([&] { return view3d_frames_drawn > frames_before + 3; }));

    // Stop in the 3D view, restore, Run here: the view follows the run again.
    toolbar_click(view3d_toolbar, CMD_STOP);
    EXPECT_TRUE(checked(CMD_STOP));
    EXPECT_EQ(interactive_status(), "Simulation stopped");
    send_message(interactive_window, WM_SYSCOMMAND, SC_RESTORE, 0);
    ASSERT_TRUE(wait_until([] { return !is_window_minimized(interactive_window); }));
    EXPECT_EQ(interactive_thread_suspended, 1);
    press(CMD_RUN);
    EXPECT_TRUE(toolbar_is_checked(view3d_toolbar, CMD_RUN));
    EXPECT_EQ(interactive_status(), "Simulation running - minimize this Window to suspend this thread");
    EXPECT_TRUE(passes_arrive());

    // Toggle Thread pauses and resumes it; minimising and restoring too.
    toggle_thread();
    EXPECT_EQ(interactive_thread_suspended, 1);
    EXPECT_TRUE(passes_stay());
    toggle_thread();
    EXPECT_EQ(interactive_thread_suspended, 0) << interactive_thread_paused << interactive_minimised;
    EXPECT_TRUE(passes_arrive());
    ASSERT_TRUE(minimise());
    EXPECT_TRUE(managed ? passes_stay() : passes_arrive());
    send_message(interactive_window, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_TRUE(passes_arrive());

    // Stop here checks Stop there; minimised while stopped, Run there
    // checks Run here, and the thread waits for the window to come back.
    press(CMD_STOP);
    EXPECT_TRUE(toolbar_is_checked(view3d_toolbar, CMD_STOP));
    toggle_thread();  // does nothing while stopped
    EXPECT_EQ(interactive_thread_paused, 0);
    ASSERT_TRUE(minimise());
    toolbar_click(view3d_toolbar, CMD_RUN);
    EXPECT_TRUE(checked(CMD_RUN));
    EXPECT_TRUE(managed ? passes_stay() : passes_arrive());
    send_message(interactive_window, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_TRUE(passes_arrive());

    // The view ended mid-run (its thread drawing pass after pass) ends the
    // thread in order; the scene then closes as usual.
    destroy_window(interactive_window);
    EXPECT_EQ(interactive_frame_thread_handle, nullptr);
    command(CMD_CLOSE);
    EXPECT_FALSE(is_window(view3d_window));
}

TEST_F(InteractiveView, AClickWhileRunningPicksWhatIsDrawnUnderIt) {
    start();
    // Three bodies far from the origin, all drifting to the right: the view
    // draws them about a centre of mass that is nowhere near the origin.
    write_file("drift.slo",
               scene_text("2.0.002 0.001 3 0 0 0 40005 -15 -85 70 0.1 50 0.5 10 10 1 1",
                          {"2 0.5 500000 100000 40000 0 8.16701e+15 0 0", "3 0.5 300000 -150000 40000 0 8.16701e+15 0 0",
                           "4 0.5 700000 -150000 40000 0 8.16701e+15 0 0"}));
    next_file_choice = (working_directory / "drift.slo").string();
    command(CMD_OPEN_AND_RUN);
    send_message(interactive_window, WM_SYSCOMMAND, SC_RESTORE, 0);
    ASSERT_TRUE(passes_arrive());
    const Window view = interactive_window;
    // Where body i is drawn now, in world units relative to the view's centre.
    auto drawn = [](int i, double* x, double* y) {
        *x = interactive_frame_x[i] / VIEW_SCALE;
        *y = interactive_frame_y[i] / VIEW_SCALE;
    };
    auto live = [](int i, double* x, double* y) {
        double px[3], py[3];
        ASSERT_EQ(copy_live_positions(px, py, 3), 3);
        *x = px[i];
        *y = py[i];
    };
    EXPECT_GT(std::fabs(interactive_frame_centre_x), 400000.0);

    // Fixed frame: the origin goes to the world point of the drawn body.
    double dx = 0, dy = 0, wx = 0, wy = 0;
    drawn(1, &dx, &dy);
    click_world(view, dx, dy);
    live(1, &wx, &wy);
    // Within a few pixels (the run moves on between the pass drawn and
    // now), where the point without the view's centre lies 500000 away.
    const double pixel = 2 * WORLD_HALF_HEIGHT / 300;
    EXPECT_NEAR(frame_origin_x, wx, 10 * pixel);
    EXPECT_NEAR(frame_origin_y, wy, 10 * pixel);
    EXPECT_EQ(body_count, 3);

    // Moving frame: the body drawn under the pointer becomes the reference.
    toolbar_click(view3d_toolbar, FRAME_MOVING);
    for (int i : {2, 0}) {
        drawn(i, &dx, &dy);
        click_world(view, dx, dy);
        EXPECT_EQ(frame_body, i);
    }
    // The CM frame has nothing to pick; Glowing still turns to Reflective.
    toolbar_click(view3d_toolbar, FRAME_CM);
    place_glowing = 1;
    drawn(2, &dx, &dy);
    click_world(view, dx, dy);
    EXPECT_EQ(frame_body, 0);
    EXPECT_EQ(place_glowing, 0);
    EXPECT_EQ(body_count, 3);
}

}  // namespace

TEST_F(InteractiveView, UndoTakesBackMousePlacementsAndSpaceRunsAndStops) {
    start();
    write_file("orbit.slo", orbit_scene());
    next_file_choice = (working_directory / "orbit.slo").string();
    command(CMD_OPEN);
    Window view = interactive_window;
    ASSERT_EQ(body_count, 2);
    const int file_glow = glow_count;
    const auto file_bodies = bodies_held();

    // Three glowing bodies; undo takes the newest with its glow.
    std::vector<std::array<double, 3>> two_placed;
    for (int i = 0; i < 3; ++i) {
        if (i == 2) two_placed = bodies_held();
        press(MATERIAL_GLOWING);
        click_world(view, -300000.0 + 150000.0 * i, 200000.0);
    }
    ASSERT_EQ(body_count, 5);
    EXPECT_TRUE(checked(MATERIAL_REFLECTIVE));
    ASSERT_EQ(press_keys(view, "Ctrl+Z"), 1);
    EXPECT_EQ(body_count, 4);
    EXPECT_EQ(bodies_held(), two_placed);
    EXPECT_EQ(glow_count, file_glow + 2);
    EXPECT_TRUE(checked(MATERIAL_GLOWING));
    EXPECT_TRUE(enabled(MATERIAL_GLOWING));

    // Binary's first member undone: the pair starts over, and the next
    // clicks make a lone first member and then a whole pair.
    press(PLACE_BINARY);
    click_world(view, 0.0, -300000.0);
    ASSERT_EQ(body_count, 5);
    press_keys(view, "Ctrl+Z");
    EXPECT_EQ(bodies_held(), two_placed);
    EXPECT_EQ(place_pending, 0);
    EXPECT_EQ(interactive_status(), "Binary mode - left click to place first member of binary system.");
    click_world(view, 0.0, -300000.0);
    ASSERT_EQ(body_count, 5);
    EXPECT_EQ(body_list->vx, 0.0);
    EXPECT_EQ(place_pending, 1);
    click_world(view, 60000.0, -300000.0);
    ASSERT_EQ(body_count, 6);
    const double momentum = body_list->mass * body_list->vy;
    EXPECT_GT(momentum, 0.0);
    EXPECT_NEAR(momentum + body_list->next->mass * body_list->next->vy, 0.0, 1e-9 * momentum);

    // Undo stops at the bodies from the file.
    for (int i = 0; i < 6; ++i) press_keys(view, "Ctrl+Z");
    EXPECT_EQ(bodies_held(), file_bodies);
    EXPECT_EQ(glow_count, file_glow);

    // Space runs and stops both views; a run leaves nothing to undo.
    press_keys(view, "Space");
    EXPECT_TRUE(checked(CMD_RUN));
    EXPECT_TRUE(toolbar_is_checked(view3d_toolbar, CMD_RUN));
    const long long frames = view3d_frames_drawn;
    ASSERT_TRUE(wait_until([&] { return view3d_frames_drawn > frames + 3; }));
    press_keys(view, "Space");
    EXPECT_TRUE(checked(CMD_STOP));
    EXPECT_TRUE(toolbar_is_checked(view3d_toolbar, CMD_STOP));
    click_world(view, 0.0, 0.0);  // picks the frame's origin while the run exists
    press_keys(view, "Ctrl+Z");
    EXPECT_EQ(body_count, 2);
}

// A start with a scene asks the views to minimise. Without a window manager
// nothing takes them off the screen, so they are not minimised; with one
// they come back. Either way every size change then reaches the drawing,
// the projection and the click mapping of both views.
TEST_F(InteractiveView, ViewsOnTheScreenFollowEverySizeChange) {
    write_file("empty.slo", scene_text("2.0.002 0.001 0 0 0 0 40005 -15 -85 70 0.1 50 0.5 10 10 1 1", {}));
    start("empty.slo");
    ASSERT_TRUE(wait_until([] { return is_window_visible(interactive_window) && is_window_visible(view3d_window); }));
    const bool managed = under_window_manager();
    for (Window view : {view3d_window, interactive_window}) {
        send_message(view, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        if (managed) {
            ASSERT_TRUE(wait_until([&] { return is_window_minimized(view) == 1; }));
            send_message(view, WM_SYSCOMMAND, SC_RESTORE, 0);
        }
        EXPECT_TRUE(wait_until([&] { return is_window_minimized(view) == 0; })) << view;
    }
    EXPECT_EQ(interactive_minimised, 0);

    // Both views larger than they opened.
    for (Window view : {view3d_window, interactive_window}) {
        int x = 0, y = 0;
        get_window_rect(view, &x, &y, nullptr, nullptr);
        move_window(view, x, y, 700, 520, 1);
        ASSERT_TRUE(wait_until([&] {
            int width = 0, height = 0;
            get_client_rect(view, nullptr, nullptr, &width, &height);
            return width == 692 && height == 493;
        })) << view;
    }
    for (Window view : {view3d_window, interactive_window}) {
        int width = 0, height = 0;
        client_size(view, &width, &height);
        GLint viewport[4] = {};
        gl_make_current(view);
        glGetIntegerv(GL_VIEWPORT, viewport);
        EXPECT_EQ(viewport[2], width) << view;
        EXPECT_EQ(viewport[3], height) << view;
    }
    int width = 0, height = 0;
    client_size(view3d_window, &width, &height);
    EXPECT_DOUBLE_EQ(view3d_aspect, static_cast<double>(width) / height);

    // A body placed near the top right corner is drawn under the pointer
    // (the old viewport would show it some 200 pixels away).
    const Window view = interactive_window;
    click_world(view, 700000.0, 450000.0);
    ASSERT_EQ(body_count, 1);
    int x = 0, y = 0;
    world_to_pixel(view, body_list->x, body_list->y, &x, &y);
    auto lit_at_pointer = [&](const ScreenPixels& pixels) {
        for (int dy = -6; dy <= 6; ++dy)
            for (int dx = -6; dx <= 6; ++dx)
                if (pixels.brightness(x + dx, y + dy) > 120) return true;
        return false;
    };
    EXPECT_TRUE(lit_at_pointer(read_screen_when(view, lit_at_pointer))) << "nothing drawn at " << x << "," << y;
}

namespace {

// Right-click menu answer for the zoom test.
int reset_view_item(std::uintptr_t, Window) { return CMD_RESET_VIEW; }

}  // namespace

TEST_F(InteractiveView, ZoomAndPanKeepWhatIsDrawnUnderThePointer) {
    start();
    command(CMD_NEW);
    const Window view = interactive_window;
    ASSERT_TRUE(is_window(view));
    int width = 0, height = 0;
    client_size(view, &width, &height);
    const double pixel = 2.0 * WORLD_HALF_HEIGHT / height;

    // The wheel zooms about the pointer: the world point under it stays.
    const int ax = width / 4, ay = height / 3;
    double before_x = 0, before_y = 0, after_x = 0, after_y = 0;
    pixel_to_world(view, ax, ay, &before_x, &before_y);
    wheel_client(view, ax, ay, 3);
    EXPECT_NEAR(plane_view.scale, std::pow(PLANE_VIEW_WHEEL_FACTOR, 3), 1e-12);
    pixel_to_world(view, ax, ay, &after_x, &after_y);
    EXPECT_NEAR(after_x, before_x, 1e-9 * pixel);
    EXPECT_NEAR(after_y, before_y, 1e-9 * pixel);
    // A middle-button drag carries the world point with the pointer.
    drag_client(view, ax, ay, ax + 40, ay - 25, 1);
    pixel_to_world(view, ax + 40, ay - 25, &after_x, &after_y);
    EXPECT_NEAR(after_x, before_x, 1e-6 * pixel);
    EXPECT_NEAR(after_y, before_y, 1e-6 * pixel);
    // Far beyond the limits the scale stops at them.
    wheel_client(view, ax, ay, 100);
    EXPECT_EQ(plane_view.scale, PLANE_VIEW_LARGEST_SCALE);

    // At every zoom, panned or not, a click places the body under the
    // pointer, and the screen shows it there.
    press(SIZE_LARGEST);
    press(COLOUR_WHITE);
    const int px = width * 5 / 8, py = height * 2 / 3;
    for (double scale : {0.01, 1.0, 100.0}) {
        for (int pan : {0, 1}) {
            reset_plane_view();
            zoom_plane_view(scale, width / 2, height / 2, width, height);
            if (pan) drag_client(view, width / 2, height / 2, width / 2 - 30, height / 2 + 20, 1);
            click_client(view, px, py, 0);
            ASSERT_EQ(body_count, 1);
            double sx = 0, sy = 0;
            world_to_screen(body_list->x, body_list->y, width, height, &sx, &sy);
            EXPECT_NEAR(sx, px, 0.5) << scale << " " << pan;
            EXPECT_NEAR(sy, py, 0.5) << scale << " " << pan;
            const ScreenPixels seen = read_screen_when(view, [&](const ScreenPixels& s) {
                return s.brightness(px, py) > 150 && s.brightness(px + 15, py) < 30;
            });
            EXPECT_GT(seen.brightness(px, py), 150) << scale << " " << pan;
            EXPECT_LT(seen.brightness(px + 15, py), 30) << scale << " " << pan;
            send_message(view, WM_COMMAND, CMD_UNDO_PLACEMENT, 0);
        }
    }

    // Two bodies far apart at zoom 100: Fit (Home) brings both on screen.
    reset_plane_view();
    zoom_plane_view(100.0, width / 2, height / 2, width, height);
    click_client(view, width / 4, height / 2, 0);
    plane_view.centre_x += 50.0 * WORLD_HALF_HEIGHT / plane_view.scale;
    click_client(view, width * 3 / 4, height / 2, 0);
    ASSERT_EQ(body_count, 2);
    press_keys(view, "Home");
    const Body* body = body_list;
    for (int i = 0; i < body_count; ++i, body = body->next) {
        double sx = 0, sy = 0;
        world_to_screen(body->x, body->y, width, height, &sx, &sy);
        EXPECT_GT(sx, 0.05 * width);
        EXPECT_LT(sx, 0.95 * width);
        const int x = static_cast<int>(sx), y = static_cast<int>(sy);
        const ScreenPixels seen = read_screen_when(view, [&](const ScreenPixels& s) { return s.brightness(x, y) > 150; });
        EXPECT_GT(seen.brightness(x, y), 150);
    }
    // Reset View in the right-click menu: the described view again.
    set_popup_menu_hook(reset_view_item);
    click_client(view, width / 2, height / 2, 1);
    EXPECT_EQ(plane_view.scale, 1.0);
    EXPECT_EQ(plane_view.centre_x, 0.0);
    EXPECT_EQ(plane_view.centre_y, 0.0);
}
