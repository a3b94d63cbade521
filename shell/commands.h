// The control window's commands: scenes are opened, run, saved and closed
// here; the view windows of an open scene are created and ended here.
#pragma once

#include "platform/platform.h"

// Greys or enables Close, Save, Save As and the Edit menu together and
// redraws the menu bar.
void set_scene_menu(int enabled);
// 1 while a scene is open (either view window exists).
int scene_is_open();

void new_scene();
void close_scene();
// The load command: opens the command-line argument (or scene_path). A
// refused file changes nothing, except that the name of a file that does
// not exist, given while no scene is open, opens an empty scene under that
// name.
void load_scene();
void run_scene();
void open_scene();
void open_and_run_scene();
// Each returns 1 when the scene was written (and has no unsaved changes).
int save_scene();
int save_scene_as();
// Asks "Save changes to <file name>?" (Save, Discard, Cancel) when the open
// scene has unsaved changes, before an action that would end it. Returns 1
// when the action may go on: nothing to save, saved (through Save As while
// the scene has the default name), or discarded; 0 on Cancel or a save that
// was cancelled or failed.
int save_changes_first();
// The first dropped file is loaded and, once accepted, run; the drop is
// released. Unsaved changes are asked about first.
void drop_scene(WPARAM drop);
// Takes the command-line argument whole as the path the load command opens.
// Returns 1 when it is to be loaded and run; an argument longer than
// scene_path can hold is refused with "Could not open file %s" and returns 0.
int accept_argument(const char* argument);
// The control window's destroy handling: closes the open scene, writes the
// settings and quits the main loop.
void shutdown_control_window();
// Shows the energy plot window, created at its default place the first time.
void show_energy_plot();
