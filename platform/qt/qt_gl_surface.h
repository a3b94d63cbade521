// OpenGL view surfaces: a native GL window embedded over the whole client
// area of a top-level window, drawn directly by its window procedure.
#pragma once

#include <QWindow>

#include <vector>

#include "platform/platform.h"

class QOpenGLContext;
class QWidget;

// The native window the GL context draws into. It turns exposure and mouse
// presses, moves and leaving into messages to the platform window it belongs to.
class GlWindow : public QWindow {
public:
    // QSurface has an enumerator named Window, hence the qualified name.
    explicit GlWindow(::Window owner);
    ::Window owner;

protected:
    void exposeEvent(QExposeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    bool event(QEvent* event) override;
};

struct GlSurface {
    GlWindow* gl_window = nullptr;
    QWidget* container = nullptr;
    QOpenGLContext* context = nullptr;
    // Once somebody has read the pixels back, each swap keeps a copy of the
    // frame it shows (rows top first); until then swaps cost nothing extra.
    int keep_frames = 0;
    std::vector<unsigned char> last_frame;
    int last_width = 0;
    int last_height = 0;
};

// Asks for a WM_PAINT of a GL window at the next turn of the event loop.
void gl_request_paint(GlSurface* surface);
// Swaps the buffers of the current surface, keeping a copy when asked to.
void gl_surface_swap(GlSurface* surface);
// Clears the surface to black and shows it (default painting of a view).
void gl_paint_background(GlSurface* surface);
