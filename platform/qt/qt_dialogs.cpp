// Dialog pages and modal dialogs built from a control table. Rectangles are
// in dialog units: a quarter of the font's average character width across,
// an eighth of its height down.
#include <QCheckBox>
#include <QCoreApplication>
#include <QDialog>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "platform/qt/qt_state.h"

namespace {

ModalDialogHook modal_hook = nullptr;

struct DialogUnits {
    int char_width;
    int char_height;
    QRect map(int x, int y, int width, int height) const {
        auto across = [this](int v) { return (v * char_width + 2) / 4; };
        auto down = [this](int v) { return (v * char_height + 4) / 8; };
        return QRect(across(x), down(y), across(width), down(height));
    }
};

QFont dialog_font(const DialogTemplate& dialog) {
    QFont font;
    QStringList families;
    if (dialog.font != nullptr && dialog.font[0] != '\0') families << QString::fromUtf8(dialog.font);
    // The template's font may not exist here; a plain sans face of the same
    // size keeps the layout's proportions.
    families << "DejaVu Sans" << "Sans Serif";
    font.setFamilies(families);
    font.setPointSize(dialog.font_points > 0 ? dialog.font_points : 8);
    return font;
}

DialogUnits units_of(const QFont& font) {
    QFontMetrics metrics(font);
    const int sample = metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    return DialogUnits{std::max(1, (sample / 26 + 1) / 2), std::max(1, metrics.height())};
}

void command_to(Window dialog, int id) {
    send_message(dialog, WM_COMMAND, static_cast<WPARAM>(id & 0xFFFF), 0);
}

// Builds the controls on surface; returns the dialog's own size in pixels.
QSize build_controls(QtWindow* record, QWidget* surface, const DialogTemplate& dialog) {
    const QFont font = dialog_font(dialog);
    const DialogUnits units = units_of(font);
    surface->setFont(font);
    const Window window = record->window;
    for (int i = 0; dialog.controls != nullptr && i < dialog.control_count; ++i) {
        const DialogControl& control = dialog.controls[i];
        const QString text = QString::fromUtf8(control.text != nullptr ? control.text : "");
        const int id = control.id;
        QWidget* widget = nullptr;
        switch (control.kind) {
            case CONTROL_DEFAULT_BUTTON:
            case CONTROL_BUTTON: {
                auto* button = new QPushButton(text, surface);
                button->setDefault(control.kind == CONTROL_DEFAULT_BUTTON);
                QObject::connect(button, &QPushButton::clicked, button, [window, id](bool) { command_to(window, id); });
                widget = button;
                break;
            }
            case CONTROL_CHECKBOX: {
                auto* box = new QCheckBox(text, surface);
                QObject::connect(box, &QCheckBox::clicked, box, [window, id](bool) { command_to(window, id); });
                widget = box;
                break;
            }
            case CONTROL_EDIT: {
                auto* edit = new QLineEdit(surface);
                // A file dropped here belongs to the window, not to the text.
                edit->setAcceptDrops(false);
                edit->setText(text);
                widget = edit;
                break;
            }
            case CONTROL_STATIC:
            default: {
                auto* label = new QLabel(text, surface);
                label->setTextFormat(Qt::PlainText);
                label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
                widget = label;
                break;
            }
        }
        widget->setGeometry(units.map(control.x, control.y, control.width, control.height));
        widget->show();
        record->controls.push_back(DialogControlRecord{id, control.kind, widget});
    }
    const QRect own = units.map(dialog.x, dialog.y, dialog.width, dialog.height);
    surface->move(own.topLeft());
    return own.size();
}

QWidget* find_control(Window dialog, int id, ControlKind* kind = nullptr) {
    QtWindow* record = qt_window(dialog);
    if (record == nullptr) return nullptr;
    for (const DialogControlRecord& control : record->controls) {
        if (control.id == id) {
            if (kind != nullptr) *kind = control.kind;
            return control.widget;
        }
    }
    return nullptr;
}

// A modal dialog: the close box and Escape ask the procedure for IDCANCEL;
// the dialog closes with IDCANCEL even when the procedure ignores it.
class ModalDialog : public QDialog {
public:
    ModalDialog(Window window, QWidget* owner) : QDialog(owner), window_(window) {}
    void reject() override {
        command_to(window_, IDCANCEL);
        QtWindow* record = qt_window(window_);
        if (record != nullptr && !record->dialog_ended) end_dialog(window_, IDCANCEL);
    }

private:
    Window window_;
};

}  // namespace

LRESULT qt_dialog_class_proc(Window window, unsigned message, WPARAM wparam, LPARAM lparam) {
    QtWindow* record = qt_window(window);
    // WM_CREATE arrives before the dialog procedure is known; dialogs start
    // with WM_INITDIALOG instead.
    if (record == nullptr || record->dialog_proc == nullptr) return 0;
    return record->dialog_proc(window, message, wparam, lparam);
}

Window create_dialog_page(const DialogTemplate& page, Window parent, WindowProc proc) {
    QtWindow* parent_record = qt_window(parent);
    if (parent_record == nullptr || parent_record->client == nullptr || proc == nullptr) return NO_WINDOW;
    const Window window = create_window(QT_DIALOG_CLASS, page.caption != nullptr ? page.caption : "", WS_CHILD,
                                        0, 0, 0, 0, parent, 0);
    QtWindow* record = qt_window(window);
    if (record == nullptr) return NO_WINDOW;
    parent_record = qt_window(parent);
    record->kind = QtKind::DIALOG_PAGE;
    auto* surface = new QWidget(parent_record->client);
    record->widget = surface;
    record->client = surface;
    surface->resize(build_controls(record, surface, page));
    surface->show();
    surface->raise();
    record->dialog_proc = proc;
    send_message(window, WM_INITDIALOG, 0, 0);
    return window;
}

int run_modal_dialog(const DialogTemplate& dialog, Window owner, WindowProc proc) {
    if (!is_main_thread() || proc == nullptr) return IDCANCEL;
    const Window window = create_window(QT_DIALOG_CLASS, dialog.caption != nullptr ? dialog.caption : "",
                                        WS_CHILD, 0, 0, 0, 0, owner, 0);
    QtWindow* record = qt_window(window);
    if (record == nullptr) return IDCANCEL;
    record->kind = QtKind::MODAL_DIALOG;
    auto* box = new ModalDialog(window, qt_owner_widget(owner));
    box->setWindowTitle(QString::fromUtf8(dialog.caption != nullptr ? dialog.caption : ""));
    record->widget = box;
    record->client = box;
    record->dialog = box;
    const QSize size = build_controls(record, box, dialog);
    box->setFixedSize(size);
    record->dialog_proc = proc;
    send_message(window, WM_INITDIALOG, 0, 0);

    QPointer<QDialog> guard = box;
    record = qt_window(window);
    if (record != nullptr && !record->dialog_ended) {
        if (modal_hook != nullptr) {
            modal_hook(window);
        } else if (guard != nullptr) {
            guard->exec();
        }
    }
    record = qt_window(window);
    const int code = record != nullptr && record->dialog_ended ? record->dialog_code : IDCANCEL;
    destroy_window(window);
    return code;
}

void end_dialog(Window dialog, int code) {
    QtWindow* record = qt_window(dialog);
    if (record == nullptr) return;
    if (record->kind == QtKind::MODAL_DIALOG) {
        record->dialog_ended = 1;
        record->dialog_code = code;
        if (record->dialog != nullptr && record->dialog->isVisible()) record->dialog->done(code);
    } else if (record->kind == QtKind::DIALOG_PAGE && record->widget != nullptr) {
        record->widget->hide();
    }
}

void set_modal_dialog_hook(ModalDialogHook hook) { modal_hook = hook; }

void set_dialog_item_text(Window dialog, int id, const char* text) {
    QWidget* control = find_control(dialog, id);
    const QString value = QString::fromUtf8(text != nullptr ? text : "");
    if (auto* edit = qobject_cast<QLineEdit*>(control)) edit->setText(value);
    else if (auto* label = qobject_cast<QLabel*>(control)) label->setText(value);
    else if (auto* button = qobject_cast<QAbstractButton*>(control)) button->setText(value);
}

int get_dialog_item_text(Window dialog, int id, char* buffer, int capacity) {
    QWidget* control = find_control(dialog, id);
    QString value;
    if (auto* edit = qobject_cast<QLineEdit*>(control)) value = edit->text();
    else if (auto* label = qobject_cast<QLabel*>(control)) value = label->text();
    else if (auto* button = qobject_cast<QAbstractButton*>(control)) value = button->text();
    return qt_copy_text(value.toStdString(), buffer, capacity);
}

void set_dialog_check(Window dialog, int id, int checked) {
    if (auto* box = qobject_cast<QCheckBox*>(find_control(dialog, id))) box->setChecked(checked != 0);
}

int get_dialog_check(Window dialog, int id) {
    auto* box = qobject_cast<QCheckBox*>(find_control(dialog, id));
    return box != nullptr && box->isChecked() ? 1 : 0;
}

void click_dialog_button(Window dialog, int id) {
    auto* button = qobject_cast<QAbstractButton*>(find_control(dialog, id));
    if (button != nullptr && button->isEnabled()) button->click();
}

// Key presses reach the field as the keyboard's would: select all, erase,
// then one key per character.
void type_dialog_item_text(Window dialog, int id, const char* text) {
    auto* edit = qobject_cast<QLineEdit*>(find_control(dialog, id));
    if (edit == nullptr || !edit->isEnabled()) return;
    edit->setFocus(Qt::OtherFocusReason);
    auto key = [edit](int code, Qt::KeyboardModifiers modifiers, const QString& typed) {
        QKeyEvent press(QEvent::KeyPress, code, modifiers, typed);
        QCoreApplication::sendEvent(edit, &press);
        QKeyEvent release(QEvent::KeyRelease, code, modifiers, typed);
        QCoreApplication::sendEvent(edit, &release);
    };
    key(Qt::Key_A, Qt::ControlModifier, QString());
    key(Qt::Key_Backspace, Qt::NoModifier, QString());
    for (const QChar c : QString::fromUtf8(text != nullptr ? text : "")) key(c.toUpper().unicode(), Qt::NoModifier, QString(c));
}
