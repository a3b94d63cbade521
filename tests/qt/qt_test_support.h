// Helpers of the GUI tests: a window class that records what its procedure
// receives, and waiting while the event loop runs.
#pragma once

#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "platform/platform.h"

struct Received {
    Window window;
    unsigned message;
    WPARAM wparam;
    LPARAM lparam;
    std::thread::id thread;
};

// Everything the recorder class's procedure received, in order (main
// thread only).
extern std::vector<Received> received;
// Answer of the recorder to WM_USER + 7: wparam * 10.
constexpr unsigned WM_TEST_ANSWER = WM_USER + 7;
// The recorder class: every message is recorded; WM_SYSCOMMAND and
// WM_CLOSE go to default processing.
extern const char* const RECORDER_CLASS;

Window make_recorder(const char* title = "recorder", unsigned style = WS_OVERLAPPED_WINDOW, int width = 400,
                     int height = 300, std::uintptr_t menu = 0);
int count_received(Window window, unsigned message);
const Received* last_received(Window window, unsigned message);
// Runs the event loop until the condition holds or about a minute passes.
bool wait_until(const std::function<bool()>& condition);
// The pixel at (x, y) of a PNG file as 0xRRGGBB, or -1.
long png_pixel(const std::string& path, int x, int y);
// Presses OK (press_ok 1) or Cancel on the next real message box, as a
// person would; last_message_box tells "caption|text|button count".
void answer_message_box(int press_ok);
std::string last_message_box();
// Presses the button with that label on the next real message box;
// last_message_box then tells "caption|text|[label][label]...".
void answer_message_box_with(const std::string& label);
// Types the name into the next real file dialog and accepts it (an empty
// name cancels); last_file_dialog tells "title|filters|suffix|name shown".
void answer_file_dialog(const std::string& typed_name);
std::string last_file_dialog();
