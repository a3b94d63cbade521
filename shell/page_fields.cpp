#include "shell/page_fields.h"

#include <climits>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "sim/bodies.h"

namespace {

// The field's first FIELD_TEXT_LIMIT characters; 0 when it is empty.
int read_field(Window page, int id, char (&text)[FIELD_TEXT_LIMIT + 1]) {
    text[0] = '\0';
    get_dialog_item_text(page, id, text, sizeof text);
    return text[0] != '\0';
}

// atof's reading of the text, through strtod (same result, defined for
// every input).
int convert_real(Window page, int id, double* out) {
    char text[FIELD_TEXT_LIMIT + 1];
    if (!read_field(page, id, text)) return 0;
    *out = std::strtod(text, nullptr);
    return 1;
}

}  // namespace

void show_real(Window page, int id, double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    set_dialog_item_text(page, id, text);
}

void show_int(Window page, int id, int value) {
    char text[32];
    std::snprintf(text, sizeof text, "%d", value);
    set_dialog_item_text(page, id, text);
}

int take_real(Window page, int id, double* value) {
    double typed = 0.0;
    if (!convert_real(page, id, &typed)) return 0;
    if (!std::isfinite(typed)) {
        show_real(page, id, *value);
        return 0;
    }
    *value = typed;
    return 1;
}

int take_float(Window page, int id, float* value) {
    double typed = 0.0;
    if (!convert_real(page, id, &typed)) return 0;
    // Beyond the float range the conversion itself would be undefined.
    if (!std::isfinite(typed) || std::fabs(typed) > FLT_MAX) {
        show_real(page, id, *value);
        return 0;
    }
    *value = static_cast<float>(typed);
    return 1;
}

// atoi's reading through strtol, whose overflow is defined: a number
// beyond the int range gives the nearest int.
int take_int(Window page, int id, int* value) {
    char text[FIELD_TEXT_LIMIT + 1];
    if (!read_field(page, id, text)) return 0;
    const long typed = std::strtol(text, nullptr, 10);
    *value = typed > INT_MAX ? INT_MAX : typed < INT_MIN ? INT_MIN : static_cast<int>(typed);
    return 1;
}

int take_time_step(Window page, int id) {
    double value = read_time_step();
    if (!take_real(page, id, &value)) return 0;
    set_time_step(value);
    return 1;
}
