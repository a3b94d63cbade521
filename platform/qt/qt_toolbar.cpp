// Toolbars from an entry table: check-group, check and push buttons with
// images from a strip, tooltips asked of the parent, WM_COMMAND on a click.
#include <QAction>
#include <QHelpEvent>
#include <QPixmap>
#include <QToolBar>
#include <QToolTip>

#include <cstring>

#include "platform/qt/qt_state.h"

namespace {

constexpr int IMAGE_WIDTH = 16;
constexpr int IMAGE_HEIGHT = 15;

ToolButton* find_button(QtWindow* record, int id) {
    if (record == nullptr || record->kind != QtKind::TOOLBAR) return nullptr;
    for (ToolButton& button : record->tool_buttons) {
        if (button.id == id) return &button;
    }
    return nullptr;
}

// Checks a button; a check-group button releases the others of its group.
void set_checked(QtWindow* record, ToolButton& button, int checked) {
    if (button.kind == TOOL_PUSH) return;
    if (checked && button.kind == TOOL_CHECK_GROUP) {
        for (ToolButton& other : record->tool_buttons) {
            if (&other != &button && other.kind == TOOL_CHECK_GROUP && other.group == button.group) {
                other.action->setChecked(false);
            }
        }
    }
    button.action->setChecked(checked != 0);
}

// The tooltip text: what the parent supplies for TTN_NEEDTEXT, else the
// entry's own text.
std::string tooltip_text(QtWindow* record, const ToolButton& button) {
    NotifyHeader header{};
    header.from = record->window;
    header.id_from = button.id;
    header.code = TTN_NEEDTEXT;
    send_message(record->parent, WM_NOTIFY, static_cast<WPARAM>(record->child_id),
                 reinterpret_cast<LPARAM>(&header));
    header.text[sizeof header.text - 1] = '\0';
    if (header.text[0] != '\0') return header.text;
    return button.tooltip;
}

// Qt asks each button widget for its tooltip; the request goes to the
// window procedure as the window system's tooltip control would send it.
class ToolTipRequest : public QObject {
public:
    ToolTipRequest(Window toolbar, int id, QObject* parent) : QObject(parent), toolbar_(toolbar), id_(id) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::ToolTip) return QObject::eventFilter(watched, event);
        QtWindow* record = qt_window(toolbar_);
        ToolButton* button = find_button(record, id_);
        if (button == nullptr) return false;
        const std::string text = tooltip_text(record, *button);
        auto* help = static_cast<QHelpEvent*>(event);
        QToolTip::showText(help->globalPos(), QString::fromUtf8(text.c_str()), qobject_cast<QWidget*>(watched));
        return true;
    }

private:
    Window toolbar_;
    int id_;
};

void button_pressed(Window toolbar, int id) {
    QtWindow* record = qt_window(toolbar);
    ToolButton* button = find_button(record, id);
    if (button == nullptr) return;
    // Qt has already flipped a checkable button; a group button stays down.
    if (button->kind == TOOL_CHECK_GROUP) set_checked(record, *button, 1);
    send_message(record->parent, WM_COMMAND, static_cast<WPARAM>(id), static_cast<LPARAM>(toolbar));
}

}  // namespace

Window create_toolbar(Window parent, int child_id, const char* image_strip, int image_count,
                      const ToolbarEntry* entries, int count) {
    QtWindow* parent_record = nullptr;
    QtWindow* record = qt_create_child(parent, QT_TOOLBAR_CLASS, child_id, 0, 0, 0, 0, &parent_record);
    if (record == nullptr) return NO_WINDOW;
    const Window window = record->window;

    auto* bar = new QToolBar(parent_record->client);
    // Native, so it stays above a GL surface's native window.
    bar->setAttribute(Qt::WA_NativeWindow);
    bar->setAutoFillBackground(true);
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setIconSize(QSize(IMAGE_WIDTH, IMAGE_HEIGHT));
    bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    bar->setContextMenuPolicy(Qt::PreventContextMenu);
    // Compact buttons, about as high as the window system's 16-pixel ones.
    bar->setStyleSheet("QToolBar { padding: 0px; spacing: 1px; border: 0px; }"
                       "QToolButton { padding: 1px; margin: 0px; }"
                       "QToolButton:checked { background: #c4c4c4; border: 1px solid #7a7a7a; }");

    QPixmap strip;
    if (image_strip != nullptr) strip.load(QString::fromUtf8(image_strip));
    int group = 0;
    for (int i = 0; entries != nullptr && i < count; ++i) {
        const ToolbarEntry& entry = entries[i];
        if (entry.kind == TOOL_SEPARATOR) {
            bar->addSeparator();
            ++group;
            continue;
        }
        QIcon icon;
        if (!strip.isNull() && entry.image >= 0 && entry.image < image_count &&
            (entry.image + 1) * IMAGE_WIDTH <= strip.width()) {
            icon = QIcon(strip.copy(entry.image * IMAGE_WIDTH, 0, IMAGE_WIDTH, IMAGE_HEIGHT));
        }
        const QString text = QString::fromUtf8(entry.tooltip != nullptr ? entry.tooltip : "");
        QAction* action = bar->addAction(icon, text);
        action->setCheckable(entry.kind != TOOL_PUSH);
        record->tool_buttons.push_back(
            ToolButton{entry.id, entry.kind, group, action, entry.tooltip != nullptr ? entry.tooltip : ""});
        const int id = entry.id;
        QObject::connect(action, &QAction::triggered, bar, [window, id](bool) { button_pressed(window, id); });
        if (QWidget* button_widget = bar->widgetForAction(action)) {
            button_widget->installEventFilter(new ToolTipRequest(window, id, button_widget));
        }
    }
    for (int i = 0; entries != nullptr && i < count; ++i) {
        ToolButton* button = find_button(record, entries[i].id);
        if (button != nullptr && entries[i].kind != TOOL_SEPARATOR && entries[i].checked) {
            set_checked(record, *button, 1);
        }
    }
    record->widget = bar;
    record->client = bar;
    record->toolbar = bar;
    record->bar_height = bar->sizeHint().height();
    bar->show();
    qt_place_bars(parent_record);
    return window;
}

void toolbar_check(Window toolbar, int id, int checked) {
    QtWindow* record = qt_window(toolbar);
    ToolButton* button = find_button(record, id);
    if (button != nullptr) set_checked(record, *button, checked);
}

int toolbar_is_checked(Window toolbar, int id) {
    ToolButton* button = find_button(qt_window(toolbar), id);
    return button != nullptr && button->action->isChecked() ? 1 : 0;
}

int toolbar_is_enabled(Window toolbar, int id) {
    ToolButton* button = find_button(qt_window(toolbar), id);
    return button != nullptr && button->action->isEnabled() ? 1 : 0;
}

void toolbar_enable(Window toolbar, int id, int enabled) {
    ToolButton* button = find_button(qt_window(toolbar), id);
    if (button != nullptr) button->action->setEnabled(enabled != 0);
}

void toolbar_click(Window toolbar, int id) {
    ToolButton* button = find_button(qt_window(toolbar), id);
    // A greyed button does nothing, as under the mouse.
    if (button != nullptr && button->action->isEnabled()) button->action->trigger();
}

int toolbar_tooltip(Window toolbar, int id, char* buffer, int capacity) {
    QtWindow* record = qt_window(toolbar);
    ToolButton* button = find_button(record, id);
    if (button == nullptr) return qt_copy_text("", buffer, capacity);
    return qt_copy_text(tooltip_text(record, *button), buffer, capacity);
}

void toolbar_set_button_pitch(Window toolbar, int pitch) {
    QtWindow* record = qt_window(toolbar);
    if (record == nullptr || record->toolbar == nullptr || pitch <= 1) return;
    // The bar's spacing is one pixel (its style sheet), so a button is one
    // pixel narrower than the pitch.
    for (ToolButton& button : record->tool_buttons) {
        if (QWidget* widget = record->toolbar->widgetForAction(button.action)) widget->setFixedWidth(pitch - 1);
    }
    record->toolbar->updateGeometry();
}

int toolbar_button_rect(Window toolbar, int id, int* x, int* y, int* width, int* height) {
    QtWindow* record = qt_window(toolbar);
    ToolButton* button = find_button(record, id);
    if (button == nullptr || record->toolbar == nullptr) return 0;
    QWidget* widget = record->toolbar->widgetForAction(button->action);
    QtWindow* parent = qt_window(record->parent);
    if (widget == nullptr || parent == nullptr || parent->client == nullptr) return 0;
    const double ratio = qt_pixel_ratio(parent->client);
    const QPoint at = widget->mapTo(parent->client.data(), QPoint(0, 0));
    if (x) *x = static_cast<int>(at.x() * ratio + 0.5);
    if (y) *y = static_cast<int>(at.y() * ratio + 0.5);
    if (width) *width = static_cast<int>(widget->width() * ratio + 0.5);
    if (height) *height = static_cast<int>(widget->height() * ratio + 0.5);
    return 1;
}
