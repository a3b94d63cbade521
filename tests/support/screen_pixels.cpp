#include "tests/support/screen_pixels.h"

#include <algorithm>
#include <chrono>

unsigned ScreenPixels::rgb(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return 0;
    const std::size_t i = (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)) * 4;
    return static_cast<unsigned>(rgba[i]) << 16 | static_cast<unsigned>(rgba[i + 1]) << 8 | rgba[i + 2];
}

int ScreenPixels::brightness(int x, int y) const {
    const unsigned c = rgb(x, y);
    return static_cast<int>((c >> 16) + ((c >> 8) & 0xFF) + (c & 0xFF));
}

namespace {
template <typename Test>
int count_where(const ScreenPixels& pixels, int x, int y, int width, int height, Test test) {
    int n = 0;
    for (int row = std::max(0, y); row < std::min(pixels.height, y + height); ++row)
        for (int column = std::max(0, x); column < std::min(pixels.width, x + width); ++column)
            if (test(pixels.rgb(column, row))) ++n;
    return n;
}
}  // namespace

int ScreenPixels::count_light(int x, int y, int w, int h) const {
    return count_where(*this, x, y, w, h,
                       [](unsigned c) { return (c >> 16) >= 160 && ((c >> 8) & 0xFF) >= 160 && (c & 0xFF) >= 160; });
}

int ScreenPixels::count_dark(int x, int y, int w, int h) const {
    return count_where(*this, x, y, w, h,
                       [](unsigned c) { return (c >> 16) + ((c >> 8) & 0xFF) + (c & 0xFF) < 300; });
}

ScreenPixels read_screen(Window window) {
    ScreenPixels pixels;
    int width = 0, height = 0;
    read_screen_pixels(window, nullptr, 0, &width, &height);
    if (width <= 0 || height <= 0) return pixels;
    std::vector<unsigned char> rgba(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
    if (!read_screen_pixels(window, rgba.data(), static_cast<int>(rgba.size()), &width, &height)) return pixels;
    pixels.width = width;
    pixels.height = height;
    pixels.rgba = std::move(rgba);
    return pixels;
}

ScreenPixels read_screen_when(Window window, const std::function<bool(const ScreenPixels&)>& check) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    for (;;) {
        gui_process_events(0);
        ScreenPixels pixels = read_screen(window);
        if (!pixels.empty() && check(pixels)) return pixels;
        if (std::chrono::steady_clock::now() > end) return pixels;
        gui_process_events(20);
    }
}
