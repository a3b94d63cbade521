// The unit sphere mesh that the 3D view's spheres are drawn from.
#include "drawing/sphere_mesh.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

TEST(SphereMesh, ClosedOutwardFacingSphereOfTheQuadricsSize) {
    SphereMesh mesh;
    for (const auto& [slices, stacks] : {std::pair{10, 10}, {3, 2}, {7, 13}, {100, 100}}) {
        SCOPED_TRACE(testing::Message() << slices << " x " << stacks);
        ASSERT_TRUE(build_sphere_mesh(mesh, slices, stacks));
        // The quadric's points: two poles and stacks - 1 closed rings.
        EXPECT_EQ(mesh.vertex_count, 2 + (stacks - 1) * (slices + 1));
        EXPECT_EQ(mesh.index_count, 6 * slices * (stacks - 1));
        for (int v = 0; v < mesh.vertex_count; ++v) {
            const float* p = mesh.points + 3 * v;
            EXPECT_NEAR(std::sqrt(p[0] * p[0] + p[1] * p[1] + p[2] * p[2]), 1.0, 1e-6);
        }
        EXPECT_EQ(mesh.points[2], 1.0f);
        EXPECT_EQ(mesh.points[3 * mesh.vertex_count - 1], -1.0f);

        // Every triangle is seen counter-clockwise from outside, and their
        // areas add up to nearly the sphere's (inscribed, so a little less).
        std::vector<int> used(static_cast<std::size_t>(mesh.vertex_count), 0);
        double area = 0.0;
        for (int t = 0; t < mesh.index_count; t += 3) {
            const float* a = mesh.points + 3 * mesh.indices[t];
            const float* b = mesh.points + 3 * mesh.indices[t + 1];
            const float* c = mesh.points + 3 * mesh.indices[t + 2];
            const double u[3] = {b[0] - a[0], b[1] - a[1], b[2] - a[2]};
            const double w[3] = {c[0] - a[0], c[1] - a[1], c[2] - a[2]};
            const double n[3] = {u[1] * w[2] - u[2] * w[1], u[2] * w[0] - u[0] * w[2], u[0] * w[1] - u[1] * w[0]};
            const double outward = n[0] * (a[0] + b[0] + c[0]) + n[1] * (a[1] + b[1] + c[1]) + n[2] * (a[2] + b[2] + c[2]);
            EXPECT_GT(outward, 0.0) << "triangle " << t / 3;
            area += 0.5 * std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
            for (int k = 0; k < 3; ++k) used[mesh.indices[t + k]] = 1;
        }
        EXPECT_LT(area, 4.0 * M_PI);
        if (slices >= 10 && stacks >= 10) {
            EXPECT_GT(area, 0.9 * 4.0 * M_PI);
        }
        for (int v = 0; v < mesh.vertex_count; ++v) EXPECT_TRUE(used[v]) << "vertex " << v;
    }
    release_sphere_mesh(mesh);
    EXPECT_EQ(mesh.points, nullptr);
}

}  // namespace
