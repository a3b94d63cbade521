// Showing, placing and repainting windows, the system menu's Close, and the
// default handling of the messages the window system answers itself.
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "platform/qt/qt_gl_surface.h"
#include "platform/qt/qt_state.h"
#include "platform/qt/qt_top_level.h"

void show_window(Window window, ShowCommand command) {
    QtWindow* record = qt_window(window);
    if (record == nullptr || record->widget == nullptr) return;
    QWidget* widget = record->widget;
    const bool top = record->kind == QtKind::TOP_LEVEL;
    switch (command) {
        case SHOW_HIDE: widget->hide(); break;
        case SHOW_MINIMIZED:
            if (top) qt_minimise(widget); else widget->show();
            break;
        case SHOW_RESTORE:
            if (top) widget->showNormal(); else widget->show();
            break;
        case SHOW_NORMAL:
        default:
            if (top && widget->isMinimized()) widget->showNormal(); else widget->show();
            break;
    }
    if (!top && record->parent != NO_WINDOW) qt_place_bars(qt_window(record->parent));
}

int is_window_visible(Window window) {
    QtWindow* record = qt_window(window);
    return record != nullptr && record->widget != nullptr && record->widget->isVisible() ? 1 : 0;
}

int is_window_minimized(Window window) {
    QtWindow* record = qt_window(window);
    return record != nullptr && record->widget != nullptr && record->widget->isMinimized() ? 1 : 0;
}

void move_window(Window window, int x, int y, int width, int height, int repaint) {
    QtWindow* record = qt_window(window);
    if (record == nullptr || record->widget == nullptr) return;
    QWidget* widget = record->widget;
    if (record->kind == QtKind::TOP_LEVEL) {
        const QRect asked(x + FRAME_LEFT, y + FRAME_TOP, std::max(1, width - FRAME_LEFT - FRAME_RIGHT),
                          std::max(1, height - FRAME_TOP - FRAME_BOTTOM));
        const bool fixed = widget->minimumSize() == widget->maximumSize();
        if (fixed) widget->setFixedSize(qt_reachable_client(asked).size());
        qt_place_top_level(widget, asked);
    } else {
        widget->setGeometry(x, y, std::max(0, width), std::max(0, height));
    }
    if (repaint) invalidate_window(window);
}

void get_window_rect(Window window, int* x, int* y, int* width, int* height) {
    int rx = 0, ry = 0, rw = 0, rh = 0;
    QtWindow* record = qt_window(window);
    if (record != nullptr && record->widget != nullptr) {
        QWidget* widget = record->widget;
        if (record->kind == QtKind::TOP_LEVEL) {
            const QRect g = widget->geometry();
            rx = g.x() - FRAME_LEFT;
            ry = g.y() - FRAME_TOP;
            rw = g.width() + FRAME_LEFT + FRAME_RIGHT;
            rh = g.height() + FRAME_TOP + FRAME_BOTTOM;
        } else {
            const QPoint at = widget->mapToGlobal(QPoint(0, 0));
            rx = at.x();
            ry = at.y();
            rw = widget->width();
            rh = widget->height();
        }
    }
    if (x != nullptr) *x = rx;
    if (y != nullptr) *y = ry;
    if (width != nullptr) *width = rw;
    if (height != nullptr) *height = rh;
}

void get_frame_rect(Window window, int* x, int* y, int* width, int* height) {
    QRect frame;
    QtWindow* record = qt_window(window);
    if (record != nullptr && record->widget != nullptr && record->kind == QtKind::TOP_LEVEL)
        frame = record->widget->frameGeometry();
    if (x != nullptr) *x = frame.x();
    if (y != nullptr) *y = frame.y();
    if (width != nullptr) *width = frame.width();
    if (height != nullptr) *height = frame.height();
}

void get_client_rect(Window window, int* x, int* y, int* width, int* height) {
    int rx = 0, ry = 0, rw = 0, rh = 0;
    QtWindow* record = qt_window(window);
    if (record != nullptr && record->client != nullptr) {
        const QPoint at = record->client->mapToGlobal(QPoint(0, 0));
        rx = at.x();
        ry = at.y();
        rw = record->client->width();
        rh = record->client->height();
    }
    if (x != nullptr) *x = rx;
    if (y != nullptr) *y = ry;
    if (width != nullptr) *width = rw;
    if (height != nullptr) *height = rh;
}

void get_screen_work_area(int* x, int* y, int* width, int* height) {
    QScreen* screen = QGuiApplication::primaryScreen();
    const QRect area = screen != nullptr ? screen->availableGeometry() : QRect();
    if (x != nullptr) *x = area.x();
    if (y != nullptr) *y = area.y();
    if (width != nullptr) *width = area.width();
    if (height != nullptr) *height = area.height();
}

void invalidate_window(Window window) {
    QtWindow* record = qt_window(window);
    if (record == nullptr || record->client == nullptr) return;
    record->paint_pending = 1;
    if (record->gl != nullptr) {
        gl_request_paint(record->gl);
    } else {
        record->client->update();
    }
}

void update_window(Window window) {
    QtWindow* record = qt_window(window);
    if (record == nullptr || record->client == nullptr) return;
    if (record->gl != nullptr) {
        if (record->paint_pending && record->gl->gl_window->isExposed()) qt_paint_window(record);
    } else if (record->client->isVisible()) {
        record->client->repaint();
    }
}

void grey_system_close(Window window) {
    QtWindow* record = qt_window(window);
    if (record == nullptr || record->widget == nullptr) return;
    record->grey_close = 1;
    if (record->kind != QtKind::TOP_LEVEL) return;
    QWidget* widget = record->widget;
    const bool visible = widget->isVisible();
    const bool placed = widget->testAttribute(Qt::WA_Moved);
    const QRect client = widget->geometry();
    widget->setWindowFlags((widget->windowFlags() | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                            Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint) &
                           ~Qt::WindowCloseButtonHint);
    // New flags make a new native window, which would take the old place
    // for its frame's: the client area goes back where it was.
    if (placed) widget->setGeometry(client);
    // Changing the flags of a shown window hides it.
    if (visible) widget->show();
}

void accept_dropped_files(Window window, int accept) {
    QtWindow* record = qt_window(window);
    if (record == nullptr || record->widget == nullptr) return;
    record->accepts_drops = accept ? 1 : 0;
    record->widget->setAcceptDrops(accept != 0);
}

LRESULT qt_default_proc(Window window, unsigned message, WPARAM wparam, LPARAM) {
    QtWindow* record = qt_window(window);
    switch (message) {
        case WM_SYSCOMMAND:
            if (record == nullptr || record->kind != QtKind::TOP_LEVEL || record->widget == nullptr) return 0;
            switch (wparam & 0xFFF0) {
                case SC_MINIMIZE: qt_minimise(record->widget); return 0;
                case SC_RESTORE: record->widget->showNormal(); return 0;
                case SC_CLOSE:
                    if (!record->grey_close) send_message(window, WM_CLOSE, 0, 0);
                    return 0;
                default: return 0;
            }
        case WM_CLOSE:
            destroy_window(window);
            return 0;
        case WM_PAINT:
            // A view that does not draw shows its black background.
            if (record != nullptr && record->gl != nullptr) gl_paint_background(record->gl);
            return 0;
        default:
            return 0;
    }
}
