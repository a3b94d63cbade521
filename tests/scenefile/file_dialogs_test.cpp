// The Open and Save As dialogs: their settings, and what a choice or a
// cancel does to scene_path.
#include <cstring>
#include <string>
#include <vector>

#include "scene_fixture.h"
#include "scenefile/scene_file.h"
#include "sim/bodies.h"

namespace {

struct SeenDialog {
    FileDialogRequest request;
    std::string filter;  // the whole double-terminated list
    std::string initial_name;
};
std::vector<SeenDialog> seen_dialogs;
std::string next_choice;  // empty: the user cancels

int scripted_dialog(const FileDialogRequest& request, char* path, std::size_t capacity) {
    std::size_t length = 0;
    while (request.filter[length] != '\0' || request.filter[length + 1] != '\0') ++length;
    seen_dialogs.push_back({request, std::string(request.filter, length + 2), path});
    if (next_choice.empty()) return 0;
    std::snprintf(path, capacity, "%s", next_choice.c_str());
    return 1;
}

class FileDialogTest : public SceneFileTest {
protected:
    void SetUp() override {
        SceneFileTest::SetUp();
        seen_dialogs.clear();
        next_choice.clear();
        set_file_dialog_hook(scripted_dialog);
    }
};

constexpr char FILTER_TEXT[] = "Stelo Files (*.SLO)\0*.SLO\0All Files (*.*)\0*.*\0\0";
const std::string FILTER(FILTER_TEXT, sizeof FILTER_TEXT - 1);

}  // namespace

TEST_F(FileDialogTest, OpenAsksForAnExistingSceneFile) {
    std::snprintf(scene_path, sizeof scene_path, "kept.slo");
    EXPECT_EQ(choose_open_file(), 0);  // cancelled
    EXPECT_STREQ(scene_path, "kept.slo");
    ASSERT_EQ(seen_dialogs.size(), 1u);
    const FileDialogRequest& r = seen_dialogs[0].request;
    EXPECT_EQ(r.owner, static_cast<Window>(77));
    EXPECT_EQ(r.save, 0);
    EXPECT_STREQ(r.title, "Open a File");
    EXPECT_EQ(seen_dialogs[0].filter, FILTER);
    EXPECT_STREQ(r.default_extension, "slo");
    EXPECT_EQ(r.must_exist, 1);
    EXPECT_EQ(seen_dialogs[0].initial_name, "");

    next_choice = path_of("chosen.slo");
    EXPECT_EQ(choose_open_file(), 1);
    EXPECT_EQ(std::string(scene_path), next_choice);
    EXPECT_TRUE(shown_messages.empty());
}

TEST_F(FileDialogTest, SaveAsReplacesTheChosenFileAndReturnsTheWritersResult) {
    add_body(nullptr, 1, 2, 0.5, material_colours[WHITE], 1, WHITE);
    write_text("old.slo", "something else entirely\n");
    next_choice = path_of("old.slo");
    EXPECT_EQ(choose_save_file(), 1);
    ASSERT_EQ(seen_dialogs.size(), 1u);
    const FileDialogRequest& r = seen_dialogs[0].request;
    EXPECT_EQ(r.owner, static_cast<Window>(77));
    EXPECT_EQ(r.save, 1);
    EXPECT_STREQ(r.title, "Save File As");
    EXPECT_EQ(seen_dialogs[0].filter, FILTER);
    EXPECT_STREQ(r.default_extension, "slo");
    EXPECT_EQ(r.must_exist, 0);
    EXPECT_EQ(std::string(scene_path), next_choice);
    EXPECT_EQ(lines_of(read_text("old.slo")).size(), 2u);

    next_choice = path_of("missing/folder.slo");
    EXPECT_EQ(choose_save_file(), 0);
    ASSERT_EQ(shown_messages.size(), 1u);
    EXPECT_EQ(shown_messages[0].text, "Could not create file " + next_choice);

    next_choice.clear();
    std::snprintf(scene_path, sizeof scene_path, "%s", path_of("untouched.slo").c_str());
    EXPECT_EQ(choose_save_file(), 0);
    EXPECT_EQ(std::string(scene_path), path_of("untouched.slo"));
    EXPECT_FALSE(std::filesystem::exists(path_of("untouched.slo")));
}

TEST_F(FileDialogTest, ChoiceTooLongForScenePathIsRefusedWhole) {
    std::snprintf(scene_path, sizeof scene_path, "kept.slo");
    next_choice = "/" + std::string(300, 'x') + ".slo";
    EXPECT_EQ(choose_open_file(), -1);
    EXPECT_EQ(choose_save_file(), -1);
    EXPECT_STREQ(scene_path, "kept.slo");
    ASSERT_EQ(shown_messages.size(), 2u);
    EXPECT_EQ(shown_messages[0].text, "Could not open file " + next_choice);
    EXPECT_EQ(shown_messages[1].text, "Could not create file " + next_choice);
}
