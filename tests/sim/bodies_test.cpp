// The body ring, its operations and the scene-wide defaults.
#include <gtest/gtest.h>

#include <vector>

#include "sim/bodies.h"

namespace {

class Bodies : public ::testing::Test {
protected:
    void SetUp() override {
        clear_bodies();
        glow_count = 0;
    }
    void TearDown() override { clear_bodies(); }
};

Body* add(double x) { return add_body(nullptr, x, 0.0, 0.2, material_colours[RED], 1.0, RED); }

TEST_F(Bodies, FirstBodyIsARingOfOne) {
    Body* out = nullptr;
    Body* a = add_body(&out, 1.0, 2.0, 0.3, material_colours[CYAN], 10.0, CYAN);
    EXPECT_EQ(out, a);
    EXPECT_EQ(body_list, a);
    EXPECT_EQ(a->next, a);
    EXPECT_EQ(a->prev, a);
    EXPECT_EQ(body_count, 1);
    EXPECT_EQ(a->x, 1.0);
    EXPECT_EQ(a->y, 2.0);
    EXPECT_EQ(a->radius, 0.3);
    EXPECT_EQ(a->material, material_colours[CYAN]);
    EXPECT_EQ(a->colour, CYAN);
    // Zero-filled: at rest, reflective, no emission.
    EXPECT_EQ(a->vx, 0.0);
    EXPECT_EQ(a->vy, 0.0);
    EXPECT_EQ(a->glowing, 0);
    EXPECT_EQ(a->emission, nullptr);
    EXPECT_EQ(a->light, 0);
}

TEST_F(Bodies, WalkVisitsNewestFirstAndPrevReverses) {
    Body* a = add(1.0);
    Body* b = add(2.0);
    Body* c = add(3.0);
    std::vector<Body*> forward, backward;
    Body* p = body_list;
    for (int i = 0; i < body_count; ++i, p = p->next) forward.push_back(p);
    EXPECT_EQ(p, body_list) << "the walk returns to the head";
    p = a;
    for (int i = 0; i < body_count; ++i, p = p->prev) backward.push_back(p);
    EXPECT_EQ(forward, (std::vector<Body*>{c, b, a}));
    EXPECT_EQ(backward, (std::vector<Body*>{a, b, c}));
    EXPECT_EQ(c->prev, a) << "the head's prev is the last body of the walk";
}

TEST_F(Bodies, MassesAreUserMassTimesTheUnit) {
    add_body(nullptr, 0.0, 0.0, 0.1, material_colours[0], 100.0, 0);
    EXPECT_EQ(body_list->mass, 100.0 * 8.16701e15);
    EXPECT_EQ(total_mass, 8.16701e17);
    add_body(nullptr, 0.0, 0.0, 0.1, material_colours[0], 1.0, 0);
    EXPECT_EQ(total_mass, 8.16701e17 + 8.16701e15);
}

TEST_F(Bodies, ClearFreesEveryBodyAndKeepsGlowCount) {
    EXPECT_EQ(clear_bodies(), 0);  // empty list: nothing to free
    EXPECT_EQ(total_mass, 0.0);
    EXPECT_EQ(body_count, 0);
    for (int i = 0; i < 5; ++i) add(i);
    glow_count = 3;
    EXPECT_EQ(clear_bodies(), 0);
    EXPECT_EQ(body_count, 0);
    EXPECT_EQ(total_mass, 0.0);
    EXPECT_EQ(glow_count, 3);
    Body* a = add(7.0);  // a fresh ring after clearing
    EXPECT_EQ(a->next, a);
}

TEST_F(Bodies, GlowTakesColoursAndALightName) {
    Body* a = add(0.0);
    set_body_glow(a, 1, emission_by_colour[GREEN], light_by_colour[GREEN], 1);
    EXPECT_EQ(a->glowing, 1);
    EXPECT_EQ(a->emission, emission_colours[GREEN]);
    EXPECT_EQ(a->light_colour, light_colours[GREEN]);
    EXPECT_EQ(a->light, 0x4000);
    for (auto [count, light] : std::vector<std::pair<int, int>>{{8, 0x4007}, {9, 0x4000}, {0, 0x4000}, {3, 0x4002}}) {
        set_body_glow(a, 1, emission_by_colour[GREEN], light_by_colour[GREEN], count);
        EXPECT_EQ(a->light, light) << "light_count " << count;
    }
    // Reflective again: colours and light name stay as they were.
    set_body_glow(a, 1, emission_by_colour[BLUE], light_by_colour[BLUE], 5);
    set_body_glow(a, 0, nullptr, nullptr, 0);
    EXPECT_EQ(a->glowing, 0);
    EXPECT_EQ(a->emission, emission_colours[BLUE]);
    EXPECT_EQ(a->light_colour, light_colours[BLUE]);
    EXPECT_EQ(a->light, 0x4004);
}

TEST_F(Bodies, ColourTables) {
    EXPECT_EQ(material_colours[MAGENTA][0], 1.0f);
    EXPECT_EQ(material_colours[MAGENTA][1], 0.0f);
    EXPECT_EQ(material_colours[MAGENTA][3], 0.8f);
    EXPECT_EQ(material_colours[BLACK_MATERIAL][0], 0.0f);
    EXPECT_EQ(emission_colours[YELLOW][2], 0.2f);
    EXPECT_EQ(light_colours[CYAN][0], 0.5f);
    EXPECT_EQ(emission_by_colour[7], nullptr);
    EXPECT_EQ(light_by_colour[7], nullptr);
    EXPECT_EQ(emission_colours[7][0], 0.2f);
    EXPECT_EQ(light_colours[7][1], 0.5f);
}

TEST_F(Bodies, DefaultsAreRestored) {
    time_step = 5.0;
    frame_mode = FRAME_ORBIT;
    frame_body = 4;
    star_lighting = 0;
    camera_rotate = 3.0f;
    stop_requested = 1;
    reset_scene_defaults();
    EXPECT_EQ(time_step, 0.001);
    EXPECT_EQ(frame_mode, FRAME_FIXED);
    EXPECT_EQ(frame_body, 0);
    EXPECT_EQ(star_lighting, 1);
    EXPECT_EQ(camera_rotate, -85.0f);
    EXPECT_EQ(camera_translate, -15.0f);
    EXPECT_EQ(field_of_view, 70.0);
    EXPECT_EQ(far_plane, 50.0);
    EXPECT_EQ(sphere_slices, 10);
    EXPECT_EQ(stop_requested.load(), 0);
    EXPECT_EQ(eta, 0.01);
    EXPECT_EQ(softening2, 0.05);
}

TEST_F(Bodies, ZeroSizedAllocationsAreDistinctAndZeroed) {
    void* a = alloc_zeroed(0, 8);
    void* b = alloc_zeroed(4, 0);
    EXPECT_NE(a, nullptr);
    EXPECT_NE(b, nullptr);
    EXPECT_NE(a, b);
    auto* d = static_cast<double*>(alloc_zeroed(1000, sizeof(double)));
    for (int i = 0; i < 1000; ++i) ASSERT_EQ(d[i], 0.0);
    free_block(a);
    free_block(b);
    free_block(d);
    free_block(nullptr);
}

TEST(BodiesDeath, FailedAllocationEndsTheProgram) {
    EXPECT_DEATH(alloc_zeroed(static_cast<std::size_t>(1) << 62, 64), "Allocation error");
}

}  // namespace
