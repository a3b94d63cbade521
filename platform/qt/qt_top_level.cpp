// Top-level windows: built when the core creates a window record, and the
// translation of Qt's window events into messages to the window procedure.
#include "platform/qt/qt_top_level.h"

#include <QCloseEvent>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QUrl>

#include <cstring>
#include <string>
#include <vector>

#include "platform/qt/qt_gl_surface.h"
#include "platform/qt/qt_state.h"

constexpr WPARAM SIZE_RESTORED = 0;
constexpr WPARAM SIZE_MINIMIZED = 1;
constexpr WPARAM SIZE_MAXIMIZED = 2;

TopLevelWidget::TopLevelWidget(Window owner_window) : QWidget(nullptr), owner(owner_window) {}

void TopLevelWidget::closeEvent(QCloseEvent* event) {
    // The window procedure decides; a greyed Close makes the box do nothing.
    event->ignore();
    QtWindow* record = qt_window(owner);
    if (record == nullptr || record->grey_close) return;
    send_message(owner, WM_SYSCOMMAND, SC_CLOSE, 0);
}

void TopLevelWidget::moveEvent(QMoveEvent*) { qt_send_move(owner); }

void TopLevelWidget::resizeEvent(QResizeEvent*) {
    QtWindow* record = qt_window(owner);
    if (record != nullptr) qt_layout_client(record);
}

void TopLevelWidget::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange) return;
    QtWindow* record = qt_window(owner);
    if (record == nullptr) return;
    const int minimized = isMinimized() ? 1 : 0;
    if (minimized == record->was_minimized) return;
    record->was_minimized = minimized;
    qt_send_size(owner);
}

static std::vector<std::string> local_paths(const QMimeData* data) {
    std::vector<std::string> paths;
    if (data == nullptr || !data->hasUrls()) return paths;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) paths.push_back(url.toLocalFile().toStdString());
    }
    return paths;
}

void TopLevelWidget::dragEnterEvent(QDragEnterEvent* event) {
    QtWindow* record = qt_window(owner);
    if (record != nullptr && record->accepts_drops && !local_paths(event->mimeData()).empty()) {
        event->acceptProposedAction();
    }
}

void TopLevelWidget::dragMoveEvent(QDragMoveEvent* event) {
    QtWindow* record = qt_window(owner);
    if (record != nullptr && record->accepts_drops) event->acceptProposedAction();
}

void TopLevelWidget::dropEvent(QDropEvent* event) {
    QtWindow* record = qt_window(owner);
    if (record == nullptr || !record->accepts_drops) return;
    const std::vector<std::string> paths = local_paths(event->mimeData());
    if (paths.empty()) return;
    event->acceptProposedAction();
    qt_dispatch_drop(record, paths);
}

ClientArea::ClientArea(Window owner_window, QWidget* parent) : QWidget(parent), owner(owner_window) {}

void ClientArea::resizeEvent(QResizeEvent*) {
    QtWindow* record = qt_window(owner);
    if (record == nullptr) return;
    if (record->gl != nullptr) record->gl->container->setGeometry(rect());
    qt_place_bars(record);
    if (record->widget != nullptr && record->widget->isMinimized()) return;
    qt_send_size(owner);
}

void ClientArea::paintEvent(QPaintEvent*) {
    QtWindow* record = qt_window(owner);
    // A GL window paints through its own exposure; the widget underneath
    // only shows the class background.
    if (record == nullptr || record->gl != nullptr) return;
    if (record->black_background) QPainter(this).fillRect(rect(), Qt::black);
    qt_paint_window(record);
}

void ClientArea::mousePressEvent(QMouseEvent* event) {
    unsigned message = 0;
    if (event->button() == Qt::LeftButton) message = WM_LBUTTONDOWN;
    if (event->button() == Qt::RightButton) message = WM_RBUTTONDOWN;
    if (message == 0) return;
    const QPointF at = event->position() * qt_pixel_ratio(this);
    qt_send_gl_aware(owner, message, 0,
                     make_lparam(static_cast<unsigned>(at.x()), static_cast<unsigned>(at.y())));
}

void qt_send_size(Window window) {
    QtWindow* record = qt_window(window);
    if (record == nullptr || record->client == nullptr || record->widget == nullptr) return;
    if (record->widget->isMinimized()) {
        qt_send_gl_aware(window, WM_SIZE, SIZE_MINIMIZED, 0);
        return;
    }
    const double ratio = qt_pixel_ratio(record->client);
    const unsigned width = static_cast<unsigned>(record->client->width() * ratio + 0.5);
    const unsigned height = static_cast<unsigned>(record->client->height() * ratio + 0.5);
    const WPARAM kind = record->widget->isMaximized() ? SIZE_MAXIMIZED : SIZE_RESTORED;
    qt_send_gl_aware(window, WM_SIZE, kind, make_lparam(width, height));
}

void qt_send_move(Window window) {
    QtWindow* record = qt_window(window);
    if (record == nullptr || record->client == nullptr) return;
    const QPoint at = record->client->mapToGlobal(QPoint(0, 0));
    // Taken as unsigned 16-bit values by the receivers.
    send_message(window, WM_MOVE, 0,
                 make_lparam(static_cast<unsigned>(at.x()), static_cast<unsigned>(at.y())));
}

void qt_paint_window(QtWindow* record) {
    record->paint_pending = 0;
    qt_send_gl_aware(record->window, WM_PAINT, 0, 0);
}

void qt_layout_client(QtWindow* record) {
    QWidget* top = record->widget;
    if (top == nullptr || record->client == nullptr) return;
    int menu_height = 0;
    if (record->menu_bar != nullptr) {
        menu_height = record->menu_bar->sizeHint().height();
        record->menu_bar->setGeometry(0, 0, top->width(), menu_height);
    }
    record->client->setGeometry(0, menu_height, top->width(), std::max(0, top->height() - menu_height));
}

void qt_place_bars(QtWindow* top) {
    if (top == nullptr || top->client == nullptr) return;
    const int width = top->client->width();
    const int height = top->client->height();
    // Toolbars keep to the top edge and status bars to the bottom edge, over
    // the GL area, across the whole width, as the window system's bars do.
    // Each is drawn whole again: a native bar that grows would otherwise
    // repaint only its new part and keep its old edges.
    for (Window child : qt_children_of(top->window)) {
        QtWindow* bar = qt_window(child);
        if (bar == nullptr || bar->widget == nullptr) continue;
        if (bar->kind == QtKind::TOOLBAR) {
            bar->widget->setGeometry(0, 0, width, bar->bar_height);
            bar->widget->raise();
            bar->widget->update();
        } else if (bar->kind == QtKind::STATUS_BAR) {
            bar->widget->setGeometry(0, height - bar->bar_height, width, bar->bar_height);
            bar->widget->raise();
            bar->widget->update();
        }
    }
}

QRect qt_reachable_client(const QRect& client) {
    // The screen that holds the middle of the window, else the first one.
    const QRect outer = client.adjusted(-FRAME_LEFT, -FRAME_TOP, FRAME_RIGHT, FRAME_BOTTOM);
    QScreen* screen = QGuiApplication::screenAt(outer.center());
    if (screen == nullptr) screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return client;
    const QRect area = screen->availableGeometry();
    QRect placed = client;
    placed.setWidth(std::max(1, std::min(client.width(), area.width() - FRAME_LEFT - FRAME_RIGHT)));
    placed.setHeight(std::max(1, std::min(client.height(), area.height() - FRAME_TOP - FRAME_BOTTOM)));
    // A title bar can be taken with the mouse when a piece of it at least
    // 32 pixels wide and 8 high lies on some screen.
    const QRect caption(placed.x() - FRAME_LEFT, placed.y() - FRAME_TOP, placed.width() + FRAME_LEFT + FRAME_RIGHT,
                        FRAME_TOP);
    for (QScreen* each : QGuiApplication::screens()) {
        const QRect seen = caption & each->geometry();
        if (seen.width() >= std::min(32, caption.width()) && seen.height() >= 8) return placed;
    }
    // Otherwise the whole frame comes onto the chosen screen, as near as it
    // can to where it was asked to be.
    const int outer_width = placed.width() + FRAME_LEFT + FRAME_RIGHT;
    const int outer_height = placed.height() + FRAME_TOP + FRAME_BOTTOM;
    const int left = std::clamp(placed.x() - FRAME_LEFT, area.left(), area.left() + area.width() - outer_width);
    const int top = std::clamp(placed.y() - FRAME_TOP, area.top(), area.top() + area.height() - outer_height);
    placed.moveTo(left + FRAME_LEFT, top + FRAME_TOP);
    return placed;
}

void qt_place_top_level(QWidget* top, const QRect& client) {
    if (!top->testAttribute(Qt::WA_Moved) && client.topLeft() == top->geometry().topLeft()) {
        top->resize(client.size());
        return;
    }
    top->setGeometry(qt_reachable_client(client));
}

QWidget* qt_create_top_level(QtWindow* record, const char* title, unsigned style, int x, int y,
                             int width, int height, std::uintptr_t menu) {
    auto* top = new TopLevelWidget(record->window);
    top->setWindowTitle(QString::fromUtf8(title != nullptr ? title : ""));
    auto* client = new ClientArea(record->window, top);
    record->widget = top;
    record->client = client;
    if (style & WS_CAPTION_SYSMENU_MINIMIZE) {
        top->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                            Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                            Qt::WindowCloseButtonHint);
    }
    if (menu != 0) qt_attach_menu(record, menu);

    if (width == DEFAULT_POSITION || width <= 0) width = 640;
    if (height == DEFAULT_POSITION || height <= 0) height = 480;
    const int client_width = std::max(1, width - FRAME_LEFT - FRAME_RIGHT);
    const int client_height = std::max(1, height - FRAME_TOP - FRAME_BOTTOM);
    // Without a place the window system places the window.
    if (x != DEFAULT_POSITION && y != DEFAULT_POSITION) {
        top->setGeometry(qt_reachable_client(QRect(x + FRAME_LEFT, y + FRAME_TOP, client_width, client_height)));
    } else {
        top->resize(qt_reachable_client(QRect(0, 0, client_width, client_height)).size());
    }
    if (style & WS_CAPTION_SYSMENU_MINIMIZE) top->setFixedSize(top->size());
    qt_layout_client(record);
    return top;
}

// ---------------------------------------------------------------- backend

void qt_window_created(Window window, const char* class_name, const char* title, unsigned style,
                       int x, int y, int width, int height, Window parent, std::uintptr_t menu) {
    // Windows made on other threads stay headless: Qt widgets live on the
    // main thread only.
    if (!is_main_thread()) return;
    if ((style & WS_CHILD) == 0) {
        QtWindow* record = qt_add_window(window, QtKind::TOP_LEVEL, parent);
        qt_create_top_level(record, title, style, x, y, width, height, menu);
        // A window that does not draw shows its class background. It is
        // painted, not set in the palette: child bars would inherit it.
        record->black_background = window_class_background_black(class_name);
        return;
    }
    const std::string name = class_name != nullptr ? class_name : "";
    QtKind kind = QtKind::CHILD;
    if (name == QT_TOOLBAR_CLASS) kind = QtKind::TOOLBAR;
    if (name == QT_STATUS_BAR_CLASS) kind = QtKind::STATUS_BAR;
    if (name == QT_TAB_CLASS) kind = QtKind::TAB_CONTROL;
    if (name == QT_DIALOG_CLASS) kind = QtKind::DIALOG_PAGE;
    if (name == QT_TABLE_CLASS) kind = QtKind::TABLE;
    QtWindow* parent_record = qt_window(parent);
    QtWindow* record = qt_add_window(window, kind, parent);
    // The builders of toolbars, status bars, tabs and pages make their own
    // widgets; any other child is a plain area of its parent.
    if (kind != QtKind::CHILD || parent_record == nullptr || parent_record->client == nullptr) return;
    QWidget* child = qt_create_paint_area(window, parent_record->client);
    child->setGeometry(x, y, width, height);
    child->show();
    record->widget = child;
    record->client = child;
}

void qt_window_destroyed(Window window) {
    QtWindow* record = qt_window(window);
    if (record == nullptr) return;
    // Children go after their parent's WM_DESTROY, as the window system
    // destroys them.
    for (Window child : qt_children_of(window)) destroy_window(child);
    record = qt_window(window);
    if (record == nullptr) return;
    qt_release_gl(record);
    QPointer<QWidget> widget = record->widget;
    qt_remove_window(window);
    if (widget != nullptr) {
        widget->hide();
        // The widget may be inside one of its own event handlers.
        widget->deleteLater();
    }
}

void qt_window_text_changed(Window window, const char* text) {
    QtWindow* record = qt_window(window);
    if (record == nullptr || record->widget == nullptr) return;
    if (record->kind == QtKind::TOP_LEVEL || record->kind == QtKind::MODAL_DIALOG) {
        record->widget->setWindowTitle(QString::fromUtf8(text != nullptr ? text : ""));
    }
}
