// Helpers shared by the scene reader, the scene writer and the file dialogs.
#pragma once

#include <locale.h>

// Scene files are text in the C locale (a full stop as the decimal point)
// whatever locale the process runs in. These switch the calling thread to
// the C locale and back; nothing else in the process is affected.
locale_t enter_c_locale();
void leave_c_locale(locale_t previous);

// A stored mass in user units; the body then holds it times MASS_UNIT. The
// writer picks stored masses that come back exactly through this.
double stored_to_user_mass(double stored);

// Shows before + path + after in a message box owned by scene_dialog_owner,
// with an OK button and the default caption. The text holds the whole path.
void show_path_message(const char* before, const char* path, const char* after);
