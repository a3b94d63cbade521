// Used only while the 3D view is not part of the build: a window that keeps
// its handle and refuses the close box, as the real one does.
#include "render/view3d_window.h"
#include "sim/frames.h"

int view3d_started = 0;
double view3d_aspect = 1.0;

LRESULT view3d_window_proc(Window window, unsigned message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_CREATE) view3d_window = window;
    if (message == WM_SYSCOMMAND && (wparam & 0xFFF0) == SC_CLOSE) return 0;
    return default_window_proc(window, message, wparam, lparam);
}
