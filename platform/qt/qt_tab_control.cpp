// The tab control: tabs with text and image, selection changes and tooltip
// requests reported to the parent as WM_NOTIFY.
#include <QFrame>
#include <QHelpEvent>
#include <QIcon>
#include <QTabBar>
#include <QToolTip>
#include <QVBoxLayout>

#include "platform/qt/qt_state.h"

namespace {

int inserting = 0;  // inserting a tab is not a selection by the user

void notify_parent(QtWindow* record, int id_from, int code, NotifyHeader* header) {
    header->from = record->window;
    header->id_from = id_from;
    header->code = code;
    send_message(record->parent, WM_NOTIFY, static_cast<WPARAM>(record->child_id),
                 reinterpret_cast<LPARAM>(header));
}

std::string tooltip_of(QtWindow* record, int index) {
    NotifyHeader header{};
    notify_parent(record, index, TTN_NEEDTEXT, &header);
    header.text[sizeof header.text - 1] = '\0';
    return header.text;
}

class TabToolTips : public QObject {
public:
    TabToolTips(Window tab, QTabBar* bar) : QObject(bar), tab_(tab), bar_(bar) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::ToolTip) return QObject::eventFilter(watched, event);
        QtWindow* record = qt_window(tab_);
        auto* help = static_cast<QHelpEvent*>(event);
        const int index = bar_->tabAt(help->pos());
        if (record == nullptr || index < 0) {
            QToolTip::hideText();
            return true;
        }
        const std::string text = tooltip_of(record, index);
        if (text.empty()) {
            QToolTip::hideText();
        } else {
            QToolTip::showText(help->globalPos(), QString::fromUtf8(text.c_str()), bar_);
        }
        return true;
    }

private:
    Window tab_;
    QTabBar* bar_;
};

QtWindow* find_tab(Window tab) {
    QtWindow* record = qt_window(tab);
    return record != nullptr && record->kind == QtKind::TAB_CONTROL && record->tab_bar != nullptr ? record : nullptr;
}

}  // namespace

Window create_tab_control(Window parent, int child_id, int x, int y, int width, int height) {
    QtWindow* parent_record = nullptr;
    QtWindow* record = qt_create_child(parent, QT_TAB_CLASS, child_id, x, y, width, height, &parent_record);
    if (record == nullptr) return NO_WINDOW;
    const Window window = record->window;

    auto* pane = new QWidget(parent_record->client);
    auto* layout = new QVBoxLayout(pane);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* bar = new QTabBar(pane);
    bar->setIconSize(QSize(20, 20));
    bar->setExpanding(false);
    bar->setDrawBase(false);
    auto* panel = new QFrame(pane);
    panel->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    layout->addWidget(bar);
    layout->addWidget(panel, 1);
    pane->setGeometry(x, y, std::max(0, width), std::max(0, height));
    bar->installEventFilter(new TabToolTips(window, bar));
    QObject::connect(bar, &QTabBar::currentChanged, bar, [window](int) {
        QtWindow* tab = find_tab(window);
        if (tab == nullptr || inserting) return;
        NotifyHeader header{};
        notify_parent(tab, tab->child_id, TCN_SELCHANGE, &header);
    });
    record->widget = pane;
    record->client = pane;
    record->tab_bar = bar;
    // Pages made afterwards lie over the tab area.
    pane->lower();
    pane->show();
    return window;
}

void tab_insert(Window tab, int index, const char* text, const char* image) {
    QtWindow* record = find_tab(tab);
    if (record == nullptr) return;
    QIcon icon;
    if (image != nullptr) icon = QIcon(QString::fromUtf8(image));
    ++inserting;
    record->tab_bar->insertTab(index, icon, QString::fromUtf8(text != nullptr ? text : ""));
    --inserting;
}

int tab_selected(Window tab) {
    QtWindow* record = find_tab(tab);
    return record != nullptr ? record->tab_bar->currentIndex() : -1;
}

void tab_select(Window tab, int index) {
    QtWindow* record = find_tab(tab);
    if (record == nullptr || index < 0 || index >= record->tab_bar->count()) return;
    record->tab_bar->setCurrentIndex(index);
}

int tab_count(Window tab) {
    QtWindow* record = find_tab(tab);
    return record != nullptr ? record->tab_bar->count() : 0;
}

int tab_tooltip(Window tab, int index, char* buffer, int capacity) {
    QtWindow* record = find_tab(tab);
    if (record == nullptr || index < 0 || index >= record->tab_bar->count()) return qt_copy_text("", buffer, capacity);
    return qt_copy_text(tooltip_of(record, index), buffer, capacity);
}
