// Input made as the user would make it, for tests: real Qt mouse events at a
// point of the client area (presses and moves), and the close box.
#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

#include "platform/qt/qt_gl_surface.h"
#include "platform/qt/qt_state.h"

namespace {

template <typename Target>
void press_and_release(Target* target, QPointF local, QPointF global, Qt::MouseButton button) {
    QMouseEvent press(QEvent::MouseButtonPress, local, global, button, button, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, local, global, button, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &release);
}

}  // namespace

void click_client(Window window, int x, int y, int right_button) {
    QtWindow* record = qt_window(window);
    if (record == nullptr || record->client == nullptr) return;
    QWidget* client = record->client;
    const double ratio = qt_pixel_ratio(client);
    const QPointF at(x / ratio, y / ratio);
    const QPointF global = client->mapToGlobal(at);
    const Qt::MouseButton button = right_button ? Qt::RightButton : Qt::LeftButton;
    QWidget* hit = client->childAt(at.toPoint());
    if (record->gl != nullptr && (hit == nullptr || hit == record->gl->container)) {
        GlWindow* gl_window = record->gl->gl_window;
        press_and_release(gl_window, gl_window->mapFromGlobal(global), global, button);
        return;
    }
    if (hit == nullptr) hit = client;
    press_and_release(hit, hit->mapFromGlobal(global), global, button);
}

void move_pointer_client(Window window, int x, int y) {
    QtWindow* record = qt_window(window);
    if (record == nullptr || record->client == nullptr) return;
    QWidget* client = record->client;
    const double ratio = qt_pixel_ratio(client);
    const QPointF global = client->mapToGlobal(QPointF(x / ratio, y / ratio));
    QObject* target = client;
    QPointF local = QPointF(x / ratio, y / ratio);
    if (record->gl != nullptr) {
        target = record->gl->gl_window;
        local = record->gl->gl_window->mapFromGlobal(global);
    }
    QMouseEvent move(QEvent::MouseMove, local, global, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &move);
}

void press_close_box(Window window) {
    QtWindow* record = qt_window(window);
    if (record == nullptr || record->kind != QtKind::TOP_LEVEL || record->widget == nullptr) return;
    record->widget->close();
}
