// The body ring, the scene-wide values with their start-up defaults and the
// colour tables.
#include "sim/bodies.h"

#include <atomic>

const Colour material_colours[8] = {
    {1.0f, 1.0f, 1.0f, 0.8f}, {0.0f, 1.0f, 1.0f, 0.8f}, {1.0f, 0.0f, 0.0f, 0.8f},
    {0.0f, 1.0f, 0.0f, 0.8f}, {0.0f, 0.0f, 1.0f, 0.8f}, {1.0f, 0.0f, 1.0f, 0.8f},
    {1.0f, 1.0f, 0.0f, 0.8f}, {0.0f, 0.0f, 0.0f, 0.8f},
};
const Colour emission_colours[8] = {
    {0.5f, 0.5f, 0.5f, 0.0f}, {0.2f, 0.5f, 0.5f, 0.0f}, {0.5f, 0.2f, 0.2f, 0.0f},
    {0.2f, 0.5f, 0.2f, 0.0f}, {0.2f, 0.2f, 0.5f, 0.0f}, {0.5f, 0.2f, 0.5f, 0.0f},
    {0.5f, 0.5f, 0.2f, 0.0f}, {0.2f, 0.2f, 0.2f, 0.0f},
};
const Colour light_colours[8] = {
    {1.0f, 1.0f, 1.0f, 0.0f}, {0.5f, 1.0f, 1.0f, 0.0f}, {1.0f, 0.5f, 0.5f, 0.0f},
    {0.5f, 1.0f, 0.5f, 0.0f}, {0.5f, 0.5f, 1.0f, 0.0f}, {1.0f, 0.5f, 1.0f, 0.0f},
    {1.0f, 1.0f, 0.5f, 0.0f}, {0.5f, 0.5f, 0.5f, 0.0f},
};
const float* const emission_by_colour[8] = {
    emission_colours[0], emission_colours[1], emission_colours[2], emission_colours[3],
    emission_colours[4], emission_colours[5], emission_colours[6], nullptr,
};
const float* const light_by_colour[8] = {
    light_colours[0], light_colours[1], light_colours[2], light_colours[3],
    light_colours[4], light_colours[5], light_colours[6], nullptr,
};

// The body list.
Body* body_list = nullptr;
int body_count = 0;
double total_mass = 0.0;
int glow_count = 0;

// Scene-wide simulation values.
double time_step = 0.001;
double sim_time = 0.0;
const double eta = 0.01;
const double softening2 = 0.05;
std::atomic<int> simulation_active{0};
std::atomic<int> stop_requested{0};
int frame_mode = FRAME_FIXED;
int frame_body = 0;
double frame_origin_x = 0.0;
double frame_origin_y = 0.0;

// Scene parameters.
float camera_translate = -15.0f;
float camera_rotate = -85.0f;
double field_of_view = 70.0;
double near_plane = 0.1;
double far_plane = 50.0;
double max_radius = 0.5;
int sphere_slices = 10;
int sphere_stacks = 10;
int smooth_shading = 1;
int star_lighting = 1;

Body* add_body(Body** out, double x, double y, double radius, const float* material, double user_mass,
               int colour) {
    Body* body = static_cast<Body*>(alloc_zeroed(1, sizeof(Body)));
    body->x = x;
    body->y = y;
    body->radius = radius;
    body->material = material;
    body->colour = colour;
    body->mass = user_mass * MASS_UNIT;
    total_mass += body->mass;
    if (body_count == 0) {
        body->prev = body;
        body->next = body;
    } else {
        Body* last = body_list->prev;
        body->next = body_list;
        body->prev = last;
        last->next = body;
        body_list->prev = body;
    }
    body_list = body;
    ++body_count;
    if (out) *out = body;
    return body;
}

void set_body_glow(Body* body, int glowing, const float* emission, const float* light_colour,
                   int light_count) {
    if (!glowing) {
        body->glowing = 0;
        return;
    }
    body->emission = emission;
    body->light_colour = light_colour;
    body->glowing = 1;
    body->light = (light_count >= 1 && light_count <= 8) ? GL_LIGHT0_NAME + light_count - 1 : GL_LIGHT0_NAME;
}

int clear_bodies() {
    Body* body = body_list;
    for (int i = 0; i < body_count; ++i) {
        Body* next = body->next;
        free_block(body);
        body = next;
    }
    body_list = nullptr;
    body_count = 0;
    total_mass = 0.0;
    return 0;
}

void remove_head_body() { remove_body(body_list); }

void remove_body(Body* body) {
    if (body == nullptr || body_count <= 0) return;
    if (body_count == 1) {
        body_list = nullptr;
    } else {
        body->prev->next = body->next;
        body->next->prev = body->prev;
        if (body_list == body) body_list = body->next;
    }
    --body_count;
    // Subtracting could leave rounding dust where no mass is left.
    total_mass = body_count == 0 ? 0.0 : total_mass - body->mass;
    if (body->glowing && glow_count > 0) --glow_count;
    free_block(body);
}

Body* body_at(int index) {
    if (index < 0 || index >= body_count) return nullptr;
    Body* body = body_list;
    for (int i = 0; i < index; ++i) body = body->next;
    return body;
}

Body* insert_body(const Body& values, int index) {
    Body* body = static_cast<Body*>(alloc_zeroed(1, sizeof(Body)));
    *body = values;
    total_mass += body->mass;
    if (body->glowing) ++glow_count;
    if (body_count == 0) {
        body->prev = body->next = body;
        body_list = body;
    } else {
        // Linked in before the body now at index (before the head, that
        // is after the last body, when index is past the end).
        Body* after = index > 0 && index < body_count ? body_at(index) : body_list;
        body->next = after;
        body->prev = after->prev;
        after->prev->next = body;
        after->prev = body;
        if (index <= 0) body_list = body;
    }
    ++body_count;
    return body;
}

void reset_scene_defaults() {
    time_step = 0.001;
    sim_time = 0.0;
    simulation_active = 0;
    stop_requested = 0;
    frame_mode = FRAME_FIXED;
    frame_body = 0;
    frame_origin_x = 0.0;
    frame_origin_y = 0.0;
    camera_translate = -15.0f;
    camera_rotate = -85.0f;
    field_of_view = 70.0;
    near_plane = 0.1;
    far_plane = 50.0;
    max_radius = 0.5;
    sphere_slices = 10;
    sphere_stacks = 10;
    smooth_shading = 1;
    star_lighting = 1;
}

// The workers read these while the user interface may change them.
void set_time_step(double value) { std::atomic_ref<double>(time_step).store(value, std::memory_order_relaxed); }
void set_frame_mode(int mode) { std::atomic_ref<int>(frame_mode).store(mode, std::memory_order_relaxed); }
void set_frame_body(int index) { std::atomic_ref<int>(frame_body).store(index, std::memory_order_relaxed); }
void set_frame_origin(double x, double y) {
    std::atomic_ref<double>(frame_origin_x).store(x, std::memory_order_relaxed);
    std::atomic_ref<double>(frame_origin_y).store(y, std::memory_order_relaxed);
}
void set_star_lighting(int on) { std::atomic_ref<int>(star_lighting).store(on, std::memory_order_relaxed); }
double read_time_step() { return std::atomic_ref<double>(time_step).load(std::memory_order_relaxed); }
int read_frame_mode() { return std::atomic_ref<int>(frame_mode).load(std::memory_order_relaxed); }
int read_frame_body() { return std::atomic_ref<int>(frame_body).load(std::memory_order_relaxed); }
double read_frame_origin_x() { return std::atomic_ref<double>(frame_origin_x).load(std::memory_order_relaxed); }
double read_frame_origin_y() { return std::atomic_ref<double>(frame_origin_y).load(std::memory_order_relaxed); }
int read_star_lighting() { return std::atomic_ref<int>(star_lighting).load(std::memory_order_relaxed); }
