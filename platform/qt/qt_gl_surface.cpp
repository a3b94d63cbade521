// GL surfaces. A QWindow with its own QOpenGLContext (swap interval 0) sits
// in a window container that covers the client area; toolbar and status bar
// are native children stacked above it. Drawing goes straight to the native
// window with no composition step, so the frame rate is the drawing's own.
#include "platform/qt/qt_gl_surface.h"

#include <QExposeEvent>
#include <QMouseEvent>
#include <QOpenGLContext>
#include <QSurfaceFormat>
#include <QWheelEvent>
#include <QWidget>

#include <cstring>
#include <vector>

#include "platform/qt/qt_state.h"

GlWindow::GlWindow(::Window owner_window) : owner(owner_window) {
    setSurfaceType(QSurface::OpenGLSurface);
}

void GlWindow::exposeEvent(QExposeEvent*) {
    if (!isExposed()) return;
    QtWindow* record = qt_window(owner);
    if (record != nullptr) qt_paint_window(record);
}

namespace {

// Client coordinates in device pixels, the unit of the GL viewport, as the
// signed 16-bit words of a mouse message.
LPARAM client_lparam(const QWindow* window, QPointF position) {
    const QPointF at = position * window->devicePixelRatio();
    return make_lparam(static_cast<unsigned>(static_cast<int>(at.x())),
                       static_cast<unsigned>(static_cast<int>(at.y())));
}

WPARAM held_buttons(Qt::MouseButtons buttons) {
    WPARAM held = 0;
    if (buttons & Qt::LeftButton) held |= MK_LBUTTON;
    if (buttons & Qt::MiddleButton) held |= MK_MBUTTON;
    return held;
}

}  // namespace

void GlWindow::mousePressEvent(QMouseEvent* event) {
    unsigned message = 0;
    if (event->button() == Qt::LeftButton) message = WM_LBUTTONDOWN;
    if (event->button() == Qt::RightButton) message = WM_RBUTTONDOWN;
    if (event->button() == Qt::MiddleButton) message = WM_MBUTTONDOWN;
    if (message == 0) return;
    qt_send_gl_aware(owner, message, held_buttons(event->buttons()), client_lparam(this, event->position()));
}

void GlWindow::mouseReleaseEvent(QMouseEvent* event) {
    unsigned message = 0;
    if (event->button() == Qt::LeftButton) message = WM_LBUTTONUP;
    if (event->button() == Qt::MiddleButton) message = WM_MBUTTONUP;
    if (message == 0) return;
    qt_send_gl_aware(owner, message, held_buttons(event->buttons()), client_lparam(this, event->position()));
}

void GlWindow::mouseMoveEvent(QMouseEvent* event) {
    qt_send_gl_aware(owner, WM_MOUSEMOVE, held_buttons(event->buttons()), client_lparam(this, event->position()));
}

void GlWindow::wheelEvent(QWheelEvent* event) {
    const int delta = event->angleDelta().y();
    if (delta == 0) return;
    const WPARAM turn = static_cast<WPARAM>(static_cast<unsigned>(delta) & 0xFFFFu) << 16;
    qt_send_gl_aware(owner, WM_MOUSEWHEEL, turn | held_buttons(event->buttons()),
                     client_lparam(this, event->position()));
}

bool GlWindow::event(QEvent* event) {
    if (event->type() == QEvent::Leave) qt_send_gl_aware(owner, WM_MOUSELEAVE, 0, 0);
    if (event->type() == QEvent::UpdateRequest) {
        QtWindow* record = qt_window(owner);
        if (record != nullptr && isExposed()) qt_paint_window(record);
        return true;
    }
    return QWindow::event(event);
}

void gl_request_paint(GlSurface* surface) {
    if (surface != nullptr && surface->gl_window != nullptr) surface->gl_window->requestUpdate();
}

static QSurfaceFormat view_format() {
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setRedBufferSize(8);
    format.setGreenBufferSize(8);
    format.setBlueBufferSize(8);
    format.setDepthBufferSize(24);
    format.setStencilBufferSize(8);
    format.setSwapBehavior(QSurfaceFormat::DoubleBuffer);
    format.setSwapInterval(0);  // never wait for the display's refresh
    return format;
}

int gl_create_surface(Window window) {
    QtWindow* record = qt_window(window);
    if (record == nullptr || record->kind != QtKind::TOP_LEVEL || record->client == nullptr) return 0;
    if (record->gl != nullptr) return 1;

    const QSurfaceFormat format = view_format();
    auto* context = new QOpenGLContext();
    context->setFormat(format);
    if (!context->create()) {
        delete context;
        return 0;
    }
    const QSurfaceFormat got = context->format();
    if (got.depthBufferSize() < 16 || got.stencilBufferSize() < 1 ||
        got.swapBehavior() == QSurfaceFormat::SingleBuffer) {
        delete context;
        return 0;
    }

    // The top level needs its native window before a native child can hang
    // under it; the GL window is created at once so the window procedure can
    // make its context current during WM_CREATE, before the window shows.
    record->widget->winId();
    auto* gl_window = new GlWindow(window);
    gl_window->setFormat(format);
    QWidget* container = QWidget::createWindowContainer(gl_window, record->client);
    container->setAttribute(Qt::WA_NativeWindow);
    container->setGeometry(record->client->rect());
    container->setFocusPolicy(Qt::NoFocus);
    container->winId();
    if (gl_window->handle() == nullptr) gl_window->create();
    container->lower();
    container->show();

    auto* surface = new GlSurface();
    surface->gl_window = gl_window;
    surface->container = container;
    surface->context = context;
    record->gl = surface;

    qt_place_bars(record);
    return 1;
}

int gl_make_current(Window window) {
    QtWindow* record = qt_window(window);
    if (record == nullptr || record->gl == nullptr) return 0;
    return record->gl->context->makeCurrent(record->gl->gl_window) ? 1 : 0;
}

void gl_swap_buffers(Window window) {
    QtWindow* record = qt_window(window);
    if (record == nullptr || record->gl == nullptr) return;
    gl_surface_swap(record->gl);
}

void qt_release_gl(QtWindow* record) {
    if (record == nullptr || record->gl == nullptr) return;
    GlSurface* surface = record->gl;
    record->gl = nullptr;
    surface->context->doneCurrent();
    delete surface->context;
    // The container owns the GL window; it may be in the middle of one of
    // its own events, so it goes at the next turn of the loop.
    surface->container->hide();
    surface->container->deleteLater();
    delete surface;
}

void gl_release_surface(Window window) { qt_release_gl(qt_window(window)); }

double window_pixel_ratio(Window window) {
    QtWindow* record = qt_window(window);
    if (record == nullptr || record->widget == nullptr) return 1.0;
    return qt_pixel_ratio(record->widget);
}

void gl_paint_background(GlSurface* surface) {
    if (surface == nullptr || !surface->context->makeCurrent(surface->gl_window)) return;
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    gl_surface_swap(surface);
}

// Reads the colour buffer of the current context (rows top first).
static bool read_buffer(GLenum buffer, int width, int height, std::vector<unsigned char>& rgba) {
    const std::size_t row = static_cast<std::size_t>(width) * 4;
    GLint previous_alignment = 4;
    GLint previous_buffer = GL_BACK;
    glGetIntegerv(GL_PACK_ALIGNMENT, &previous_alignment);
    glGetIntegerv(GL_READ_BUFFER, &previous_buffer);
    for (int stale = 0; stale < 16 && glGetError() != GL_NO_ERROR; ++stale) {
    }
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(buffer);
    std::vector<unsigned char> bottom_up(row * static_cast<std::size_t>(height));
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, bottom_up.data());
    const GLenum error = glGetError();
    glReadBuffer(static_cast<GLenum>(previous_buffer));
    glPixelStorei(GL_PACK_ALIGNMENT, previous_alignment);
    if (error != GL_NO_ERROR) return false;
    rgba.resize(bottom_up.size());
    for (int y = 0; y < height; ++y) {
        std::memcpy(rgba.data() + row * static_cast<std::size_t>(y),
                    bottom_up.data() + row * static_cast<std::size_t>(height - 1 - y), row);
    }
    return true;
}

static void device_size(GlSurface* surface, int* width, int* height) {
    const double ratio = surface->gl_window->devicePixelRatio();
    *width = static_cast<int>(surface->gl_window->width() * ratio + 0.5);
    *height = static_cast<int>(surface->gl_window->height() * ratio + 0.5);
}

void gl_surface_swap(GlSurface* surface) {
    if (QOpenGLContext::currentContext() != surface->context || surface->context->surface() != surface->gl_window) {
        if (!surface->context->makeCurrent(surface->gl_window)) return;
    }
    if (surface->keep_frames) {
        int width = 0, height = 0;
        device_size(surface, &width, &height);
        if (width > 0 && height > 0 && read_buffer(GL_BACK, width, height, surface->last_frame)) {
            surface->last_width = width;
            surface->last_height = height;
        }
    }
    // A window that is not on screen has nothing to show; swapping it is
    // undefined, so the frame is only finished.
    if (surface->gl_window->isExposed()) {
        surface->context->swapBuffers(surface->gl_window);
    } else {
        glFlush();
    }
}

int gl_read_pixels(Window window, unsigned char* rgba, int capacity, int* width, int* height) {
    QtWindow* record = qt_window(window);
    if (record == nullptr || record->gl == nullptr) return 0;
    GlSurface* surface = record->gl;
    surface->keep_frames = 1;
    int w = 0, h = 0;
    device_size(surface, &w, &h);
    const bool kept = !surface->last_frame.empty() && surface->last_width == w && surface->last_height == h;
    if (width != nullptr) *width = w;
    if (height != nullptr) *height = h;
    if (w <= 0 || h <= 0 || rgba == nullptr) return 0;
    const std::size_t size = static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * 4;
    if (capacity < 0 || static_cast<std::size_t>(capacity) < size) return 0;
    if (!kept) {
        // No frame kept yet: the back buffer still holds the frame just
        // swapped on the copying swap of X11 GL drivers.
        if (!surface->context->makeCurrent(surface->gl_window)) return 0;
        if (!read_buffer(GL_BACK, w, h, surface->last_frame)) return 0;
        surface->last_width = w;
        surface->last_height = h;
    }
    std::memcpy(rgba, surface->last_frame.data(), size);
    return 1;
}
