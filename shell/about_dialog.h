// The About box of the Help menu.
#pragma once

// Runs the modal About dialog owned by the control window.
void show_about_dialog();
