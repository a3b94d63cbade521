// The table of widget records, keyed by window handle, main thread only.
#include "platform/qt/qt_state.h"

#include <cstring>

#include "platform/qt/qt_gl_surface.h"

namespace {
std::map<Window, std::unique_ptr<QtWindow>> qt_windows;
}

QtWindow* qt_window(Window window) {
    if (!is_main_thread()) return nullptr;
    auto found = qt_windows.find(window);
    return found == qt_windows.end() ? nullptr : found->second.get();
}

QtWindow* qt_add_window(Window window, QtKind kind, Window parent) {
    auto record = std::make_unique<QtWindow>();
    record->window = window;
    record->kind = kind;
    record->parent = parent;
    QtWindow* raw = record.get();
    qt_windows[window] = std::move(record);
    return raw;
}

void qt_remove_window(Window window) { qt_windows.erase(window); }

QtWindow* qt_create_child(Window parent, const char* class_name, int child_id, int x, int y, int width,
                          int height, QtWindow** parent_record) {
    QtWindow* parent_found = qt_window(parent);
    if (parent_found == nullptr || parent_found->client == nullptr) return nullptr;
    const Window window = create_window(class_name, "", WS_CHILD, x, y, width, height, parent, 0);
    QtWindow* record = qt_window(window);
    if (record == nullptr) return nullptr;
    // Creating the child ran window procedures: take the parent's record afresh.
    *parent_record = qt_window(parent);
    record->child_id = child_id;
    return record;
}

std::vector<Window> qt_children_of(Window parent) {
    std::vector<Window> children;
    for (auto& [handle, record] : qt_windows) {
        if (record->parent == parent && record->kind != QtKind::TOP_LEVEL) children.push_back(handle);
    }
    return children;
}

std::vector<Window> qt_all_windows() {
    std::vector<Window> all;
    for (auto& [handle, record] : qt_windows) all.push_back(handle);
    return all;
}

QWidget* qt_owner_widget(Window owner) {
    QtWindow* record = qt_window(owner);
    if (record == nullptr || record->widget == nullptr) return nullptr;
    return record->widget->window();
}

LRESULT qt_send_gl_aware(Window window, unsigned message, WPARAM wparam, LPARAM lparam) {
    QtWindow* record = qt_window(window);
    if (record != nullptr && record->gl != nullptr) gl_make_current(window);
    return send_message(window, message, wparam, lparam);
}

double qt_pixel_ratio(const QWidget* widget) {
    return widget == nullptr ? 1.0 : widget->devicePixelRatioF();
}

int qt_copy_text(const std::string& text, char* buffer, int capacity) {
    if (buffer == nullptr || capacity <= 0) return 0;
    std::size_t n = text.size();
    if (n > static_cast<std::size_t>(capacity - 1)) n = static_cast<std::size_t>(capacity - 1);
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
    return static_cast<int>(n);
}
