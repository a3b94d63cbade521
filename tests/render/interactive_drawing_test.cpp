// The interactive view's drawing: the face-on view of the plane, bodies
// lifted towards the eye while they are being placed, the run's bodies from
// the interactive frame thread's passes once the 3D view has started.
#include <GL/gl.h>
#include <GL/glu.h>

#include "drawing/gl_context.h"
#include "drawing/scene_drawing.h"
#include "sim/frames.h"
#include "sim/simulation.h"
#include "tests/render/render_test_support.h"
#include "windows/view3d_window.h"

namespace {

constexpr const char* INTERACTIVE_TEST_CLASS = "render_test_interactive";
int interactive_width = 0;          // the client width of the last WM_SIZE
int interactive_paints = 0;         // WM_PAINTs drawn (the first once it is on screen)
long long interactive_frames = 0;  // frames drawn from the interactive frame thread

// A stand-in interactive view: just its drawing.
LRESULT interactive_proc(Window window, unsigned message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_CREATE:
            if (setup_view_context(window)) init_interactive_gl();
            return 0;
        case WM_SIZE: {
            const unsigned width = low_word(static_cast<WPARAM>(lparam));
            const unsigned height = high_word(static_cast<WPARAM>(lparam));
            if (width == 0 || height == 0) return 0;
            interactive_width = static_cast<int>(width);
            gl_make_current(window);
            glMatrixMode(GL_PROJECTION);
            glLoadIdentity();
            gluPerspective(30.0, static_cast<double>(width) / height, 1.0, 100.0);
            glViewport(0, 0, static_cast<GLsizei>(width), static_cast<GLsizei>(height));
            return 0;
        }
        case WM_PAINT:
            ++interactive_paints;
            draw_interactive(window);
            return 0;
        case WM_DRAW_FRAME:
            take_interactive_frame();
            ++interactive_frames;
            draw_interactive(window);
            return 0;
        case WM_DESTROY:
            release_view_context(window);
            release_interactive_frame();
            return 0;
        default: return default_window_proc(window, message, wparam, lparam);
    }
}

class InteractiveDrawing : public View3dTest {
protected:
    void SetUp() override {
        View3dTest::SetUp();
        if (IsSkipped()) return;
        register_window_class(WindowClass{INTERACTIVE_TEST_CLASS, interactive_proc, 1, nullptr});
    }
    void TearDown() override {
        if (view != NO_WINDOW) close_view();
        if (interactive != NO_WINDOW) destroy_window(interactive);
        interactive_window = NO_WINDOW;
        View3dTest::TearDown();
    }
    void open_interactive() {
        interactive = create_window(INTERACTIVE_TEST_CLASS, "interactive", WS_OVERLAPPED_WINDOW, 700, 40,
                                    400 + 8, 400 + 27, NO_WINDOW, 0);
        interactive_window = interactive;
        interactive_width = 0;
        interactive_paints = 0;
        show_window(interactive, SHOW_NORMAL);
        const int want_width = static_cast<int>(400 * window_pixel_ratio(interactive) + 0.5);
        EXPECT_TRUE(pump_until([&] { return interactive_width == want_width && interactive_paints > 0; }));
    }
    // Lit pixels across the middle row of the interactive view.
    int width_across_middle() {
        int width = 0, height = 0;
        gl_read_pixels(interactive, nullptr, 0, &width, &height);
        std::vector<unsigned char> rgba(static_cast<std::size_t>(width) * height * 4);
        if (!gl_read_pixels(interactive, rgba.data(), static_cast<int>(rgba.size()), &width, &height)) return -1;
        int lit = 0;
        const std::size_t row = static_cast<std::size_t>(height / 2) * width * 4;
        for (int x = 0; x < width; ++x)
            if (rgba[row + x * 4] > 8 || rgba[row + x * 4 + 1] > 8 || rgba[row + x * 4 + 2] > 8) ++lit;
        return lit;
    }

    Window interactive = NO_WINDOW;
};

TEST_F(InteractiveDrawing, PlacedBodiesAreNearerTheEyeThanRunningOnes) {
    add_body_at(0.0, 0.0, 1.0, WHITE);
    add_body_at(9.0, 9.0, 0.2, WHITE, 0.001);
    open_view();
    open_interactive();
    invalidate_window(interactive);
    update_window(interactive);
    const int placed = width_across_middle();

    interactive_frame_thread_handle = create_thread(interactive_frame_thread, 0);
    ASSERT_TRUE(run_frames(2));
    ASSERT_TRUE(pump_until([] { return simulation_active.load() == 1; }));
    const long long passes = interactive_frames;
    ASSERT_TRUE(pump_until([&] { return interactive_frames >= passes + 2; }));
    const int running = width_across_middle();
    // 64 units from the eye while running, 56 while placed: 8/7 as wide.
    EXPECT_GT(running, 10);
    EXPECT_NEAR(static_cast<double>(placed) / running, 64.0 / 56.0, 0.06);
}

TEST_F(InteractiveDrawing, NothingFromARunWhoseViewIsGone) {
    add_body_at(0.0, 0.0, 1.0, WHITE);
    open_view();
    open_interactive();
    interactive_frame_thread_handle = create_thread(interactive_frame_thread, 0);
    ASSERT_TRUE(run_frames(2));
    const long long passes = interactive_frames;
    ASSERT_TRUE(pump_until([&] { return interactive_frames >= passes + 1; }));
    close_view();
    // The run's arrays went with the 3D view: a repaint must not touch them.
    invalidate_window(interactive);
    update_window(interactive);
    pump_until([] { return false; }, 100);
    EXPECT_EQ(interactive_frame_thread_handle, nullptr);
}

}  // namespace
