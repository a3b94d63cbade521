#include "interact/body_changes.h"

#include "interact/body_edits.h"
#include "shell/scene_changes.h"
#include "sim/frames.h"

void announce_body_change(Window from) {
    mark_scene_changed();
    invalidate_window(interactive_window);
    if (from != bodies_window) refresh_bodies_window();
}

void refresh_bodies_window() { send_message(bodies_window, WM_BODIES_CHANGED, 0, 0); }
