// The placement choices and the toolbar commands that change them.
#include "placement/placement.h"

#include "placement/body_edits.h"

int place_mode = PLACE_UNASSISTED;
int place_pending = 0;
Body* place_anchor = nullptr;
double place_mass = 100.0;
double place_radius = 0.3;
int place_colour = RED;
const float* place_material = material_colours[RED];
const float* place_emission = emission_colours[RED];
const float* place_light_colour = light_colours[RED];
int place_glowing = 1;

namespace {

struct SizeChoice {
    int id;
    double mass;
    double radius_share;  // of max_radius
};
const SizeChoice size_choices[] = {
    {SIZE_LARGEST, 10000.0, 1.0}, {SIZE_LARGE, 1000.0, 0.8},   {SIZE_MEDIUM, 100.0, 0.6},
    {SIZE_SMALL, 10.0, 0.4},      {SIZE_SMALLEST, 1.0, 0.2},
};

struct ColourChoice {
    int id;
    int colour;
};
const ColourChoice colour_choices[] = {
    {COLOUR_RED, RED},         {COLOUR_GREEN, GREEN}, {COLOUR_BLUE, BLUE},   {COLOUR_MAGENTA, MAGENTA},
    {COLOUR_YELLOW, YELLOW},   {COLOUR_CYAN, CYAN},   {COLOUR_WHITE, WHITE},
};

struct ModeChoice {
    int id;
    const char* status_text;
};
const ModeChoice mode_choices[] = {
    {PLACE_UNASSISTED, "Unassisted - left click to place body at cursor position"},
    {PLACE_CIRCLE, "Circle mode - left click on body at center of circle"},
    {PLACE_CIRCLES, "Circles mode - left click on body at center of circle"},
    {PLACE_BINARY, "Binary mode - left click to place first member of binary system."},
    {PLACE_RING, "Ring mode - left click on body at center of ring. NOT YET IMPLEMENTED"},
};

}  // namespace

void reset_placement_choices() {
    choose_mode(PLACE_UNASSISTED);
    place_anchor = nullptr;
    clear_undo();
    choose_size(SIZE_MEDIUM);
    choose_colour(COLOUR_RED);
    choose_material(MATERIAL_GLOWING);
}

int choose_size(int id) {
    for (const SizeChoice& choice : size_choices) {
        if (choice.id != id) continue;
        place_mass = choice.mass;
        place_radius = choice.radius_share * max_radius;
        return 1;
    }
    return 0;
}

// The emission and light colours follow the colour whatever the material:
// a later Glowing takes them from place_colour again anyway.
int choose_colour(int id) {
    for (const ColourChoice& choice : colour_choices) {
        if (choice.id != id) continue;
        place_material = material_colours[choice.colour];
        place_emission = emission_by_colour[choice.colour];
        place_light_colour = light_by_colour[choice.colour];
        place_colour = choice.colour;
        return 1;
    }
    return 0;
}

int choose_material(int id) {
    if (id == MATERIAL_REFLECTIVE) {
        place_glowing = 0;
        return 1;
    }
    if (id == MATERIAL_GLOWING) {
        place_glowing = 1;
        place_emission = emission_by_colour[place_colour];
        place_light_colour = light_by_colour[place_colour];
        return 1;
    }
    return 0;
}

const char* choose_mode(int id) {
    for (const ModeChoice& choice : mode_choices) {
        if (choice.id != id) continue;
        place_mode = id;
        place_pending = 0;
        return choice.status_text;
    }
    return nullptr;
}
