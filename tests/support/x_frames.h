// Where the X server shows a top-level window: the rectangle of its frame
// (the window manager's frame window around it, or the window itself when
// nothing frames it), found by the window's title.
#pragma once

struct XFrame {
    int x = 0, y = 0, width = 0, height = 0;
    bool framed = false;    // a window manager has put it into a frame
    bool viewable = false;  // mapped, on the screen
};

// False when no window with that title is on the display.
bool read_x_frame(const char* title, XFrame* frame);
// Whether the window asks the window manager for a close box (the close
// function of its Motif hints, all functions when it gives none).
bool x_window_asks_close_box(const char* title);
// The size of the X screen.
void read_x_screen(int* width, int* height);
bool frames_overlap(const XFrame& a, const XFrame& b);
bool frame_on_screen(const XFrame& frame);
