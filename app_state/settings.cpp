// The settings file: ten integers of window geometry in the working
// directory, read when the control window is created and written at exit.
#include "app_state/settings.h"

#include <algorithm>
#include <cstdio>

int cw_left = 0, cw_top = 0;
int rv_left = 0, rv_top = 0;
int iv_left = 0, iv_top = 0;
int rv_width = 0, rv_height = 0;
int iv_width = 0, iv_height = 0;
int geometry_known = 0;

namespace {

int* const settings_values[10] = {&cw_left, &cw_top,   &rv_left,  &rv_top,   &iv_left,
                                  &iv_top,  &rv_width, &rv_height, &iv_width, &iv_height};

// A place is saved as the low 16 bits of a signed screen coordinate.
int signed_16(int value) {
    int v = value & 0xFFFF;
    return v >= 0x8000 ? v - 0x10000 : v;
}

}  // namespace

int read_settings() {
    std::FILE* file = std::fopen(SETTINGS_FILE, "r");
    if (!file) return 0;
    int read[10] = {};
    int converted = std::fscanf(file, "%d %d %d %d %d %d %d %d %d %d", &read[0], &read[1], &read[2],
                                &read[3], &read[4], &read[5], &read[6], &read[7], &read[8], &read[9]);
    std::fclose(file);
    // A file with fewer than ten values is ignored as a whole: keeping part
    // of it would let a view window apply a half-read geometry later.
    if (converted != 10) return 0;
    for (int i = 0; i < 10; ++i) *settings_values[i] = read[i];
    geometry_known = 1;
    return 1;
}

int write_settings() {
    if (!geometry_known) return 0;
    std::FILE* file = std::fopen(SETTINGS_FILE, "w");
    if (!file) return 0;
    int written = std::fprintf(file, "%d %d %d %d %d %d %d %d %d %d\n", cw_left, cw_top, rv_left,
                               rv_top, iv_left, iv_top, rv_width, rv_height, iv_width, iv_height);
    int closed = std::fclose(file);
    return written > 0 && closed == 0;
}

void place_client_area(Window window, int left, int top, int width, int height) {
    // The frame around the client area as the window system reports it now.
    int wx = 0, wy = 0, ww = 0, wh = 0, cx = 0, cy = 0, cw = 0, ch = 0;
    get_window_rect(window, &wx, &wy, &ww, &wh);
    get_client_rect(window, &cx, &cy, &cw, &ch);
    int frame_left = cx - wx, frame_top = cy - wy;
    int frame_width = std::max(0, ww - cw), frame_height = std::max(0, wh - ch);
    width = std::clamp(width, 32, 8192);
    height = std::clamp(height, 32, 8192);
    move_window(window, signed_16(left) - frame_left, signed_16(top) - frame_top,
                width + frame_width, height + frame_height, 1);
}

void restore_client_geometry(Window window, int left, int top, int width, int height) {
    if (width == 0 || height == 0) return;
    double ratio = window_pixel_ratio(window);
    if (!(ratio > 0)) ratio = 1;
    place_client_area(window, left, top, static_cast<int>(width / ratio + 0.5),
                      static_cast<int>(height / ratio + 0.5));
}
