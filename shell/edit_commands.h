// The control window's Edit menu: Undo (passed to the interactive view),
// the Bodies window, Zero Momentum and Centre on Origin.
#pragma once

// 1 when id is one of the Edit menu's commands (it has then been done).
int edit_command(unsigned id);
// Greys or enables the Edit menu's items with the scene.
void enable_edit_menu(int enabled);
// Ends the Bodies window, if open.
void close_bodies_window();
