// The logical palette of palette-based displays: pure computations that
// need no display.
#include <gtest/gtest.h>

#include "drawing/gl_context.h"

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
    expect_colour(entries[3], 128, 0, 0);  // computed (109, 0, 0)
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

}  // namespace
