// The triangles of one quadric sphere of unit radius, as GLU's gluSphere
// lays them out for a given number of slices and stacks (filled, smooth
// normals, facing outward): the same points, the same normals and the same
// split of every quad into two triangles, so that drawing the mesh scaled
// and moved draws the sphere that gluSphere would draw there.
#pragma once

#include <cstdint>

// Vertex 0 is the top pole (0, 0, 1), then the rings j = 1 .. stacks - 1
// from the top down, each of slices + 1 points (the last one repeats the
// first, as the quadric's strips close on it), and last the bottom pole.
// On a unit sphere a point is its own normal, so one array serves both.
struct SphereMesh {
    int slices = 0, stacks = 0;
    int vertex_count = 0;
    int index_count = 0;    // three per triangle
    float* points = nullptr;          // vertex_count * 3
    std::uint16_t* indices = nullptr; // index_count
};

// Points and indices for the counts (slices at least 3, stacks at least 2,
// neither above 100). Each triangle is wound counter-clockwise seen from
// outside and names last the vertex whose colour a flat-shaded quadric
// facet takes. Returns 0 when memory runs out (the mesh is then empty).
int build_sphere_mesh(SphereMesh& mesh, int slices, int stacks);
void release_sphere_mesh(SphereMesh& mesh);
