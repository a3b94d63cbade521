// Writing a scene file: the header line, then one line per body in list
// order (newest body first). Every real is written in the shortest form that
// reads back to the same value (the camera's two single-precision values as
// floats), with a full stop and exponents as "e+19"; integers in decimal.
// std::to_chars ignores the locale, so the text is the same in any locale.
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "scenefile/scene_file.h"
#include "scenefile/scene_support.h"
#include "sim/bodies.h"

namespace {

// The reference body counted from the last body line: after the file is
// read back, whose reader reverses the bodies, that is its index again. A
// reference outside the list stays outside it; it is held within the range
// of an integer field so that the file can still be read.
int stored_reference_body() {
    long long stored = static_cast<long long>(body_count) - read_frame_body() - 1;
    if (stored < INT_MIN) return INT_MIN;
    if (stored > INT_MAX) return INT_MAX;
    return static_cast<int>(stored);
}

// Appends a field, preceded by a space unless it starts the line. Without a
// precision, to_chars writes the shortest text that reads back to the same
// double (or float, or integer); its exponents already take printf's "e+19".
template <typename Value>
void put(std::string* line, Value value) {
    char text[64];
    const std::to_chars_result end = std::to_chars(text, text + sizeof text, value);
    if (!line->empty()) line->push_back(' ');
    line->append(text, end.ptr);
}

// The stored mass whose read-back (stored_to_user_mass, then the body's
// user mass times MASS_UNIT) is exactly mass: the one with fewest digits
// among its roundings and its neighbours. Writing the mass itself would come
// back an ulp away in about one case in four, and drift with every save.
double stored_mass_of(double mass) {
    const auto reads_back = [mass](double stored) { return stored_to_user_mass(stored) * MASS_UNIT == mass; };
    char text[64];
    for (int digits = 1; digits <= 17; ++digits) {
        const std::to_chars_result end =
            std::to_chars(text, text + sizeof text - 1, mass, std::chars_format::scientific, digits - 1);
        *end.ptr = '\0';
        const double stored = std::strtod(text, nullptr);
        if (reads_back(stored)) return stored;
    }
    double below = mass, above = mass;
    for (int step = 0; step < 2; ++step) {
        below = std::nextafter(below, -HUGE_VAL);
        above = std::nextafter(above, HUGE_VAL);
        if (reads_back(below)) return below;
        if (reads_back(above)) return above;
    }
    return mass;  // no stored value reaches it: within an ulp
}

void write_line(std::FILE* file, std::string* line) {
    line->push_back('\n');
    std::fputs(line->c_str(), file);
    line->clear();
}

void write_header(std::FILE* file, std::string* line) {
    line->append(SCENE_VERSION);
    put(line, read_time_step());
    put(line, body_count);
    put(line, stored_reference_body());
    put(line, read_frame_origin_x());
    put(line, read_frame_origin_y());
    put(line, read_frame_mode());
    put(line, camera_translate);
    put(line, camera_rotate);
    put(line, field_of_view);
    put(line, near_plane);
    put(line, far_plane);
    put(line, max_radius);
    put(line, sphere_slices);
    put(line, sphere_stacks);
    put(line, smooth_shading);
    put(line, read_star_lighting());
    write_line(file, line);
}

// Each body with its own position and velocity, or those of the state given.
void write_bodies(std::FILE* file, std::string* line, const BodyState* state) {
    const Body* body = body_list;
    for (int i = 0; i < body_count; ++i) {
        const auto k = static_cast<std::size_t>(i);
        put(line, body->colour);
        put(line, body->radius);
        put(line, state != nullptr ? state->x[k] : body->x);
        put(line, state != nullptr ? state->y[k] : body->y);
        put(line, state != nullptr ? state->vx[k] : body->vx);
        put(line, state != nullptr ? state->vy[k] : body->vy);
        put(line, stored_mass_of(body->mass));
        put(line, body->light);
        put(line, body->glowing);
        write_line(file, line);
        body = body->next;
    }
}

}  // namespace

int write_scene() { return write_scene_file(scene_path, nullptr); }

int write_scene_file(const char* path, const BodyState* state) {
    if (state != nullptr && state->count != body_count) return 0;
    std::FILE* file = std::fopen(path, "w");
    if (!file) {
        show_path_message("Could not create file ", path, "");
        return 0;
    }
    std::string line;
    write_header(file, &line);
    write_bodies(file, &line, state);
    // A file that could not be written whole (a full disk, say) is a failed
    // save, not a saved scene.
    int failed = std::ferror(file);
    if (std::fclose(file) != 0) failed = 1;
    if (failed) {
        show_path_message("Could not create file ", path, "");
        return 0;
    }
    return 1;
}
