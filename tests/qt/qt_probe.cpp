// The only Qt use in the tests: reading a pixel of a saved screenshot, and
// answering a real modal box the way a person would.
#include <QAbstractButton>
#include <QApplication>
#include <QImage>
#include <QMessageBox>
#include <QTimer>

#include "tests/qt/qt_test_support.h"

long png_pixel(const std::string& path, int x, int y) {
    QImage image(QString::fromStdString(path));
    if (image.isNull() || x < 0 || y < 0 || x >= image.width() || y >= image.height()) return -1;
    return static_cast<long>(image.pixel(x, y) & 0xFFFFFFu);
}

namespace {
std::string seen_box;
void answer_when_shown(int press_ok, int attempts) {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) {
        if (attempts > 0) QTimer::singleShot(20, [press_ok, attempts] { answer_when_shown(press_ok, attempts - 1); });
        return;
    }
    seen_box = box->windowTitle().toStdString() + "|" + box->text().toStdString() + "|" +
               std::to_string(box->buttons().size());
    QAbstractButton* button = box->button(press_ok ? QMessageBox::Ok : QMessageBox::Cancel);
    if (button != nullptr) button->click();
}
}  // namespace

void answer_message_box(int press_ok) {
    seen_box.clear();
    QTimer::singleShot(20, [press_ok] { answer_when_shown(press_ok, 200); });
}

std::string last_message_box() { return seen_box; }
