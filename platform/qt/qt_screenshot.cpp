// Screenshots of a top-level window as the screen shows it: the widgets and
// the GL surface's last frame together.
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QWidget>

#include "platform/qt/qt_state.h"

int save_window_image(Window window, const char* png_path) {
    QtWindow* record = qt_window(window);
    if (record == nullptr || record->widget == nullptr || png_path == nullptr) return 0;
    QWidget* top = record->widget->window();
    if (!top->isVisible()) return 0;
    // Paint the widgets now so the picture is current.
    top->repaint();
    QScreen* screen = top->screen();
    if (screen == nullptr) screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return 0;
    const QPixmap picture = screen->grabWindow(top->winId());
    if (picture.isNull()) return 0;
    return picture.save(QString::fromUtf8(png_path), "PNG") ? 1 : 0;
}
