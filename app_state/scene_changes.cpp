#include "app_state/scene_changes.h"

#include "platform/platform.h"
#include "sim/frames.h"

int scene_changed = 0;

void mark_scene_changed() {
    if (is_window(view3d_window) || is_window(interactive_window)) scene_changed = 1;
}
