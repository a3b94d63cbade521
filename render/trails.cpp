#include "render/trails.h"

#define GL_GLEXT_PROTOTYPES
#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <cstddef>

#include "render/view3d_frame.h"
#include "sim/bodies.h"
#include "sim/frames.h"
#include "sim/simulation.h"

int view3d_show_trails = 0;

namespace {

// Each trail is a ring of `capacity` positions stored twice (at k and at
// k + capacity), so the positions from oldest to newest always lie
// contiguously and one vertex array draws them.
int trail_bodies = 0;
int capacity = 0;
int head = 0;   // slot the next position goes to
int filled = 0; // positions held (the same for every body)
float* points = nullptr;  // trail_bodies * 2 * capacity (x, y) pairs
// Shortest segment drawn, GL units: about a pixel of an 800 x 600
// view at the eye's distance.
constexpr float MIN_SEGMENT = 0.03f;

// What one drawing hands to the GL: the points kept of every trail, one
// line strip per body, with their colours.
float* segment_points = nullptr;
unsigned char* segment_colours = nullptr;
std::size_t segment_capacity = 0;
GLint* strip_first = nullptr;
GLsizei* strip_count = nullptr;
int strip_capacity = 0;  // bodies the two strip arrays hold
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
    // Every trail goes to the GL in one call, as a line strip of its own:
    // separate calls per body cost far more than the vertices themselves,
    // and strips hand the GL half the vertices of separate segments.
    const std::size_t most = static_cast<std::size_t>(trail_bodies) * static_cast<std::size_t>(filled);
    if (most > segment_capacity || trail_bodies > strip_capacity) {
        free_block(segment_points);
        free_block(segment_colours);
        free_block(strip_first);
        free_block(strip_count);
        segment_points = static_cast<float*>(alloc_zeroed(most * 2, sizeof(float)));
        segment_colours = static_cast<unsigned char*>(alloc_zeroed(most * 4, 1));
        strip_first = static_cast<GLint*>(alloc_zeroed(static_cast<std::size_t>(trail_bodies), sizeof(GLint)));
        strip_count = static_cast<GLsizei*>(alloc_zeroed(static_cast<std::size_t>(trail_bodies), sizeof(GLsizei)));
        segment_capacity = most;
        strip_capacity = trail_bodies;
    }
    const int oldest = (head - filled + capacity) % capacity;
    float* point = segment_points;
    unsigned char* colour = segment_colours;
    auto add_point = [&](const float* material, const float* at, int age) {
        // Older parts of a trail are darker, down to a fifth at its end.
        const float shade = 0.2f + 0.8f * static_cast<float>(age) / static_cast<float>(filled - 1);
        *point++ = at[0];
        *point++ = at[1];
        for (int c = 0; c < 3; ++c)
            *colour++ = static_cast<unsigned char>(std::clamp(material[c], 0.0f, 1.0f) * shade * 255.0f);
        *colour++ = 255;
    };
    for (int i = 0; i < trail_bodies; ++i) {
        const float* material = draw_material[i];
        const float* ring = trail_points(i) + 2 * oldest;
        const auto first = static_cast<GLint>((point - segment_points) / 2);
        // Positions closer than MIN_SEGMENT to the last one kept add nothing
        // visible: they are skipped (the newest is always kept).
        int from = 0;
        add_point(material, ring, 0);
        for (int k = 1; k < filled; ++k) {
            const float dx = ring[2 * k] - ring[2 * from], dy = ring[2 * k + 1] - ring[2 * from + 1];
            if (k + 1 < filled && dx * dx + dy * dy < MIN_SEGMENT * MIN_SEGMENT) continue;
            add_point(material, ring + 2 * k, k);
            from = k;
        }
        strip_first[i] = first;
        strip_count[i] = static_cast<GLsizei>((point - segment_points) / 2) - first;
    }
    const GLboolean lit = glIsEnabled(GL_LIGHTING);
    glDisable(GL_LIGHTING);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glVertexPointer(2, GL_FLOAT, 0, segment_points);
    glColorPointer(4, GL_UNSIGNED_BYTE, 0, segment_colours);
    glMultiDrawArrays(GL_LINE_STRIP, strip_first, strip_count, trail_bodies);
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    if (lit) glEnable(GL_LIGHTING);
}

void release_trails() {
    free_block(segment_points);
    free_block(segment_colours);
    segment_points = nullptr;
    segment_colours = nullptr;
    segment_capacity = 0;
    free_block(strip_first);
    free_block(strip_count);
    strip_first = nullptr;
    strip_count = nullptr;
    strip_capacity = 0;
    free_block(points);
    points = nullptr;
    trail_bodies = 0;
    capacity = 0;
    recorded_body = -1;
    recorded_mode = 0;
    forget();
}
