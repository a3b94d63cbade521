// The About box: program title, version and a short note, with one OK button.
#include "shell/about_dialog.h"

#include "platform/platform.h"
#include "shell/shell.h"

namespace {

constexpr int ID_OK = 1;

const DialogControl about_controls[] = {
    {-1, CONTROL_STATIC, "3D Gravitational Stelo Simulator", 14, 10, 160, 8},
    {-1, CONTROL_STATIC, "Stelo3d v2.0.002", 14, 24, 160, 8},
    {-1, CONTROL_STATIC, "Point masses in a plane under their mutual gravitation.", 14, 38, 200, 8},
    {-1, CONTROL_STATIC, "Place bodies in the interactive view, then press Run.", 14, 50, 200, 8},
    {ID_OK, CONTROL_DEFAULT_BUTTON, "OK", 89, 68, 50, 14},
};

const DialogTemplate about_dialog = {111, "About Stelo3D", 0, 0, 228, 90, "MS Sans Serif", 8,
                                     about_controls,
                                     static_cast<int>(sizeof about_controls / sizeof about_controls[0])};

LRESULT about_dialog_proc(Window dialog, unsigned message, WPARAM wparam, LPARAM) {
    if (message == WM_COMMAND && low_word(wparam) == ID_OK) end_dialog(dialog, ID_OK);
    return 0;
}

}  // namespace

void show_about_dialog() { run_modal_dialog(about_dialog, control_window, about_dialog_proc); }
