#include "drawing/trails.h"

#define GL_GLEXT_PROTOTYPES
#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>

#include "drawing/trail_image.h"
#include "drawing/view3d_frame.h"
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

// What one drawing hands to the GL: the points kept of every trail with
// their colours, and each trail's segments as pairs of point indices, all
// trails one array of lines. Lines between a strip's points cover the
// pixels that the strip would, but go to the GL in one draw, where a strip
// per body costs a draw per body.
float* segment_points = nullptr;
unsigned char* segment_colours = nullptr;
GLuint* segment_ends = nullptr;  // two per segment
std::size_t segment_capacity = 0;  // points the arrays hold
// The frame the trails were recorded in.
int recorded_mode = 0;
int recorded_body = -1;
double recorded_origin_x = 0.0, recorded_origin_y = 0.0;
// Frames recorded since the trails last started afresh, and how often they
// did: what the pictures of the trails hold is counted in both.
long long recorded_frames = 0;
long long generation = 0;

float* trail_points(int body) {
    return points + static_cast<std::size_t>(body) * 2u * static_cast<std::size_t>(capacity) * 2u;
}

void forget() {
    head = 0;
    filled = 0;
    recorded_frames = 0;
    ++generation;
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

// What the shown picture was drawn for: a change of any of it redraws it.
struct ImageKey {
    GLint viewport[4];
    GLfloat projection[16];
    GLfloat modelview[16];
    const void* materials;
    long long generation;
};

void release_segments() {
    free_block(segment_points);
    free_block(segment_colours);
    free_block(segment_ends);
    segment_points = nullptr;
    segment_colours = nullptr;
    segment_ends = nullptr;
    segment_capacity = 0;
}

// Window pixels of plane points under the key's matrices, gathered into
// the rectangle they span (widened by a pixel for the line's width). A
// point at or behind the eye gives the whole viewport.
struct PixelBounds {
    float m[16];  // projection x model-view, column-major
    const GLint* viewport;
    float low_x, low_y, high_x, high_y;
    int whole;
};

PixelBounds start_bounds(const ImageKey& key) {
    PixelBounds b{};
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r)
            for (int k = 0; k < 4; ++k) b.m[4 * c + r] += key.projection[4 * k + r] * key.modelview[4 * c + k];
    b.viewport = key.viewport;
    b.low_x = b.low_y = 1e30f;
    b.high_x = b.high_y = -1e30f;
    return b;
}

void add_to_bounds(PixelBounds& b, const float* at) {
    const float w = b.m[3] * at[0] + b.m[7] * at[1] + b.m[15];
    if (!(w > 1e-6f)) {
        b.whole = 1;
        return;
    }
    const float x = (b.m[0] * at[0] + b.m[4] * at[1] + b.m[12]) / w;
    const float y = (b.m[1] * at[0] + b.m[5] * at[1] + b.m[13]) / w;
    b.low_x = std::min(b.low_x, x);
    b.high_x = std::max(b.high_x, x);
    b.low_y = std::min(b.low_y, y);
    b.high_y = std::max(b.high_y, y);
}

PixelRect bounds_rect(const PixelBounds& b) {
    const GLint* v = b.viewport;
    if (b.whole) return PixelRect{v[0], v[1], v[0] + v[2], v[1] + v[3]};
    if (b.high_x < b.low_x) return PixelRect{};
    // Normalised device coordinates to pixels, clamped before conversion so
    // that far-off points cannot overflow an int.
    auto pixel = [](float ndc, GLint origin, GLint size) {
        return origin + static_cast<int>(std::floor((std::clamp(ndc, -2.0f, 2.0f) + 1.0f) * 0.5f * size));
    };
    return PixelRect{pixel(b.low_x, v[0], v[2]) - 1, pixel(b.low_y, v[1], v[3]) - 1, pixel(b.high_x, v[0], v[2]) + 2,
                     pixel(b.high_y, v[1], v[3]) + 2};
}

// Hands the GL the newest `newest` positions of the trails of bodies
// [from, to), the segments of every trail in one call: separate calls per
// body cost far more than the vertices themselves.
void draw_strips(int from, int to, int newest, PixelBounds* bounds = nullptr) {
    if (to <= from || newest < 2) return;
    const auto bodies = static_cast<std::size_t>(to - from);
    const std::size_t most = bodies * static_cast<std::size_t>(newest);
    if (most > segment_capacity) {
        release_segments();
        segment_points = static_cast<float*>(alloc_zeroed(most * 2, sizeof(float)));
        segment_colours = static_cast<unsigned char*>(alloc_zeroed(most * 4, 1));
        segment_ends = static_cast<GLuint*>(alloc_zeroed(most * 2, sizeof(GLuint)));
        if (segment_points == nullptr || segment_colours == nullptr || segment_ends == nullptr) {
            release_segments();
            return;
        }
        segment_capacity = most;
    }
    const int oldest = (head - filled + capacity) % capacity;
    const int skipped = filled - newest;
    float* point = segment_points;
    unsigned char* colour = segment_colours;
    GLuint* ends = segment_ends;
    auto add_point = [&](const float* material, const float* at, int age) {
        // Older parts of a trail are darker, down to a fifth at its end.
        const float shade = 0.2f + 0.8f * static_cast<float>(age) / static_cast<float>(filled - 1);
        *point++ = at[0];
        *point++ = at[1];
        if (bounds != nullptr) add_to_bounds(*bounds, at);
        for (int c = 0; c < 3; ++c)
            *colour++ = static_cast<unsigned char>(std::clamp(material[c], 0.0f, 1.0f) * shade * 255.0f);
        *colour++ = 255;
    };
    for (int i = from; i < to; ++i) {
        const float* material = draw_material[i];
        const float* ring = trail_points(i) + 2 * oldest;
        const auto first = static_cast<GLint>((point - segment_points) / 2);
        // Positions closer than MIN_SEGMENT to the last one kept add nothing
        // visible: they are skipped (the newest is always kept).
        int kept = skipped;
        add_point(material, ring + 2 * kept, kept);
        for (int k = skipped + 1; k < filled; ++k) {
            const float dx = ring[2 * k] - ring[2 * kept], dy = ring[2 * k + 1] - ring[2 * kept + 1];
            if (k + 1 < filled && dx * dx + dy * dy < MIN_SEGMENT * MIN_SEGMENT) continue;
            add_point(material, ring + 2 * k, k);
            kept = k;
        }
        const auto last = static_cast<GLint>((point - segment_points) / 2) - 1;
        for (GLint k = first; k < last; ++k) {
            *ends++ = static_cast<GLuint>(k);
            *ends++ = static_cast<GLuint>(k + 1);
        }
    }
    const auto points = static_cast<GLuint>((point - segment_points) / 2);
    const GLboolean lit = glIsEnabled(GL_LIGHTING);
    glDisable(GL_LIGHTING);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glVertexPointer(2, GL_FLOAT, 0, segment_points);
    glColorPointer(4, GL_UNSIGNED_BYTE, 0, segment_colours);
    glDrawRangeElements(GL_LINES, 0, points - 1, static_cast<GLsizei>(ends - segment_ends), GL_UNSIGNED_INT,
                        segment_ends);
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    if (lit) glEnable(GL_LIGHTING);
}

ImageKey image_key{};
int same_key(const ImageKey& a, const ImageKey& b) {
    return std::memcmp(a.viewport, b.viewport, sizeof a.viewport) == 0 &&
           std::memcmp(a.projection, b.projection, sizeof a.projection) == 0 &&
           std::memcmp(a.modelview, b.modelview, sizeof a.modelview) == 0 && a.materials == b.materials &&
           a.generation == b.generation;
}
long long drawn_frames = 0;  // recorded frames the pictures hold
int redraw_slice = 0;        // slice of bodies the next picture gets next

// Frames over which the next picture is redrawn whole: the work of a full
// drawing spread thinly, at the price of trails up to twice that many
// frames longer, and less faded, than their bound before each swap.
int redraw_frames() { return std::clamp(capacity / 16, 1, 64); }

// Draws into one picture and marks what the lines touched.
void draw_into_image(TrailImage image, int clear, const ImageKey& key, int from, int to, int newest) {
    begin_trail_image(image, clear);
    PixelBounds bounds = start_bounds(key);
    draw_strips(from, to, newest, &bounds);
    mark_trail_image(bounds_rect(bounds));
    end_trail_image();
}

int draw_through_images() {
    ImageKey key{};
    glGetIntegerv(GL_VIEWPORT, key.viewport);
    glGetFloatv(GL_PROJECTION_MATRIX, key.projection);
    glGetFloatv(GL_MODELVIEW_MATRIX, key.modelview);
    key.materials = draw_material;
    key.generation = generation;
    const int sized = size_trail_images(key.viewport[0] + key.viewport[2], key.viewport[1] + key.viewport[3]);
    if (!sized) return 0;
    if (sized == 2 || !same_key(key, image_key)) {
        draw_into_image(SHOWN_TRAIL_IMAGE, 1, key, 0, trail_bodies, filled);
        image_key = key;
        redraw_slice = 0;
    } else if (recorded_frames > drawn_frames) {
        // The segments from the last position drawn to the newest.
        const int fresh = static_cast<int>(std::min<long long>(recorded_frames - drawn_frames, filled - 1)) + 1;
        draw_into_image(SHOWN_TRAIL_IMAGE, 0, key, 0, trail_bodies, fresh);
        const int slices = redraw_frames();
        const int done = trail_bodies * redraw_slice / slices, next = trail_bodies * (redraw_slice + 1) / slices;
        if (done > 0) draw_into_image(NEXT_TRAIL_IMAGE, 0, key, 0, done, fresh);
        draw_into_image(NEXT_TRAIL_IMAGE, redraw_slice == 0, key, done, next, filled);
        if (++redraw_slice == slices) {
            swap_trail_images();
            redraw_slice = 0;
        }
    }
    drawn_frames = recorded_frames;
    return show_trail_image();
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
    ++recorded_frames;
}

void draw_trails() {
    if (!view3d_show_trails || filled < 2 || draw_material == nullptr || trail_bodies != view3d_frame_count) return;
    if (!draw_through_images()) draw_strips(0, trail_bodies, filled);
}

void release_trails() {
    release_segments();
    free_block(points);
    points = nullptr;
    trail_bodies = 0;
    capacity = 0;
    recorded_body = -1;
    recorded_mode = 0;
    forget();
}
