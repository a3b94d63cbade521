// The rendering context of a view.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "drawing/gl_context.h"
#include "tests/render/render_test_support.h"

namespace {

struct Shown {
    Window owner;
    std::string text, caption;
};
std::vector<Shown> shown;
int record_box(Window owner, const char* text, const char* caption, unsigned) {
    shown.push_back({owner, text, caption != nullptr ? caption : ""});
    return IDOK;
}
LRESULT plain_proc(Window window, unsigned message, WPARAM wparam, LPARAM lparam) {
    return default_window_proc(window, message, wparam, lparam);
}

TEST(ViewContext, ASurfaceThatCannotBeMadeIsReportedTwiceWithoutOwner) {
    register_window_class(WindowClass{"render_test_plain", plain_proc, 0, nullptr});
    Window parent = create_window("render_test_plain", "parent", WS_OVERLAPPED_WINDOW, 0, 0, 200, 100,
                                  NO_WINDOW, 0);
    // A child area cannot carry a view surface.
    Window child = create_window("render_test_plain", "", WS_CHILD, 0, 0, 50, 50, parent, 0);
    shown.clear();
    set_message_box_hook(record_box);
    EXPECT_EQ(setup_view_context(child), 0);
    set_message_box_hook(nullptr);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].text, "ChoosePixelFormat failed");
    EXPECT_EQ(shown[1].text, "SetPixelFormat failed");
    for (const Shown& box : shown) {
        EXPECT_EQ(box.owner, NO_WINDOW);
        EXPECT_EQ(box.caption, "Error");
    }
    shown.clear();
    set_message_box_hook(record_box);
    EXPECT_EQ(setup_view_context(parent), 1);
    set_message_box_hook(nullptr);
    EXPECT_TRUE(shown.empty());
    release_view_context(parent);
    destroy_window(parent);
}

}  // namespace
