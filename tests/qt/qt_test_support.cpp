#include "tests/qt/qt_test_support.h"

#include <chrono>

std::vector<Received> received;
const char* const RECORDER_CLASS = "qt_test_recorder";

namespace {
LRESULT recorder_proc(Window window, unsigned message, WPARAM wparam, LPARAM lparam) {
    received.push_back(Received{window, message, wparam, lparam, std::this_thread::get_id()});
    if (message == WM_TEST_ANSWER) return static_cast<LRESULT>(wparam * 10);
    return default_window_proc(window, message, wparam, lparam);
}
}  // namespace

Window make_recorder(const char* title, unsigned style, int width, int height, std::uintptr_t menu) {
    register_window_class(WindowClass{RECORDER_CLASS, recorder_proc, 1, nullptr});
    return create_window(RECORDER_CLASS, title, style, 100, 100, width, height, NO_WINDOW, menu);
}

int count_received(Window window, unsigned message) {
    int n = 0;
    for (const Received& r : received) {
        if (r.window == window && r.message == message) ++n;
    }
    return n;
}

const Received* last_received(Window window, unsigned message) {
    const Received* last = nullptr;
    for (const Received& r : received) {
        if (r.window == window && r.message == message) last = &r;
    }
    return last;
}

bool wait_until(const std::function<bool()>& condition) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) return false;
        gui_process_events(10);
    }
    return true;
}
