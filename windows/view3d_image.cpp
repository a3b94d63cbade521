#include "windows/view3d_image.h"

#include <cstdio>
#include <vector>


namespace {

constexpr char PNG_FILTER[] = "PNG Images (*.png)\0*.png\0All Files (*.*)\0*.*\0";

}  // namespace

int save_view3d_image(Window window, void (*draw)(Window)) {
    FileDialogRequest request{window, 1, "Save Image", PNG_FILTER, "png", 0};
    char path[4096] = {};
    if (!file_dialog(request, path, sizeof path) || path[0] == '\0') return 0;

    // Asking for the pixels keeps every frame swapped from now on; drawing
    // the frame shown once more makes it the one kept.
    int width = 0, height = 0;
    gl_read_pixels(window, nullptr, 0, &width, &height);
    draw(window);
    std::vector<unsigned char> rgba(static_cast<std::size_t>(width > 0 ? width : 0) *
                                    static_cast<std::size_t>(height > 0 ? height : 0) * 4);
    const int read = !rgba.empty() && gl_read_pixels(window, rgba.data(), static_cast<int>(rgba.size()), &width,
                                                     &height);
    if (read && save_png(path, rgba.data(), width, height)) return 1;
    char text[4200];
    std::snprintf(text, sizeof text, "Could not save image %s", path);
    message_box(window, text, nullptr, MB_OK);
    return 0;
}
