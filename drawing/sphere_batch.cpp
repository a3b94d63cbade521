#include "drawing/sphere_batch.h"

#define GL_GLEXT_PROTOTYPES
#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "drawing/sphere_mesh.h"
#include "sim/bodies.h"

namespace {

// Vertices of one draw: as many whole spheres as 16-bit indices reach.
constexpr int CHUNK_VERTICES = 8192;

SphereMesh mesh;
// One chunk of chunk_spheres copies of the mesh: the points are written
// for each draw, the normals and indices stay as built.
int chunk_spheres = 0;
float* chunk_points = nullptr;
float* chunk_normals = nullptr;
std::uint16_t* chunk_indices = nullptr;
int* order = nullptr;
int order_capacity = 0;

// Buffer objects of the current context holding the chunk's points,
// normals and indices (0: not made yet, or the GL has none and the client
// arrays above are drawn from). Handing the GL client arrays makes it copy
// them into fresh storage at every draw.
int buffers_usable = -1;  // -1 not yet asked
GLuint point_buffer = 0, normal_buffer = 0, index_buffer = 0;
int buffers_filled = 0;  // normals and indices are in their buffers

int gl_offers_buffers() {
    const auto* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    if (version == nullptr) return 0;
    int major = 0, minor = 0;
    if (std::sscanf(version, "%d.%d", &major, &minor) != 2) return 0;
    return major > 1 || (major == 1 && minor >= 5);
}

// Binds the normal and index buffers, made and filled on first use in
// this context, and leaves the point buffer bound as the array buffer;
// 0 when the client arrays are to be drawn from.
int bind_buffers() {
    if (buffers_usable < 0) buffers_usable = gl_offers_buffers();
    if (!buffers_usable) return 0;
    if (point_buffer == 0) {
        glGenBuffers(1, &point_buffer);
        glGenBuffers(1, &normal_buffer);
        glGenBuffers(1, &index_buffer);
        buffers_filled = 0;
    }
    glBindBuffer(GL_ARRAY_BUFFER, normal_buffer);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, index_buffer);
    if (!buffers_filled) {
        const auto spheres = static_cast<GLsizeiptr>(chunk_spheres);
        glBufferData(GL_ARRAY_BUFFER, spheres * mesh.vertex_count * 3 * GLsizeiptr{sizeof(float)}, chunk_normals,
                     GL_STATIC_DRAW);
        glBufferData(GL_ELEMENT_ARRAY_BUFFER, spheres * mesh.index_count * GLsizeiptr{sizeof(std::uint16_t)},
                     chunk_indices, GL_STATIC_DRAW);
        buffers_filled = 1;
    }
    glNormalPointer(GL_FLOAT, 0, nullptr);
    glBindBuffer(GL_ARRAY_BUFFER, point_buffer);
    return 1;
}

int allocate_chunk() {
    const auto spheres = static_cast<std::size_t>(chunk_spheres);
    const auto floats = spheres * static_cast<std::size_t>(mesh.vertex_count) * 3;
    chunk_points = static_cast<float*>(alloc_zeroed(floats, sizeof(float)));
    chunk_normals = static_cast<float*>(alloc_zeroed(floats, sizeof(float)));
    chunk_indices = static_cast<std::uint16_t*>(
        alloc_zeroed(spheres * static_cast<std::size_t>(mesh.index_count), sizeof(std::uint16_t)));
    return chunk_points != nullptr && chunk_normals != nullptr && chunk_indices != nullptr;
}

// Copy k of the mesh: the unit points (a unit sphere's normals), and the
// indices moved past the copies before it.
void fill_chunk() {
    const std::size_t floats = static_cast<std::size_t>(mesh.vertex_count) * 3;
    for (int k = 0; k < chunk_spheres; ++k) {
        std::memcpy(chunk_normals + k * floats, mesh.points, floats * sizeof(float));
        std::uint16_t* indices = chunk_indices + static_cast<std::size_t>(k) * mesh.index_count;
        const int base = k * mesh.vertex_count;
        for (int i = 0; i < mesh.index_count; ++i) indices[i] = static_cast<std::uint16_t>(base + mesh.indices[i]);
    }
}

void release_chunk() {
    release_sphere_mesh(mesh);
    free_block(chunk_points);
    free_block(chunk_normals);
    free_block(chunk_indices);
    chunk_points = chunk_normals = nullptr;
    chunk_indices = nullptr;
    chunk_spheres = 0;
    buffers_filled = 0;
}

void place_sphere(float* out, float x, float y, float radius) {
    const float* unit = mesh.points;
    for (int v = 0; v < mesh.vertex_count; ++v, unit += 3, out += 3) {
        out[0] = x + radius * unit[0];
        out[1] = y + radius * unit[1];
        out[2] = radius * unit[2];
    }
}

}  // namespace

int prepare_sphere_batch(int slices, int stacks) {
    if (chunk_spheres > 0 && mesh.slices == slices && mesh.stacks == stacks) return 1;
    release_chunk();
    if (!build_sphere_mesh(mesh, slices, stacks)) return 0;
    chunk_spheres = CHUNK_VERTICES / mesh.vertex_count;
    if (!allocate_chunk()) {
        release_chunk();
        return 0;
    }
    fill_chunk();
    return 1;
}

void draw_sphere_batch(const int* bodies, int count, const float* x, const float* y, const double* radius) {
    if (chunk_spheres <= 0 || count <= 0) return;
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    const int buffered = bind_buffers();
    if (!buffered) glNormalPointer(GL_FLOAT, 0, chunk_normals);
    glVertexPointer(3, GL_FLOAT, 0, buffered ? nullptr : chunk_points);
    const std::size_t floats = static_cast<std::size_t>(mesh.vertex_count) * 3;
    for (int start = 0; start < count; start += chunk_spheres) {
        const int n = std::min(chunk_spheres, count - start);
        for (int k = 0; k < n; ++k) {
            const int b = bodies[start + k];
            place_sphere(chunk_points + k * floats, x[b], y[b], static_cast<float>(radius[b]));
        }
        // Fresh storage for each chunk's points: rewriting storage that a
        // draw still uses would wait for that draw. The GL takes client
        // arrays when called, so without buffers the next chunk may
        // overwrite the points at once.
        if (buffered)
            glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(n * floats * sizeof(float)), chunk_points,
                         GL_STREAM_DRAW);
        glDrawRangeElements(GL_TRIANGLES, 0, static_cast<GLuint>(n * mesh.vertex_count - 1),
                            n * mesh.index_count, GL_UNSIGNED_SHORT, buffered ? nullptr : chunk_indices);
    }
    if (buffered) {
        glBindBuffer(GL_ARRAY_BUFFER, 0);
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    }
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
}

int* sphere_order_buffer(int count) {
    if (count > order_capacity) {
        free_block(order);
        order = static_cast<int*>(alloc_zeroed(static_cast<std::size_t>(count), sizeof(int)));
        order_capacity = order != nullptr ? count : 0;
    }
    return order;
}

void forget_sphere_buffers() {
    point_buffer = normal_buffer = index_buffer = 0;
    buffers_filled = 0;
    buffers_usable = -1;
}

void release_sphere_batch() {
    forget_sphere_buffers();
    free_block(order);
    order = nullptr;
    order_capacity = 0;
    release_chunk();
}
