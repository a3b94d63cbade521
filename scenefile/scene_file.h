// Scene files: the path that Open, Save and Save As work on, the reader and
// writer of the text format, and the Open and Save As dialogs.
#pragma once

#include "platform/platform.h"

// The file that read_scene reads and write_scene writes (at most 255
// characters); set by the dialogs, a dropped file and the command line.
extern char scene_path[256];

// The first word of every scene file; a file with any other word is refused.
extern const char SCENE_VERSION[];

// The window that owns the file dialogs and the messages of this part; the
// shell sets it to the control window when that is created.
extern Window scene_dialog_owner;

// Reads scene_path into the scene parameters and a new body list. Returns 1
// on success; otherwise shows a message and returns 0 with the body list and
// every parameter as they were.
int read_scene();

// Writes the scene parameters and the body list to scene_path. Returns 1 on
// success; otherwise shows "Could not create file ..." and returns 0.
int write_scene();

// The folder the Open dialog starts in; nullptr: the working directory.
extern const char* open_dialog_folder;

// The Open dialog: returns 1 with the chosen file in scene_path, 0 when
// cancelled (scene_path is then kept).
int choose_open_file();

// The Save As dialog: on a choice sets scene_path, writes the scene and
// returns the result of write_scene; returns 0 when cancelled.
int choose_save_file();
