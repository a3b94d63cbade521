#include "tests/support/x_frames.h"

#include <xcb/xcb.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace {

template <typename T>
using Reply = std::unique_ptr<T, decltype(&std::free)>;

template <typename T>
Reply<T> take(T* reply) {
    return Reply<T>(reply, &std::free);
}

struct Connection {
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    ~Connection() { xcb_disconnect(c); }
    xcb_window_t root() const { return xcb_setup_roots_iterator(xcb_get_setup(c)).data->root; }
};

std::string title_of(xcb_connection_t* c, xcb_window_t window) {
    auto reply = take(xcb_get_property_reply(
        c, xcb_get_property(c, 0, window, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, 0, 256), nullptr));
    if (!reply) return {};
    return std::string(static_cast<const char*>(xcb_get_property_value(reply.get())),
                       static_cast<std::size_t>(xcb_get_property_value_length(reply.get())));
}

// Depth-first search below a window for the one with the title.
xcb_window_t find_titled(xcb_connection_t* c, xcb_window_t under, const char* title, int depth) {
    if (depth > 3) return XCB_WINDOW_NONE;
    auto tree = take(xcb_query_tree_reply(c, xcb_query_tree(c, under), nullptr));
    if (!tree) return XCB_WINDOW_NONE;
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    const int count = xcb_query_tree_children_length(tree.get());
    for (int i = 0; i < count; ++i)
        if (title_of(c, children[i]) == title) return children[i];
    for (int i = 0; i < count; ++i) {
        const xcb_window_t found = find_titled(c, children[i], title, depth + 1);
        if (found != XCB_WINDOW_NONE) return found;
    }
    return XCB_WINDOW_NONE;
}

}  // namespace

bool read_x_frame(const char* title, XFrame* frame) {
    Connection x;
    if (xcb_connection_has_error(x.c)) return false;
    const xcb_window_t root = x.root();
    xcb_window_t window = find_titled(x.c, root, title, 0);
    if (window == XCB_WINDOW_NONE) return false;
    auto attributes = take(xcb_get_window_attributes_reply(x.c, xcb_get_window_attributes(x.c, window), nullptr));
    frame->viewable = attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
    // Up to the child of the root: the frame the window manager made.
    frame->framed = false;
    for (;;) {
        auto tree = take(xcb_query_tree_reply(x.c, xcb_query_tree(x.c, window), nullptr));
        if (!tree) return false;
        if (tree->parent == root || tree->parent == XCB_WINDOW_NONE) break;
        window = tree->parent;
        frame->framed = true;
    }
    auto geometry = take(xcb_get_geometry_reply(x.c, xcb_get_geometry(x.c, window), nullptr));
    if (!geometry) return false;
    frame->x = geometry->x;
    frame->y = geometry->y;
    frame->width = geometry->width + 2 * geometry->border_width;
    frame->height = geometry->height + 2 * geometry->border_width;
    return true;
}

bool x_window_asks_close_box(const char* title) {
    Connection x;
    const xcb_window_t window = find_titled(x.c, x.root(), title, 0);
    if (window == XCB_WINDOW_NONE) return false;
    static const char name[] = "_MOTIF_WM_HINTS";
    auto atom = take(xcb_intern_atom_reply(x.c, xcb_intern_atom(x.c, 1, sizeof name - 1, name), nullptr));
    if (!atom || atom->atom == XCB_ATOM_NONE) return true;
    auto reply = take(xcb_get_property_reply(
        x.c, xcb_get_property(x.c, 0, window, atom->atom, XCB_GET_PROPERTY_TYPE_ANY, 0, 5), nullptr));
    if (!reply || xcb_get_property_value_length(reply.get()) < 8) return true;
    // flags, functions, ...: function bits 1 all, 32 close, when flag 1 is set.
    const auto* hints = static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
    if ((hints[0] & 1u) == 0) return true;
    return (hints[1] & (1u | 32u)) != 0;
}

void read_x_screen(int* width, int* height) {
    Connection x;
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(x.c)).data;
    *width = screen->width_in_pixels;
    *height = screen->height_in_pixels;
}

bool frames_overlap(const XFrame& a, const XFrame& b) {
    return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}

bool frame_on_screen(const XFrame& frame) {
    int width = 0, height = 0;
    read_x_screen(&width, &height);
    return frame.x >= 0 && frame.y >= 0 && frame.x + frame.width <= width && frame.y + frame.height <= height;
}
