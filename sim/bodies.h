// Bodies and scene state: the body ring, the scene-wide values and
// parameters, the colour tables, units, and the memory routines used for
// every block whose size depends on the number of bodies.
#pragma once

#include <atomic>
#include <cstddef>

using Colour = float[4];  // red, green, blue, alpha

struct Body {
    Body* prev;
    Body* next;
    const float* material;      // entry of material_colours
    const float* emission;      // entry of emission_colours (through emission_by_colour)
    const float* light_colour;  // entry of light_colours (through light_by_colour)
    int light;                  // GL_LIGHT0 + k, informational
    int glowing;                // 1 glowing, 0 reflective
    double radius;              // GL units
    double x, y;                // world units
    double vx, vy;              // world units per time unit
    double mass;                // internal units (user mass * MASS_UNIT)
    int colour;                 // 0 White .. 6 Yellow
};

// Units.
constexpr double MASS_UNIT = 8.16701e15;
constexpr double INVERSE_MASS_UNIT = 1.2244383195318728e-16;  // nearest double to 1 / MASS_UNIT
constexpr double WORLD_HALF_HEIGHT = 632390.0;
constexpr double VIEW_SCALE = 2.3719540157181486e-05;  // 15 / 632390 GL units per world unit
constexpr int GL_LIGHT0_NAME = 0x4000;

// Colour indices.
enum ColourIndex { WHITE = 0, CYAN, RED, GREEN, BLUE, MAGENTA, YELLOW, COLOUR_COUNT };
constexpr int BLACK_MATERIAL = 7;  // eighth entry of material_colours

extern const Colour material_colours[8];
extern const Colour emission_colours[8];
extern const Colour light_colours[8];
extern const float* const emission_by_colour[8];
extern const float* const light_by_colour[8];

// The body list.
extern Body* body_list;
extern int body_count;
extern double total_mass;
extern int glow_count;

// Scene-wide simulation values.
extern double time_step;
extern double sim_time;
extern const double eta;
extern const double softening2;
extern std::atomic<int> simulation_active;
extern std::atomic<int> stop_requested;
extern int frame_mode;
extern int frame_body;
extern double frame_origin_x;
extern double frame_origin_y;

// Scene parameters edited on the pages and carried by scene files.
extern float camera_translate;
extern float camera_rotate;
extern double field_of_view;
extern double near_plane;
extern double far_plane;
extern double max_radius;
extern int sphere_slices;
extern int sphere_stacks;
extern int smooth_shading;
extern int star_lighting;

// Reference frames: the command ids of the 3D view's frame buttons.
constexpr int FRAME_FIXED = 40005;
constexpr int FRAME_CM = 40006;
constexpr int FRAME_ROTATING = 40007;
constexpr int FRAME_MOVING = 40008;
constexpr int FRAME_ORBIT = 40009;

Body* add_body(Body** out, double x, double y, double radius, const float* material, double user_mass,
               int colour);
void set_body_glow(Body* body, int glowing, const float* emission, const float* light_colour,
                   int light_count);
int clear_bodies();
// Unlinks and releases the head of the list (the newest body), keeping
// body_count, total_mass and glow_count right; nothing for an empty list.
void remove_head_body();
// The same for any body of the list.
void remove_body(Body* body);
// The body at index in list order (0 the head), or nullptr outside the list.
Body* body_at(int index);
// A new body holding the fields of values, linked in so that it is the
// body at index of the walk (the head for 0, the last one for body_count
// or more); body_count, total_mass and glow_count count it.
Body* insert_body(const Body& values, int index);

// Restores every scene parameter and scene-wide value to its start-up value
// (tests and the headless runner use it; New resets only its own subset).
void reset_scene_defaults();

// Values that the simulation-side threads read while a run goes on. Code that
// changes them while a scene may be running (the time-step page, Increase and
// Decrease, a reference-frame click or button) goes through these setters so
// the change reaches the workers without a data race; plain assignment is
// fine while no run exists (New, the scene reader before Run).
void set_time_step(double value);
void set_frame_mode(int mode);
void set_frame_body(int index);
void set_frame_origin(double x, double y);
void set_star_lighting(int on);
// The matching reads used by the workers (atomic, relaxed).
double read_time_step();
int read_frame_mode();
int read_frame_body();
double read_frame_origin_x();
double read_frame_origin_y();
int read_star_lighting();

void* alloc_zeroed(std::size_t count, std::size_t size);
void free_block(void* block);

inline double sqr(double v) { return v * v; }
