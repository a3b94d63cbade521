// The 3D view's spheres look as they did when every sphere was drawn on its
// own through gluSphere: the same frame drawn both ways and read back from
// the X server differs in almost no pixels, and there by a few levels.
#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <thread>

#include "app_state/settings.h"
#include "drawing/scene_drawing.h"
#include "drawing/view3d_frame.h"
#include "sim/simulation.h"
#include "tests/render/render_test_support.h"
#include "tests/support/screen_pixels.h"
#include "windows/view3d_window.h"

namespace {

using View3dLook = View3dTest;

constexpr GLfloat SHININESS = 100.0f;
constexpr GLfloat GLOW_LIGHT_DIRECTION[4] = {0.0f, -10.0f, 0.0f, 0.0f};
// Rows under the tool bar and over the status bar are left out.
constexpr int BAR_ROWS = 24;

// The frame shown, one gluSphere per body in list order, with the lights
// and material set body by body.
void draw_with_quadrics(Window view, int lit) {
    gl_make_current(view);
    apply_view3d_projection();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, camera_translate);
    glRotatef(camera_rotate, 1.0f, 0.0f, 0.0f);
    GLUquadric* quadric = gluNewQuadric();
    const float* white = material_colours[WHITE];
    const float* black = material_colours[BLACK_MATERIAL];
    for (int i = 0; i < view3d_frame_count; ++i) {
        glPushMatrix();
        if (!lit) {
            glMaterialfv(GL_FRONT, GL_AMBIENT, draw_material[i]);
            glMaterialfv(GL_FRONT, GL_DIFFUSE, draw_material[i]);
        } else if (draw_glowing[i]) {
            glLightfv(GL_LIGHT0, GL_POSITION, GLOW_LIGHT_DIRECTION);
            glMaterialfv(GL_FRONT, GL_DIFFUSE, draw_material[i]);
            glMaterialfv(GL_FRONT, GL_SPECULAR, black);
            glMaterialfv(GL_FRONT, GL_AMBIENT, black);
            glMaterialfv(GL_FRONT, GL_EMISSION, draw_emission[i]);
        } else {
            for (int k = 0; k < view3d_run_lights; ++k)
                glLightfv(static_cast<GLenum>(GL_LIGHT0 + k), GL_POSITION, view3d_frame_lights[k]);
            glMaterialfv(GL_FRONT, GL_DIFFUSE, draw_material[i]);
            glMaterialfv(GL_FRONT, GL_SPECULAR, white);
            glMaterialfv(GL_FRONT, GL_AMBIENT, draw_material[i]);
            glMaterialfv(GL_FRONT, GL_EMISSION, black);
        }
        if (lit) glMaterialf(GL_FRONT, GL_SHININESS, SHININESS);
        glTranslatef(view3d_frame_x[i], view3d_frame_y[i], 0.0f);
        gluSphere(quadric, draw_radius[i], sphere_slices, sphere_stacks);
        glPopMatrix();
    }
    gluDeleteQuadric(quadric);
    gl_swap_buffers(view);
}

// A colour no sphere has, filling the view between two drawings, so that a
// read shows the drawing asked for and not the one before it.
constexpr unsigned MARKER = 0x00FF80;

int marker_pixels(const ScreenPixels& p) {
    int n = 0;
    for (int y = BAR_ROWS; y < p.height - BAR_ROWS; ++y)
        for (int x = 0; x < p.width; ++x) n += p.rgb(x, y) == MARKER;
    return n;
}

// Reads the screen until the check holds, without running the event loop:
// a repaint of the view would put the view's own drawing over the one read.
ScreenPixels read_screen_until(Window view, bool (*check)(const ScreenPixels&)) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    for (;;) {
        ScreenPixels pixels = read_screen(view);
        if ((!pixels.empty() && check(pixels)) || std::chrono::steady_clock::now() > end) return pixels;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

ScreenPixels screen_after(Window view, const std::function<void()>& draw) {
    gl_make_current(view);
    glClearColor(0.0f, 1.0f, 128.0f / 255.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    gl_swap_buffers(view);
    const ScreenPixels marked = read_screen_until(view, [](const ScreenPixels& p) { return marker_pixels(p) > 1000; });
    EXPECT_GT(marker_pixels(marked), 1000);
    draw();
    return read_screen_until(view, [](const ScreenPixels& p) { return marker_pixels(p) == 0; });
}

struct Difference {
    int pixels = 0, lit = 0, differing = 0, largest = 0;
};

Difference compare(const ScreenPixels& a, const ScreenPixels& b) {
    Difference d;
    if (a.width != b.width || a.height != b.height) return d;
    for (int y = BAR_ROWS; y < a.height - BAR_ROWS; ++y)
        for (int x = 0; x < a.width; ++x) {
            const unsigned p = a.rgb(x, y), q = b.rgb(x, y);
            ++d.pixels;
            d.lit += a.brightness(x, y) > 30;
            if (p == q) continue;
            ++d.differing;
            for (int shift = 0; shift < 24; shift += 8)
                d.largest = std::max(d.largest, std::abs(static_cast<int>((p >> shift) & 0xFF) -
                                                         static_cast<int>((q >> shift) & 0xFF)));
        }
    return d;
}

// Bodies spread over the view, of every colour, large and small, every
// tenth glowing (the first one too, so that glowing bodies come both
// before and after the first reflective one).
void add_scene(int n) {
    for (int i = 0; i < n; ++i) {
        const double angle = 2.399963229728653 * i;
        const double r = n <= 10 ? 1.5 + 0.5 * i : 1.0 + 10.0 * i / n;
        const double radius = n <= 10 ? 0.3 + 0.05 * i : (i % 7 == 0 ? 0.3 : 0.12);
        add_body_at(r * std::cos(angle), r * std::sin(angle), radius, i % COLOUR_COUNT, 1e-9, i % 10 == 0);
    }
}

TEST_F(View3dLook, BatchedSpheresLookLikeQuadricsSmoothAndFlatLitAndUnlit) {
    for (const int n : {10, 1000}) {
        SCOPED_TRACE(testing::Message() << n << " bodies");
        clear_bodies();
        glow_count = 0;
        add_scene(n);
        // Nearer and steeper than the defaults, so that the spheres are
        // many pixels wide.
        camera_translate = n <= 10 ? -9.0f : -14.0f;
        camera_rotate = -60.0f;
        open_view(640, 400);
        ASSERT_TRUE(run_frames(2));
        command(CMD_STOP);
        // What the Stop and the last frames queued is handled before the
        // event loop stands still for the reads.
        gui_process_events(0);
        ASSERT_EQ(view3d_frame_count, n);
        for (const int smooth : {1, 0}) {
            smooth_shading = smooth;
            send_message(view, WM_RENDERING_CHANGED, 0, 0);
            for (const int drawing : {0, 1, 2}) {  // lit, plain, plain without lighting
                SCOPED_TRACE(testing::Message() << (smooth ? "smooth" : "flat") << ", drawing " << drawing);
                const int lit = drawing == 0;
                gl_make_current(view);
                if (!lit) {
                    // As in a run without star lighting: the plain drawing
                    // never sets these, so they keep the GL's first values.
                    const GLfloat none[4] = {0.0f, 0.0f, 0.0f, 1.0f};
                    glMaterialfv(GL_FRONT, GL_SPECULAR, none);
                    glMaterialfv(GL_FRONT, GL_EMISSION, none);
                    glMaterialf(GL_FRONT, GL_SHININESS, 0.0f);
                }
                if (drawing == 2) glDisable(GL_LIGHTING);
                const ScreenPixels quadrics = screen_after(view, [&] { draw_with_quadrics(view, lit); });
                const ScreenPixels batched = screen_after(view, [&] {
                    if (lit) draw_view3d_lit(view);
                    else draw_view3d_plain(view);
                });
                gl_make_current(view);
                if (drawing == 2) glEnable(GL_LIGHTING);
                const Difference d = compare(quadrics, batched);
                ASSERT_GT(d.pixels, 0);
                EXPECT_GT(d.lit, d.pixels / 50);  // the scene is on screen
                EXPECT_LE(d.differing, d.pixels / 200);
                EXPECT_LE(d.largest, 4);
            }
        }
        close_view();
    }
}

}  // namespace
