// The default places of the three windows, worked out from the screen's
// work area and the frame the window system draws around the control window.
#include "shell/default_places.h"

#include <algorithm>

#include "shell/shell.h"
#include "windows/plot_window.h"

namespace {

constexpr int GAP = 8;  // between two windows' frames
// The frame that outer rectangles count: a border of 4 pixels and a
// caption of 23 above the client area.
constexpr int OUTER_LEFT = 4;
constexpr int OUTER_TOP = 23;
constexpr int OUTER_EXTRA_WIDTH = 8;
constexpr int OUTER_EXTRA_HEIGHT = 27;
// The room left for a frame: window managers draw larger frames than
// outer rectangles count, and some take the place asked for the client
// area as their frame's (weston's does), so a frame may add this much.
constexpr int ROOM_EXTRA_WIDTH = 16;
constexpr int ROOM_EXTRA_HEIGHT = 60;
constexpr int SMALLEST_VIEW_WIDTH = 160;
constexpr int SMALLEST_VIEW_HEIGHT = 100;

struct Box {
    int x = 0, y = 0, width = 0, height = 0;
};

Box work_area() {
    Box area;
    get_screen_work_area(&area.x, &area.y, &area.width, &area.height);
    return area;
}

// What a frame adds around a client area: measured on the control window
// once the window system has framed it (its menu bar counts too, which errs
// on the side of room), never less than the room above.
struct Frame {
    int left, top, extra_width, extra_height;
};

Frame control_frame() {
    Box frame, client;
    get_frame_rect(control_window, &frame.x, &frame.y, &frame.width, &frame.height);
    get_client_rect(control_window, &client.x, &client.y, &client.width, &client.height);
    return {std::max(client.x - frame.x, OUTER_LEFT), std::max(client.y - frame.y, OUTER_TOP),
            std::max(frame.width - client.width, ROOM_EXTRA_WIDTH),
            std::max(frame.height - client.height, ROOM_EXTRA_HEIGHT)};
}

}  // namespace

void place_control_window_by_default(Window control) {
    const Box area = work_area();
    Box outer;
    get_window_rect(control, &outer.x, &outer.y, &outer.width, &outer.height);
    move_window(control, area.x, area.y, outer.width, outer.height, 0);
}

// The views share a column right of the control window: side by side when
// both fit at their default size, else one above the other, each as large
// as the column allows up to the default size.
void default_view_rect(ViewSlot slot, int* x, int* y, int* width, int* height) {
    const Box area = work_area();
    const Frame frame = control_frame();
    int control_width = 0;
    get_client_rect(control_window, nullptr, nullptr, &control_width, nullptr);
    const int left = area.x + control_width + frame.extra_width + GAP;
    const int column_width = area.x + area.width - left;
    const int client_width = VIEW_WIDTH - OUTER_EXTRA_WIDTH;
    const int client_height = VIEW_HEIGHT - OUTER_EXTRA_HEIGHT;

    auto scale_for = [&](int across, int down) {
        const int room_width = (column_width - GAP * (across - 1)) / across - frame.extra_width;
        const int room_height = (area.height - GAP * (down - 1)) / down - frame.extra_height;
        return std::min({1.0, static_cast<double>(room_width) / client_width,
                         static_cast<double>(room_height) / client_height});
    };
    const double side = scale_for(2, 1);
    const double stacked = scale_for(1, 2);
    const bool beside = side > stacked || side >= 1.0;
    const double scale = std::max(beside ? side : stacked, 0.0);
    const int view_width = std::max(SMALLEST_VIEW_WIDTH, static_cast<int>(client_width * scale));
    const int view_height = std::max(SMALLEST_VIEW_HEIGHT, static_cast<int>(client_height * scale));

    Box place{left, area.y, view_width + frame.extra_width, view_height + frame.extra_height};
    if (slot == VIEW_SLOT_INTERACTIVE) {
        if (beside)
            place.x += place.width + GAP;
        else
            place.y += place.height + GAP;
    }
    // The client area goes where the measured frame puts it; the rectangle
    // returned counts the outer rectangles' frame around it.
    *x = place.x + frame.left - OUTER_LEFT;
    *y = place.y + frame.top - OUTER_TOP;
    *width = view_width + OUTER_EXTRA_WIDTH;
    *height = view_height + OUTER_EXTRA_HEIGHT;
}

// The free places are the strip below the views across the screen, the
// column below the control window and the column right of the views; the
// largest one that can hold a table is taken, else the screen's bottom
// right corner (over the views: no room is left anywhere else).
void default_bodies_rect(int* x, int* y, int* width, int* height) {
    constexpr int TABLE_WIDTH = 200, TABLE_HEIGHT = 150;  // client sizes that show a few rows
    constexpr int WIDEST = 900, HIGHEST = 400;
    const Box area = work_area();
    const Frame frame = control_frame();
    Box views[2];
    default_view_rect(VIEW_SLOT_3D, &views[0].x, &views[0].y, &views[0].width, &views[0].height);
    default_view_rect(VIEW_SLOT_INTERACTIVE, &views[1].x, &views[1].y, &views[1].width, &views[1].height);
    int views_right = 0, views_bottom = 0;
    for (const Box& view : views) {
        views_right = std::max(views_right, view.x + view.width + frame.extra_width);
        views_bottom = std::max(views_bottom, view.y + view.height + frame.extra_height);
    }
    Box control;
    get_frame_rect(control_window, &control.x, &control.y, &control.width, &control.height);
    const int right = area.x + area.width, bottom = area.y + area.height;
    const Box free_places[3] = {
        {area.x, views_bottom + GAP, area.width, bottom - views_bottom - GAP},
        {area.x, control.y + control.height + GAP, control.width, bottom - control.y - control.height - GAP},
        {views_right + GAP, area.y, right - views_right - GAP, area.height},
    };
    Box place{right - TABLE_WIDTH - frame.extra_width, bottom - TABLE_HEIGHT - frame.extra_height,
              TABLE_WIDTH + frame.extra_width, TABLE_HEIGHT + frame.extra_height};
    long long largest = 0;
    for (const Box& free : free_places) {
        const int client_width = free.width - frame.extra_width, client_height = free.height - frame.extra_height;
        const long long size = static_cast<long long>(std::min(client_width, WIDEST)) * std::min(client_height, HIGHEST);
        if (client_width < TABLE_WIDTH || client_height < TABLE_HEIGHT || size <= largest) continue;
        largest = size;
        place = {free.x, free.y, std::min(free.width, WIDEST + frame.extra_width),
                 std::min(free.height, HIGHEST + frame.extra_height)};
    }
    *x = std::max(area.x, place.x) + frame.left - OUTER_LEFT;
    *y = std::max(area.y, place.y) + frame.top - OUTER_TOP;
    *width = place.width - frame.extra_width + OUTER_EXTRA_WIDTH;
    *height = place.height - frame.extra_height + OUTER_EXTRA_HEIGHT;
}

namespace {

Box frame_of(Window window) {
    Box box;
    if (is_window(window)) get_frame_rect(window, &box.x, &box.y, &box.width, &box.height);
    return box;
}

bool overlaps(const Box& a, const Box& b) {
    return b.width > 0 && a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}

bool inside(const Box& a, const Box& area) {
    return a.x >= area.x && a.y >= area.y && a.x + a.width <= area.x + area.width &&
           a.y + a.height <= area.y + area.height;
}

}  // namespace

// The first of: below the 3D view, beside it, below the interactive view,
// beside that, which lies on the screen over no other window; else below
// the 3D view, moved onto the screen.
void default_plot_rect(int* x, int* y, int* width, int* height) {
    const Box area = work_area();
    const Frame frame = control_frame();
    const Box windows[3] = {frame_of(control_window), frame_of(view3d_window), frame_of(interactive_window)};
    const int outer_width = std::min(PLOT_WIDTH + frame.extra_width - OUTER_EXTRA_WIDTH, area.width);
    const int outer_height = std::min(PLOT_HEIGHT + frame.extra_height - OUTER_EXTRA_HEIGHT, area.height);
    auto below = [&](const Box& w) { return Box{w.x, w.y + w.height + GAP, outer_width, outer_height}; };
    auto beside = [&](const Box& w) { return Box{w.x + w.width + GAP, w.y, outer_width, outer_height}; };
    const Box candidates[4] = {below(windows[1]), beside(windows[1]), below(windows[2]), beside(windows[2])};
    Box place = candidates[0];
    bool found = false;
    for (const Box& candidate : candidates) {
        if (!inside(candidate, area)) continue;
        if (overlaps(candidate, windows[0]) || overlaps(candidate, windows[1]) || overlaps(candidate, windows[2]))
            continue;
        place = candidate;
        found = true;
        break;
    }
    if (!found) {
        place.x = std::clamp(place.x, area.x, area.x + area.width - outer_width);
        place.y = std::clamp(place.y, area.y, area.y + area.height - outer_height);
    }
    *x = place.x + frame.left - OUTER_LEFT;
    *y = place.y + frame.top - OUTER_TOP;
    *width = outer_width - frame.extra_width + OUTER_EXTRA_WIDTH;
    *height = outer_height - frame.extra_height + OUTER_EXTRA_HEIGHT;
}
