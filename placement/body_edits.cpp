// Typed, added and deleted bodies, the momentum and centre commands, and
// the undo that takes each of them back.
#include "placement/body_edits.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "placement/placement.h"
#include "sim/frames.h"

int bodies_editable = 0;

namespace {

enum UndoKind { UNDO_PLACED, UNDO_CHANGED, UNDO_DELETED };

// One change of one body; the entries of one action share its number and
// are taken back together, newest first.
struct UndoEntry {
    UndoKind kind;
    int action;
    int index;       // the body's index when the change was made
    Body before;     // its fields before (changed and deleted bodies)
    int frame_body;  // the reference body before the action
};

std::vector<UndoEntry> undo_entries;
int next_action = 1;

char refusal[160];

void push(UndoKind kind, int action, int index, const Body* before) {
    UndoEntry entry{kind, action, index, {}, read_frame_body()};
    if (before != nullptr) entry.before = *before;
    undo_entries.push_back(entry);
}

// A two-click placement waiting on a body that goes away starts over.
const char* forget_anchor(const Body* body) {
    if (body == nullptr || place_anchor != body) return nullptr;
    place_anchor = nullptr;
    return place_pending ? choose_mode(place_mode) : nullptr;
}

// The whole text must be one number; blanks around it are allowed. The
// C++ conversion ignores the locale the toolkit may have set.
int parse_number(const char* text, double* value) {
    while (*text == ' ' || *text == '\t') ++text;
    if (*text == '+') ++text;
    const char* end = text + std::strlen(text);
    while (end > text && (end[-1] == ' ' || end[-1] == '\t')) --end;
    if (end == text) return 0;
    const std::from_chars_result result = std::from_chars(text, end, *value);
    return result.ec == std::errc() && result.ptr == end && std::isfinite(*value);
}

double* text_field(Body* body, int column) {
    switch (column) {
        case COLUMN_RADIUS: return &body->radius;
        case COLUMN_X: return &body->x;
        case COLUMN_Y: return &body->y;
        case COLUMN_VX: return &body->vx;
        case COLUMN_VY: return &body->vy;
        default: return nullptr;
    }
}

// Keeps total_mass and glow_count with a body whose fields are replaced.
// The total is summed afresh: adding the difference would leave rounding
// dust that grows with every edit.
void replace_fields(Body* body, const Body& values) {
    const int new_mass = values.mass != body->mass;
    glow_count += values.glowing - body->glowing;
    Body* prev = body->prev;
    Body* next = body->next;
    *body = values;
    body->prev = prev;
    body->next = next;
    if (!new_mass) return;
    total_mass = 0.0;
    const Body* each = body_list;
    for (int i = 0; i < body_count; ++i, each = each->next) total_mass += each->mass;
}

// Moves every body by the mass-weighted mean of one of its vectors (the
// frames' rule: with no total mass to divide by, the plain mean).
int subtract_mean(double Body::*px, double Body::*py) {
    if (body_count <= 0) return 0;
    std::vector<double> x(static_cast<std::size_t>(body_count)), y(x.size()), m(x.size());
    Body* body = body_list;
    for (std::size_t i = 0; i < x.size(); ++i, body = body->next) {
        x[i] = body->*px;
        y[i] = body->*py;
        m[i] = body->mass;
    }
    double mean_x = 0.0, mean_y = 0.0;
    centre_of_mass(x.data(), y.data(), m.data(), body_count, total_mass, &mean_x, &mean_y);
    const int action = next_action++;
    int changed = 0;
    body = body_list;
    for (int i = 0; i < body_count; ++i, body = body->next) {
        const double new_x = body->*px - mean_x;
        const double new_y = body->*py - mean_y;
        if (new_x == body->*px && new_y == body->*py) continue;
        push(UNDO_CHANGED, action, i, body);
        body->*px = new_x;
        body->*py = new_y;
        changed = 1;
    }
    return changed;
}

}  // namespace

void body_cell_text(const Body* body, int column, char* text, int capacity) {
    if (capacity <= 0) return;
    text[0] = '\0';
    if (body == nullptr) return;
    double value = 0.0;
    switch (column) {
        case COLUMN_MASS: value = body->mass / MASS_UNIT; break;
        case COLUMN_COLOUR: std::snprintf(text, static_cast<std::size_t>(capacity), "%d", body->colour); return;
        case COLUMN_GLOWING: std::snprintf(text, static_cast<std::size_t>(capacity), "%d", body->glowing); return;
        default: {
            const double* field = text_field(const_cast<Body*>(body), column);
            if (field == nullptr) return;
            value = *field;
        }
    }
    // Plain digits read best ("300000", not "3e+05") while they stay short;
    // either way the text reads back to the same double.
    constexpr int PLAIN_DIGITS = 20;
    char plain[400];
    const std::to_chars_result fixed = std::to_chars(plain, plain + sizeof plain, value, std::chars_format::fixed);
    if (fixed.ec == std::errc() && fixed.ptr - plain <= PLAIN_DIGITS && fixed.ptr - plain < capacity) {
        std::memcpy(text, plain, static_cast<std::size_t>(fixed.ptr - plain));
        text[fixed.ptr - plain] = '\0';
        return;
    }
    const std::to_chars_result end = std::to_chars(text, text + capacity - 1, value);
    *(end.ec == std::errc() ? end.ptr : text) = '\0';
}

const char* edit_body_text(int index, int column, const char* text, int* changed) {
    *changed = 0;
    Body* body = body_at(index);
    if (body == nullptr || text == nullptr) return nullptr;
    double value = 0.0;
    if (!parse_number(text, &value)) {
        std::snprintf(refusal, sizeof refusal, "Refused: \"%.60s\" is not a finite number", text);
        return refusal;
    }
    Body values = *body;
    if (column == COLUMN_MASS) {
        if (value == body->mass / MASS_UNIT) return nullptr;  // the value shown, typed again
        values.mass = value * MASS_UNIT;
        // The centre of mass divides by the total: both must stay numbers,
        // as a scene file's masses must.
        if (!std::isfinite(values.mass) || !std::isfinite(total_mass - body->mass + values.mass))
            return "Refused: a mass this large cannot be simulated";
    } else {
        double* field = text_field(&values, column);
        if (field == nullptr || *field == value) return nullptr;
        *field = value;
    }
    push(UNDO_CHANGED, next_action++, index, body);
    replace_fields(body, values);
    *changed = 1;
    return nullptr;
}

// The colours placement gives: the material by index, the emission and
// light colours through their tables.
const char* edit_body_colour(int index, int colour, int* changed) {
    *changed = 0;
    Body* body = body_at(index);
    if (body == nullptr || colour < 0 || colour >= COLOUR_COUNT || colour == body->colour) return nullptr;
    push(UNDO_CHANGED, next_action++, index, body);
    body->colour = colour;
    body->material = material_colours[colour];
    if (body->glowing) {
        body->emission = emission_by_colour[colour];
        body->light_colour = light_by_colour[colour];
    }
    *changed = 1;
    return nullptr;
}

const char* edit_body_glowing(int index, int glowing, int* changed) {
    *changed = 0;
    Body* body = body_at(index);
    glowing = glowing != 0;
    if (body == nullptr || glowing == body->glowing) return nullptr;
    if (glowing && glow_count >= GLOW_LIMIT) return "Refused: at most 8 bodies can glow";
    push(UNDO_CHANGED, next_action++, index, body);
    if (glowing) {
        ++glow_count;
        set_body_glow(body, 1, emission_by_colour[body->colour], light_by_colour[body->colour], glow_count);
    } else {
        --glow_count;
        set_body_glow(body, 0, nullptr, nullptr, 0);
    }
    *changed = 1;
    return nullptr;
}

void add_table_body() {
    const int reference = read_frame_body();
    place_new_body(0.0, 0.0);
    if (reference >= 0 && reference < body_count - 1) set_frame_body(reference + 1);
}

int delete_bodies(const int* indices, int count) {
    std::vector<char> chosen(static_cast<std::size_t>(body_count > 0 ? body_count : 0), 0);
    for (int i = 0; i < count; ++i)
        if (indices[i] >= 0 && indices[i] < body_count) chosen[static_cast<std::size_t>(indices[i])] = 1;
    const int reference = read_frame_body();
    const int action = next_action++;
    int deleted = 0, below_reference = 0, reference_deleted = 0;
    // From the last index down, so each recorded index is the body's place
    // among the bodies that stay before it: undo puts them back lowest first.
    for (int i = body_count - 1; i >= 0; --i) {
        if (!chosen[static_cast<std::size_t>(i)]) continue;
        Body* body = body_at(i);
        push(UNDO_DELETED, action, i, body);
        forget_anchor(body);
        remove_body(body);
        ++deleted;
        if (i < reference) ++below_reference;
        if (i == reference) reference_deleted = 1;
    }
    if (reference_deleted)
        set_frame_body(0);
    else if (reference >= 0 && reference <= body_count + deleted - 1)
        set_frame_body(reference - below_reference);
    return deleted;
}

int zero_momentum() { return subtract_mean(&Body::vx, &Body::vy); }

int centre_on_origin() { return subtract_mean(&Body::x, &Body::y); }

void record_placement() { push(UNDO_PLACED, next_action++, 0, nullptr); }

void clear_undo() { undo_entries.clear(); }

UndoOutcome undo_last_action() {
    UndoOutcome outcome{0, 0, nullptr};
    if (undo_entries.empty()) return outcome;
    const int action = undo_entries.back().action;
    while (!undo_entries.empty() && undo_entries.back().action == action) {
        const UndoEntry entry = undo_entries.back();
        undo_entries.pop_back();
        switch (entry.kind) {
            case UNDO_PLACED:
                if (body_list == nullptr) break;
                outcome.removed_glowing = body_list->glowing;
                if (const char* text = forget_anchor(body_list)) outcome.status_text = text;
                remove_head_body();
                break;
            case UNDO_CHANGED:
                if (Body* body = body_at(entry.index)) replace_fields(body, entry.before);
                break;
            case UNDO_DELETED: insert_body(entry.before, entry.index); break;
        }
        set_frame_body(entry.frame_body);
        outcome.undone = 1;
    }
    return outcome;
}
