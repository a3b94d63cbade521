#include "render/trails.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstddef>

#include "render/view3d_frame.h"
#include "sim/bodies.h"
#include "sim/frames.h"
#include "sim/simulation.h"

int view3d_show_trails = 0;

namespace {

// Older parts of a trail are drawn in darker bands of the body's colour.
constexpr int FADE_BANDS = 4;

// Each trail is a ring of `capacity` positions stored twice (at k and at
// k + capacity), so the positions from oldest to newest always lie
// contiguously and one vertex array draws them.
int trail_bodies = 0;
int capacity = 0;
int head = 0;   // slot the next position goes to
int filled = 0; // positions held (the same for every body)
float* points = nullptr;  // trail_bodies * 2 * capacity (x, y) pairs
// The frame the trails were recorded in.
int recorded_mode = 0;
int recorded_body = -1;
double recorded_origin_x = 0.0, recorded_origin_y = 0.0;

float* trail_points(int body) {
    return points + static_cast<std::size_t>(body) * 2u * static_cast<std::size_t>(capacity) * 2u;
}

void forget() {
    head = 0;
    filled = 0;
}

int allocate(int bodies) {
    release_trails();
    capacity = std::min(TRAIL_FRAMES, std::max(2, TRAIL_POINT_BUDGET / bodies));
    const std::size_t floats = static_cast<std::size_t>(bodies) * 2u * static_cast<std::size_t>(capacity) * 2u;
    points = static_cast<float*>(alloc_zeroed(floats, sizeof(float)));
    if (points == nullptr) {
        capacity = 0;
        return 0;
    }
    trail_bodies = bodies;
    return 1;
}

}  // namespace

int trail_capacity() { return capacity; }

int trail_length(int body) { return body >= 0 && body < trail_bodies ? filled : 0; }

void record_trails() {
    if (!view3d_show_trails || view3d_frame_count <= 0) return;
    if (view3d_frame_count != trail_bodies && !allocate(view3d_frame_count)) return;
    const int mode = drawn_transform.mode, body = read_frame_body();
    const double origin_x = drawn_transform.origin_x, origin_y = drawn_transform.origin_y;
    if (mode != recorded_mode || body != recorded_body || origin_x != recorded_origin_x ||
        origin_y != recorded_origin_y) {
        forget();
        recorded_mode = mode;
        recorded_body = body;
        recorded_origin_x = origin_x;
        recorded_origin_y = origin_y;
    }
    for (int i = 0; i < trail_bodies; ++i) {
        float* ring = trail_points(i);
        const float x = view3d_frame_x[i], y = view3d_frame_y[i];
        ring[2 * head] = x;
        ring[2 * head + 1] = y;
        ring[2 * (head + capacity)] = x;
        ring[2 * (head + capacity) + 1] = y;
    }
    head = (head + 1) % capacity;
    filled = std::min(filled + 1, capacity);
}

void draw_trails() {
    if (!view3d_show_trails || filled < 2 || draw_material == nullptr || trail_bodies != view3d_frame_count) return;
    const GLboolean lit = glIsEnabled(GL_LIGHTING);
    glDisable(GL_LIGHTING);
    glEnableClientState(GL_VERTEX_ARRAY);
    const int oldest = (head - filled + capacity) % capacity;
    for (int i = 0; i < trail_bodies; ++i) {
        const float* material = draw_material[i];
        glVertexPointer(2, GL_FLOAT, 0, trail_points(i) + 2 * oldest);
        // Band b covers the b-th quarter from the oldest; neighbouring bands
        // share their end point so the line has no gaps.
        for (int band = 0; band < FADE_BANDS; ++band) {
            const int first = filled * band / FADE_BANDS;
            const int last = std::min(filled - 1, filled * (band + 1) / FADE_BANDS);
            if (last <= first) continue;
            const float shade = static_cast<float>(band + 1) / FADE_BANDS;
            glColor3f(material[0] * shade, material[1] * shade, material[2] * shade);
            glDrawArrays(GL_LINE_STRIP, first, last - first + 1);
        }
    }
    glDisableClientState(GL_VERTEX_ARRAY);
    if (lit) glEnable(GL_LIGHTING);
}

void release_trails() {
    free_block(points);
    points = nullptr;
    trail_bodies = 0;
    capacity = 0;
    recorded_body = -1;
    recorded_mode = 0;
    forget();
}
