// What the writer puts in a scene file and what the reader makes of it.
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "scene_fixture.h"
#include "scenefile/scene_file.h"
#include "sim/bodies.h"

namespace {

Body* place(double x, double y, double radius, int colour, double user_mass, int glowing) {
    Body* body = add_body(nullptr, x, y, radius, material_colours[colour], user_mass, colour);
    if (glowing) ++glow_count;
    set_body_glow(body, glowing, emission_by_colour[colour], light_by_colour[colour], glow_count);
    return body;
}

}  // namespace

TEST_F(SceneFileTest, WritesHeaderAndBodyLinesInListOrderWithShortestForms) {
    Body* older = place(0.1234567, -1000000, 0.3, RED, 1, 0);
    older->vx = 0.001;
    older->vy = -3.5;
    place(0, 0, 0.5, WHITE, 10000, 1);  // the newest body, the reference
    ASSERT_EQ(write_to("two.slo"), 1);
    EXPECT_EQ(read_text("two.slo"),
              "2.0.002 0.001 2 1 0 0 40005 -15 -85 70 0.1 50 0.5 10 10 1 1\n"
              "0 0.5 0 0 0 0 8.16701e+19 16384 1\n"
              "2 0.3 0.1234567 -1e+06 0.001 -3.5 8.16701e+15 0 0\n");
    EXPECT_TRUE(shown_messages.empty());
}

TEST_F(SceneFileTest, SavingAfterReadingReversesTheLinesAndKeepsTheReferenceBody) {
    Body* a = place(100, 1, 0.1, CYAN, 1, 0);
    a->vx = 7;
    place(200, 2, 0.2, RED, 10, 1);
    place(300, 3, 0.3, GREEN, 100, 0);  // list: 300, 200, 100
    set_frame_body(0);
    ASSERT_EQ(write_to("first.slo"), 1);
    const auto first = lines_of(read_text("first.slo"));

    ASSERT_EQ(read_from("first.slo"), 1);
    ASSERT_EQ(body_count, 3);
    auto order = list_order();
    EXPECT_EQ(order[0]->x, 100);  // read in line order, each at the head
    EXPECT_EQ(order[2]->x, 300);
    EXPECT_EQ(order[0]->vx, 7);
    EXPECT_EQ(frame_body, 2);
    EXPECT_EQ(order[frame_body]->x, 300);

    ASSERT_EQ(write_to("second.slo"), 1);
    const auto second = lines_of(read_text("second.slo"));
    ASSERT_EQ(second.size(), 4u);
    EXPECT_EQ(first[0], "2.0.002 0.001 3 2 0 0 40005 -15 -85 70 0.1 50 0.5 10 10 1 1");
    EXPECT_EQ(second[0], "2.0.002 0.001 3 0 0 0 40005 -15 -85 70 0.1 50 0.5 10 10 1 1");
    for (int i = 1; i <= 3; ++i) EXPECT_EQ(second[i], first[4 - i]);

    ASSERT_EQ(read_from("second.slo"), 1);
    EXPECT_EQ(list_order()[frame_body]->x, 300);
}

TEST_F(SceneFileTest, GlowingLinesTakeLightsInLineOrderWhateverTheStoredLight) {
    write_text("lights.slo", header_line(5, 0) + "\n"
                             "0 0.5 1 0 0 0 8.16701e+15 16391 1\n"
                             "1 0.5 2 0 0 0 8.16701e+15 16385 0\n"
                             "2 0.5 3 0 0 0 8.16701e+15 0 5\n"
                             "3 0.5 4 0 0 0 8.16701e+15 16384 -1\n"
                             "4 0.5 5 0 0 0 8.16701e+15 16386 0\n");
    ASSERT_EQ(read_from("lights.slo"), 1);
    EXPECT_EQ(glow_count, 3);
    auto order = list_order();  // the reverse of the lines
    ASSERT_EQ(order.size(), 5u);
    EXPECT_EQ(order[4]->light, 0x4000);
    EXPECT_EQ(order[2]->light, 0x4001);
    EXPECT_EQ(order[1]->light, 0x4002);
    EXPECT_EQ(order[2]->glowing, 1);
    EXPECT_EQ(order[1]->glowing, 1);
    EXPECT_EQ(order[3]->glowing, 0);
    EXPECT_EQ(order[3]->light, 0);
    EXPECT_EQ(order[2]->emission, emission_by_colour[RED]);
    EXPECT_EQ(order[2]->light_colour, light_by_colour[RED]);
    EXPECT_EQ(order[1]->material, material_colours[GREEN]);

    ASSERT_EQ(write_to("again.slo"), 1);
    auto lines = lines_of(read_text("again.slo"));
    EXPECT_EQ(lines[3], "2 0.5 3 0 0 0 8.16701e+15 16385 1");
    EXPECT_EQ(lines[2], "3 0.5 4 0 0 0 8.16701e+15 16386 1");
}

TEST_F(SceneFileTest, MassesAndRealsKeepEveryDigit) {
    write_text("mass.slo", header_line(2, 0) + "\n"
                           "0 0.5 0.1234567 0 0 0 8.16701e+15 0 0\n"
                           "1 0.5 0 0 0 0 8.16701e+019 0 0\n");
    ASSERT_EQ(read_from("mass.slo"), 1);
    auto order = list_order();
    EXPECT_NEAR(order[1]->mass, 8.16701e15, 8.16701e15 * 1e-15);
    EXPECT_NEAR(order[0]->mass, 8.16701e19, 8.16701e19 * 1e-15);
    EXPECT_NEAR(total_mass, 8.16701e15 + 8.16701e19, 8.16701e19 * 1e-15);
    EXPECT_EQ(order[1]->x, 0.1234567);

    ASSERT_EQ(write_to("mass2.slo"), 1);
    ASSERT_EQ(read_from("mass2.slo"), 1);
    EXPECT_EQ(list_order()[0]->x, 0.1234567);
    auto lines = lines_of(read_text("mass2.slo"));
    EXPECT_EQ(lines[1], "1 0.5 0 0 0 0 8.16701e+19 0 0");
    EXPECT_EQ(lines[2], "0 0.5 0.1234567 0 0 0 8.16701e+15 0 0");
}

namespace {

// Every value a scene file carries, bodies in list order.
std::vector<double> scene_values() {
    std::vector<double> values = {time_step, static_cast<double>(body_count), static_cast<double>(frame_body),
                                  frame_origin_x, frame_origin_y, static_cast<double>(frame_mode),
                                  camera_translate, camera_rotate, field_of_view, near_plane, far_plane,
                                  max_radius, static_cast<double>(sphere_slices),
                                  static_cast<double>(sphere_stacks), static_cast<double>(smooth_shading),
                                  static_cast<double>(star_lighting)};
    for (const Body* body : list_order())
        values.insert(values.end(), {static_cast<double>(body->colour), body->radius, body->x, body->y, body->vx,
                                     body->vy, body->mass, static_cast<double>(body->glowing)});
    return values;
}

}  // namespace

TEST_F(SceneFileTest, AwkwardValuesAndTheExamplesComeBackDoubleForDouble) {
    const double third = 1.0 / 3.0;
    set_time_step(third * 1e-3);
    set_frame_origin(third, -1e-300);
    camera_translate = static_cast<float>(third);
    camera_rotate = -85.123456789f;
    field_of_view = 123456789.123456789;
    near_plane = 1e-300;
    Body* a = place(third, 1e-300, third, RED, 8.16701e19 * third / MASS_UNIT, 1);
    a->vx = 123456789.123456789;
    a->vy = -8.16701e19 * third;
    Body* b = place(-123456789.123456789, 8.16701e19 * third, 1e-300, GREEN, third, 0);
    b->vx = 5e-324;
    // A save and a reopen reverse the list; a second pair puts it back.
    const auto after_two_saves = [this]() {
        for (const char* name : {"once.slo", "twice.slo"})
            if (write_to(name) != 1 || read_from(name) != 1) return std::vector<double>{};
        return scene_values();
    };
    const std::vector<double> before = scene_values();
    EXPECT_EQ(after_two_saves(), before);
    // Shortest forms: fixed or with an exponent, whichever is shorter.
    EXPECT_EQ(read_text("twice.slo"),
              "2.0.002 0.0003333333333333333 2 0 0.3333333333333333 -1e-300 40005 0.33333334 -85.12346 "
              "123456789.12345679 1e-300 50 0.5 10 10 1 1\n"
              "2 0.3333333333333333 0.3333333333333333 1e-300 123456789.12345679 -27223366666666663936 "
              "27223366666666663936 16384 1\n"
              "3 1e-300 -123456789.12345679 27223366666666663936 5e-324 0 2722336666666666.5 0 0\n");

    // Every example reopens as it was read: the same values, masses included.
    int examples = 0;
    for (const auto& entry : std::filesystem::directory_iterator(STELO_EXAMPLES_DIR)) {
        std::snprintf(scene_path, sizeof scene_path, "%s", entry.path().c_str());
        ASSERT_EQ(read_scene(), 1) << entry.path();
        const std::vector<double> read = scene_values();
        EXPECT_EQ(after_two_saves(), read)
            << entry.path();
        ++examples;
    }
    EXPECT_GE(examples, 6);
    EXPECT_TRUE(shown_messages.empty());
}

TEST_F(SceneFileTest, FieldsMaySitOnAnyWhiteSpace) {
    const std::string plain = header_line(2, 1) + "\n"
                              "0 0.5 1 2 3 4 8.16701e+15 16384 1\n"
                              "6 0.25 -1 -2 -3 -4 8.16701e+16 0 0\n";
    const std::string odd = "\r\n  2.0.002\t0.002\r\n2 \t 1\n5\n6 40006 -20 -80 60 0.2 40 0.7 12 14 0\n0 0 0.5\n"
                            "1 2 3 4\t\t8.16701e+15 16384 1 6\r\n0.25\v-1 -2 -3 -4 8.16701e+16 0\f0";
    write_text("plain.slo", plain);
    write_text("odd.slo", odd);
    ASSERT_EQ(read_from("plain.slo"), 1);
    ASSERT_EQ(write_to("plain-saved.slo"), 1);
    ASSERT_EQ(read_from("odd.slo"), 1);
    ASSERT_EQ(write_to("odd-saved.slo"), 1);
    EXPECT_EQ(read_text("odd-saved.slo"), read_text("plain-saved.slo"));
    EXPECT_EQ(body_count, 2);
}

TEST_F(SceneFileTest, HeaderWithoutBodiesSetsEveryParameter) {
    write_text("none.slo", header_line(0, 3) + " trailing words 1 2 3\n");
    place(1, 1, 0.5, WHITE, 1, 1);
    ASSERT_EQ(read_from("none.slo"), 1);
    EXPECT_EQ(body_count, 0);
    EXPECT_EQ(glow_count, 0);
    EXPECT_EQ(total_mass, 0.0);
    EXPECT_EQ(time_step, 0.002);
    EXPECT_EQ(frame_body, 3);  // kept as read, out of range
    EXPECT_EQ(frame_origin_x, 5.0);
    EXPECT_EQ(frame_origin_y, 6.0);
    EXPECT_EQ(frame_mode, FRAME_CM);
    EXPECT_EQ(camera_translate, -20.0f);
    EXPECT_EQ(camera_rotate, -80.0f);
    EXPECT_EQ(field_of_view, 60.0);
    EXPECT_EQ(near_plane, 0.2);
    EXPECT_EQ(far_plane, 40.0);
    EXPECT_EQ(max_radius, 0.7);
    EXPECT_EQ(sphere_slices, 12);
    EXPECT_EQ(sphere_stacks, 14);
    EXPECT_EQ(smooth_shading, 0);
    EXPECT_EQ(star_lighting, 0);
}

TEST_F(SceneFileTest, EmptySceneStoresReferenceMinusOneAndReadsItBack) {
    ASSERT_EQ(write_to("empty.slo"), 1);
    EXPECT_EQ(read_text("empty.slo"), "2.0.002 0.001 0 -1 0 0 40005 -15 -85 70 0.1 50 0.5 10 10 1 1\n");
    ASSERT_EQ(read_from("empty.slo"), 1);
    EXPECT_EQ(frame_body, -1);
    EXPECT_EQ(body_count, 0);

    // A reference far outside the list stays outside it but within an integer.
    set_frame_body(-2147483647 - 1);
    ASSERT_EQ(write_to("far.slo"), 1);
    EXPECT_EQ(lines_of(read_text("far.slo"))[0], "2.0.002 0.001 0 2147483647 0 0 40005 -15 -85 70 0.1 50 0.5 10 10 1 1");
    EXPECT_EQ(read_from("far.slo"), 1);
}

TEST_F(SceneFileTest, ColourOutsideTheTableTakesThePreviousLinesColours) {
    write_text("colours.slo", header_line(3, 0) + "\n"
                              "4 0.5 1 0 0 0 8.16701e+15 0 1\n"
                              "9 0.5 2 0 0 0 8.16701e+15 0 1\n"
                              "-1 0.5 3 0 0 0 8.16701e+15 0 0\n");
    ASSERT_EQ(read_from("colours.slo"), 1);
    for (Body* body : list_order()) {
        EXPECT_EQ(body->material, material_colours[BLUE]);
        EXPECT_EQ(body->colour, BLUE);  // the index of the colours it took
    }
    EXPECT_EQ(list_order()[1]->emission, emission_by_colour[BLUE]);
    EXPECT_EQ(list_order()[1]->light_colour, light_by_colour[BLUE]);
}

// Scene files use a full stop whatever the process locale says.
TEST_F(SceneFileTest, DecimalPointIsAFullStopInAnyLocale) {
    bool switched = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
    if (!switched) {
        // Not installed: compile one into the scratch folder when the
        // system has the locale sources.
        const std::string command = "localedef -i de_DE -f UTF-8 '" + path_of("de_DE.UTF-8") + "' >/dev/null 2>&1";
        (void)std::system(command.c_str());  // warnings give a nonzero status too
        ::setenv("LOCPATH", folder.c_str(), 1);
        switched = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
        ::unsetenv("LOCPATH");
    }
    if (!switched) GTEST_SKIP() << "no locale with a decimal comma available";
    ASSERT_STREQ(std::localeconv()->decimal_point, ",");
    place(0.5, 0, 0.25, WHITE, 1, 0);
    int written = write_to("locale.slo");
    int read = read_from("locale.slo");
    std::setlocale(LC_NUMERIC, "C");
    ASSERT_EQ(written, 1);
    ASSERT_EQ(read, 1);
    EXPECT_EQ(lines_of(read_text("locale.slo"))[1], "0 0.25 0.5 0 0 0 8.16701e+15 0 0");
    EXPECT_EQ(list_order()[0]->radius, 0.25);
}
