// The rendering context of a view and the logical palette of palette-based
// displays.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "render/gl_context.h"
#include "tests/render/render_test_support.h"

namespace {

constexpr PaletteFormat FORMAT_332{8, 3, 0, 3, 3, 2, 6, 1, 0};

void expect_colour(const PaletteEntry& entry, int r, int g, int b) {
    EXPECT_EQ(entry.red, r);
    EXPECT_EQ(entry.green, g);
    EXPECT_EQ(entry.blue, b);
}

TEST(Palette, ComponentIntensityByFieldWidth) {
    EXPECT_EQ(palette_component(0xC0, 2, 6), 255);
    EXPECT_EQ(palette_component(5, 3, 0), 182);
    EXPECT_EQ(palette_component(1, 1, 0), 255);
    EXPECT_EQ(palette_component(0xFF, 4, 0), 0);
    EXPECT_EQ(palette_component(0xFF, 0, 0), 0);
}

TEST(Palette, ThreeThreeTwoKeepsTheStaticSystemColours) {
    PaletteEntry entries[PALETTE_MAX_ENTRIES];
    ASSERT_EQ(build_view_palette(FORMAT_332, entries, PALETTE_MAX_ENTRIES), 256);
    expect_colour(entries[3], 128, 0, 0);       // computed (109, 0, 0)
    expect_colour(entries[24], 0, 128, 0);
    expect_colour(entries[164], 160, 160, 164);
    expect_colour(entries[91], 128, 128, 128);
    // Black, white and an index outside the override list keep their computed colours.
    expect_colour(entries[0], 0, 0, 0);
    expect_colour(entries[255], 255, 255, 255);
    expect_colour(entries[172], 146, 182, 170);
    for (const PaletteEntry& entry : entries) EXPECT_EQ(entry.flags, 0);
}

TEST(Palette, SystemPaletteFormatKeepsMiddleEntriesFromCollapsing) {
    PaletteFormat format = FORMAT_332;
    format.needs_system_palette = 1;
    PaletteEntry entries[PALETTE_MAX_ENTRIES];
    ASSERT_EQ(build_view_palette(format, entries, PALETTE_MAX_ENTRIES), 256);
    EXPECT_EQ(entries[0].flags, 0);
    EXPECT_EQ(entries[255].flags, 0);
    for (int i = 1; i < 255; ++i) EXPECT_EQ(entries[i].flags, PC_NOCOLLAPSE) << i;
    // No override: index 3 keeps its computed red.
    expect_colour(entries[3], 109, 0, 0);
}

TEST(Palette, NoPaletteForTrueColourOrTooSmallABuffer) {
    PaletteEntry entries[PALETTE_MAX_ENTRIES];
    const PaletteFormat true_colour{24, 8, 16, 8, 8, 8, 0, 0, 0};
    EXPECT_EQ(build_view_palette(true_colour, entries, PALETTE_MAX_ENTRIES), 0);
    PaletteFormat wide = FORMAT_332;
    wide.colour_bits = 16;
    EXPECT_EQ(build_view_palette(wide, entries, PALETTE_MAX_ENTRIES), 0);
    EXPECT_EQ(build_view_palette(FORMAT_332, entries, 100), 0);
    EXPECT_EQ(build_view_palette(FORMAT_332, nullptr, 256), 0);
}

TEST(Palette, SmallFormatsAreComputedWithoutOverrides) {
    const PaletteFormat four_bit{4, 1, 0, 2, 1, 1, 3, 1, 0};
    PaletteEntry entries[PALETTE_MAX_ENTRIES];
    ASSERT_EQ(build_view_palette(four_bit, entries, PALETTE_MAX_ENTRIES), 16);
    expect_colour(entries[0xF], 255, 255, 255);
    expect_colour(entries[0x3], 255, 85, 0);
}

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
    if (!gui_up) GTEST_SKIP() << "no display";
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
