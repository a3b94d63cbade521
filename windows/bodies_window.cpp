// The Bodies window: the table asks for the cells it shows and is told to
// show them afresh whenever the list changes; a cell the user leaves, Add
// and Delete change the list through the body edits, which keep the old
// value of a refused one.
#include "windows/bodies_window.h"

#include <iterator>
#include <vector>

#include "app_state/body_changes.h"
#include "placement/body_edits.h"
#include "sim/bodies.h"
#include "sim/frames.h"

Window bodies_table = NO_WINDOW;
Window bodies_page = NO_WINDOW;

namespace {

constexpr int PAGE_HEIGHT = 34;  // logical pixels of the button row

const char* const colour_names[COLOUR_COUNT] = {"White", "Cyan", "Red", "Green", "Blue", "Magenta", "Yellow"};

const TableColumn columns[BODY_COLUMN_COUNT] = {
    {"Colour", TABLE_CHOICE, 90, colour_names, COLOUR_COUNT},
    {"Glowing", TABLE_CHECK, 60, nullptr, 0},
    {"Mass", TABLE_TEXT, 150, nullptr, 0},
    {"Radius", TABLE_TEXT, 70, nullptr, 0},
    {"x", TABLE_TEXT, 150, nullptr, 0},
    {"y", TABLE_TEXT, 150, nullptr, 0},
    {"vx", TABLE_TEXT, 150, nullptr, 0},
    {"vy", TABLE_TEXT, 150, nullptr, 0},
};

const DialogControl page_controls[] = {
    {BODIES_ADD, CONTROL_BUTTON, "&Add", 4, 4, 40, 14},
    {BODIES_DELETE, CONTROL_BUTTON, "&Delete", 48, 4, 40, 14},
    {BODIES_NOTE, CONTROL_STATIC, "", 94, 6, 330, 10},
};
const DialogTemplate page_template{0, nullptr, 0, 0, 430, 20, "MS Sans Serif", 8, page_controls,
                                   static_cast<int>(std::size(page_controls))};

constexpr const char* NO_SCENE_TEXT = "No scene is open";
constexpr const char* RAN_TEXT = "The scene has run: these are its initial conditions, read-only";

// The button row passes its buttons on to the window.
LRESULT page_proc(Window page, unsigned message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_COMMAND) {
        send_message(bodies_window, WM_COMMAND, wparam, lparam);
        return 0;
    }
    return default_window_proc(page, message, wparam, lparam);
}

void set_note(const char* text) { set_dialog_item_text(bodies_page, BODIES_NOTE, text); }

// The table asks for its rows in order while it draws: the walk goes on
// from the row asked last instead of from the head each time. Any change
// of the list forgets it.
int cached_row = -1;
Body* cached_body = nullptr;

Body* row_body(int row) {
    if (row < 0 || row >= body_count) return nullptr;
    if (cached_body == nullptr || row < cached_row) {
        cached_row = 0;
        cached_body = body_list;
    }
    for (; cached_row < row; ++cached_row) cached_body = cached_body->next;
    return cached_body;
}

void forget_rows() {
    cached_row = -1;
    cached_body = nullptr;
}

void show_bodies() {
    forget_rows();
    table_set_row_count(bodies_table, body_count);
    table_set_read_only(bodies_table, !bodies_editable);
    if (!is_window(interactive_window))
        set_note(NO_SCENE_TEXT);
    else
        set_note(bodies_editable ? "" : RAN_TEXT);
}

void answer_cell(TableNotify* cell) {
    const Body* body = row_body(cell->row);
    if (body == nullptr) return;
    if (cell->column == COLUMN_COLOUR)
        cell->value = body->colour;
    else if (cell->column == COLUMN_GLOWING)
        cell->value = body->glowing;
    else
        body_cell_text(body, cell->column, cell->header.text, sizeof cell->header.text);
}

// The table shows the cell afresh afterwards: the new value, or the old
// one kept.
void on_cell_changed(const TableNotify& cell) {
    const char* refusal = nullptr;
    int changed = 0;
    if (!bodies_editable)
        refusal = RAN_TEXT;
    else if (cell.column == COLUMN_COLOUR)
        refusal = edit_body_colour(cell.row, cell.value, &changed);
    else if (cell.column == COLUMN_GLOWING)
        refusal = edit_body_glowing(cell.row, cell.value, &changed);
    else
        refusal = edit_body_text(cell.row, cell.column, cell.typed, &changed);
    forget_rows();
    if (changed) announce_body_change(bodies_window);
    set_note(refusal != nullptr ? refusal : "");
}

void delete_selected() {
    std::vector<int> rows(static_cast<std::size_t>(body_count > 0 ? body_count : 1));
    const int selected = table_selected_rows(bodies_table, rows.data(), static_cast<int>(rows.size()));
    if (selected <= 0) {
        set_note("Select the rows of the bodies to delete");
        return;
    }
    delete_bodies(rows.data(), selected < body_count ? selected : body_count);
    table_select_rows(bodies_table, nullptr, 0);
    announce_body_change(NO_WINDOW);
}

void on_command(unsigned id) {
    if (id != BODIES_ADD && id != BODIES_DELETE) return;
    if (!bodies_editable) {
        set_note(is_window(interactive_window) ? RAN_TEXT : NO_SCENE_TEXT);
        return;
    }
    if (id == BODIES_ADD) {
        add_table_body();
        announce_body_change(NO_WINDOW);
    } else {
        delete_selected();
    }
}

void on_create(Window window) {
    bodies_window = window;
    bodies_page = create_dialog_page(page_template, window, page_proc);
    bodies_table = create_table(window, BODIES_TABLE_ID, columns, BODY_COLUMN_COUNT);
    show_bodies();
}

void on_size(Window window) {
    int width = 0, height = 0;
    get_client_rect(window, nullptr, nullptr, &width, &height);
    set_child_geometry(bodies_page, 0, 0, width, PAGE_HEIGHT);
    set_child_geometry(bodies_table, 0, PAGE_HEIGHT, width, height - PAGE_HEIGHT);
}

}  // namespace

LRESULT bodies_window_proc(Window window, unsigned message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_CREATE: on_create(window); return 0;
        case WM_DESTROY:
            bodies_window = NO_WINDOW;
            bodies_table = bodies_page = NO_WINDOW;
            return 0;
        case WM_SIZE: on_size(window); return 0;
        case WM_NOTIFY: {
            auto* cell = reinterpret_cast<TableNotify*>(lparam);
            if (cell == nullptr || cell->header.from != bodies_table) return 0;
            if (cell->header.code == TABLE_CELL_TEXT) answer_cell(cell);
            if (cell->header.code == TABLE_CELL_CHANGED) on_cell_changed(*cell);
            return 0;
        }
        case WM_COMMAND: on_command(low_word(wparam)); return 0;
        case WM_BODIES_CHANGED: show_bodies(); return 0;
        default: return default_window_proc(window, message, wparam, lparam);
    }
}
