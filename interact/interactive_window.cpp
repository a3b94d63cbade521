// The interactive view window. It keeps its place and size for the settings
// file and stays open until the control window ends the scene; the toolbar,
// body placement and drawing come later.
#include "interact/interactive_window.h"

#include "render/view3d_window.h"
#include "shell/settings.h"

LRESULT interactive_window_proc(Window window, unsigned message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_CREATE:
            if (geometry_known) restore_client_geometry(window, iv_left, iv_top, iv_width, iv_height);
            return 0;
        case WM_DESTROY: return 0;
        case WM_MOVE:
            geometry_known = 1;
            iv_left = static_cast<int>(low_word(static_cast<WPARAM>(lparam)));
            iv_top = static_cast<int>(high_word(static_cast<WPARAM>(lparam)));
            return 0;
        case WM_SIZE: {
            // A minimised window reports no client area; it keeps the last
            // size, which is the one it comes back with.
            unsigned width = low_word(static_cast<WPARAM>(lparam));
            unsigned height = high_word(static_cast<WPARAM>(lparam));
            if (width == 0 || height == 0) return 0;
            iv_width = static_cast<int>(width);
            iv_height = static_cast<int>(height);
            return 0;
        }
        case WM_SYSCOMMAND:
            // Only the control window ends the view (Close greyed).
            if (low_word(wparam) == SC_CLOSE) return 0;
            return default_window_proc(window, message, wparam, lparam);
        case WM_COMMAND:
            // Stop and Run, sent by the 3D view and the control window.
            if (low_word(wparam) == CMD_STOP || low_word(wparam) == CMD_RUN) return 0;
            return default_window_proc(window, message, wparam, lparam);
        default: return default_window_proc(window, message, wparam, lparam);
    }
}
