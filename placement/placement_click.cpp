// A new body from the current choices, and what a placement click does in
// each mode.
#include "placement/body_edits.h"
#include "placement/placement.h"

Body* place_new_body(double wx, double wy) {
    Body* body = nullptr;
    add_body(&body, wx, wy, place_radius, place_material, place_mass, place_colour);
    // Bodies made glowing in the Bodies table count against the limit too.
    const int glowing = place_glowing && glow_count < GLOW_LIMIT;
    if (glowing) ++glow_count;
    set_body_glow(body, glowing, place_emission, place_light_colour, glow_count);
    record_placement();
    return body;
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
