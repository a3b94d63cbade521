// The scene path, the version word and the owner of the dialogs and
// messages; the C-locale switch and the message helper.
#include <string>

#include "scenefile/scene_file.h"
#include "scenefile/scene_support.h"
#include "sim/bodies.h"

char scene_path[256] = "stelo.slo";
const char SCENE_VERSION[] = "2.0.002";
Window scene_dialog_owner = NO_WINDOW;

locale_t enter_c_locale() {
    // Made once and kept for the life of the process.
    static const locale_t c_locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    if (c_locale == static_cast<locale_t>(nullptr)) return static_cast<locale_t>(nullptr);
    return uselocale(c_locale);
}

void leave_c_locale(locale_t previous) {
    if (previous != static_cast<locale_t>(nullptr)) uselocale(previous);
}

double stored_to_user_mass(double stored) { return stored * INVERSE_MASS_UNIT; }

void show_path_message(const char* before, const char* path, const char* after) {
    std::string text = before;
    text += path;
    text += after;
    message_box(scene_dialog_owner, text.c_str(), nullptr, MB_OK);
}
