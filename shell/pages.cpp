// The tab control of the control window and its three parameter pages,
// built from their control tables once the main loop runs.
#include "shell/pages.h"

#include <cstdio>

#include "resources/resource_files.h"
#include "shell/shell.h"
#include "sim/bodies.h"

namespace {

constexpr const char* PAGE_FONT = "MS Sans Serif";
constexpr int PAGE_FONT_POINTS = 8;
constexpr int PAGE_X = 4, PAGE_Y = 21;  // dialog units, inside the tab area

// Control ids shared by the three pages.
constexpr int ID_APPLY = 1;
constexpr int ID_DEFAULTS = 5;
constexpr int NO_ID = -1;

const DialogControl timestep_controls[] = {
    {ID_APPLY, CONTROL_DEFAULT_BUTTON, "Apply", 28, 137, 50, 14},
    {ID_DEFAULTS, CONTROL_DEFAULT_BUTTON, "Defaults", 103, 137, 50, 14},
    {NO_ID, CONTROL_STATIC, "Time step", 29, 34, 32, 8},
    {1000, CONTROL_EDIT, "", 84, 31, 69, 13},
};

const DialogControl viewing_controls[] = {
    {ID_APPLY, CONTROL_DEFAULT_BUTTON, "Apply", 28, 135, 50, 14},
    {ID_DEFAULTS, CONTROL_DEFAULT_BUTTON, "Defaults", 103, 135, 50, 14},
    {NO_ID, CONTROL_STATIC, "Translate Camera", 21, 20, 56, 8},
    {NO_ID, CONTROL_STATIC, "Rotate Camera", 21, 43, 48, 8},
    {NO_ID, CONTROL_STATIC, "Field of view angle", 21, 66, 60, 8},
    {NO_ID, CONTROL_STATIC, "Near clipping plane", 21, 89, 62, 8},
    {NO_ID, CONTROL_STATIC, "Far clipping plane", 21, 112, 56, 8},
    {1000, CONTROL_EDIT, "", 91, 17, 69, 13},
    {1004, CONTROL_EDIT, "", 91, 41, 69, 13},
    {1003, CONTROL_EDIT, "", 91, 63, 69, 13},
    {1002, CONTROL_EDIT, "", 91, 86, 69, 13},
    {1001, CONTROL_EDIT, "", 91, 110, 69, 13},
};

const DialogControl rendering_controls[] = {
    {ID_APPLY, CONTROL_DEFAULT_BUTTON, "Apply", 28, 135, 50, 14},
    {ID_DEFAULTS, CONTROL_DEFAULT_BUTTON, "Defaults", 103, 135, 50, 14},
    {NO_ID, CONTROL_STATIC, "Max radius", 27, 20, 35, 8},
    {NO_ID, CONTROL_STATIC, "Slices", 27, 47, 20, 8},
    {NO_ID, CONTROL_STATIC, "Stacks", 27, 74, 23, 8},
    {1000, CONTROL_EDIT, "", 85, 18, 69, 13},
    {1004, CONTROL_EDIT, "", 85, 45, 69, 13},
    {1003, CONTROL_EDIT, "", 85, 72, 69, 13},
    {1006, CONTROL_CHECKBOX, "Smooth Shading", 27, 94, 112, 10},
    {1007, CONTROL_CHECKBOX, "Stars provide the lighting", 27, 113, 120, 11},
};

template <int N>
constexpr DialogTemplate page_template(int resource_id, int height, const DialogControl (&controls)[N]) {
    return DialogTemplate{resource_id, nullptr, PAGE_X,   PAGE_Y, 181, height, PAGE_FONT,
                          PAGE_FONT_POINTS, controls, N};
}

const DialogTemplate timestep_page = page_template(104, 158, timestep_controls);
const DialogTemplate viewing_page = page_template(105, 159, viewing_controls);
const DialogTemplate rendering_page = page_template(112, 156, rendering_controls);

struct Tab {
    const char* text;
    const char* image;
    const char* tooltip;
};
const Tab tabs[3] = {
    {"Stelo", TAB_IMAGE_STELO, "Stelo Numerical Parameters"},
    {"Viewing", TAB_IMAGE_VIEWING, "Viewing/Perspective Parameters"},
    {"Rendering", TAB_IMAGE_RENDERING, "Sphere Rendering Parameters"},
};

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

}  // namespace

// The pages show the values the globals hold whenever they are (re)filled.
LRESULT timestep_page_proc(Window page, unsigned message, WPARAM, LPARAM) {
    if (message == WM_INITDIALOG) show_real(page, 1000, time_step);
    return 0;
}

LRESULT viewing_page_proc(Window page, unsigned message, WPARAM, LPARAM) {
    if (message == WM_INITDIALOG) {
        show_real(page, 1000, camera_translate);
        show_real(page, 1004, camera_rotate);
        show_real(page, 1003, field_of_view);
        show_real(page, 1002, near_plane);
        show_real(page, 1001, far_plane);
    }
    return 0;
}

LRESULT rendering_page_proc(Window page, unsigned message, WPARAM, LPARAM) {
    if (message == WM_INITDIALOG) {
        show_real(page, 1000, max_radius);
        show_int(page, 1004, sphere_slices);
        show_int(page, 1003, sphere_stacks);
        set_dialog_check(page, 1006, smooth_shading);
        set_dialog_check(page, 1007, star_lighting);
    }
    return 0;
}

void create_pages() {
    int x = 0, y = 0, width = 0, height = 0;
    get_client_rect(control_window, &x, &y, &width, &height);
    tab_control = create_tab_control(control_window, TAB_CONTROL_ID, 0, 0, width, height);
    for (int i = 0; i < 3; ++i) tab_insert(tab_control, i, tabs[i].text, resource_path(tabs[i].image));
    // The pages are children of the control window, lying over the tab area.
    page_timestep = create_dialog_page(timestep_page, control_window, timestep_page_proc);
    page_viewing = create_dialog_page(viewing_page, control_window, viewing_page_proc);
    page_rendering = create_dialog_page(rendering_page, control_window, rendering_page_proc);
    show_page(0);
}

void show_page(int index) {
    if (index < 0 || index > 2) return;
    const Window pages[3] = {page_timestep, page_viewing, page_rendering};
    for (int i = 0; i < 3; ++i) show_window(pages[i], i == index ? SHOW_NORMAL : SHOW_HIDE);
}

const char* tab_tooltip_text(int index) { return index >= 0 && index < 3 ? tabs[index].tooltip : nullptr; }
