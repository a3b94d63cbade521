#include "windows/view3d_camera.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "app_state/app_windows.h"
#include "app_state/scene_changes.h"
#include "drawing/scene_drawing.h"
#include "drawing/view3d_frame.h"
#include "sim/bodies.h"
#include "sim/simulation.h"
#include "windows/view3d_window.h"

namespace {

// Fields of the Viewing page.
constexpr int TRANSLATE_FIELD = 1000, ROTATE_FIELD = 1004, NEAR_FIELD = 1002, FAR_FIELD = 1001;
// Part of the view the bodies may fill after Fit.
constexpr double FIT_MARGIN = 0.9;

int dragging = 0;
int drag_y = 0;
float drag_start_rotate = 0.0f;

void show_field(int id, double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    set_dialog_item_text(page_viewing, id, text);
}

// How deep behind the camera's target the drawn bodies reach, GL units.
double frame_depth_behind() {
    const double tilt = camera_rotate * M_PI / 180.0;
    double deepest = 0.0;
    for (int i = 0; i < view3d_frame_count && draw_radius != nullptr; ++i)
        deepest = std::max(deepest, -view3d_frame_y[i] * std::sin(tilt) + draw_radius[i]);
    return deepest;
}

// The far plane goes out with the camera so that the scene's plane and the
// bodies on it stay in front of it; the near plane follows it only as far
// as keeps the depth buffer's ratio.
void follow_with_far_plane() {
    const double distance = std::fabs(static_cast<double>(camera_translate));
    const double needed = std::max(2.0 * distance, 1.1 * (distance + frame_depth_behind()));
    if (!(far_plane < needed) && far_plane > near_plane) return;
    far_plane = std::max(far_plane, needed);
    if (!(near_plane > 0.0) || far_plane / near_plane > CLIPPING_RATIO_LIMIT) near_plane = far_plane / CLIPPING_RATIO_LIMIT;
    show_field(NEAR_FIELD, near_plane);
    show_field(FAR_FIELD, far_plane);
}

void apply_camera(Window view, float translate, float rotate) {
    if (translate == camera_translate && rotate == camera_rotate) return;
    camera_translate = translate;
    camera_rotate = rotate;
    mark_scene_changed();
    show_field(TRANSLATE_FIELD, camera_translate);
    show_field(ROTATE_FIELD, camera_rotate);
    follow_with_far_plane();
    send_message(view, WM_VIEWING_CHANGED, 0, 0);
}

// The camera looks along its axis from its side of the plane: a distance
// keeps its sign and is held within the limits.
float held_distance(double distance) {
    const double sign = camera_translate > 0.0f ? 1.0 : -1.0;
    return static_cast<float>(sign * std::clamp(std::fabs(distance), CAMERA_NEAREST, CAMERA_FARTHEST));
}

}  // namespace

void camera_wheel(Window view, int delta) {
    const double magnitude = std::fabs(static_cast<double>(camera_translate));
    const double distance = magnitude * std::pow(CAMERA_WHEEL_FACTOR, -static_cast<double>(delta) / WHEEL_DELTA);
    apply_camera(view, held_distance(distance), camera_rotate);
}

int camera_mouse(Window view, unsigned message, WPARAM wparam, LPARAM lparam) {
    const int y = static_cast<int>(static_cast<short>(high_word(static_cast<WPARAM>(lparam))));
    switch (message) {
        case WM_LBUTTONDOWN:
            dragging = 1;
            drag_y = y;
            drag_start_rotate = camera_rotate;
            return 1;
        case WM_MOUSEMOVE: {
            if (!dragging || !(wparam & MK_LBUTTON)) {
                dragging = 0;
                return 0;
            }
            const double tilt = drag_start_rotate + (y - drag_y) * CAMERA_DEGREES_PER_PIXEL;
            apply_camera(view, camera_translate,
                         static_cast<float>(std::clamp(tilt, -CAMERA_TILT_LIMIT, CAMERA_TILT_LIMIT)));
            return 1;
        }
        case WM_LBUTTONUP: dragging = 0; return 1;
        default: return 0;
    }
}

void camera_fit(Window view) {
    const double half_angle = field_of_view * M_PI / 360.0;
    const double across = std::tan(half_angle) * view3d_aspect * FIT_MARGIN;
    const double up = std::tan(half_angle) * FIT_MARGIN;
    const double tilt = camera_rotate * M_PI / 180.0;
    double distance = 0.0;
    int spread = 0;
    for (int i = 0; i < view3d_frame_count && draw_radius != nullptr; ++i) {
        const double x = view3d_frame_x[i], y = view3d_frame_y[i], r = draw_radius[i];
        if (x != view3d_frame_x[0] || y != view3d_frame_y[0]) spread = 1;
        // Seen from the camera the body lies y sin(tilt) nearer; it must fit
        // across and up at its own depth, in front of the near plane.
        const double need = std::max({(std::fabs(x) + r) / across, (std::fabs(y * std::cos(tilt)) + r) / up,
                                      near_plane + r});
        distance = std::max(distance, y * std::sin(tilt) + need);
    }
    if (!spread || !(across > 0.0) || !(up > 0.0) || !std::isfinite(distance)) distance = CAMERA_DEFAULT_DISTANCE;
    apply_camera(view, held_distance(distance), camera_rotate);
}
