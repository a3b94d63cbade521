#include "drawing/view3d_frame.h"

#include <cmath>
#include <cstring>

#include "drawing/trails.h"
#include "sim/bodies.h"
#include "sim/frames.h"

int view3d_frame_count = 0;
float* view3d_frame_x = nullptr;
float* view3d_frame_y = nullptr;
float view3d_frame_lights[LIGHT_SLOTS][4] = {};
int view3d_frame_has_cm = 0;
float view3d_frame_cm_x = 0.0f;
float view3d_frame_cm_y = 0.0f;
int view3d_run_lights = 0;
long long view3d_frames_drawn = 0;
int view3d_show_cm = 0;

namespace {

int frame_capacity = 0;

// The centre of mass in the reference frame of the frame just converted,
// scaled like the bodies.
void take_centre_of_mass() {
    view3d_frame_has_cm = 0;
    if (drawn_frame == nullptr || !drawn_transform.converts || !(run_total_mass > 0.0)) return;
    double x = 0.0, y = 0.0;
    if (!frame_position(drawn_transform, cm_x(), cm_y(), &x, &y)) return;
    x *= VIEW_SCALE;
    y *= VIEW_SCALE;
    if (!std::isfinite(x) || !std::isfinite(y)) return;
    view3d_frame_cm_x = static_cast<float>(x);
    view3d_frame_cm_y = static_cast<float>(y);
    view3d_frame_has_cm = 1;
}

}  // namespace

void take_view3d_frame() {
    if (draw_x == nullptr || draw_y == nullptr || run_body_count <= 0) return;
    if (run_body_count > frame_capacity) {
        release_view3d_frame();
        const auto n = static_cast<std::size_t>(run_body_count);
        view3d_frame_x = static_cast<float*>(alloc_zeroed(n, sizeof(float)));
        view3d_frame_y = static_cast<float*>(alloc_zeroed(n, sizeof(float)));
        frame_capacity = run_body_count;
    }
    const auto bytes = static_cast<std::size_t>(run_body_count) * sizeof(float);
    std::memcpy(view3d_frame_x, draw_x, bytes);
    std::memcpy(view3d_frame_y, draw_y, bytes);
    std::memcpy(view3d_frame_lights, light_position, sizeof view3d_frame_lights);
    view3d_frame_count = run_body_count;
    take_centre_of_mass();
    record_trails();
}

void release_view3d_frame() {
    free_block(view3d_frame_x);
    free_block(view3d_frame_y);
    view3d_frame_x = nullptr;
    view3d_frame_y = nullptr;
    frame_capacity = 0;
    view3d_frame_count = 0;
    view3d_frame_has_cm = 0;
    std::memset(view3d_frame_lights, 0, sizeof view3d_frame_lights);
    release_trails();
}
