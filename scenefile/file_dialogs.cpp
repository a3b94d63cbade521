// The Open and Save As dialogs. Each starts with an empty name and sets
// scene_path only when the user chose a file, so a cancelled dialog keeps
// the current path.
#include <cstring>

#include "scenefile/scene_file.h"
#include "scenefile/scene_support.h"

namespace {

// Pairs of label and pattern; the literal's own terminator ends the list.
constexpr char SCENE_FILTER[] = "Stelo Files (*.SLO)\0*.SLO\0All Files (*.*)\0*.*\0";

// Room for any path the dialog may return, so that one too long for
// scene_path is refused whole rather than cut short into another name.
constexpr std::size_t CHOICE_CAPACITY = 4096;

// Shows the dialog; 1 with the choice in scene_path, 0 when cancelled, -1
// when the choice does not fit (refused with failure_text).
int choose_file(const FileDialogRequest& request, const char* failure_text) {
    char choice[CHOICE_CAPACITY] = {};
    if (!file_dialog(request, choice, sizeof choice) || choice[0] == '\0') return 0;
    if (std::strlen(choice) >= sizeof scene_path) {
        show_path_message(failure_text, choice, "");
        return -1;
    }
    std::memcpy(scene_path, choice, std::strlen(choice) + 1);
    return 1;
}

}  // namespace

const char* open_dialog_folder = nullptr;

int choose_open_file() {
    FileDialogRequest request{};
    request.owner = scene_dialog_owner;
    request.save = 0;
    request.title = "Open a File";
    request.filter = SCENE_FILTER;
    request.default_extension = "slo";
    request.must_exist = 1;
    request.folder = open_dialog_folder;
    return choose_file(request, "Could not open file ");
}

int choose_save_file() {
    FileDialogRequest request{};
    request.owner = scene_dialog_owner;
    request.save = 1;
    request.title = "Save File As";
    request.filter = SCENE_FILTER;
    request.default_extension = "slo";
    request.must_exist = 0;  // no existence checks and no overwrite prompt
    const int choice = choose_file(request, "Could not create file ");
    return choice == 1 ? write_scene() : choice;
}
