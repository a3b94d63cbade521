// Input made as the user would make it, for tests: real Qt mouse events at a
// point of the client area (presses and moves), and the close box.
#include <QApplication>
#include <QMouseEvent>
#include <QWheelEvent>
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

void wheel_client(Window window, int x, int y, int notches) {
    QtWindow* record = qt_window(window);
    if (record == nullptr || record->gl == nullptr || notches == 0) return;
    GlWindow* gl_window = record->gl->gl_window;
    const double ratio = gl_window->devicePixelRatio();
    const QPointF at(x / ratio, y / ratio);
    QWheelEvent turn(at, gl_window->mapToGlobal(at), QPoint(), QPoint(0, notches * WHEEL_DELTA), Qt::NoButton,
                     Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(gl_window, &turn);
}

void drag_client(Window window, int x0, int y0, int x1, int y1, int middle_button) {
    QtWindow* record = qt_window(window);
    if (record == nullptr || record->gl == nullptr) return;
    GlWindow* gl_window = record->gl->gl_window;
    const double ratio = gl_window->devicePixelRatio();
    const Qt::MouseButton button = middle_button ? Qt::MiddleButton : Qt::LeftButton;
    auto at = [&](double t) { return QPointF((x0 + (x1 - x0) * t) / ratio, (y0 + (y1 - y0) * t) / ratio); };
    QMouseEvent press(QEvent::MouseButtonPress, at(0), gl_window->mapToGlobal(at(0)), button, button,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(gl_window, &press);
    // A person's drag arrives as several moves.
    constexpr int STEPS = 4;
    for (int i = 1; i <= STEPS; ++i) {
        const QPointF point = at(static_cast<double>(i) / STEPS);
        QMouseEvent move(QEvent::MouseMove, point, gl_window->mapToGlobal(point), Qt::NoButton, button,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(gl_window, &move);
    }
    QMouseEvent release(QEvent::MouseButtonRelease, at(1), gl_window->mapToGlobal(at(1)), button, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(gl_window, &release);
}

void press_close_box(Window window) {
    QtWindow* record = qt_window(window);
    if (record == nullptr || record->kind != QtKind::TOP_LEVEL || record->widget == nullptr) return;
    record->widget->close();
}
