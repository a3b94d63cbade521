// Zoom and pan of the interactive view: the wheel zooms about the pointer,
// a middle-button drag pans, Fit shows every body and Reset View goes back
// to the described view. All of it changes only the view's mapping
// (interact/view_mapping.h), which drawing and clicks share.
#include <cmath>
#include <vector>

#include "drawing/scene_drawing.h"
#include "placement/view_mapping.h"
#include "sim/bodies.h"
#include "sim/frames.h"
#include "windows/interactive_window.h"

namespace {

int panning = 0;
int pan_x = 0, pan_y = 0;
PlaneView pan_start = {1.0, 0.0, 0.0};

int signed_word(unsigned word) { return static_cast<int>(static_cast<short>(word)); }

}  // namespace

void interactive_client_size(Window window, int* width, int* height) {
    get_client_rect(window, nullptr, nullptr, width, height);
    const double ratio = window_pixel_ratio(window);
    *width = static_cast<int>(*width * ratio + 0.5);
    *height = static_cast<int>(*height * ratio + 0.5);
}

int interactive_zoom_mouse(Window window, unsigned message, WPARAM wparam, LPARAM lparam) {
    const int x = signed_word(low_word(static_cast<WPARAM>(lparam)));
    const int y = signed_word(high_word(static_cast<WPARAM>(lparam)));
    int width = 0, height = 0;
    interactive_client_size(window, &width, &height);
    switch (message) {
        case WM_MOUSEWHEEL: {
            const double notches = static_cast<double>(signed_word(high_word(wparam))) / WHEEL_DELTA;
            zoom_plane_view(std::pow(PLANE_VIEW_WHEEL_FACTOR, notches), x, y, width, height);
            break;
        }
        case WM_MBUTTONDOWN:
            panning = 1;
            pan_x = x;
            pan_y = y;
            pan_start = plane_view;
            return 1;
        case WM_MOUSEMOVE:
            if (!panning || !(wparam & MK_MBUTTON)) {
                panning = 0;
                return 0;
            }
            pan_plane_view(pan_start, x - pan_x, y - pan_y, height);
            break;
        case WM_MBUTTONUP: panning = 0; return 1;
        default: return 0;
    }
    invalidate_window(window);
    return 1;
}

void fit_interactive_view(Window window) {
    std::vector<double> x, y;
    if (view3d_started) {
        for (int i = 0; i < interactive_frame_count; ++i) {
            x.push_back(interactive_frame_x[i] / VIEW_SCALE);
            y.push_back(interactive_frame_y[i] / VIEW_SCALE);
        }
    } else {
        const Body* body = body_list;
        for (int i = 0; i < body_count && body != nullptr; ++i, body = body->next) {
            x.push_back(body->x);
            y.push_back(body->y);
        }
    }
    int width = 0, height = 0;
    interactive_client_size(window, &width, &height);
    fit_plane_view(x.data(), y.data(), static_cast<int>(x.size()), width, height);
    invalidate_window(window);
}

void reset_interactive_view(Window window) {
    reset_plane_view();
    invalidate_window(window);
}
