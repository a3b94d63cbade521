// Screenshots of a top-level window as a person sees it: the widgets drawn
// by Qt, the GL surface's last frame under them, and the toolbar and status
// bar over that. The picture is composed from the window's own contents, so
// other windows lying over it on the screen do not show up in it.
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QWidget>

#include <vector>

#include "platform/qt/qt_gl_surface.h"
#include "platform/qt/qt_state.h"

namespace {

QtWindow* top_level_of(QtWindow* record) {
    for (int depth = 0; record != nullptr && record->kind != QtKind::TOP_LEVEL && depth < 16; ++depth) {
        record = qt_window(record->parent);
    }
    return record != nullptr && record->kind == QtKind::TOP_LEVEL ? record : nullptr;
}

void draw_gl_frame(QtWindow* top, QWidget* frame_widget, QPainter& painter) {
    int width = 0, height = 0;
    gl_read_pixels(top->window, nullptr, 0, &width, &height);
    if (width <= 0 || height <= 0) return;
    std::vector<unsigned char> rgba(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
    if (!gl_read_pixels(top->window, rgba.data(), static_cast<int>(rgba.size()), &width, &height)) return;
    const QImage frame(rgba.data(), width, height, width * 4, QImage::Format_RGBX8888);
    QWidget* container = top->gl->container;
    const QRect area(container->mapTo(frame_widget, QPoint(0, 0)), container->size());
    painter.drawImage(area, frame);
    // The bars lie over the GL area.
    for (Window child : qt_children_of(top->window)) {
        QtWindow* bar = qt_window(child);
        if (bar == nullptr || bar->widget == nullptr || !bar->widget->isVisible()) continue;
        if (bar->kind != QtKind::TOOLBAR && bar->kind != QtKind::STATUS_BAR) continue;
        painter.drawPixmap(bar->widget->mapTo(frame_widget, QPoint(0, 0)), bar->widget->grab());
    }
}

}  // namespace

int save_window_image(Window window, const char* png_path) {
    QtWindow* top = top_level_of(qt_window(window));
    if (top == nullptr || top->widget == nullptr || png_path == nullptr) return 0;
    QWidget* frame_widget = top->widget;
    QPixmap picture = frame_widget->grab();
    if (picture.isNull()) return 0;
    if (top->gl != nullptr) {
        QPainter painter(&picture);
        draw_gl_frame(top, frame_widget, painter);
    }
    return picture.save(QString::fromUtf8(png_path), "PNG") ? 1 : 0;
}
