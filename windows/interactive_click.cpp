// A left click in the interactive view: bodies are placed before the first
// Run; once a simulation is active the click picks the origin of the Fixed
// frame or the reference body of the Rotating, Moving and Orbit frames.
#include "app_state/body_changes.h"
#include "app_state/scene_changes.h"
#include "drawing/scene_drawing.h"
#include "placement/body_edits.h"
#include "placement/placement.h"
#include "sim/bodies.h"
#include "sim/simulation.h"
#include "windows/interactive_window.h"

namespace {

// The view draws a run about the centre of mass of the pass shown, so the
// world point under the pointer is the click's point plus that centre.
void select_reference(double wx, double wy) {
    const double x = wx + interactive_frame_centre_x;
    const double y = wy + interactive_frame_centre_y;
    switch (frame_mode) {
        case FRAME_FIXED:
            if (x != read_frame_origin_x() || y != read_frame_origin_y()) mark_scene_changed();
            set_frame_origin(x, y);
            return;
        case FRAME_ROTATING:
        case FRAME_MOVING:
        case FRAME_ORBIT: {
            if (body_count <= 0) return;
            const auto n = static_cast<std::size_t>(body_count);
            auto* px = static_cast<double*>(alloc_zeroed(n, sizeof(double)));
            auto* py = static_cast<double*>(alloc_zeroed(n, sizeof(double)));
            const int count = copy_live_positions(px, py, body_count);
            if (count > 0) {
                const int chosen = nearest_index(x, y, px, py, count);
                if (chosen != read_frame_body()) mark_scene_changed();
                set_frame_body(chosen);
            }
            free_block(px);
            free_block(py);
            return;
        }
        default: return;  // the CM frame has no reference to pick
    }
}

}  // namespace

void client_to_world(Window window, int px, int py, double* wx, double* wy) {
    // The whole client area, bars included, through the mapping the drawing
    // uses.
    int width = 0, height = 0;
    interactive_client_size(window, &width, &height);
    screen_to_world(px, py, width, height, wx, wy);
}

void interactive_click(Window window, int px, int py) {
    double wx = 0.0, wy = 0.0;
    client_to_world(window, px, py, &wx, &wy);

    if (simulation_active) {
        select_reference(wx, wy);
    } else if (bodies_editable) {
        const int bodies = body_count;
        const PlacementOutcome outcome = placement_click(wx, wy);
        if (body_count != bodies) announce_body_change(NO_WINDOW);
        if (outcome.status_text != nullptr) set_interactive_status(outcome.status_text);
        if (outcome.back_to_unassisted) return_to_unassisted();
    }
    invalidate_window(window);
    if (place_glowing) switch_to_reflective();
    if (glow_count >= GLOW_LIMIT) enable_material_buttons(0);
}
