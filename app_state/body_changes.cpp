#include "app_state/body_changes.h"

#include "app_state/scene_changes.h"
#include "sim/frames.h"

Window bodies_window = NO_WINDOW;

void announce_body_change(Window from) {
    mark_scene_changed();
    invalidate_window(interactive_window);
    if (from != bodies_window) refresh_bodies_window();
}

void refresh_bodies_window() { send_message(bodies_window, WM_BODIES_CHANGED, 0, 0); }
