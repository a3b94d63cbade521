// Sending and posting messages, and the message loop of a thread. A send to
// a window of another thread waits in the owner's queue; a thread serves the
// sends waiting for it whenever it waits itself, so two threads sending to
// each other cannot block for good.
#include "platform/core/core_state.h"

LRESULT send_message(Window window, unsigned message, WPARAM wparam, LPARAM lparam) {
    std::shared_ptr<ThreadQueue> self = current_queue();
    std::unique_lock<std::mutex> lock(core_mutex());
    auto it = window_table().find(window);
    if (it == window_table().end()) return 0;
    std::shared_ptr<ThreadQueue> owner = it->second.owner;
    if (owner == self) {
        // Same thread: a direct call, also while the window is being destroyed
        // (its own WM_DESTROY may still talk to it).
        const WindowProc proc = it->second.proc;
        lock.unlock();
        return proc(window, message, wparam, lparam);
    }
    if (it->second.dying || owner->dead) return 0;
    auto sent = std::make_shared<SentMessage>();
    sent->message = Message{window, message, wparam, lparam};
    sent->sender = self;
    owner->sent.push_back(sent);
    signal_queue(*owner);
    lock.unlock();
    wake_owner(*owner);
    lock.lock();
    while (!sent->done) {
        if (!serve_one_send(lock, *self)) wait_for_signal(lock, *self);
    }
    return sent->result;
}

int post_message(Window window, unsigned message, WPARAM wparam, LPARAM lparam) {
    std::shared_ptr<ThreadQueue> owner;
    {
        std::lock_guard<std::mutex> lock(core_mutex());
        if (window == NO_WINDOW) {
            // A thread message for the calling thread.
            owner = current_queue();
        } else {
            auto it = window_table().find(window);
            if (it == window_table().end() || it->second.dying) return 0;
            owner = it->second.owner;
        }
        if (owner->dead) return 0;
        owner->posted.push_back(Message{window, message, wparam, lparam});
        signal_queue(*owner);
    }
    wake_owner(*owner);
    return 1;
}

void post_quit_message(int exit_code) {
    std::shared_ptr<ThreadQueue> self = current_queue();
    {
        std::lock_guard<std::mutex> lock(core_mutex());
        self->posted.push_back(Message{NO_WINDOW, WM_QUIT, static_cast<WPARAM>(exit_code), 0});
    }
    wake_owner(*self);
}

namespace {

// Takes the next posted message, skipping those for windows that are gone.
// Lock held.
int take_posted(ThreadQueue& queue, Message* out) {
    while (!queue.posted.empty()) {
        const Message m = queue.posted.front();
        queue.posted.pop_front();
        if (m.window != NO_WINDOW && window_table().count(m.window) == 0) continue;
        *out = m;
        return 1;
    }
    return 0;
}

}  // namespace

int get_message(Message* out) {
    if (out == nullptr) return 0;
    std::shared_ptr<ThreadQueue> self = current_queue();
    std::unique_lock<std::mutex> lock(core_mutex());
    for (;;) {
        if (serve_one_send(lock, *self)) continue;
        if (take_posted(*self, out)) return out->message == WM_QUIT ? 0 : 1;
        wait_for_signal(lock, *self);
    }
}

int peek_message(Message* out) {
    if (out == nullptr) return 0;
    std::shared_ptr<ThreadQueue> self = current_queue();
    std::unique_lock<std::mutex> lock(core_mutex());
    // Only those already waiting: a sender that sends again at once must
    // not keep this thread here.
    for (std::size_t waiting = self->sent.size(); waiting > 0 && serve_one_send(lock, *self); --waiting) {
    }
    return take_posted(*self, out);
}

LRESULT dispatch_message(const Message& message) {
    if (message.window == NO_WINDOW) return 0;
    return send_message(message.window, message.message, message.wparam, message.lparam);
}

int run_message_loop() {
    Message message{};
    while (get_message(&message)) dispatch_message(message);
    return static_cast<int>(message.wparam);
}

int sent_messages_waiting() {
    std::shared_ptr<ThreadQueue> self = current_queue();
    std::lock_guard<std::mutex> lock(core_mutex());
    return static_cast<int>(self->sent.size());
}

void serve_sent_messages() {
    std::shared_ptr<ThreadQueue> self = current_queue();
    std::unique_lock<std::mutex> lock(core_mutex());
    // Only those already waiting: a sender that sends again at once must
    // not keep this thread here.
    for (std::size_t waiting = self->sent.size(); waiting > 0 && serve_one_send(lock, *self); --waiting) {
    }
}
