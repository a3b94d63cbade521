// Painted child windows: a plain child widget whose paint event becomes
// WM_PAINT to its window procedure, which draws through the simple calls
// below on the painter of that event.
#include <QPaintEvent>
#include <QPainter>
#include <QWidget>

#include "platform/qt/qt_state.h"

namespace {

class PaintArea : public QWidget {
public:
    PaintArea(Window owner_window, QWidget* parent) : QWidget(parent), owner(owner_window) {
        // Presses reach the parent, whose window procedure offers the menus.
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    Window owner;

protected:
    void paintEvent(QPaintEvent*) override;
};

// The child being painted and its painter, set only during its WM_PAINT.
Window painting = NO_WINDOW;
QPainter* painter = nullptr;

void PaintArea::paintEvent(QPaintEvent*) {
    QPainter on_this(this);
    on_this.setRenderHint(QPainter::Antialiasing, true);
    const Window outer = painting;
    QPainter* outer_painter = painter;
    painting = owner;
    painter = &on_this;
    send_message(owner, WM_PAINT, 0, 0);
    painting = outer;
    painter = outer_painter;
}

QPainter* painter_of(Window child) { return child != NO_WINDOW && child == painting ? painter : nullptr; }

QColor colour(unsigned rgb) { return QColor(static_cast<int>((rgb >> 16) & 0xFF), static_cast<int>((rgb >> 8) & 0xFF),
                                            static_cast<int>(rgb & 0xFF)); }

}  // namespace

QWidget* qt_create_paint_area(Window owner, QWidget* parent) { return new PaintArea(owner, parent); }

void paint_fill_rect(Window child, int x, int y, int width, int height, unsigned rgb) {
    if (QPainter* p = painter_of(child)) p->fillRect(x, y, width, height, colour(rgb));
}

void paint_line(Window child, double x0, double y0, double x1, double y1, unsigned rgb, int pen_width) {
    QPainter* p = painter_of(child);
    if (p == nullptr) return;
    p->setPen(QPen(colour(rgb), pen_width < 1 ? 1 : pen_width));
    p->drawLine(QPointF(x0, y0), QPointF(x1, y1));
}

int paint_text(Window child, int x, int y, const char* text, unsigned rgb, int align, int vertical) {
    QPainter* p = painter_of(child);
    if (p == nullptr || text == nullptr) return 0;
    const QString string = QString::fromUtf8(text);
    const int width = p->fontMetrics().horizontalAdvance(string);
    const int start = align == 1 ? -width / 2 : align == 2 ? -width : 0;
    p->setPen(colour(rgb));
    p->save();
    p->translate(x, y);
    if (vertical) p->rotate(-90.0);
    p->drawText(start, 0, string);
    p->restore();
    return width;
}

int paint_text_height(Window child) {
    QPainter* p = painter_of(child);
    return p == nullptr ? 0 : p->fontMetrics().height();
}
