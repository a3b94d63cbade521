#include "drawing/sphere_mesh.h"

#include <cmath>

#include "sim/bodies.h"

namespace {

constexpr double PI = 3.14159265358979323846;

int ring_vertex(const SphereMesh& mesh, int ring, int slice) { return 1 + (ring - 1) * (mesh.slices + 1) + slice; }

void put_triangle(SphereMesh& mesh, int& at, int a, int b, int c) {
    mesh.indices[at++] = static_cast<std::uint16_t>(a);
    mesh.indices[at++] = static_cast<std::uint16_t>(b);
    mesh.indices[at++] = static_cast<std::uint16_t>(c);
}

void put_point(float* p, float x, float y, float z) {
    p[0] = x;
    p[1] = y;
    p[2] = z;
}

}  // namespace

int build_sphere_mesh(SphereMesh& mesh, int slices, int stacks) {
    release_sphere_mesh(mesh);
    const int vertices = 2 + (stacks - 1) * (slices + 1);
    const int triangles = 2 * slices * (stacks - 1);
    mesh.points = static_cast<float*>(alloc_zeroed(static_cast<std::size_t>(vertices) * 3, sizeof(float)));
    mesh.indices = static_cast<std::uint16_t*>(
        alloc_zeroed(static_cast<std::size_t>(triangles) * 3, sizeof(std::uint16_t)));
    if (mesh.points == nullptr || mesh.indices == nullptr) {
        release_sphere_mesh(mesh);
        return 0;
    }
    mesh.slices = slices;
    mesh.stacks = stacks;
    mesh.vertex_count = vertices;
    mesh.index_count = triangles * 3;

    // The quadric's angles and their sines and cosines are single floats;
    // the same steps give the same points.
    put_point(mesh.points, 0.0f, 0.0f, 1.0f);
    for (int j = 1; j < stacks; ++j) {
        const auto polar = static_cast<float>(PI * j / stacks);
        const auto ring_sin = static_cast<float>(std::sin(static_cast<double>(polar)));
        const auto ring_cos = static_cast<float>(std::cos(static_cast<double>(polar)));
        for (int i = 0; i <= slices; ++i) {
            const auto around = static_cast<float>(2 * PI * (i % slices) / slices);
            const auto s = static_cast<float>(std::sin(static_cast<double>(around)));
            const auto c = static_cast<float>(std::cos(static_cast<double>(around)));
            put_point(mesh.points + 3 * ring_vertex(mesh, j, i), s * ring_sin, c * ring_sin, ring_cos);
        }
    }
    put_point(mesh.points + 3 * (vertices - 1), 0.0f, 0.0f, -1.0f);

    // In the quadric's order: the fan round the top pole, the fan round the
    // bottom pole, then one strip of quads per stack between them. A quad
    // of a strip is split as the GL splits it, both halves ending in the
    // quad's last vertex.
    int at = 0;
    const int top = 0, bottom = vertices - 1, last_ring = stacks - 1;
    for (int i = slices - 1; i >= 0; --i) put_triangle(mesh, at, top, ring_vertex(mesh, 1, i + 1), ring_vertex(mesh, 1, i));
    for (int i = 0; i < slices; ++i)
        put_triangle(mesh, at, bottom, ring_vertex(mesh, last_ring, i), ring_vertex(mesh, last_ring, i + 1));
    for (int j = 1; j + 1 < stacks; ++j) {
        for (int i = 0; i < slices; ++i) {
            const int upper = ring_vertex(mesh, j, i), upper_next = ring_vertex(mesh, j, i + 1);
            const int lower = ring_vertex(mesh, j + 1, i), lower_next = ring_vertex(mesh, j + 1, i + 1);
            put_triangle(mesh, at, lower_next, lower, upper_next);
            put_triangle(mesh, at, lower, upper, upper_next);
        }
    }
    return 1;
}

void release_sphere_mesh(SphereMesh& mesh) {
    free_block(mesh.points);
    free_block(mesh.indices);
    mesh = SphereMesh{};
}
