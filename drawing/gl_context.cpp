// View contexts come from the platform's GL surfaces, which are always true
// colour: the palette below is built only for formats that ask for one.
#include "drawing/gl_context.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace {

const unsigned char intensity_1bit[2] = {0, 255};
const unsigned char intensity_2bit[4] = {0, 85, 170, 255};
const unsigned char intensity_3bit[8] = {0, 36, 73, 109, 146, 182, 219, 255};

// Palette indices that keep a static system colour in a 3-3-2 palette, and
// those colours; entry 0 (black) and entries 13..19 are not used.
const int default_override[13] = {0, 3, 24, 27, 64, 67, 88, 173, 181, 236, 247, 164, 91};
const PaletteEntry default_palette_entries[20] = {
    {0, 0, 0, 0},       {128, 0, 0, 0},     {0, 128, 0, 0},     {128, 128, 0, 0},
    {0, 0, 128, 0},     {128, 0, 128, 0},   {0, 128, 128, 0},   {192, 192, 192, 0},
    {192, 220, 192, 0}, {166, 202, 240, 0}, {255, 251, 240, 0}, {160, 160, 164, 0},
    {128, 128, 128, 0}, {255, 0, 0, 0},     {0, 255, 0, 0},     {255, 255, 0, 0},
    {0, 0, 255, 0},     {255, 0, 255, 0},   {0, 255, 255, 0},   {255, 255, 255, 0},
};

// A software renderer takes and frees megabytes of working storage for
// every frame (the frame's triangles sorted into tiles, the vertex data of
// each draw); with the C library's defaults each frame hands that memory
// back to the kernel and faults it in again, which cost more than the
// drawing at 1000 bodies with trails. Freed memory is kept for reuse.
void keep_freed_memory() {
#if defined(__GLIBC__)
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 256 * 1024 * 1024);
    mallopt(M_TOP_PAD, 64 * 1024 * 1024);
#endif
}

}  // namespace

int setup_view_context(Window window) {
    keep_freed_memory();
    if (gl_create_surface(window) && gl_make_current(window)) return 1;
    // Choosing and setting the format are one step here; a failure reports
    // both, as a failed choice does.
    message_box(NO_WINDOW, "ChoosePixelFormat failed", "Error", MB_OK);
    message_box(NO_WINDOW, "SetPixelFormat failed", "Error", MB_OK);
    return 0;
}

void release_view_context(Window window) { gl_release_surface(window); }

unsigned char palette_component(int index, int bits, int shift) {
    int v = index >> shift;
    switch (bits) {
        case 1: return intensity_1bit[v & 1];
        case 2: return intensity_2bit[v & 3];
        case 3: return intensity_3bit[v & 7];
        default: return 0;
    }
}

int build_view_palette(const PaletteFormat& format, PaletteEntry* entries, int capacity) {
    if (!format.needs_palette || format.colour_bits < 1 || format.colour_bits > 8) return 0;
    const int n = 1 << format.colour_bits;
    if (entries == nullptr || capacity < n) return 0;
    for (int i = 0; i < n; ++i) {
        entries[i].red = palette_component(i, format.red_bits, format.red_shift);
        entries[i].green = palette_component(i, format.green_bits, format.green_shift);
        entries[i].blue = palette_component(i, format.blue_bits, format.blue_shift);
        entries[i].flags = 0;
    }
    if (n != PALETTE_MAX_ENTRIES) return n;
    if (format.needs_system_palette) {
        for (int i = 1; i < n - 1; ++i) entries[i].flags = PC_NOCOLLAPSE;
    } else if (format.colour_bits == 8 && format.red_bits == 3 && format.red_shift == 0 &&
               format.green_bits == 3 && format.green_shift == 3 && format.blue_bits == 2 &&
               format.blue_shift == 6) {
        for (int j = 1; j <= 12; ++j) entries[default_override[j]] = default_palette_entries[j];
    }
    return n;
}
