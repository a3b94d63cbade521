// Status bars with one part, kept across the bottom of the parent, and the
// geometry of child windows.
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>

#include "platform/qt/qt_state.h"

namespace {
constexpr int STATUS_BAR_HEIGHT = 20;
}

Window create_status_bar(Window parent, int child_id) {
    QtWindow* parent_record = nullptr;
    QtWindow* record = qt_create_child(parent, QT_STATUS_BAR_CLASS, child_id, 0, 0, 0, 0, &parent_record);
    if (record == nullptr) return NO_WINDOW;
    const Window window = record->window;

    auto* bar = new QFrame(parent_record->client);
    bar->setAttribute(Qt::WA_NativeWindow);  // above a GL surface
    bar->setAutoFillBackground(true);
    bar->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto* layout = new QHBoxLayout(bar);
    layout->setContentsMargins(4, 0, 4, 0);
    auto* label = new QLabel(bar);
    label->setTextFormat(Qt::PlainText);
    layout->addWidget(label);
    record->widget = bar;
    record->client = bar;
    record->status_label = label;
    record->bar_height = std::max(STATUS_BAR_HEIGHT, label->sizeHint().height());
    bar->show();
    qt_place_bars(parent_record);
    return window;
}

void status_bar_set_text(Window status_bar, const char* text) {
    QtWindow* record = qt_window(status_bar);
    if (record == nullptr || record->kind != QtKind::STATUS_BAR) return;
    record->status_text = text != nullptr ? text : "";
    if (record->status_label != nullptr) record->status_label->setText(QString::fromUtf8(record->status_text.c_str()));
}

int status_bar_get_text(Window status_bar, char* buffer, int capacity) {
    QtWindow* record = qt_window(status_bar);
    if (record == nullptr || record->kind != QtKind::STATUS_BAR) return qt_copy_text("", buffer, capacity);
    return qt_copy_text(record->status_text, buffer, capacity);
}

void set_child_geometry(Window child, int x, int y, int width, int height) {
    QtWindow* record = qt_window(child);
    if (record == nullptr || record->widget == nullptr) return;
    if (record->kind == QtKind::TOOLBAR || record->kind == QtKind::STATUS_BAR) {
        // Bars keep to their edge across the full width, never lower than
        // their buttons or text need.
        const int natural = record->kind == QtKind::TOOLBAR ? record->widget->sizeHint().height()
                                                            : record->status_label->sizeHint().height();
        record->bar_height = std::max(height, natural);
        qt_place_bars(qt_window(record->parent));
        return;
    }
    if (record->kind == QtKind::TOP_LEVEL) return;
    record->widget->setGeometry(x, y, std::max(0, width), std::max(0, height));
}

// A second part at the right of the bar, made on first use.
void status_bar_set_part_text(Window status_bar, int part, const char* text) {
    QtWindow* record = qt_window(status_bar);
    if (part != 1 || record == nullptr || record->kind != QtKind::STATUS_BAR || record->widget == nullptr) return;
    auto* label = record->widget->findChild<QLabel*>(QStringLiteral("part1"));
    if (label == nullptr) {
        label = new QLabel(record->widget);
        label->setObjectName(QStringLiteral("part1"));
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        record->widget->layout()->addWidget(label);
        label->show();
    }
    label->setText(QString::fromUtf8(text != nullptr ? text : ""));
}

int status_bar_get_part_text(Window status_bar, int part, char* buffer, int capacity) {
    QtWindow* record = qt_window(status_bar);
    if (part == 0) return status_bar_get_text(status_bar, buffer, capacity);
    QLabel* label = record != nullptr && record->kind == QtKind::STATUS_BAR && record->widget != nullptr && part == 1
                        ? record->widget->findChild<QLabel*>(QStringLiteral("part1"))
                        : nullptr;
    return qt_copy_text(label != nullptr ? label->text().toStdString() : std::string(), buffer, capacity);
}
