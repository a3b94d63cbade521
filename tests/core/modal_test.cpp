// Modal interactions without a GUI: hooks answer for the user; without a hook
// a message box goes to standard error and a file dialog is cancelled.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/platform.h"

namespace {

std::string seen_caption;

int answer_cancel(Window, const char*, const char* caption, unsigned) {
    seen_caption = caption;
    return IDCANCEL;
}

int choose_file(const FileDialogRequest&, char* path, std::size_t capacity) {
    std::strncpy(path, "/tmp/chosen.slo", capacity - 1);
    path[capacity - 1] = '\0';
    return 1;
}

TEST(Modal, HooksAnswerAndFallbacksWithoutGui) {
    set_message_box_hook(answer_cancel);
    EXPECT_EQ(message_box(NO_WINDOW, "text", nullptr, MB_OKCANCEL), IDCANCEL);
    EXPECT_EQ(seen_caption, "Error");  // the default caption
    set_message_box_hook(nullptr);

    testing::internal::CaptureStderr();
    EXPECT_EQ(message_box(NO_WINDOW, "two\nlines", "Caption", MB_OKCANCEL), IDOK);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "two lines\n");

    char path[260] = "unchanged";
    const FileDialogRequest request{NO_WINDOW, 0, "Open", "Scenes\0*.slo\0\0", "slo", 1};
    EXPECT_EQ(file_dialog(request, path, sizeof path), 0);
    set_file_dialog_hook(choose_file);
    EXPECT_EQ(file_dialog(request, path, sizeof path), 1);
    EXPECT_STREQ(path, "/tmp/chosen.slo");
    set_file_dialog_hook(nullptr);
}

TEST(ModalDeathTest, FatalExitShowsTextAndEndsWithStatusOne) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(fatal_exit("Allocation error"), ::testing::ExitedWithCode(1), "Allocation error");
}

}  // namespace
