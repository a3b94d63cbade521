// Files the reader refuses and places the writer cannot write: one message
// with the whole path, and the scene as it was.
#include <string>
#include <vector>

#include "scene_fixture.h"
#include "scenefile/scene_file.h"
#include "sim/bodies.h"

namespace {

// Text with zero bytes in it.
template <std::size_t N>
std::string bytes(const char (&text)[N]) {
    return std::string(text, N - 1);
}

const std::string GOOD_BODY = "2 0.5 1 2 3 4 8.16701e+15 16384 1";

class SceneRefusalTest : public SceneFileTest {
protected:
    // A loaded scene whose every value differs from the defaults.
    void SetUp() override {
        SceneFileTest::SetUp();
        write_text("loaded.slo", header_line(2, 1) + "\n" + GOOD_BODY + "\n1 0.2 5 6 7 8 8.16701e+17 0 0\n");
        ASSERT_EQ(read_from("loaded.slo"), 1);
        before = snapshot();
    }
    std::string snapshot() {
        std::string saved_path = scene_path;
        write_to("snapshot.slo");
        std::snprintf(scene_path, sizeof scene_path, "%s", saved_path.c_str());
        return read_text("snapshot.slo") + " glow " + std::to_string(glow_count) + " mass " +
               std::to_string(total_mass);
    }
    // Reads text as a file and expects exactly one message ending in tail.
    void expect_refused(const std::string& text, const std::string& tail) {
        SCOPED_TRACE(text.substr(0, 120));
        write_text("refused.slo", text);
        shown_messages.clear();
        EXPECT_EQ(read_from("refused.slo"), 0);
        ASSERT_EQ(shown_messages.size(), 1u);
        EXPECT_EQ(shown_messages[0].text, path_of("refused.slo") + tail);
        EXPECT_EQ(shown_messages[0].owner, static_cast<Window>(77));
        EXPECT_EQ(shown_messages[0].buttons, MB_OK);
        EXPECT_EQ(snapshot(), before);
    }
    std::string before;
};

const std::string OTHER_VERSION = " was not saved with Stelo3D version 2.0.002...Sorry.";
const std::string NOT_A_SCENE = " is not a valid Stelo scene file";

}  // namespace

TEST_F(SceneRefusalTest, OnlyTheWholeVersionWordIsAccepted) {
    const std::string rest = header_line(1, 0).substr(7) + "\n" + GOOD_BODY + "\n";
    for (const char* word : {"2.0.0021", "2.0.00", "2.0.001", "2.0.002x", "x2.0.002", "2,0,002"})
        expect_refused(word + rest, OTHER_VERSION);
    expect_refused(std::string(100000, '2') + rest, OTHER_VERSION);
    expect_refused("", NOT_A_SCENE);  // nothing in it: no version to blame
    expect_refused(" \n\t ", NOT_A_SCENE);
    expect_refused(bytes("2.0.002\0") + rest, OTHER_VERSION);
}

TEST_F(SceneRefusalTest, DamagedHeaderIsRefusedWhole) {
    expect_refused("2.0.002 0.002 1 0 5 6 40006 -20 -80 60 0.2 40 0.7 12 14 0", NOT_A_SCENE);  // ends early
    expect_refused("2.0.002", NOT_A_SCENE);
    expect_refused("2.0.002 0.002 1 0 5 6 40006 -20 -80 sixty 0.2 40 0.7 12 14 0 0\n" + GOOD_BODY, NOT_A_SCENE);
    expect_refused("2.0.002 0.002 1.0 0 5 6 40006 -20 -80 60 0.2 40 0.7 12 14 0 0\n" + GOOD_BODY, NOT_A_SCENE);
    expect_refused("2.0.002 0.002x 1 0 5 6 40006 -20 -80 60 0.2 40 0.7 12 14 0 0\n" + GOOD_BODY, NOT_A_SCENE);
    expect_refused("2.0.002 0.002 1 0 5 6 40006 -20 -80 60 0.2 40 0.7 99999999999 14 0 0\n" + GOOD_BODY,
                   NOT_A_SCENE);
    // Numbers that are no finite value of their field's type.
    for (const char* bad : {"nan", "inf", "-inf", "1e999", "infinity", "NAN(1)"})
        expect_refused("2.0.002 " + std::string(bad) + " 0 0 5 6 40006 -20 -80 60 0.2 40 0.7 12 14 0 0",
                       NOT_A_SCENE);
    expect_refused("2.0.002 0.002 0 0 5 6 40006 -20 1e39 60 0.2 40 0.7 12 14 0 0", NOT_A_SCENE);
    expect_refused("2.0.002 0.002 0 0 5 6 40006 -20 -80 60 0.2 " + std::string(600, '4') + " 0.7 12 14 0 0",
                   NOT_A_SCENE);
    expect_refused(header_line(-4, 0) + "\n" + GOOD_BODY + "\n", NOT_A_SCENE);  // no count of bodies
}

TEST_F(SceneRefusalTest, MoreBodiesThanMemoryHoldsAreRefusedBeforeTheyAreRead) {
    scene_body_limit = 2;
    std::string lines;
    for (int i = 0; i < 3; ++i) lines += GOOD_BODY + "\n";
    expect_refused(header_line(3, 0) + "\n" + lines, " holds more bodies than fit in memory");
    EXPECT_EQ(read_from("loaded.slo"), 1);  // up to the limit is taken
}

TEST_F(SceneRefusalTest, DamagedOrMissingBodyLinesAreRefusedWhole) {
    const std::string head = header_line(2, 0) + "\n" + GOOD_BODY + "\n";
    expect_refused(head + "2 0.5 1 2 3 4 8.16701e+15 16384", NOT_A_SCENE);       // ends early
    expect_refused(head + "2 0.5 1 2 3 4 8.16701e+15 16384 yes", NOT_A_SCENE);   // does not convert
    expect_refused(head + "2 0.5 1 2 3 nan 8.16701e+15 16384 1", NOT_A_SCENE);
    expect_refused(head + "2 0.5 1 2 3 4 1e999 16384 1", NOT_A_SCENE);
    expect_refused(head + bytes("2 0.5 1 2\0 3 4 8.16701e+15 16384 1"), NOT_A_SCENE);
    // A count far beyond the lines present: refused once the file ends.
    expect_refused(header_line(2147483647, 0) + "\n" + GOOD_BODY + "\n", NOT_A_SCENE);
    expect_refused(header_line(2000000, 0) + "\n", NOT_A_SCENE);
    // The first line has no previous colours to fall back on.
    expect_refused(header_line(1, 0) + "\n7 0.5 1 2 3 4 8.16701e+15 16384 1\n", NOT_A_SCENE);
    expect_refused(header_line(1, 0) + "\n-1 0.5 1 2 3 4 8.16701e+15 16384 1\n", NOT_A_SCENE);
    // Masses whose sum is no number.
    expect_refused(header_line(2, 0) + "\n0 0.5 0 0 0 0 1.5e308 0 0\n0 0.5 1 0 0 0 1.5e308 0 0\n", NOT_A_SCENE);
}

TEST_F(SceneRefusalTest, UnreadableAndUnwritablePathsAreNamedWhole) {
    // The longest path scene_path holds.
    const std::string missing = path_of(std::string(255 - path_of("").size() - 4, 'm') + ".slo");
    ASSERT_EQ(missing.size(), 255u);
    std::snprintf(scene_path, sizeof scene_path, "%s", missing.c_str());
    EXPECT_EQ(read_scene(), 0);
    ASSERT_EQ(shown_messages.size(), 1u);
    EXPECT_EQ(shown_messages[0].text, "Could not open file " + missing);

    std::snprintf(scene_path, sizeof scene_path, "%s", folder.string().c_str());  // a folder
    EXPECT_EQ(read_scene(), 0);
    ASSERT_EQ(shown_messages.size(), 2u);
    EXPECT_EQ(shown_messages[1].text, "Could not open file " + folder.string());
    EXPECT_EQ(write_scene(), 0);
    ASSERT_EQ(shown_messages.size(), 3u);
    EXPECT_EQ(shown_messages[2].text, "Could not create file " + folder.string());

    const std::string nowhere = path_of("no/such/folder/scene.slo");
    std::snprintf(scene_path, sizeof scene_path, "%s", nowhere.c_str());
    EXPECT_EQ(write_scene(), 0);
    ASSERT_EQ(shown_messages.size(), 4u);
    EXPECT_EQ(shown_messages[3].text, "Could not create file " + nowhere);
    EXPECT_EQ(shown_messages[3].owner, static_cast<Window>(77));
    EXPECT_FALSE(std::filesystem::exists(nowhere));
    EXPECT_EQ(snapshot(), before);
}

TEST_F(SceneRefusalTest, EndlessWordIsRefusedWithoutReadingItAll) {
    if (!std::filesystem::exists("/dev/zero")) GTEST_SKIP() << "no /dev/zero";
    std::snprintf(scene_path, sizeof scene_path, "/dev/zero");
    EXPECT_EQ(read_scene(), 0);
    ASSERT_EQ(shown_messages.size(), 1u);
    EXPECT_EQ(shown_messages[0].text, "/dev/zero" + OTHER_VERSION);
    EXPECT_EQ(snapshot(), before);
}

TEST_F(SceneRefusalTest, FailedWriteIsNotReportedAsSaved) {
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    std::snprintf(scene_path, sizeof scene_path, "/dev/full");
    EXPECT_EQ(write_scene(), 0);
    ASSERT_EQ(shown_messages.size(), 1u);
    EXPECT_EQ(shown_messages[0].text, "Could not create file /dev/full");
}
