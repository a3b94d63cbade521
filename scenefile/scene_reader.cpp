// Reading a scene file. The whole file is checked into a scratch copy
// first; the parameters and the body list change only when every field of
// the header and of every body line converted, so a damaged file never
// leaves a half-loaded scene behind.
#include <cmath>
#include <cstdio>
#include <vector>

#include "scenefile/scene_fields.h"
#include "scenefile/scene_file.h"
#include "scenefile/scene_support.h"
#include "sim/bodies.h"

namespace {

enum SceneCheck { SCENE_VALID, SCENE_UNREADABLE, SCENE_OTHER_VERSION, SCENE_MALFORMED };

struct SceneHeader {
    double time_step;
    int body_count;
    int frame_body;  // counted from the last body line, which is its index after reading
    double frame_origin_x, frame_origin_y;
    int frame_mode;
    float camera_translate, camera_rotate;
    double field_of_view, near_plane, far_plane, max_radius;
    int sphere_slices, sphere_stacks, smooth_shading, star_lighting;
};

struct SceneBodyLine {
    int colour;         // as stored in the file
    int colour_row;     // the row of the colour tables the body takes
    double radius, x, y, vx, vy;
    double user_mass;   // stored mass converted to user units
    int glowing;        // nonzero: glowing
};

SceneCheck read_header(FieldReader* in, SceneHeader* h) {
    if (!next_field(in) || !field_is(*in, SCENE_VERSION)) return SCENE_OTHER_VERSION;
    int ok = read_double_field(in, &h->time_step) && read_int_field(in, &h->body_count) &&
             read_int_field(in, &h->frame_body) && read_double_field(in, &h->frame_origin_x) &&
             read_double_field(in, &h->frame_origin_y) && read_int_field(in, &h->frame_mode) &&
             read_float_field(in, &h->camera_translate) && read_float_field(in, &h->camera_rotate) &&
             read_double_field(in, &h->field_of_view) && read_double_field(in, &h->near_plane) &&
             read_double_field(in, &h->far_plane) && read_double_field(in, &h->max_radius) &&
             read_int_field(in, &h->sphere_slices) && read_int_field(in, &h->sphere_stacks) &&
             read_int_field(in, &h->smooth_shading) && read_int_field(in, &h->star_lighting);
    return ok ? SCENE_VALID : SCENE_MALFORMED;
}

// Reads count body lines (none when count <= 0). The scratch list grows
// only with lines actually present, so a count far beyond the file costs
// nothing but the lines that are there. Anything after the last body line
// is not read.
SceneCheck read_body_lines(FieldReader* in, int count, std::vector<SceneBodyLine>* lines) {
    int previous_row = -1;
    double total = 0.0;
    for (int i = 0; i < count; ++i) {
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
        line.user_mass = stored_mass * INVERSE_MASS_UNIT;
        double mass = line.user_mass * MASS_UNIT;
        total += mass;
        if (!std::isfinite(mass) || !std::isfinite(total)) return SCENE_MALFORMED;

        lines->push_back(line);
    }
    return SCENE_VALID;
}

SceneCheck check_scene_file(std::FILE* file, SceneHeader* header, std::vector<SceneBodyLine>* lines) {
    FieldReader in{};
    in.file = file;
    locale_t previous = enter_c_locale();
    SceneCheck result = read_header(&in, header);
    if (result == SCENE_VALID) result = read_body_lines(&in, header->body_count, lines);
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

int read_scene() {
    std::FILE* file = std::fopen(scene_path, "r");
    if (!file) {
        show_path_message("Could not open file ", scene_path, "");
        return 0;
    }
    SceneHeader header{};
    std::vector<SceneBodyLine> lines;
    SceneCheck result = check_scene_file(file, &header, &lines);
    std::fclose(file);

    switch (result) {
    case SCENE_VALID:
        apply_header(header);
        build_body_list(lines);
        return 1;
    case SCENE_UNREADABLE:
        show_path_message("Could not open file ", scene_path, "");
        return 0;
    case SCENE_OTHER_VERSION:
        show_path_message("", scene_path, " was not saved with Stelo3D version 2.0.002...Sorry.");
        return 0;
    case SCENE_MALFORMED:
        break;
    }
    show_path_message("", scene_path, " is not a valid Stelo scene file");
    return 0;
}
