// The rendering context of a view window, and the logical palette that a
// palette-based display (8 bits per pixel) would need for it.
#pragma once

#include "platform/platform.h"

// Gives the window a double-buffered RGBA surface with depth and stencil
// buffers and makes its context current on the calling thread. When no such
// surface can be made, the two set-up failures are shown one after the
// other (no owner, caption "Error") and 0 is returned; the view then lives
// on without drawing.
int setup_view_context(Window window);
// Ends the window's context; called while the window is destroyed.
void release_view_context(Window window);

// ------------------------------------------------------------ palette

// What a palette needs to know about a pixel format.
struct PaletteFormat {
    int colour_bits;
    int red_bits, red_shift;
    int green_bits, green_shift;
    int blue_bits, blue_shift;
    int needs_palette;          // the format draws through a logical palette
    int needs_system_palette;   // and needs the whole system palette for it
};

struct PaletteEntry {
    unsigned char red, green, blue, flags;
};

constexpr unsigned char PC_NOCOLLAPSE = 0x04;
constexpr int PALETTE_MAX_ENTRIES = 256;

// The 8-bit intensity of the colour field of the given width at the given
// shift of a palette index; 0 for a field width other than 1, 2 or 3.
unsigned char palette_component(int index, int bits, int shift);

// Builds the logical palette of the format into entries (capacity entries).
// Returns the number of entries, 0 when the format needs no palette or has
// more than 8 colour bits. With 256 entries: a format that needs the system
// palette keeps its entries 1..254 from collapsing; a 3-3-2 format keeps the
// twelve static system colours other than black and white at their places.
int build_view_palette(const PaletteFormat& format, PaletteEntry* entries, int capacity);
