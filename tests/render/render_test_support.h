// Helpers of the 3D view tests: a real 3D view created directly with its
// window class, bodies placed by draw position, the event loop run until
// frames arrive, and the pixels of the view.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "platform/platform.h"
#include "sim/bodies.h"

extern int gui_up;
// The 3D view's class and a plain host class for the time-step page.
void register_view3d_test_classes();

struct Rgb {
    int r, g, b;
    int brightness() const { return r + g + b; }
    bool black() const { return r < 8 && g < 8 && b < 8; }
};

struct Pixels {
    int width = 0, height = 0;
    std::vector<unsigned char> rgba;
    // Row 0 is the top row; positions outside read as black.
    Rgb at(int x, int y) const;
    // The brightest pixel within radius r of (x, y).
    Rgb brightest_near(int x, int y, int r) const;
    bool all_black() const;
};

// A body placed at a draw position (GL units, Fixed frame with origin 0).
Body* add_body_at(double draw_x, double draw_y, double radius, int colour, double user_mass = 1.0,
                  int glowing = 0);

// Runs the event loop until the condition holds or about a minute passes.
bool pump_until(const std::function<bool()>& condition, int timeout_ms = 60000);

class View3dTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Creates and shows the 3D view with a client area of the given size.
    Window open_view(int client_width = 640, int client_height = 400);
    // Destroys the view (its workers end) and checks nothing of the run is left.
    void close_view();
    void command(int id);
    // Run, then waits until `frames` more frames have been drawn.
    bool run_frames(long long frames);
    bool wait_frames(long long frames);
    Pixels read_pixels();
    // Where the draw position (x, y, z) lands in the view, as drawn last
    // (pixel column and row from the top); false when behind the eye.
    bool project(double x, double y, double z, int* column, int* row);
    Window toolbar() const;
    Window statusbar() const;
    std::string status_text() const;

    Window view = NO_WINDOW;
};
