// The interactive view window: face-on view of the plane, placement of
// bodies before a run, the run about the centre of mass during one, and a
// click that picks the reference of the 3D view's frame.
#pragma once

#include "app_state/body_changes.h"
#include "platform/platform.h"

constexpr int INTERACTIVE_TOOLBAR_ID = 106;
constexpr int INTERACTIVE_STATUSBAR_ID = 1404;
constexpr int CMD_TOGGLE_THREAD = 1404;
// Ctrl+Z (and Edit > Undo): takes back the last change of the bodies, before the first Run.
constexpr int CMD_UNDO_PLACEMENT = CMD_UNDO;
// Home and the right-click menu: show every body; back to the described view.
constexpr int CMD_FIT_VIEW = 40108;
constexpr int CMD_RESET_VIEW = 40109;

// State of the interactive view (one exists at a time).
extern Window interactive_toolbar;
extern Window interactive_statusbar;
extern int interactive_toolbar_shown;
extern int interactive_statusbar_shown;
// The view holds one suspension of its frame thread (1 at creation).
extern int interactive_thread_suspended;
// Toggle Thread has paused the frame thread during the current run.
extern int interactive_thread_paused;
// The last size message said the window is minimised.
extern int interactive_minimised;
// Passes of the frame thread drawn since the program began.
extern long long interactive_frames_drawn;

LRESULT interactive_window_proc(Window window, unsigned message, WPARAM wparam, LPARAM lparam);

// ---------------------------------------------- pieces shared by its files

// The 25 toolbar entries, and their tooltips (nullptr for other ids).
Window create_interactive_toolbar(Window window);
const char* interactive_tooltip(int id);
// Enables or disables every placement button (sizes, colours, modes).
void enable_placement_buttons(int enabled);
// Enables or disables the Reflective and Glowing buttons.
void enable_material_buttons(int enabled);

// The frame thread runs exactly while Run is checked, the window is not
// minimised and Toggle Thread has not paused it; this suspends or resumes it
// to match, holding at most one suspension.
void follow_frame_thread_state();

// The world point under client pixel (px, py) of the view (device pixels,
// the whole client area): where a click places a body.
void client_to_world(Window window, int px, int py, double* wx, double* wy);
// The client area's size in device pixels, the unit of clicks and drawing.
void interactive_client_size(Window window, int* width, int* height);
// The wheel (zoom about the pointer) and a middle-button drag (pan); 1 when
// the message was one of them.
int interactive_zoom_mouse(Window window, unsigned message, WPARAM wparam, LPARAM lparam);
void fit_interactive_view(Window window);
void reset_interactive_view(Window window);

// What a left click at client pixel (px, py) does: places bodies before the
// first Run, picks the reference of the frame once a simulation is active.
void interactive_click(Window window, int px, int py);
// What a click asks of the view.
void set_interactive_status(const char* text);
void return_to_unassisted();
void switch_to_reflective();
// From GLOW_LIMIT glowing bodies on, no further one can be chosen: Reflective
// is chosen and both material buttons are disabled.
void apply_glow_limit();
