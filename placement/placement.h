// Body placement: the choices made on the interactive view's toolbar (mode,
// size, colour, material), the mapping of a click to world coordinates,
// the new body and the velocities of circular orbits and binary pairs.
// Nothing here touches a window; the view applies what a click asks of it.
#pragma once

#include "placement/view_mapping.h"
#include "sim/bodies.h"

// Command ids of the placement choices (toolbar buttons of the view).
constexpr int PLACE_UNASSISTED = 40020;
constexpr int PLACE_CIRCLE = 40021;
constexpr int PLACE_CIRCLES = 40022;
constexpr int PLACE_BINARY = 40023;
constexpr int PLACE_RING = 40024;
constexpr int SIZE_LARGEST = 40025;
constexpr int SIZE_LARGE = 40012;
constexpr int SIZE_MEDIUM = 40013;
constexpr int SIZE_SMALL = 40014;
constexpr int SIZE_SMALLEST = 40015;
constexpr int COLOUR_RED = 40026;
constexpr int COLOUR_GREEN = 40027;
constexpr int COLOUR_BLUE = 40028;
constexpr int COLOUR_MAGENTA = 40029;
constexpr int COLOUR_YELLOW = 40030;
constexpr int COLOUR_CYAN = 40031;
constexpr int COLOUR_WHITE = 40018;
constexpr int MATERIAL_REFLECTIVE = 40047;
constexpr int MATERIAL_GLOWING = 40048;
// The placement buttons are the ids in this range; the material buttons
// are the two above.
constexpr int PLACEMENT_FIRST_ID = 40012;
constexpr int PLACEMENT_LAST_ID = 40031;
// From this many glowing bodies on no further one can be chosen.
constexpr int GLOW_LIMIT = 8;

// The current choices, read at every click.
extern int place_mode;       // command id of the mode
extern int place_pending;    // the first click of a two-click placement was taken
extern Body* place_anchor;   // centre (Circle, Circles) or first member (Binary)
extern double place_mass;    // user mass units
extern double place_radius;  // GL units
extern int place_colour;     // colour index
extern const float* place_material;
extern const float* place_emission;
extern const float* place_light_colour;
extern int place_glowing;

// Unassisted, Medium (from max_radius), Red, Glowing; nothing pending,
// nothing to undo.
void reset_placement_choices();
// The choice commands. Each returns 1 when the id is one of its kind.
// choose_mode also gives the status text of the mode (or nullptr).
int choose_size(int id);
int choose_colour(int id);
int choose_material(int id);
const char* choose_mode(int id);

// The body of the list nearest to the point (the newest of equal ones), or
// nullptr for an empty list.
Body* nearest_body(double wx, double wy);
// Index of the nearest of count positions (the lowest of equal ones); 0
// when there are none.
int nearest_index(double wx, double wy, const double* x, const double* y, int count);
// Counter-clockwise circular orbit about centre, sharing its velocity. At
// zero distance (or with a mass that gives no real speed) the body just
// takes the centre's velocity.
void set_circular_velocity(Body* body, const Body* centre);
// Both members of a pair circle their common centre of mass, which is at
// rest. At zero distance both stay at rest.
void set_binary_velocities(Body* second, Body* first);
// A new body at the world point with the current choices; it becomes the
// head of the list.
Body* place_new_body(double wx, double wy);

// What a placement click asks of the view besides the bodies it made.
struct PlacementOutcome {
    const char* status_text;  // new status text, or nullptr
    int back_to_unassisted;   // perform the Unassisted command
};
// A left click at the world point while no simulation is active, by
// place_mode. A centre click (Circle, Circles) in an empty scene and a
// second click at zero distance from the centre or the first member are
// ignored: nothing is made and the state stays, so the next click counts.
PlacementOutcome placement_click(double wx, double wy);
