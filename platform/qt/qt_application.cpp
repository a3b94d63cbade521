// The application object and the event pump: Qt's event loop runs the main
// thread, and a wake-up from the core makes it serve the core's message
// queue of the main thread (cross-thread sends first, then posted messages).
#include <QApplication>
#include <QEventLoop>
#include <QIcon>
#include <QSocketNotifier>
#include <QTimer>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <mutex>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#ifdef __linux__
#include <dlfcn.h>
#include <link.h>
#endif

#include "platform/qt/qt_state.h"

void qt_window_created(Window window, const char* class_name, const char* title, unsigned style,
                       int x, int y, int width, int height, Window parent, std::uintptr_t menu);
void qt_window_destroyed(Window window);
void qt_window_text_changed(Window window, const char* text);

namespace {

// The pump serves at most this many posted messages per turn, so a window
// that posts to itself in a loop cannot starve Qt's own events.
constexpr int MESSAGES_PER_TURN = 256;

QApplication* application = nullptr;
int fallback_argc = 1;
char fallback_name[] = "stelo";
char* fallback_argv[] = {fallback_name, nullptr};

std::atomic<int> wake_pending{0};
int quit_seen = 0;
int quit_code = 0;
GuiBackend qt_backend{};

void wake_main_thread_qt();

// Qt wants a private runtime directory; a bare session (root, CI, a
// virtual display) often has none.
void ensure_runtime_directory() {
    if (std::getenv("XDG_RUNTIME_DIR") != nullptr) return;
    static const std::string dir = "/tmp/stelo-runtime-" + std::to_string(getuid());
    mkdir(dir.c_str(), 0700);
    setenv("XDG_RUNTIME_DIR", dir.c_str(), 0);
}

// Returns 1 when it dispatched a full turn and more may be waiting.
int pump_main_queue() {
    serve_sent_messages();
    Message message{};
    for (int served = 0; served < MESSAGES_PER_TURN; ++served) {
        if (!peek_message(&message)) return 0;
        if (message.message == WM_QUIT) {
            quit_seen = 1;
            quit_code = static_cast<int>(message.wparam);
            QCoreApplication::exit(quit_code);
            return 0;
        }
        dispatch_message(message);
        serve_sent_messages();
    }
    return 1;
}

void pump_turn() {
    wake_pending.store(0);
    if (pump_main_queue()) wake_main_thread_qt();
}

// A byte in a pipe carries the wake-up: a thread that wakes the main thread
// shares no memory with Qt's event queues, only a file descriptor that the
// main thread's loop watches.
int wake_read_fd = -1;
std::atomic<int> wake_write_fd{-1};
QSocketNotifier* wake_notifier = nullptr;

void start_pump() {
    int ends[2] = {-1, -1};
    if (pipe(ends) != 0) return;
    for (int fd : ends) {
        fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
        fcntl(fd, F_SETFD, FD_CLOEXEC);
    }
    wake_read_fd = ends[0];
    wake_notifier = new QSocketNotifier(wake_read_fd, QSocketNotifier::Read);
    QObject::connect(wake_notifier, &QSocketNotifier::activated, wake_notifier, [] {
        char drain[64];
        while (read(wake_read_fd, drain, sizeof drain) > 0) {
        }
        pump_turn();
    });
    wake_write_fd.store(ends[1]);
}

void stop_pump() {
    const int write_end = wake_write_fd.exchange(-1);
    delete wake_notifier;
    wake_notifier = nullptr;
    if (write_end >= 0) close(write_end);
    if (wake_read_fd >= 0) close(wake_read_fd);
    wake_read_fd = -1;
}

void wake_main_thread_qt() {
    const int fd = wake_write_fd.load();
    if (fd < 0) return;
    if (wake_pending.exchange(1) == 0) {
        const char byte = 1;
        // A full pipe already holds a wake-up.
        if (write(fd, &byte, 1) < 0) {
        }
    }
}

LRESULT pass_to_default(Window window, unsigned message, WPARAM wparam, LPARAM lparam) {
    return default_window_proc(window, message, wparam, lparam);
}

// Without a display Qt would abort; answer 0 instead.
int display_available() {
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    const std::string name = platform != nullptr ? platform : "";
    if (name.rfind("offscreen", 0) == 0 || name.rfind("minimal", 0) == 0) return 1;
    const char* x_display = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    const bool has_x = x_display != nullptr && x_display[0] != '\0';
    const bool has_wayland = wayland != nullptr && wayland[0] != '\0';
    if (name.rfind("xcb", 0) == 0) return has_x ? 1 : 0;
    if (name.rfind("wayland", 0) == 0) return has_wayland ? 1 : 0;
    return has_x || has_wayland ? 1 : 0;
}

// Libraries loaded on the toolkit's behalf (the GL driver, platform plugins)
// stay loaded until the process ends: unloading them when the display closes
// gains nothing, and tools that watch the loaded libraries (the thread
// sanitizer's list of ignored libraries) would lose track of them.
void keep_loaded_libraries() {
#ifdef __linux__
    dl_iterate_phdr(
        [](dl_phdr_info* info, std::size_t, void*) {
            if (info->dlpi_name != nullptr && info->dlpi_name[0] != '\0') {
                dlopen(info->dlpi_name, RTLD_LAZY | RTLD_NOLOAD | RTLD_NODELETE);
            }
            return 0;
        },
        nullptr);
#endif
}

}  // namespace

const char* const QT_TOOLBAR_CLASS = "stelo.toolbar";
const char* const QT_STATUS_BAR_CLASS = "stelo.statusbar";
const char* const QT_TAB_CLASS = "stelo.tabcontrol";
const char* const QT_DIALOG_CLASS = "stelo.dialog";
const char* const QT_TABLE_CLASS = "stelo.table";

void qt_register_internal_classes() {
    // Registering again fails harmlessly when the classes already exist.
    register_window_class(WindowClass{QT_TOOLBAR_CLASS, pass_to_default, 0, nullptr});
    register_window_class(WindowClass{QT_STATUS_BAR_CLASS, pass_to_default, 0, nullptr});
    register_window_class(WindowClass{QT_TAB_CLASS, pass_to_default, 0, nullptr});
    register_window_class(WindowClass{QT_DIALOG_CLASS, qt_dialog_class_proc, 0, nullptr});
    register_window_class(WindowClass{QT_TABLE_CLASS, pass_to_default, 0, nullptr});
}

// The views draw into native GL windows with native bars above them. A
// Wayland compositor shows such child surfaces of a GL window only in part
// (the GL window is never exposed, so nothing it draws reaches the screen),
// so when the user has not chosen a platform and an X server is there (on a
// Wayland desktop, XWayland), the program runs on X11.
static void choose_platform() {
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    const char* x_display = std::getenv("DISPLAY");
    if ((platform == nullptr || platform[0] == '\0') && x_display != nullptr && x_display[0] != '\0') {
        setenv("QT_QPA_PLATFORM", "xcb", 1);
    }
}

int gui_init(int* argc, char** argv) {
    if (application != nullptr) return 1;
    choose_platform();
    if (!display_available()) return 0;
    ensure_runtime_directory();
    QCoreApplication::setAttribute(Qt::AA_DontCreateNativeWidgetSiblings);
    if (argc != nullptr && argv != nullptr && *argc > 0) {
        application = new QApplication(*argc, argv);
    } else {
        application = new QApplication(fallback_argc, fallback_argv);
    }
    QApplication::setQuitOnLastWindowClosed(false);
    start_pump();

    qt_backend.window_created = qt_window_created;
    qt_backend.window_destroyed = qt_window_destroyed;
    qt_backend.window_text_changed = qt_window_text_changed;
    qt_backend.default_proc = qt_default_proc;
    qt_backend.message_box = qt_message_box;
    qt_backend.file_dialog = qt_file_dialog;
    qt_backend.wake_main_thread = wake_main_thread_qt;
    install_gui_backend(&qt_backend);
    qt_register_internal_classes();
    // Anything posted before the backend was in place is served at once.
    wake_main_thread_qt();
    return 1;
}

int gui_run_message_loop() {
    if (application == nullptr) return run_message_loop();
    if (quit_seen) {
        quit_seen = 0;
        return quit_code;
    }
    wake_main_thread_qt();
    const int code = QApplication::exec();
    quit_seen = 0;
    return code;
}

void gui_process_events(int milliseconds) {
    if (application == nullptr || !is_main_thread()) return;
    wake_main_thread_qt();
    if (milliseconds <= 0) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        return;
    }
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

void gui_shutdown() {
    if (application == nullptr) return;
    install_gui_backend(nullptr);
    for (Window window : qt_all_windows()) {
        QtWindow* record = qt_window(window);
        if (record == nullptr) continue;
        qt_release_gl(record);
        if (record->widget != nullptr && record->kind == QtKind::TOP_LEVEL) record->widget->deleteLater();
    }
    for (Window window : qt_all_windows()) qt_remove_window(window);
    qt_free_all_menus();
    qt_free_all_drops();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    stop_pump();
    keep_loaded_libraries();
    delete application;
    application = nullptr;
    quit_seen = 0;
    wake_pending.store(0);
}

void set_application_icon(const char* path) {
    if (application == nullptr || path == nullptr) return;
    QApplication::setWindowIcon(QIcon(QString::fromUtf8(path)));
}

namespace {

// The folder of the program's shared data (resources/, examples/). An
// installed program finds it from its own place, bin/ and share/stelo/ under
// one prefix wherever that prefix lies. Only a program inside the build tree
// with no such folder uses the source tree, so an installed one never
// reaches into it.
std::string find_data_folder() {
    std::error_code error;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return STELO_SOURCE_DIR;
    const std::filesystem::path installed = (exe.parent_path() / STELO_DATA_FROM_BIN).lexically_normal();
    if (std::filesystem::is_directory(installed, error)) return installed.string();
    const std::string build = std::filesystem::weakly_canonical(STELO_BINARY_DIR, error).string() + "/";
    if (!error && exe.string().compare(0, build.size(), build) == 0) return STELO_SOURCE_DIR;
    return installed.string();
}

const std::string& data_folder() {
    static const std::string folder = find_data_folder();
    return folder;
}

}  // namespace

const char* resource_path(const char* file_name) {
    static std::mutex guard;
    static std::map<std::string, std::string> known;  // nodes never move
    std::lock_guard<std::mutex> lock(guard);
    const char* from_environment = std::getenv("STELO_RESOURCES");
    const std::string base = from_environment != nullptr && from_environment[0] != '\0'
                                 ? std::string(from_environment)
                                 : data_folder() + "/resources";
    const std::string full = base + "/" + (file_name != nullptr ? file_name : "");
    auto [entry, inserted] = known.emplace(full, full);
    return entry->second.c_str();
}

const char* examples_folder() {
    static const std::string folder = data_folder() + "/examples";
    return folder.c_str();
}
