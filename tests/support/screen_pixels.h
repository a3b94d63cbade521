// What a person sees of a window: its pixels as the display server (the X
// server) holds them, not as the toolkit would draw the widgets for itself.
// Without a window manager windows open at (0, 0) and overlap, so place a
// window apart before reading it.
#pragma once

#include <functional>
#include <vector>

#include "platform/platform.h"

struct ScreenPixels {
    int width = 0, height = 0;
    std::vector<unsigned char> rgba;  // rows top first
    // 0xRRGGBB; outside the area reads as black.
    unsigned rgb(int x, int y) const;
    // Red + green + blue, 0 to 765.
    int brightness(int x, int y) const;
    // Pixels of the rectangle (clipped to the area) that are light (every
    // channel 160 or more) or dark (brightness below 300).
    int count_light(int x, int y, int width, int height) const;
    int count_dark(int x, int y, int width, int height) const;
    bool empty() const { return width <= 0 || height <= 0; }
};

// Reads a top-level window's client area, or a child window (a toolbar, a
// status bar), from the screen once.
ScreenPixels read_screen(Window window);
// Runs the event loop and reads the window again until the check holds or
// about five seconds pass; returns the last read (check it again to assert).
ScreenPixels read_screen_when(Window window, const std::function<bool(const ScreenPixels&)>& check);
