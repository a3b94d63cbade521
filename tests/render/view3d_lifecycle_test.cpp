// Ending the 3D view ends its simulation in order, whatever the workers are
// doing: every thread joined, every array of the run released once (the
// sanitizer builds check the leaks and races).
#include <cmath>

#include "drawing/scene_drawing.h"
#include "drawing/view3d_frame.h"
#include "sim/simulation.h"
#include "tests/render/render_test_support.h"
#include "windows/view3d_window.h"

namespace {

using View3dLifecycle = View3dTest;

void add_ring(int count) {
    add_body_at(0, 0, 0.5, YELLOW, 1000.0, 1);
    for (int i = 1; i < count; ++i) {
        const double angle = 2.0 * M_PI * i / count;
        const double r = 3.0 + 8.0 * i / count;
        add_body_at(r * std::cos(angle), r * std::sin(angle), 0.1, WHITE, 0.01);
    }
}

TEST_F(View3dLifecycle, ClosedWhileRunning) {
    add_ring(50);
    open_view();
    ASSERT_TRUE(run_frames(3));
    close_view();
    EXPECT_EQ(body_count, 0);  // the run empties the list as it ends
}

TEST_F(View3dLifecycle, ClosedWhileStoppedTwice) {
    add_ring(50);
    open_view();
    ASSERT_TRUE(run_frames(3));
    toolbar_click(toolbar(), CMD_STOP);
    command(CMD_STOP);
    gui_process_events(20);
    close_view();
}

TEST_F(View3dLifecycle, ClosedDuringTheSetUpOfALargeRun) {
    add_ring(3000);
    open_view();
    command(CMD_RUN);
    close_view();  // at once: the simulation thread is still setting up
}

TEST_F(View3dLifecycle, ClosedBeforeAnyRun) {
    add_ring(10);
    open_view();
    close_view();
}

TEST_F(View3dLifecycle, ClosedWithoutBodies) {
    open_view();
    toolbar_click(toolbar(), CMD_RUN);
    close_view();
}

TEST_F(View3dLifecycle, ClosedWhileAFrameIsBeingHandedOver) {
    add_ring(200);
    open_view();
    command(CMD_RUN);
    // Let the frame thread block in its send to the view, then close without
    // serving it: the pending draw must be released, not waited for.
    pump_until([] { return simulation_active.load() == 1; });
    while (sent_messages_waiting() == 0) sleep_ms(1);
    close_view();
}

TEST_F(View3dLifecycle, ANewViewStartsAFreshRun) {
    add_ring(20);
    open_view();
    ASSERT_TRUE(run_frames(2));
    close_view();
    EXPECT_EQ(view3d_frame_count, 0);

    add_ring(30);
    open_view();
    EXPECT_EQ(view3d_started, 0);
    EXPECT_TRUE(toolbar_is_checked(toolbar(), CMD_STOP));
    ASSERT_TRUE(run_frames(2));
    EXPECT_EQ(view3d_frame_count, 30);
}

}  // namespace
