// Helpers shared by the scene reader, the scene writer and the file dialogs.
#pragma once

#include <locale.h>

// Scene files are text in the C locale (a full stop as the decimal point)
// whatever locale the process runs in. These switch the calling thread to
// the C locale and back; nothing else in the process is affected.
locale_t enter_c_locale();
void leave_c_locale(locale_t previous);

// Shows before + path + after in a message box owned by scene_dialog_owner,
// with an OK button and the default caption. The text holds the whole path.
void show_path_message(const char* before, const char* path, const char* after);
