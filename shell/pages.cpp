// The tab control of the control window and its three parameter pages,
// built from their control tables once the main loop runs.
#include "shell/pages.h"

#include "app_state/scene_changes.h"
#include "drawing/scene_drawing.h"
#include "resources/resource_files.h"
#include "shell/commands.h"
#include "shell/page_fields.h"
#include "shell/shell.h"
#include "sim/bodies.h"
#include "windows/view3d_window.h"

namespace {

constexpr const char* PAGE_FONT = "MS Sans Serif";
constexpr int PAGE_FONT_POINTS = 8;
constexpr int PAGE_X = 4, PAGE_Y = 21;  // dialog units, inside the tab area

// Control ids shared by the three pages.
constexpr int ID_APPLY = 1;
constexpr int ID_DEFAULTS = 5;
constexpr int NO_ID = -1;

// Field ids of the pages.
constexpr int TIME_STEP_FIELD = 1000;
constexpr int TRANSLATE_FIELD = 1000, ROTATE_FIELD = 1004, FIELD_OF_VIEW_FIELD = 1003;
constexpr int NEAR_FIELD = 1002, FAR_FIELD = 1001;
constexpr int MAX_RADIUS_FIELD = 1000, SLICES_FIELD = 1004, STACKS_FIELD = 1003;
constexpr int SMOOTH_BOX = 1006, STAR_LIGHTING_BOX = 1007;

const DialogControl timestep_controls[] = {
    {ID_APPLY, CONTROL_DEFAULT_BUTTON, "Apply", 28, 137, 50, 14},
    {ID_DEFAULTS, CONTROL_DEFAULT_BUTTON, "Defaults", 103, 137, 50, 14},
    {NO_ID, CONTROL_STATIC, "Time step", 29, 34, 32, 8},
    {TIME_STEP_FIELD, CONTROL_EDIT, "", 84, 31, 69, 13},
};

const DialogControl viewing_controls[] = {
    {ID_APPLY, CONTROL_DEFAULT_BUTTON, "Apply", 28, 135, 50, 14},
    {ID_DEFAULTS, CONTROL_DEFAULT_BUTTON, "Defaults", 103, 135, 50, 14},
    {NO_ID, CONTROL_STATIC, "Translate Camera", 21, 20, 56, 8},
    {NO_ID, CONTROL_STATIC, "Rotate Camera", 21, 43, 48, 8},
    {NO_ID, CONTROL_STATIC, "Field of view angle", 21, 66, 60, 8},
    {NO_ID, CONTROL_STATIC, "Near clipping plane", 21, 89, 62, 8},
    {NO_ID, CONTROL_STATIC, "Far clipping plane", 21, 112, 56, 8},
    {TRANSLATE_FIELD, CONTROL_EDIT, "", 91, 17, 69, 13},
    {ROTATE_FIELD, CONTROL_EDIT, "", 91, 41, 69, 13},
    {FIELD_OF_VIEW_FIELD, CONTROL_EDIT, "", 91, 63, 69, 13},
    {NEAR_FIELD, CONTROL_EDIT, "", 91, 86, 69, 13},
    {FAR_FIELD, CONTROL_EDIT, "", 91, 110, 69, 13},
};

const DialogControl rendering_controls[] = {
    {ID_APPLY, CONTROL_DEFAULT_BUTTON, "Apply", 28, 135, 50, 14},
    {ID_DEFAULTS, CONTROL_DEFAULT_BUTTON, "Defaults", 103, 135, 50, 14},
    {NO_ID, CONTROL_STATIC, "Max radius", 27, 20, 35, 8},
    {NO_ID, CONTROL_STATIC, "Slices", 27, 47, 20, 8},
    {NO_ID, CONTROL_STATIC, "Stacks", 27, 74, 23, 8},
    {MAX_RADIUS_FIELD, CONTROL_EDIT, "", 85, 18, 69, 13},
    {SLICES_FIELD, CONTROL_EDIT, "", 85, 45, 69, 13},
    {STACKS_FIELD, CONTROL_EDIT, "", 85, 72, 69, 13},
    {SMOOTH_BOX, CONTROL_CHECKBOX, "Smooth Shading", 27, 94, 112, 10},
    {STAR_LIGHTING_BOX, CONTROL_CHECKBOX, "Stars provide the lighting", 27, 113, 120, 11},
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

// Defaults of the scene parameters, as at program start.
constexpr double DEFAULT_TIME_STEP = 0.001;
constexpr float DEFAULT_CAMERA_TRANSLATE = -15.0f;
constexpr float DEFAULT_CAMERA_ROTATE = -85.0f;
constexpr double DEFAULT_FIELD_OF_VIEW = 70.0;
constexpr double DEFAULT_NEAR_PLANE = 0.1;
constexpr double DEFAULT_FAR_PLANE = 50.0;
constexpr double DEFAULT_MAX_RADIUS = 0.5;
constexpr int DEFAULT_SPHERE_SUBDIVISION = 10;

void show_timestep_page(Window page) { show_real(page, TIME_STEP_FIELD, time_step); }

void show_viewing_page(Window page) {
    show_real(page, TRANSLATE_FIELD, camera_translate);
    show_real(page, ROTATE_FIELD, camera_rotate);
    show_real(page, FIELD_OF_VIEW_FIELD, field_of_view);
    show_real(page, NEAR_FIELD, near_plane);
    show_real(page, FAR_FIELD, far_plane);
}

void show_rendering_fields(Window page) {
    show_real(page, MAX_RADIUS_FIELD, max_radius);
    show_int(page, SLICES_FIELD, sphere_slices);
    show_int(page, STACKS_FIELD, sphere_stacks);
}

// The values of the pages that a scene file carries, to tell whether Apply
// or Defaults changed the scene.
struct PageValues {
    double step;
    float translate, rotate;
    double view_angle, near, far, radius;
    int slices, stacks, smooth, lighting;
};

PageValues page_values() {
    return {read_time_step(), camera_translate, camera_rotate, field_of_view, near_plane, far_plane,
            max_radius,       sphere_slices,    sphere_stacks, smooth_shading, read_star_lighting()};
}

void mark_if_changed(const PageValues& before) {
    const PageValues now = page_values();
    if (now.step != before.step || now.translate != before.translate || now.rotate != before.rotate ||
        now.view_angle != before.view_angle || now.near != before.near || now.far != before.far ||
        now.radius != before.radius || now.slices != before.slices || now.stacks != before.stacks ||
        now.smooth != before.smooth || now.lighting != before.lighting)
        mark_scene_changed();
}

// The running 3D view chose its lit or unlit frame thread from the flag at
// the first Run, so only then does a change of the flag need the scene to
// end. Before that the new value is simply stored: closing an unrun scene
// would lose bodies placed by hand and never saved.
int scene_has_run() { return is_window(view3d_window) && view3d_started; }

// Brings star_lighting to the wanted state, through the question and Close
// when a run is under way; the box then shows the flag in force.
void change_star_lighting(Window page, int wanted) {
    if (wanted != star_lighting) {
        if (!scene_has_run()) {
            set_star_lighting(wanted);
        } else if (message_box(control_window, "This change will kill a running simulation", "Confirm",
                               MB_OKCANCEL) == IDOK) {
            send_message(control_window, WM_COMMAND, CMD_CLOSE, 0);
            // Cancel to the save question keeps the scene and the flag.
            if (!scene_is_open()) set_star_lighting(wanted);
        }
    }
    set_dialog_check(page, STAR_LIGHTING_BOX, star_lighting);
}

void rendering_changed() {
    send_message(view3d_window, WM_RENDERING_CHANGED, 0, 0);
    send_message(interactive_window, WM_RENDERING_CHANGED, 0, 0);
}

}  // namespace

// Each page fills its fields from the globals on WM_INITDIALOG (at creation
// and after every scene load) and handles Apply and Defaults. After either,
// every field shows the value now held: an emptied field its kept value,
// "abc" the 0 it converted to.
LRESULT timestep_page_proc(Window page, unsigned message, WPARAM wparam, LPARAM) {
    if (message == WM_INITDIALOG) show_timestep_page(page);
    if (message != WM_COMMAND) return 0;
    const PageValues before = page_values();
    switch (low_word(wparam)) {
        case ID_APPLY:
            // The simulation thread reads the new step as it runs.
            take_time_step(page, TIME_STEP_FIELD);
            show_timestep_page(page);
            break;
        case ID_DEFAULTS:
            set_time_step(DEFAULT_TIME_STEP);
            show_timestep_page(page);
            break;
        default: break;
    }
    mark_if_changed(before);
    return 0;
}

LRESULT viewing_page_proc(Window page, unsigned message, WPARAM wparam, LPARAM) {
    if (message == WM_INITDIALOG) show_viewing_page(page);
    if (message != WM_COMMAND) return 0;
    const PageValues before = page_values();
    switch (low_word(wparam)) {
        case ID_APPLY:
            take_float(page, TRANSLATE_FIELD, &camera_translate);
            take_float(page, ROTATE_FIELD, &camera_rotate);
            take_real(page, FIELD_OF_VIEW_FIELD, &field_of_view);
            take_real(page, NEAR_FIELD, &near_plane);
            take_real(page, FAR_FIELD, &far_plane);
            show_viewing_page(page);
            send_message(view3d_window, WM_VIEWING_CHANGED, 0, 0);
            break;
        case ID_DEFAULTS:
            camera_translate = DEFAULT_CAMERA_TRANSLATE;
            camera_rotate = DEFAULT_CAMERA_ROTATE;
            field_of_view = DEFAULT_FIELD_OF_VIEW;
            near_plane = DEFAULT_NEAR_PLANE;
            far_plane = DEFAULT_FAR_PLANE;
            show_viewing_page(page);
            send_message(view3d_window, WM_VIEWING_CHANGED, 0, 0);
            break;
        default: break;
    }
    mark_if_changed(before);
    return 0;
}

LRESULT rendering_page_proc(Window page, unsigned message, WPARAM wparam, LPARAM) {
    if (message == WM_INITDIALOG) {
        show_rendering_fields(page);
        set_dialog_check(page, SMOOTH_BOX, smooth_shading);
        set_dialog_check(page, STAR_LIGHTING_BOX, star_lighting);
    }
    if (message != WM_COMMAND) return 0;
    const PageValues before = page_values();
    switch (low_word(wparam)) {
        case ID_APPLY:
            take_real(page, MAX_RADIUS_FIELD, &max_radius);
            take_int(page, SLICES_FIELD, &sphere_slices);
            take_int(page, STACKS_FIELD, &sphere_stacks);
            smooth_shading = get_dialog_check(page, SMOOTH_BOX);
            change_star_lighting(page, get_dialog_check(page, STAR_LIGHTING_BOX));
            show_rendering_fields(page);
            rendering_changed();
            break;
        case ID_DEFAULTS:
            // Defaults turns star lighting on through Apply's path, so a
            // running view's frame thread never disagrees with the flag.
            max_radius = DEFAULT_MAX_RADIUS;
            sphere_slices = DEFAULT_SPHERE_SUBDIVISION;
            sphere_stacks = DEFAULT_SPHERE_SUBDIVISION;
            show_rendering_fields(page);
            smooth_shading = 1;
            set_dialog_check(page, SMOOTH_BOX, 1);
            change_star_lighting(page, 1);
            rendering_changed();
            break;
        default: break;
    }
    mark_if_changed(before);
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
