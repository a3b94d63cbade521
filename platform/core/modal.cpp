// Message boxes, file dialogs and the fatal exit. Each modal interaction asks
// the test hook first, then the GUI backend; without either it falls back to
// standard error (message boxes) or a cancelled dialog.
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/core/core_state.h"

namespace {

std::atomic<MessageBoxHook> message_box_hook{nullptr};
std::atomic<FileDialogHook> file_dialog_hook{nullptr};

}  // namespace

void set_message_box_hook(MessageBoxHook hook) { message_box_hook.store(hook); }
void set_file_dialog_hook(FileDialogHook hook) { file_dialog_hook.store(hook); }

int message_box(Window owner, const char* text, const char* caption, unsigned buttons) {
    if (caption == nullptr) caption = "Error";
    if (text == nullptr) text = "";
    if (MessageBoxHook hook = message_box_hook.load()) return hook(owner, text, caption, buttons);
    const GuiBackend gui = current_backend();
    if (gui.message_box != nullptr) return gui.message_box(owner, text, caption, buttons);
    // One line on standard error.
    std::string line = text;
    for (char& c : line) {
        if (c == '\n' || c == '\r') c = ' ';
    }
    std::fprintf(stderr, "%s\n", line.c_str());
    std::fflush(stderr);
    return buttons == MB_SAVEDISCARDCANCEL ? IDCANCEL : IDOK;
}

int file_dialog(const FileDialogRequest& request, char* path, std::size_t capacity) {
    if (path == nullptr || capacity == 0) return 0;
    if (FileDialogHook hook = file_dialog_hook.load()) return hook(request, path, capacity);
    const GuiBackend gui = current_backend();
    if (gui.file_dialog != nullptr) return gui.file_dialog(request, path, capacity);
    return 0;
}

void fatal_exit(const char* text) {
    message_box(NO_WINDOW, text, nullptr, MB_OK);
    std::fflush(stdout);
    std::_Exit(1);
}
