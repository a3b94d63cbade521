// Exact changes to the body list: a cell of the Bodies table typed or
// chosen, a body added at the origin or several deleted, the drift of the
// centre of mass taken out, and the undo of every change (mouse placements
// included), one action at a time. Nothing here touches a window.
#pragma once

#include "platform/platform.h"
#include "sim/bodies.h"

// The columns of the Bodies table.
enum BodyColumn {
    COLUMN_COLOUR = 0,  // colour index, chosen from the seven colours
    COLUMN_GLOWING,     // 0 or 1
    COLUMN_MASS,        // user mass units
    COLUMN_RADIUS,
    COLUMN_X,
    COLUMN_Y,
    COLUMN_VX,
    COLUMN_VY,
    BODY_COLUMN_COUNT
};

// 1 from the opening of a scene until its first Run: the bodies may be
// placed, typed, added and deleted. The interactive view keeps it.
extern int bodies_editable;

// The text a cell of a text column shows: one that reads back to the same
// double, in plain digits while they are few, else the shortest. The mass
// shows in user units.
void body_cell_text(const Body* body, int column, char* text, int capacity);

// Each returns nullptr when the change was taken or changed nothing, or
// the reason it was refused (the body keeps its old value). *changed is 1
// when the list changed. A typed text must be one finite number.
const char* edit_body_text(int index, int column, const char* text, int* changed);
const char* edit_body_colour(int index, int colour, int* changed);
const char* edit_body_glowing(int index, int glowing, int* changed);

// A body at the origin at rest, with the mass, size, colour and material a
// placement would give it now (reflective once GLOW_LIMIT bodies glow); it
// becomes body 0 and the reference keeps its body.
void add_table_body();
// Deletes the bodies at the given indices (any order, repeats ignored) as
// one action. The reference keeps its body; when that body is deleted the
// reference becomes body 0. Returns the number deleted.
int delete_bodies(const int* indices, int count);
// Every velocity less the mass-weighted mean velocity (the centre of mass
// comes to rest), and every position less the centre of mass, under the
// zero-total-mass rule of the frames. Each is one action; 1 when a body
// changed.
int zero_momentum();
int centre_on_origin();

// The undo of the open scene. A mouse placement records itself; opening a
// scene and its first Run empty it.
void record_placement();
void clear_undo();
struct UndoOutcome {
    int undone;               // an action was taken back
    int removed_glowing;      // it removed a placed glowing body
    const char* status_text;  // the mode's text when a waiting placement lost its anchor, or nullptr
};
UndoOutcome undo_last_action();
