// Writing a scene file: the header line, then one line per body in list
// order (newest body first), every real as "%g" and every integer as "%d",
// in the C locale.
#include <climits>
#include <cstdio>

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

void write_header(std::FILE* file) {
    std::fprintf(file, "%s %g %d %d %g %g %d %g %g %g %g %g %g %d %d %d %d\n", SCENE_VERSION,
                 read_time_step(), body_count, stored_reference_body(), read_frame_origin_x(),
                 read_frame_origin_y(), read_frame_mode(), static_cast<double>(camera_translate),
                 static_cast<double>(camera_rotate), field_of_view, near_plane, far_plane, max_radius,
                 sphere_slices, sphere_stacks, smooth_shading, read_star_lighting());
}

void write_bodies(std::FILE* file) {
    const Body* body = body_list;
    for (int i = 0; i < body_count; ++i) {
        std::fprintf(file, "%d %g %g %g %g %g %g %d %d\n", body->colour, body->radius, body->x, body->y,
                     body->vx, body->vy, body->mass, body->light, body->glowing);
        body = body->next;
    }
}

}  // namespace

int write_scene() {
    std::FILE* file = std::fopen(scene_path, "w");
    if (!file) {
        show_path_message("Could not create file ", scene_path, "");
        return 0;
    }
    locale_t previous = enter_c_locale();
    write_header(file);
    write_bodies(file);
    leave_c_locale(previous);
    // A file that could not be written whole (a full disk, say) is a failed
    // save, not a saved scene.
    int failed = std::ferror(file);
    if (std::fclose(file) != 0) failed = 1;
    if (failed) {
        show_path_message("Could not create file ", scene_path, "");
        return 0;
    }
    return 1;
}
