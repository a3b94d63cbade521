// The core's shared state: one mutex over the window table and the queues,
// the installed GUI backend and the identity of the main thread.
#include "platform/core/core_state.h"

#include <atomic>

#include "platform/core/futex.h"

namespace {

std::mutex state_mutex;
std::map<std::uint32_t, WindowRecord> windows;
GuiBackend backend{};
std::atomic<std::thread::id> main_thread{};
std::atomic<void (*)()> main_thread_waker{nullptr};  // the backend's wake_main_thread

// Retires the thread's queue when the thread ends, so no sender waits on a
// thread that will never serve it.
struct QueueHolder {
    std::shared_ptr<ThreadQueue> queue;
    ~QueueHolder() {
        if (!queue) return;
        std::lock_guard<std::mutex> lock(state_mutex);
        queue->dead = 1;
        for (auto& sent : queue->sent) complete_send(*sent, 0);
        queue->sent.clear();
        queue->posted.clear();
    }
};

thread_local QueueHolder holder;

}  // namespace

std::mutex& core_mutex() { return state_mutex; }
std::map<std::uint32_t, WindowRecord>& window_table() { return windows; }

std::shared_ptr<ThreadQueue> current_queue() {
    if (!holder.queue) {
        auto queue = std::make_shared<ThreadQueue>();
        queue->thread = std::this_thread::get_id();
        holder.queue = queue;
    }
    return holder.queue;
}

void complete_send(SentMessage& sent, LRESULT result) {
    sent.result = result;
    sent.done = 1;
    if (sent.sender) signal_queue(*sent.sender);
}

void signal_queue(ThreadQueue& queue) {
    queue.arrivals.fetch_add(1);
    if (queue.sleepers.load() != 0) futex_wake_all(queue.arrivals);
}

void wait_for_signal(std::unique_lock<std::mutex>& lock, ThreadQueue& queue) {
    // Signals are raised under the lock: what this look sees is the state the
    // caller has just examined, and any later signal changes the word.
    const unsigned seen = queue.arrivals.load();
    lock.unlock();
    // Counted before the kernel compares the word: a signal either changes
    // it first or sees the sleeper and wakes it.
    queue.sleepers.fetch_add(1);
    futex_wait(queue.arrivals, seen, nullptr);
    queue.sleepers.fetch_sub(1);
    lock.lock();
}

void release_sends_to(ThreadQueue& owner, Window window) {
    for (auto it = owner.sent.begin(); it != owner.sent.end();) {
        SentMessage& sent = **it;
        if (sent.kind == SentMessage::MESSAGE && sent.message.window == window) {
            complete_send(sent, 0);
            it = owner.sent.erase(it);
        } else {
            ++it;
        }
    }
}

int serve_one_send(std::unique_lock<std::mutex>& lock, ThreadQueue& queue) {
    if (queue.sent.empty()) return 0;
    std::shared_ptr<SentMessage> sent = queue.sent.front();
    queue.sent.pop_front();
    const Message m = sent->message;
    if (sent->kind == SentMessage::DESTROY) {
        sent->served = 1;
        lock.unlock();
        finish_destroy(m.window);
        lock.lock();
        complete_send(*sent, 0);
        return 1;
    }
    auto it = windows.find(m.window);
    if (it == windows.end() || it->second.dying) {
        complete_send(*sent, 0);
        return 1;
    }
    const WindowProc proc = it->second.proc;
    sent->served = 1;
    lock.unlock();
    const LRESULT result = proc(m.window, m.message, m.wparam, m.lparam);
    lock.lock();
    complete_send(*sent, result);
    return 1;
}

GuiBackend current_backend() {
    std::lock_guard<std::mutex> lock(state_mutex);
    return backend;
}

void install_gui_backend(const GuiBackend* installed) {
    {
        std::lock_guard<std::mutex> lock(state_mutex);
        backend = installed != nullptr ? *installed : GuiBackend{};
        main_thread_waker.store(backend.wake_main_thread);
    }
    if (installed != nullptr) main_thread.store(std::this_thread::get_id());
}

void set_main_thread_if_unset() {
    std::thread::id unset{};
    main_thread.compare_exchange_strong(unset, std::this_thread::get_id());
}

bool is_main(std::thread::id thread) {
    const std::thread::id main = main_thread.load();
    return main != std::thread::id{} && main == thread;
}

int is_main_thread() { return is_main(std::this_thread::get_id()) ? 1 : 0; }

void wake_owner(const ThreadQueue& owner) {
    if (!is_main(owner.thread)) return;
    // Read without the lock: this runs for every message to the main thread.
    void (*const wake)() = main_thread_waker.load();
    if (wake != nullptr) wake();
}
