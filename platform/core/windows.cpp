// Window classes and windows: records keyed by a handle that is never
// reused, each owned by the thread that created it.
#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/core/core_state.h"

namespace {

struct ClassRecord {
    WindowProc proc;
    int background_black;
};

std::map<std::string, ClassRecord> classes;  // guarded by core_mutex()
std::uint32_t last_window_id = 0;            // guarded by core_mutex()

}  // namespace

int register_window_class(const WindowClass& window_class) {
    if (window_class.name == nullptr || window_class.name[0] == '\0' || window_class.proc == nullptr) return 0;
    std::lock_guard<std::mutex> lock(core_mutex());
    return classes.emplace(window_class.name, ClassRecord{window_class.proc, window_class.background_black})
                   .second
               ? 1
               : 0;
}

int window_class_background_black(const char* class_name) {
    if (class_name == nullptr) return 0;
    std::lock_guard<std::mutex> lock(core_mutex());
    auto found = classes.find(class_name);
    return found != classes.end() && found->second.background_black ? 1 : 0;
}

Window create_window(const char* class_name, const char* title, unsigned style, int x, int y,
                     int width, int height, Window parent, std::uintptr_t menu) {
    if (class_name == nullptr) return NO_WINDOW;
    set_main_thread_if_unset();
    std::shared_ptr<ThreadQueue> owner = current_queue();
    Window window = NO_WINDOW;
    WindowProc proc = nullptr;
    {
        std::lock_guard<std::mutex> lock(core_mutex());
        auto found = classes.find(class_name);
        if (found == classes.end()) return NO_WINDOW;
        proc = found->second.proc;
        window = static_cast<Window>(++last_window_id);
        WindowRecord& record = window_table()[window];
        record.proc = proc;
        record.owner = owner;
        record.class_name = class_name;
        record.title = title != nullptr ? title : "";
        record.parent = parent;
    }
    const GuiBackend gui = current_backend();
    if (gui.window_created != nullptr) {
        gui.window_created(window, class_name, title != nullptr ? title : "", style, x, y, width, height, parent,
                           menu);
    }
    if (proc(window, WM_CREATE, 0, 0) == -1) {
        destroy_window(window);
        return NO_WINDOW;
    }
    return window;
}

void finish_destroy(Window window) {
    WindowProc proc = nullptr;
    {
        std::lock_guard<std::mutex> lock(core_mutex());
        auto it = window_table().find(window);
        if (it == window_table().end()) return;
        proc = it->second.proc;
    }
    proc(window, WM_DESTROY, 0, 0);
    const GuiBackend gui = current_backend();
    if (gui.window_destroyed != nullptr) gui.window_destroyed(window);
    // Children the GUI half did not take down with their parent go now.
    std::vector<Window> children;
    {
        std::lock_guard<std::mutex> lock(core_mutex());
        for (const auto& [id, record] : window_table()) {
            if (record.parent == window && !record.dying) children.push_back(static_cast<Window>(id));
        }
    }
    for (Window child : children) destroy_window(child);
    std::lock_guard<std::mutex> lock(core_mutex());
    window_table().erase(window);
}

void destroy_window(Window window) {
    std::shared_ptr<ThreadQueue> self = current_queue();
    std::unique_lock<std::mutex> lock(core_mutex());
    auto it = window_table().find(window);
    if (it == window_table().end() || it->second.dying) return;
    // From here on no send reaches the procedure; those waiting are released.
    it->second.dying = 1;
    std::shared_ptr<ThreadQueue> owner = it->second.owner;
    release_sends_to(*owner, window);
    if (owner == self || owner->dead) {
        lock.unlock();
        finish_destroy(window);
        return;
    }
    // WM_DESTROY runs on the owner's thread: ask it and wait, serving sends
    // to our own windows meanwhile.
    auto request = std::make_shared<SentMessage>();
    request->kind = SentMessage::DESTROY;
    request->message = Message{window, WM_DESTROY, 0, 0};
    request->sender = self;
    owner->sent.push_back(request);
    signal_queue(*owner);
    lock.unlock();
    wake_owner(*owner);
    lock.lock();
    while (!request->done) {
        if (!serve_one_send(lock, *self)) wait_for_signal(lock, *self);
    }
    const int served = request->served;
    lock.unlock();
    // The owner ended before it could serve the request.
    if (!served) finish_destroy(window);
}

int is_window(Window window) {
    std::lock_guard<std::mutex> lock(core_mutex());
    return window_table().count(window) != 0 ? 1 : 0;
}

void set_window_text(Window window, const char* text) {
    {
        std::lock_guard<std::mutex> lock(core_mutex());
        auto it = window_table().find(window);
        if (it == window_table().end()) return;
        it->second.title = text != nullptr ? text : "";
    }
    const GuiBackend gui = current_backend();
    if (gui.window_text_changed != nullptr) gui.window_text_changed(window, text != nullptr ? text : "");
}

int get_window_text(Window window, char* buffer, int capacity) {
    if (buffer == nullptr || capacity <= 0) return 0;
    std::lock_guard<std::mutex> lock(core_mutex());
    auto it = window_table().find(window);
    if (it == window_table().end()) {
        buffer[0] = '\0';
        return 0;
    }
    const std::size_t length = std::min(it->second.title.size(), static_cast<std::size_t>(capacity - 1));
    std::memcpy(buffer, it->second.title.data(), length);
    buffer[length] = '\0';
    return static_cast<int>(length);
}

LRESULT default_window_proc(Window window, unsigned message, WPARAM wparam, LPARAM lparam) {
    const GuiBackend gui = current_backend();
    if (gui.default_proc != nullptr) return gui.default_proc(window, message, wparam, lparam);
    if (message == WM_CLOSE) {
        destroy_window(window);
    } else if (message == WM_SYSCOMMAND && (wparam & 0xFFF0) == SC_CLOSE) {
        send_message(window, WM_CLOSE, 0, 0);
    }
    return 0;
}

int answer_tooltip_request(LPARAM lparam, const char* (*tooltip)(int id)) {
    auto* header = reinterpret_cast<NotifyHeader*>(lparam);
    if (header == nullptr || header->code != TTN_NEEDTEXT) return 0;
    const char* text = tooltip(header->id_from);
    if (text == nullptr) return 0;
    const std::size_t length = std::min(std::strlen(text), sizeof header->text - 1);
    std::memcpy(header->text, text, length);
    header->text[length] = '\0';
    return 1;
}
