#include "tests/interact/view_driver.h"

#include <cmath>

#include "placement/placement.h"
#include "sim/bodies.h"
#include "sim/frames.h"
#include "windows/interactive_window.h"

void client_size(Window view, int* width, int* height) {
    get_client_rect(view, nullptr, nullptr, width, height);
    const double ratio = window_pixel_ratio(view);
    *width = static_cast<int>(*width * ratio + 0.5);
    *height = static_cast<int>(*height * ratio + 0.5);
}

void world_to_pixel(Window view, double wx, double wy, int* px, int* py) {
    int width = 0, height = 0;
    client_size(view, &width, &height);
    double x = 0.0, y = 0.0;
    world_to_screen(wx, wy, width, height, &x, &y);
    *px = static_cast<int>(std::lround(x));
    *py = static_cast<int>(std::lround(y));
}

void pixel_to_world(Window view, int px, int py, double* wx, double* wy) {
    int width = 0, height = 0;
    client_size(view, &width, &height);
    screen_to_world(px, py, width, height, wx, wy);
}

void click_world(Window view, double wx, double wy, double* clicked_x, double* clicked_y) {
    int px = 0, py = 0;
    world_to_pixel(view, wx, wy, &px, &py);
    click_client(view, px, py, 0);
    double x = 0.0, y = 0.0;
    pixel_to_world(view, px, py, &x, &y);
    if (clicked_x) *clicked_x = x;
    if (clicked_y) *clicked_y = y;
}

void press(int id) {
    int x = 0, y = 0, width = 0, height = 0;
    if (!toolbar_button_rect(interactive_toolbar, id, &x, &y, &width, &height)) return;
    click_client(interactive_window, x + width / 2, y + height / 2, 0);
}

bool checked(int id) { return toolbar_is_checked(interactive_toolbar, id) != 0; }
bool enabled(int id) { return toolbar_is_enabled(interactive_toolbar, id) != 0; }

std::string interactive_status() {
    char text[128] = {};
    status_bar_get_text(interactive_statusbar, text, sizeof text);
    return text;
}
