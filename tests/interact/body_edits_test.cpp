// Typed, added and deleted bodies, the momentum and centre commands and
// their undo, without a window.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "placement/body_edits.h"
#include "placement/placement.h"

namespace {

class BodyEdits : public ::testing::Test {
protected:
    void SetUp() override {
        clear_bodies();
        reset_scene_defaults();
        glow_count = 0;
        reset_placement_choices();
        bodies_editable = 1;
    }
    void TearDown() override {
        clear_undo();
        clear_bodies();
    }
    // Types text into a cell; returns the refusal or "".
    std::string type(int index, int column, const char* text) {
        int changed = 0;
        const char* refusal = edit_body_text(index, column, text, &changed);
        return refusal != nullptr ? refusal : "";
    }
    std::string cell(int index, int column) {
        char text[64];
        body_cell_text(body_at(index), column, text, sizeof text);
        return text;
    }
    // Body i's x, which these tests use as its name.
    double name_of(int index) { return body_at(index)->x; }
};

TEST_F(BodyEdits, TypedValuesAreKeptExactlyAndRefusedOnesLeaveTheOldValue) {
    add_table_body();
    ASSERT_EQ(body_count, 1);
    Body* body = body_list;
    EXPECT_EQ(body->x, 0.0);
    EXPECT_EQ(body->vx, 0.0);
    EXPECT_EQ(body->mass, 100.0 * MASS_UNIT);  // the size chosen for placement

    // Every digit is kept and shown back in the shortest exact text.
    EXPECT_EQ(type(0, COLUMN_X, " 123456789.123456789 "), "");
    EXPECT_EQ(type(0, COLUMN_VY, "-0.1"), "");
    EXPECT_EQ(type(0, COLUMN_RADIUS, "+0.25"), "");
    EXPECT_EQ(type(0, COLUMN_MASS, "0.3333333333333333"), "");
    EXPECT_EQ(body->x, 123456789.123456789);
    EXPECT_EQ(body->vy, -0.1);
    EXPECT_EQ(body->radius, 0.25);
    EXPECT_EQ(body->mass, 0.3333333333333333 * MASS_UNIT);
    EXPECT_EQ(total_mass, body->mass);
    EXPECT_EQ(cell(0, COLUMN_X), "123456789.12345679");
    EXPECT_EQ(cell(0, COLUMN_VY), "-0.1");
    EXPECT_EQ(type(0, COLUMN_VX, "3e5"), "");
    EXPECT_EQ(cell(0, COLUMN_VX), "300000");
    EXPECT_EQ(type(0, COLUMN_VX, "1e-300"), "");
    EXPECT_EQ(cell(0, COLUMN_VX), "1e-300");
    EXPECT_EQ(std::stod(cell(0, COLUMN_MASS)), body->mass / MASS_UNIT);

    // No number, not a finite one, more than a number, a mass whose total
    // is no number: each is refused with a reason and changes nothing.
    for (const char* text : {"", "abc", "1e400", "inf", "nan", "1,5", "2 3", "0x10"})
        EXPECT_NE(type(0, COLUMN_Y, text), "") << text;
    EXPECT_NE(type(0, COLUMN_MASS, "1e300"), "");
    EXPECT_EQ(body->y, 0.0);
    EXPECT_EQ(body->mass, 0.3333333333333333 * MASS_UNIT);

    // Colour and glow set what placement sets; the ninth glowing body is
    // refused.
    int changed = 0;
    EXPECT_EQ(edit_body_colour(0, BLUE, &changed), nullptr);
    EXPECT_EQ(changed, 1);
    EXPECT_EQ(body->material, material_colours[BLUE]);
    EXPECT_EQ(body->emission, emission_by_colour[BLUE]);
    EXPECT_EQ(body->light_colour, light_by_colour[BLUE]);
    place_glowing = 0;
    for (int i = 0; i < 8; ++i) add_table_body();
    EXPECT_EQ(glow_count, 1);
    for (int i = 0; i < 7; ++i) EXPECT_EQ(edit_body_glowing(i, 1, &changed), nullptr);
    EXPECT_EQ(glow_count, 8);
    EXPECT_NE(edit_body_glowing(7, 1, &changed), nullptr);
    EXPECT_EQ(changed, 0);
    EXPECT_EQ(body_at(7)->glowing, 0);
    EXPECT_EQ(glow_count, 8);
    EXPECT_EQ(edit_body_glowing(0, 0, &changed), nullptr);
    EXPECT_EQ(glow_count, 7);
}

TEST_F(BodyEdits, DeleteAndUndoKeepTheReferenceTheGlowAndTheOrderOneActionAtATime) {
    // Five bodies named by their x: body i at x = 10 * (4 - i); 1 and 3 glow.
    place_glowing = 0;
    for (int i = 0; i < 5; ++i) {
        add_table_body();
        type(0, COLUMN_X, std::to_string(10 * i).c_str());
    }
    int changed = 0;
    edit_body_glowing(1, 1, &changed);
    edit_body_glowing(3, 1, &changed);
    set_frame_body(2);
    ASSERT_EQ(glow_count, 2);
    const double mass = total_mass;

    // Adding makes body 0; the reference keeps its body.
    add_table_body();
    EXPECT_EQ(read_frame_body(), 3);
    EXPECT_EQ(name_of(3), 20.0);
    undo_last_action();
    EXPECT_EQ(body_count, 5);
    EXPECT_EQ(read_frame_body(), 2);

    // A middle row and a glowing row go in one action.
    const int rows[] = {3, 1, 3};
    EXPECT_EQ(delete_bodies(rows, 3), 2);
    EXPECT_EQ(body_count, 3);
    EXPECT_EQ(glow_count, 0);
    EXPECT_EQ(name_of(0), 40.0);
    EXPECT_EQ(name_of(1), 20.0);
    EXPECT_EQ(name_of(2), 0.0);
    EXPECT_EQ(read_frame_body(), 1);
    EXPECT_EQ(body_list->prev, body_at(2));
    // The reference itself deleted: body 0 becomes the reference.
    const int reference[] = {1};
    delete_bodies(reference, 1);
    EXPECT_EQ(read_frame_body(), 0);

    // An edit after them; undo takes back the edit, then each delete.
    type(0, COLUMN_Y, "5");
    undo_last_action();
    EXPECT_EQ(body_at(0)->y, 0.0);
    undo_last_action();
    EXPECT_EQ(body_count, 3);
    EXPECT_EQ(read_frame_body(), 1);
    undo_last_action();
    ASSERT_EQ(body_count, 5);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(name_of(i), 10.0 * (4 - i));
    EXPECT_EQ(body_at(1)->glowing + body_at(3)->glowing, 2);
    EXPECT_EQ(glow_count, 2);
    EXPECT_EQ(read_frame_body(), 2);
    EXPECT_DOUBLE_EQ(total_mass, mass);
    // Then the glow changes and the typed values, down to an empty list.
    for (int i = 0; i < 20 && body_count > 0; ++i) undo_last_action();
    EXPECT_EQ(body_count, 0);
    EXPECT_EQ(glow_count, 0);
    EXPECT_EQ(total_mass, 0.0);
    EXPECT_EQ(undo_last_action().undone, 0);
}

TEST_F(BodyEdits, ZeroMomentumAndCentreOnOriginPutTheCentreOfMassAtRestAtTheOrigin) {
    const double values[3][5] = {{1000, 2e5, -1e5, 3e5, 1e4}, {1, -4e5, 2e5, -1e4, 2e6}, {10, 7e4, 3e5, 5e5, -1e6}};
    for (const auto& v : values) {
        add_table_body();
        body_list->mass = v[0] * MASS_UNIT;
        body_list->x = v[1];
        body_list->y = v[2];
        body_list->vx = v[3];
        body_list->vy = v[4];
    }
    total_mass = 1011 * MASS_UNIT;
    const auto sums = [](double Body::*px, double Body::*py, double* sx, double* sy, double* scale) {
        *sx = *sy = *scale = 0.0;
        const Body* body = body_list;
        for (int i = 0; i < body_count; ++i, body = body->next) {
            *sx += body->mass * (body->*px);
            *sy += body->mass * (body->*py);
            *scale += std::fabs(body->mass * (body->*px)) + std::fabs(body->mass * (body->*py));
        }
    };
    double px = 0, py = 0, scale = 0;
    EXPECT_EQ(zero_momentum(), 1);
    sums(&Body::vx, &Body::vy, &px, &py, &scale);
    EXPECT_LT(std::fabs(px) + std::fabs(py), 1e-14 * scale);
    EXPECT_EQ(centre_on_origin(), 1);
    sums(&Body::x, &Body::y, &px, &py, &scale);
    EXPECT_LT(std::fabs(px) + std::fabs(py), 1e-14 * scale);
    // Each is one action: one undo brings every position back.
    undo_last_action();
    EXPECT_EQ(body_at(2)->x, 2e5);
    EXPECT_EQ(body_at(0)->y, 3e5);
    EXPECT_NE(body_at(0)->vx, 5e5);

    // Masses that cancel: the plain mean velocity is taken out, as the
    // frames take the plain mean position.
    clear_bodies();
    for (const double v : {1.0, -1.0}) {
        add_table_body();
        body_list->mass = v * MASS_UNIT;
        body_list->vx = 10.0 + v;
    }
    total_mass = 0.0;
    zero_momentum();
    EXPECT_EQ(body_at(0)->vx, -1.0);
    EXPECT_EQ(body_at(1)->vx, 1.0);
    EXPECT_TRUE(std::isfinite(body_at(0)->vy));
}

}  // namespace
