// The only Qt use in the tests: reading a pixel of a saved screenshot, and
// answering real modal boxes and file dialogs the way a person would.
#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
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

namespace {
void press_when_shown(const std::string& label, int attempts) {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) {
        if (attempts > 0) QTimer::singleShot(20, [label, attempts] { press_when_shown(label, attempts - 1); });
        return;
    }
    seen_box = box->windowTitle().toStdString() + "|" + box->text().toStdString() + "|";
    QAbstractButton* pressed = nullptr;
    for (QAbstractButton* button : box->buttons()) {
        seen_box += "[" + button->text().toStdString() + "]";
        if (button->text().toStdString() == label) pressed = button;
    }
    if (pressed != nullptr) pressed->click();
}
}  // namespace

void answer_message_box_with(const std::string& label) {
    seen_box.clear();
    QTimer::singleShot(20, [label] { press_when_shown(label, 200); });
}

namespace {
std::string seen_dialog;
void fill_when_shown(std::string name, int attempts) {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr) {
        if (attempts > 0) QTimer::singleShot(20, [name, attempts] { fill_when_shown(name, attempts - 1); });
        return;
    }
    auto* edit = dialog->findChild<QLineEdit*>("fileNameEdit");
    seen_dialog = dialog->windowTitle().toStdString() + "|" + dialog->nameFilters().join(";").toStdString() + "|" +
                  dialog->defaultSuffix().toStdString() + "|" + (edit != nullptr ? edit->text().toStdString() : "?");
    if (name.empty() || edit == nullptr) {
        dialog->reject();
        return;
    }
    edit->setText(QString::fromStdString(name));
    QMetaObject::invokeMethod(dialog, "accept");
}
}  // namespace

void answer_file_dialog(const std::string& typed_name) {
    seen_dialog.clear();
    QTimer::singleShot(20, [typed_name] { fill_when_shown(typed_name, 200); });
}

std::string last_file_dialog() { return seen_dialog; }
