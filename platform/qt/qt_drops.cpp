// Dropped files: a drop handle names a list of paths until it is released.
// Handles are checked against the live set, so a stale or made-up handle
// reads as an empty drop instead of touching freed memory.
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "platform/qt/qt_state.h"

namespace {

struct Drop {
    std::vector<std::string> paths;
};

std::mutex drops_guard;
std::set<Drop*> live_drops;

Drop* find_drop(WPARAM handle) {
    auto* drop = reinterpret_cast<Drop*>(handle);
    return live_drops.count(drop) != 0 ? drop : nullptr;
}

}  // namespace

void qt_dispatch_drop(QtWindow* record, const std::vector<std::string>& paths) {
    auto* drop = new Drop{paths};
    {
        std::lock_guard<std::mutex> lock(drops_guard);
        live_drops.insert(drop);
    }
    // Posted, as the window system does: the receiver runs after the drag
    // and drop exchange has finished.
    if (!post_message(record->window, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0)) {
        release_drop(reinterpret_cast<WPARAM>(drop));
    }
}

int drop_files(Window window, const char* const* paths, int count) {
    QtWindow* record = qt_window(window);
    if (record == nullptr || !record->accepts_drops || paths == nullptr || count <= 0) return 0;
    std::vector<std::string> list;
    for (int i = 0; i < count; ++i) {
        if (paths[i] != nullptr) list.emplace_back(paths[i]);
    }
    if (list.empty()) return 0;
    qt_dispatch_drop(record, list);
    return 1;
}

int drop_file_count(WPARAM drop) {
    std::lock_guard<std::mutex> lock(drops_guard);
    Drop* found = find_drop(drop);
    return found != nullptr ? static_cast<int>(found->paths.size()) : 0;
}

int drop_file_path(WPARAM drop, int index, char* buffer, int capacity) {
    std::lock_guard<std::mutex> lock(drops_guard);
    Drop* found = find_drop(drop);
    if (found == nullptr || index < 0 || index >= static_cast<int>(found->paths.size())) {
        return qt_copy_text("", buffer, capacity);
    }
    return qt_copy_text(found->paths[static_cast<std::size_t>(index)], buffer, capacity);
}

void release_drop(WPARAM drop) {
    std::lock_guard<std::mutex> lock(drops_guard);
    Drop* found = find_drop(drop);
    if (found == nullptr) return;
    live_drops.erase(found);
    delete found;
}

void qt_free_all_drops() {
    std::lock_guard<std::mutex> lock(drops_guard);
    for (Drop* drop : live_drops) delete drop;
    live_drops.clear();
}
