// Reading a scene file. The whole file is checked into a scratch copy
// first; the parameters and the body list change only when every field of
// the header and of every body line converted, so a damaged file never
// leaves a half-loaded scene behind.
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdio>

#include "scenefile/scene_fields.h"
#include "scenefile/scene_file.h"
#include "scenefile/scene_support.h"
#include "sim/bodies.h"

long long scene_body_limit = 0;

namespace {

// What one body costs from its line to a running scene, generously: the
// scratch line, its list node, the run's per-body arrays and the views'
// copies of a frame.
constexpr long long BYTES_PER_BODY = 1024;

long long body_limit() {
    if (scene_body_limit > 0) return scene_body_limit;
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long page_size = sysconf(_SC_PAGE_SIZE);
    if (pages <= 0 || page_size <= 0) return 1LL << 24;  // memory unknown: 16 million bodies
    return static_cast<long long>(pages) / BYTES_PER_BODY * page_size;
}

SceneCheck read_header(FieldReader* in, SceneHeader* h) {
    // A file with no word at all is no scene; a first word other than the
    // version names a file of another version.
    if (!next_field(in)) return SCENE_MALFORMED;
    if (!field_is(*in, SCENE_VERSION)) return SCENE_OTHER_VERSION;
    int ok = read_double_field(in, &h->time_step) && read_int_field(in, &h->body_count) &&
             read_int_field(in, &h->frame_body) && read_double_field(in, &h->frame_origin_x) &&
             read_double_field(in, &h->frame_origin_y) && read_int_field(in, &h->frame_mode) &&
             read_float_field(in, &h->camera_translate) && read_float_field(in, &h->camera_rotate) &&
             read_double_field(in, &h->field_of_view) && read_double_field(in, &h->near_plane) &&
             read_double_field(in, &h->far_plane) && read_double_field(in, &h->max_radius) &&
             read_int_field(in, &h->sphere_slices) && read_int_field(in, &h->sphere_stacks) &&
             read_int_field(in, &h->smooth_shading) && read_int_field(in, &h->star_lighting);
    // A count below zero is no number of bodies: the header is damaged.
    return ok && h->body_count >= 0 ? SCENE_VALID : SCENE_MALFORMED;
}

// Reads count body lines. The scratch list grows only with lines actually
// present, so a count far beyond the file costs nothing but the lines that
// are there; a file that really holds more bodies than memory can run is
// refused before it fills the memory. Anything after the last body line is
// not read.
SceneCheck read_body_lines(FieldReader* in, int count, std::vector<SceneBodyLine>* lines) {
    const long long limit = body_limit();
    int previous_row = -1;
    double total = 0.0;
    for (int i = 0; i < count; ++i) {
        if (i >= limit) return SCENE_TOO_LARGE;
        SceneBodyLine line{};
        double stored_mass = 0.0;
        int light = 0;  // the stored light plays no part: lights are numbered afresh
        int ok = read_int_field(in, &line.colour) && read_double_field(in, &line.radius) &&
                 read_double_field(in, &line.x) && read_double_field(in, &line.y) &&
                 read_double_field(in, &line.vx) && read_double_field(in, &line.vy) &&
                 read_double_field(in, &stored_mass) && read_int_field(in, &light) &&
                 read_int_field(in, &line.glowing);
        if (!ok) return SCENE_MALFORMED;

        // An index outside the table takes the colours of the previous line;
        // the first line has none to take.
        line.colour_row = (line.colour >= 0 && line.colour < COLOUR_COUNT) ? line.colour : previous_row;
        if (line.colour_row < 0) return SCENE_MALFORMED;
        previous_row = line.colour_row;

        // The body list's total mass must stay a number: the centre of mass
        // divides by it.
        line.user_mass = stored_to_user_mass(stored_mass);
        double mass = line.user_mass * MASS_UNIT;
        total += mass;
        if (!std::isfinite(mass) || !std::isfinite(total)) return SCENE_MALFORMED;

        lines->push_back(line);
    }
    return SCENE_VALID;
}

SceneCheck read_scene_fields(std::FILE* file, CheckedScene* scene) {
    FieldReader in{};
    in.file = file;
    locale_t previous = enter_c_locale();
    SceneCheck result = read_header(&in, &scene->header);
    if (result == SCENE_VALID) result = read_body_lines(&in, scene->header.body_count, &scene->lines);
    leave_c_locale(previous);
    if (std::ferror(file)) return SCENE_UNREADABLE;  // e.g. a folder, or a failing disk
    return result;
}

void apply_header(const SceneHeader& h) {
    set_time_step(h.time_step);
    set_frame_body(h.frame_body);  // kept as read; the views guard an index out of range
    set_frame_origin(h.frame_origin_x, h.frame_origin_y);
    set_frame_mode(h.frame_mode);
    camera_translate = h.camera_translate;
    camera_rotate = h.camera_rotate;
    field_of_view = h.field_of_view;
    near_plane = h.near_plane;
    far_plane = h.far_plane;
    max_radius = h.max_radius;
    sphere_slices = h.sphere_slices;
    sphere_stacks = h.sphere_stacks;
    smooth_shading = h.smooth_shading;
    set_star_lighting(h.star_lighting);
}

// Adds the bodies in line order, each at the head of the list, so the list
// ends up in the reverse of the line order. Lights are numbered in line
// order among the glowing bodies.
void build_body_list(const std::vector<SceneBodyLine>& lines) {
    clear_bodies();
    glow_count = 0;
    for (const SceneBodyLine& line : lines) {
        const int row = line.colour_row;
        // A colour index outside the table is stored as the row whose colours
        // the body took, so the body keeps a valid index and saves as it looks.
        Body* body = add_body(nullptr, line.x, line.y, line.radius, material_colours[row], line.user_mass, row);
        if (line.glowing) ++glow_count;
        set_body_glow(body, line.glowing, emission_by_colour[row], light_by_colour[row], glow_count);
        body->vx = line.vx;
        body->vy = line.vy;
    }
}

}  // namespace

SceneCheck check_scene_file(const char* path, CheckedScene* scene) {
    scene->lines.clear();
    std::FILE* file = std::fopen(path, "r");
    if (!file) {
        const int missing = errno == ENOENT;
        show_path_message("Could not open file ", path, "");
        return missing ? SCENE_MISSING : SCENE_UNREADABLE;
    }
    SceneCheck result = read_scene_fields(file, scene);
    std::fclose(file);

    switch (result) {
    case SCENE_VALID:
        return result;
    case SCENE_MISSING:
    case SCENE_UNREADABLE:
        show_path_message("Could not open file ", path, "");
        break;
    case SCENE_OTHER_VERSION:
        show_path_message("", path, " was not saved with Stelo3D version 2.0.002...Sorry.");
        break;
    case SCENE_MALFORMED:
        show_path_message("", path, " is not a valid Stelo scene file");
        break;
    case SCENE_TOO_LARGE:
        show_path_message("", path, " holds more bodies than fit in memory");
        break;
    }
    scene->lines.clear();
    scene->lines.shrink_to_fit();
    return result;
}

void take_checked_scene(const CheckedScene& scene) {
    apply_header(scene.header);
    build_body_list(scene.lines);
}

int read_scene() {
    CheckedScene scene{};
    if (check_scene_file(scene_path, &scene) != SCENE_VALID) return 0;
    take_checked_scene(scene);
    return 1;
}
