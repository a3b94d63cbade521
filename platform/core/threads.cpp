// Threads with counted, cooperative suspension. A suspended thread waits at
// its next suspension point; a thread created suspended waits before its
// entry runs. Joining a thread releases its sends to the joiner's windows,
// which the joiner cannot serve while it waits, so an orderly end never
// deadlocks on a worker blocked in send_message.
#include <atomic>
#include <condition_variable>

#include "platform/core/core_state.h"

#ifdef __linux__
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

struct Thread {
    ThreadEntry entry = nullptr;
    std::thread thread;
    // Suspension: the count is changed under the mutex; the atomic copy lets
    // suspension_point() return at once in the common case.
    std::mutex suspension_mutex;
    std::condition_variable resumed;
    std::atomic<int> suspend_count{0};
    std::atomic<int> priority{PRIORITY_NORMAL};
    std::atomic<long> system_id{0};
    // Guarded by core_mutex().
    std::shared_ptr<ThreadQueue> queue;    // the thread's own queue
    std::shared_ptr<ThreadQueue> joiner;   // the queue of a thread joining it
    int finished = 0;
    int exit_code = 0;
    int joined = 0;
    std::atomic<int> running{1};
};

namespace {

thread_local Thread* current_thread = nullptr;

void apply_priority(Thread* thread) {
#ifdef __linux__
    const long id = thread->system_id.load();
    if (id == 0) return;
    // Niceness per thread; raising above normal needs privileges and is
    // simply not granted otherwise.
    const int nice_value = thread->priority.load() == PRIORITY_BELOW_NORMAL ? 5
                           : thread->priority.load() == PRIORITY_ABOVE_NORMAL ? -5
                                                                               : 0;
    (void)setpriority(PRIO_PROCESS, static_cast<id_t>(id), nice_value);
#else
    (void)thread;
#endif
}

void thread_main(Thread* thread) {
    current_thread = thread;
    {
        std::shared_ptr<ThreadQueue> queue = current_queue();
        std::lock_guard<std::mutex> lock(core_mutex());
        thread->queue = queue;
    }
#ifdef __linux__
    thread->system_id.store(static_cast<long>(syscall(SYS_gettid)));
    if (thread->priority.load() != PRIORITY_NORMAL) apply_priority(thread);
#endif
    suspension_point();
    const int code = thread->entry();
    thread->running.store(0);
    std::lock_guard<std::mutex> lock(core_mutex());
    thread->exit_code = code;
    thread->finished = 1;
    if (thread->joiner) signal_queue(*thread->joiner);
}

}  // namespace

Thread* create_thread(ThreadEntry entry, int start_suspended) {
    if (entry == nullptr) return nullptr;
    auto* thread = new Thread;
    thread->entry = entry;
    thread->suspend_count.store(start_suspended ? 1 : 0);
    try {
        thread->thread = std::thread(thread_main, thread);
    } catch (...) {
        delete thread;
        return nullptr;
    }
    return thread;
}

void set_thread_priority(Thread* thread, ThreadPriority priority) {
    if (thread == nullptr) return;
    thread->priority.store(priority);
    apply_priority(thread);
}

int suspend_thread(Thread* thread) {
    if (thread == nullptr) return -1;
    std::lock_guard<std::mutex> lock(thread->suspension_mutex);
    const int previous = thread->suspend_count.load();
    thread->suspend_count.store(previous + 1);
    return previous;
}

int resume_thread(Thread* thread) {
    if (thread == nullptr) return -1;
    std::lock_guard<std::mutex> lock(thread->suspension_mutex);
    const int previous = thread->suspend_count.load();
    if (previous > 0) thread->suspend_count.store(previous - 1);
    if (previous == 1) thread->resumed.notify_all();
    return previous;
}

void resume_thread_fully(Thread* thread) {
    if (thread == nullptr) return;
    std::lock_guard<std::mutex> lock(thread->suspension_mutex);
    thread->suspend_count.store(0);
    thread->resumed.notify_all();
}

void suspension_point() {
    Thread* thread = current_thread;
    if (thread == nullptr || thread->suspend_count.load() == 0) return;
    std::unique_lock<std::mutex> lock(thread->suspension_mutex);
    thread->resumed.wait(lock, [thread] { return thread->suspend_count.load() == 0; });
}

int thread_running(Thread* thread) { return thread != nullptr && thread->running.load() ? 1 : 0; }

int join_thread(Thread* thread) {
    if (thread == nullptr || thread == current_thread) return -1;
    std::shared_ptr<ThreadQueue> self = current_queue();
    std::unique_lock<std::mutex> lock(core_mutex());
    if (thread->joined) return thread->exit_code;
    thread->joiner = self;
    while (!thread->finished) {
        // Sends from the thread we wait for can never be served now: release
        // them (result 0) so it can reach its end.
        for (auto it = self->sent.begin(); it != self->sent.end();) {
            if ((*it)->sender == thread->queue && (*it)->kind == SentMessage::MESSAGE) {
                complete_send(**it, 0);
                it = self->sent.erase(it);
            } else {
                ++it;
            }
        }
        if (!thread->finished) wait_for_signal(lock, *self);
    }
    thread->joiner.reset();
    thread->joined = 1;
    const int code = thread->exit_code;
    lock.unlock();
    thread->thread.join();
    return code;
}

void close_thread(Thread* thread) {
    if (thread == nullptr) return;
    join_thread(thread);
    delete thread;
}
