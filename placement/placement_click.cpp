// A new body from the current choices, and what a placement click does in
// each mode.
#include "placement/placement.h"

Body* place_new_body(double wx, double wy) {
    Body* body = nullptr;
    add_body(&body, wx, wy, place_radius, place_material, place_mass, place_colour);
    if (place_glowing) ++glow_count;
    set_body_glow(body, place_glowing, place_emission, place_light_colour, glow_count);
    ++place_undo_count;
    return body;
}

UndoOutcome undo_placement() {
    if (place_undo_count <= 0 || body_list == nullptr) return {0, 0, nullptr};
    Body* newest = body_list;
    const int was_glowing = newest->glowing;
    const char* status_text = nullptr;
    if (place_anchor == newest) {
        // No dangling anchor; a placement waiting on it starts over.
        place_anchor = nullptr;
        if (place_pending) status_text = choose_mode(place_mode);
    }
    remove_head_body();
    --place_undo_count;
    return {1, was_glowing, status_text};
}

namespace {

// The second click of a pair or an orbit at the very point of the first
// body would give the two no distance: no orbit and no pair can be made.
bool on_anchor(double wx, double wy) { return place_anchor->x == wx && place_anchor->y == wy; }

PlacementOutcome orbit_click(double wx, double wy, const char* pending_text, int one_body_only) {
    if (!place_pending) {
        place_anchor = nearest_body(wx, wy);
        if (place_anchor == nullptr) return {nullptr, 0};  // no centre yet: wait for one
        place_pending = 1;
        return {pending_text, 0};
    }
    if (on_anchor(wx, wy)) return {nullptr, 0};
    Body* body = place_new_body(wx, wy);
    set_circular_velocity(body, place_anchor);
    return {nullptr, one_body_only};
}

PlacementOutcome binary_click(double wx, double wy) {
    if (place_pending && on_anchor(wx, wy)) return {nullptr, 0};
    Body* body = place_new_body(wx, wy);
    if (!place_pending) {
        place_anchor = nearest_body(wx, wy);  // the body just made
        place_pending = 1;
        return {"Binary mode - left click to place second member of binary pair", 0};
    }
    set_binary_velocities(body, place_anchor);
    return {nullptr, 1};
}

}  // namespace

PlacementOutcome placement_click(double wx, double wy) {
    switch (place_mode) {
        case PLACE_UNASSISTED: place_new_body(wx, wy); return {nullptr, 0};
        case PLACE_CIRCLE:
            return orbit_click(wx, wy, "Circle mode - left click to place body in circular orbit", 1);
        case PLACE_CIRCLES:
            return orbit_click(wx, wy, "Circles mode - left click to place body in circular orbit", 0);
        case PLACE_BINARY: return binary_click(wx, wy);
        default: return {nullptr, 1};  // Ring: nothing yet
    }
}
