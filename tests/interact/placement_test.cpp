// Placement arithmetic and the mode state machine, without a window.
#include <gtest/gtest.h>

#include <cmath>

#include "placement/placement.h"

namespace {

class Placement : public ::testing::Test {
protected:
    void SetUp() override {
        clear_bodies();
        reset_scene_defaults();
        glow_count = 0;
        reset_placement_choices();
        reset_plane_view();
    }
    void TearDown() override { clear_bodies(); }
    Body* body_at(double x, double y, double user_mass) {
        Body* body = nullptr;
        add_body(&body, x, y, 0.3, material_colours[WHITE], user_mass, WHITE);
        return body;
    }
};

TEST_F(Placement, ZoomPanAndFitKeepOneMappingBothWays) {
    // Zoomed about a pixel, that pixel keeps its world point; pixel to world
    // and back is the identity at any zoom.
    double before_x = 0, before_y = 0, x = 0, y = 0, px = 0, py = 0;
    screen_to_world(100, 50, 640, 400, &before_x, &before_y);
    zoom_plane_view(37.5, 100, 50, 640, 400);
    screen_to_world(100, 50, 640, 400, &x, &y);
    EXPECT_NEAR(x, before_x, 1e-9);
    EXPECT_NEAR(y, before_y, 1e-9);
    world_to_screen(x + 1000.0, y - 2000.0, 640, 400, &px, &py);
    EXPECT_NEAR(px, 100 + 1000.0 * 37.5 * 200 / WORLD_HALF_HEIGHT, 1e-9);
    EXPECT_NEAR(py, 50 + 2000.0 * 37.5 * 200 / WORLD_HALF_HEIGHT, 1e-9);
    // The scale stops at its limits; a zoom by nothing finite changes nothing.
    zoom_plane_view(1e9, 0, 0, 640, 400);
    EXPECT_EQ(plane_view.scale, PLANE_VIEW_LARGEST_SCALE);
    zoom_plane_view(NAN, 0, 0, 640, 400);
    EXPECT_EQ(plane_view.scale, PLANE_VIEW_LARGEST_SCALE);
    zoom_plane_view(1e-12, 0, 0, 640, 400);
    EXPECT_EQ(plane_view.scale, PLANE_VIEW_SMALLEST_SCALE);
    // A pan moves the world with the pointer.
    const PlaneView start = plane_view;
    screen_to_world(10, 20, 640, 400, &before_x, &before_y);
    pan_plane_view(start, 30, -40, 400);
    screen_to_world(40, -20, 640, 400, &x, &y);
    EXPECT_NEAR(x, before_x, 1e-6 * WORLD_HALF_HEIGHT);
    EXPECT_NEAR(y, before_y, 1e-6 * WORLD_HALF_HEIGHT);
    // Fit: every point inside, the widest direction nearly filled; one point
    // (or points at one place) centred at scale 1; non-finite ones ignored.
    const double fx[] = {-1e6, 3e6, 5e5, NAN}, fy[] = {2e5, -1e5, 4e5, 0.0};
    fit_plane_view(fx, fy, 4, 640, 400);
    for (int i = 0; i < 3; ++i) {
        world_to_screen(fx[i], fy[i], 640, 400, &px, &py);
        EXPECT_GE(px, 0.0);
        EXPECT_LE(px, 640.0);
        EXPECT_GE(py, 0.0);
        EXPECT_LE(py, 400.0);
    }
    world_to_screen(3e6, 0, 640, 400, &px, &py);
    EXPECT_GT(px, 0.85 * 640);
    const double same[] = {7e5, 7e5};
    fit_plane_view(same, same, 2, 640, 400);
    EXPECT_EQ(plane_view.scale, 1.0);
    EXPECT_EQ(plane_view.centre_x, 7e5);
}

TEST_F(Placement, ClickMapsTheWholeClientAreaToTheWorld) {
    double wx = 1.0, wy = 1.0;
    screen_to_world(320, 200, 640, 400, &wx, &wy);
    EXPECT_EQ(wx, 0.0);
    EXPECT_EQ(wy, 0.0);
    screen_to_world(0, 0, 640, 400, &wx, &wy);
    EXPECT_DOUBLE_EQ(wy, WORLD_HALF_HEIGHT);
    EXPECT_DOUBLE_EQ(wx, -WORLD_HALF_HEIGHT * 640 / 400);
    screen_to_world(0, 400, 640, 400, &wx, &wy);
    EXPECT_DOUBLE_EQ(wy, -WORLD_HALF_HEIGHT);
    // Twice as wide as high: the right edge lies two half-heights out, and
    // a pixel is the same length across and down.
    screen_to_world(800, 200, 800, 400, &wx, &wy);
    EXPECT_DOUBLE_EQ(wx, 1264780.0);
    double wx2 = 0.0, wy2 = 0.0;
    screen_to_world(401, 201, 800, 400, &wx2, &wy2);
    EXPECT_NEAR(wx2, -wy2, 1e-6);
    // No client area at all: no division by zero.
    screen_to_world(5, 5, 0, 0, &wx, &wy);
    EXPECT_EQ(wx, 0.0);
    EXPECT_EQ(wy, 0.0);
}

TEST_F(Placement, NearestSearchesBreakTiesTheirOwnWay) {
    EXPECT_EQ(nearest_body(0.0, 0.0), nullptr);
    Body* older = body_at(-100.0, 0.0, 1.0);
    Body* newer = body_at(100.0, 0.0, 1.0);
    EXPECT_EQ(nearest_body(0.0, 0.0), newer);  // the newest of equal ones
    EXPECT_EQ(nearest_body(-90.0, 5.0), older);
    const double x[] = {500.0, -100.0, 100.0, 100.0};
    const double y[] = {50.0, 0.0, 0.0, 0.0};
    EXPECT_EQ(nearest_index(0.0, 0.0, x, y, 4), 1);      // the lowest index of equal ones
    EXPECT_EQ(nearest_index(100.0, 1.0, x, y, 4), 2);
    EXPECT_EQ(nearest_index(0.0, 0.0, x, y, 0), 0);
}

TEST_F(Placement, CircularOrbitAboutAMovingCentre) {
    Body* centre = body_at(1000.0, 2000.0, 10000.0);
    centre->vx = 30.0;
    centre->vy = -40.0;
    Body* body = body_at(1000.0, 2000.0 + 50000.0, 1.0);
    body->vx = 1e9;  // replaced
    set_circular_velocity(body, centre);
    const double v = std::sqrt(centre->mass / 50000.0);
    // Counter-clockwise: above the centre it moves to the left.
    EXPECT_NEAR(body->vx, 30.0 - v, 1e-9 * v);
    EXPECT_NEAR(body->vy, -40.0, 1e-9 * v);
    // The relative speed is that of a circular orbit whatever the body's own mass.
    const double rvx = body->vx - centre->vx, rvy = body->vy - centre->vy;
    EXPECT_NEAR(rvx * rvx + rvy * rvy, centre->mass / 50000.0, 1e-9 * v * v);
    // At zero distance the body only shares the centre's motion.
    Body* on_top = body_at(1000.0, 2000.0, 1.0);
    set_circular_velocity(on_top, centre);
    EXPECT_EQ(on_top->vx, 30.0);
    EXPECT_EQ(on_top->vy, -40.0);
}

TEST_F(Placement, BinaryPairsHaveNoMomentum) {
    Body* first = body_at(0.0, 0.0, 100.0);
    Body* second = body_at(40000.0, 30000.0, 100.0);
    set_binary_velocities(second, first);
    const double r = 50000.0;
    const double each = std::sqrt(first->mass / (2.0 * r));
    EXPECT_NEAR(std::hypot(first->vx, first->vy), each, 1e-9 * each);
    EXPECT_NEAR(std::hypot(second->vx, second->vy), each, 1e-9 * each);
    EXPECT_NEAR(first->vx + second->vx, 0.0, 1e-9 * each);
    EXPECT_NEAR(first->vy + second->vy, 0.0, 1e-9 * each);

    Body* heavy = body_at(0.0, 0.0, 1000.0);
    Body* light = body_at(0.0, -r, 10.0);
    set_binary_velocities(light, heavy);
    const double total = heavy->mass + light->mass;
    EXPECT_NEAR(heavy->mass * heavy->vx + light->mass * light->vx, 0.0, 1e-9 * total * each);
    EXPECT_NEAR(heavy->mass * heavy->vy + light->mass * light->vy, 0.0, 1e-9 * total * each);
    const double relative = std::hypot(light->vx - heavy->vx, light->vy - heavy->vy);
    EXPECT_NEAR(relative, std::sqrt(total / r), 1e-9 * relative);
    // Below the heavy body the light one moves to the right: counter-clockwise.
    EXPECT_GT(light->vx, 0.0);

    Body* a = body_at(7.0, 7.0, 1.0);
    Body* b = body_at(7.0, 7.0, 1.0);
    set_binary_velocities(b, a);
    EXPECT_EQ(a->vx, 0.0);
    EXPECT_EQ(b->vy, 0.0);
}

TEST_F(Placement, ModesFollowTheirStateTable) {
    // Unassisted: one body per click, at rest, with the current choices.
    choose_size(SIZE_LARGE);
    choose_colour(COLOUR_BLUE);
    PlacementOutcome out = placement_click(10.0, 20.0);
    ASSERT_EQ(body_count, 1);
    EXPECT_EQ(out.back_to_unassisted, 0);
    EXPECT_EQ(body_list->x, 10.0);
    EXPECT_EQ(body_list->mass, 1000.0 * MASS_UNIT);
    EXPECT_DOUBLE_EQ(body_list->radius, 0.8 * max_radius);
    EXPECT_EQ(body_list->material, material_colours[BLUE]);
    EXPECT_EQ(body_list->glowing, 1);
    EXPECT_EQ(glow_count, 1);
    Body* star = body_list;

    // Circle: a centre click, then one orbiting body and back to Unassisted.
    choose_mode(PLACE_CIRCLE);
    out = placement_click(12.0, 22.0);
    EXPECT_STREQ(out.status_text, "Circle mode - left click to place body in circular orbit");
    EXPECT_EQ(place_anchor, star);
    EXPECT_EQ(body_count, 1);
    out = placement_click(12.0, 22.0 + 1000.0);
    EXPECT_EQ(body_count, 2);
    EXPECT_EQ(out.back_to_unassisted, 1);
    EXPECT_LT(body_list->vx, 0.0);

    // Circles: the centre stays and every later click adds an orbit; a click
    // right on the centre makes nothing and changes nothing.
    choose_mode(PLACE_CIRCLES);
    placement_click(10.0, 20.0);
    for (int i = 1; i <= 3; ++i) {
        out = placement_click(10.0 + 1000.0 * i, 20.0);
        EXPECT_EQ(out.back_to_unassisted, 0);
        EXPECT_GT(body_list->vy, 0.0);
    }
    EXPECT_EQ(body_count, 5);
    out = placement_click(10.0, 20.0);
    EXPECT_EQ(body_count, 5);
    EXPECT_EQ(place_mode, PLACE_CIRCLES);
    EXPECT_EQ(place_pending, 1);

    // Binary: the first member, a refused click on it, then the second; the
    // material may change in between.
    choose_mode(PLACE_BINARY);
    out = placement_click(-5000.0, 0.0);
    EXPECT_STREQ(out.status_text, "Binary mode - left click to place second member of binary pair");
    Body* first = body_list;
    EXPECT_EQ(place_anchor, first);
    choose_material(MATERIAL_REFLECTIVE);
    placement_click(-5000.0, 0.0);
    EXPECT_EQ(body_count, 6);
    out = placement_click(5000.0, 0.0);
    EXPECT_EQ(body_count, 7);
    EXPECT_EQ(out.back_to_unassisted, 1);
    EXPECT_EQ(body_list->glowing, 0);
    EXPECT_NEAR(first->vy + body_list->vy, 0.0, 1e-9);
    EXPECT_GT(body_list->vy, 0.0);

    // Ring makes nothing and asks for Unassisted.
    EXPECT_STREQ(choose_mode(PLACE_RING), "Ring mode - left click on body at center of ring. NOT YET IMPLEMENTED");
    out = placement_click(0.0, 0.0);
    EXPECT_EQ(body_count, 7);
    EXPECT_EQ(out.back_to_unassisted, 1);
}

TEST_F(Placement, ChoicesAndTheOpenCases) {
    // A centre click in an empty scene waits for a centre.
    choose_mode(PLACE_CIRCLE);
    PlacementOutcome out = placement_click(0.0, 0.0);
    EXPECT_EQ(out.status_text, nullptr);
    EXPECT_EQ(place_pending, 0);
    EXPECT_EQ(body_count, 0);

    // A colour chosen while Reflective still sets the glow colours; Glowing
    // later takes those of the current colour.
    choose_material(MATERIAL_REFLECTIVE);
    choose_colour(COLOUR_CYAN);
    EXPECT_EQ(place_emission, emission_by_colour[CYAN]);
    EXPECT_EQ(place_light_colour, light_by_colour[CYAN]);
    choose_material(MATERIAL_GLOWING);
    EXPECT_EQ(place_emission, emission_by_colour[CYAN]);
    EXPECT_EQ(place_glowing, 1);

    // A size takes the Max radius in force when it is chosen.
    max_radius = 2.0;
    EXPECT_DOUBLE_EQ(place_radius, 0.3);
    choose_size(SIZE_SMALLEST);
    EXPECT_DOUBLE_EQ(place_radius, 0.4);
    EXPECT_EQ(place_mass, 1.0);
    EXPECT_EQ(choose_size(PLACE_RING), 0);
    EXPECT_EQ(choose_mode(SIZE_LARGE), nullptr);
}

}  // namespace
