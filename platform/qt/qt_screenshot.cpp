// What the screen shows of a window, read back from the display server (on
// X11 the pixels the X server holds), so overlapping windows, bars drawn in
// the wrong colours and GL surfaces that never reached the screen all show
// up as a person would see them.
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QWidget>

#include <cstring>

#include "platform/qt/qt_state.h"

namespace {

// Grabs the area of a widget from the screen it is on, in device pixels.
QImage grab_from_screen(QWidget* area) {
    if (area == nullptr || !area->isVisible() || area->width() <= 0 || area->height() <= 0) return {};
    QWidget* top = area->window();
    QScreen* screen = top->screen();
    if (screen == nullptr) return {};
    const QPoint at = area->mapTo(top, QPoint(0, 0));
    const QPixmap picture = screen->grabWindow(top->winId(), at.x(), at.y(), area->width(), area->height());
    if (picture.isNull()) return {};
    return picture.toImage().convertToFormat(QImage::Format_RGBX8888);
}

}  // namespace

int read_screen_pixels(Window window, unsigned char* rgba, int capacity, int* width, int* height) {
    QtWindow* record = qt_window(window);
    if (width != nullptr) *width = 0;
    if (height != nullptr) *height = 0;
    if (record == nullptr) return 0;
    const QImage image = grab_from_screen(record->kind == QtKind::TOP_LEVEL ? record->client : record->widget);
    if (image.isNull()) return 0;
    if (width != nullptr) *width = image.width();
    if (height != nullptr) *height = image.height();
    const std::size_t row = static_cast<std::size_t>(image.width()) * 4;
    const std::size_t size = row * static_cast<std::size_t>(image.height());
    if (rgba == nullptr || capacity < 0 || static_cast<std::size_t>(capacity) < size) return 0;
    for (int y = 0; y < image.height(); ++y) {
        std::memcpy(rgba + row * static_cast<std::size_t>(y), image.constScanLine(y), row);
    }
    return 1;
}

int save_window_image(Window window, const char* png_path) {
    QtWindow* record = qt_window(window);
    if (record == nullptr || png_path == nullptr) return 0;
    // A top-level window with its menu bar, or a child on its own.
    const QImage image = grab_from_screen(record->widget);
    if (image.isNull()) return 0;
    return image.save(QString::fromUtf8(png_path), "PNG") ? 1 : 0;
}
