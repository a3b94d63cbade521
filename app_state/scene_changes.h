// Whether the open scene holds changes that no file has: bodies placed or
// taken back, or a value the scene file carries changed since New, the
// last accepted load or the last successful Save.
#pragma once

extern int scene_changed;

// Called wherever the scene changes; does nothing while no scene is open
// (a value changed then belongs to no scene that could be saved).
void mark_scene_changed();
