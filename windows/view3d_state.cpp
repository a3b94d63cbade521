#include "windows/view3d_state.h"

#include <cstring>
#include <vector>

#include "scenefile/scene_file.h"
#include "sim/bodies.h"
#include "sim/simulation.h"

namespace {

constexpr char SCENE_FILTER[] = "Stelo Files (*.SLO)\0*.SLO\0All Files (*.*)\0*.*\0";

// The frame shown last: published positions and velocities, list order.
std::vector<double> state_x, state_y, state_vx, state_vy;

}  // namespace

double view3d_state_time = 0.0;

void keep_view3d_state() {
    const PublishedFrame* frame = drawn_frame;
    if (frame == nullptr || frame->count <= 0) return;
    view3d_state_time = frame->time;
    const auto n = static_cast<std::size_t>(frame->count);
    state_x.assign(frame->x, frame->x + n);
    state_y.assign(frame->y, frame->y + n);
    state_vx.assign(frame->vx, frame->vx + n);
    state_vy.assign(frame->vy, frame->vy + n);
}

void release_view3d_state() {
    view3d_state_time = 0.0;
    state_x = std::vector<double>();
    state_y = std::vector<double>();
    state_vx = std::vector<double>();
    state_vy = std::vector<double>();
}

int save_view3d_state(Window window) {
    FileDialogRequest request{window, 1, "Save State As", SCENE_FILTER, "slo", 0};
    char path[4096] = {};
    if (!file_dialog(request, path, sizeof path) || path[0] == '\0') return 0;
    // No frame drawn yet: the state is the scene's initial conditions.
    if (state_x.empty() || static_cast<int>(state_x.size()) != body_count) return write_scene_file(path, nullptr);
    const BodyState state{body_count, state_x.data(), state_y.data(), state_vx.data(), state_vy.data()};
    return write_scene_file(path, &state);
}
