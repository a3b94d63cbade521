// Scene files: the path that Open, Save and Save As work on, the reader and
// writer of the text format, and the Open and Save As dialogs.
#pragma once

#include <vector>

#include "platform/platform.h"

// The file that read_scene reads and write_scene writes (at most 255
// characters); set by the dialogs, a dropped file and the command line.
extern char scene_path[256];

// The first word of every scene file; a file with any other word is refused.
extern const char SCENE_VERSION[];

// The window that owns the file dialogs and the messages of this part; the
// shell sets it to the control window when that is created.
extern Window scene_dialog_owner;

// A scene file read whole and checked, not yet taken into the scene.
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
    int colour;      // as stored in the file
    int colour_row;  // the row of the colour tables the body takes
    double radius, x, y, vx, vy;
    double user_mass;  // stored mass converted to user units
    int glowing;       // nonzero: glowing
};
struct CheckedScene {
    SceneHeader header;
    std::vector<SceneBodyLine> lines;
};

enum SceneCheck {
    SCENE_VALID,
    SCENE_MISSING,     // no file of that name
    SCENE_UNREADABLE,  // there, but it cannot be read (a folder, no permission, a failing disk)
    SCENE_OTHER_VERSION,
    SCENE_MALFORMED,
    SCENE_TOO_LARGE,   // more bodies than memory holds
};

// Reads and checks the file at path. SCENE_VALID when it is a whole, valid
// scene; otherwise shows a message naming path and tells why it was
// refused. Nothing of the open scene changes either way.
SceneCheck check_scene_file(const char* path, CheckedScene* scene);
// Takes a checked scene into the scene parameters and a new body list.
void take_checked_scene(const CheckedScene& scene);

// Reads scene_path into the scene parameters and a new body list. Returns 1
// on success; otherwise shows a message and returns 0 with the body list and
// every parameter as they were.
int read_scene();

// The most bodies a scene file may bring: as many as memory holds for a
// running scene. 0 (the start value) means derived from the computer's
// memory; a test may set a smaller limit.
extern long long scene_body_limit;

// Writes the scene parameters and the body list to scene_path. Returns 1 on
// success; otherwise shows "Could not create file ..." and returns 0.
int write_scene();

// The positions and velocities of every body at one moment, in list order.
struct BodyState {
    int count;
    const double* x;
    const double* y;
    const double* vx;
    const double* vy;
};
// Writes the scene to path as write_scene does, with the bodies' positions
// and velocities taken from state when it is given (it must hold
// body_count bodies; otherwise nothing is written and 0 returned).
int write_scene_file(const char* path, const BodyState* state);

// The folder the Open dialog starts in; nullptr: the working directory.
extern const char* open_dialog_folder;

// The Open dialog: returns 1 with the chosen file in scene_path, 0 when
// cancelled, -1 when the choice is too long for scene_path (refused with
// "Could not open file ..."); scene_path is kept unless 1.
int choose_open_file();

// The Save As dialog: on a choice sets scene_path, writes the scene and
// returns the result of write_scene; returns 0 when cancelled, -1 when the
// choice is too long for scene_path.
int choose_save_file();
