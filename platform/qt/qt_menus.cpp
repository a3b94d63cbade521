// Menu bars from a menu table, items by id, and popup menus. A chosen item
// becomes WM_COMMAND to the window that owns the menu.
#include <QAction>
#include <QKeySequence>
#include <QCursor>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>

#include <map>
#include <memory>
#include <vector>

#include "platform/qt/qt_state.h"

namespace {

struct MenuItem {
    QPointer<QAction> action;
    std::string text;  // as given, '&' included
};

struct MenuRecord {
    QPointer<QMenuBar> bar;   // a window's menu bar
    QPointer<QMenu> popup;    // or a popup menu
    Window owner = NO_WINDOW;
    std::map<int, MenuItem> items;
};

std::map<std::uintptr_t, std::unique_ptr<MenuRecord>> menus;
PopupMenuHook popup_hook = nullptr;

MenuRecord* find_menu(std::uintptr_t menu) {
    if (!is_main_thread()) return nullptr;
    auto found = menus.find(menu);
    return found == menus.end() ? nullptr : found->second.get();
}

QAction* find_item(std::uintptr_t menu, int id) {
    MenuRecord* record = find_menu(menu);
    if (record == nullptr) return nullptr;
    auto found = record->items.find(id);
    return found == record->items.end() ? nullptr : found->second.action.data();
}

std::uintptr_t add_menu(std::unique_ptr<MenuRecord> record) {
    const auto handle = reinterpret_cast<std::uintptr_t>(record.get());
    menus[handle] = std::move(record);
    return handle;
}

}  // namespace

std::uintptr_t create_menu(const char*, const MenuEntry* entries, int count) {
    if (!is_main_thread()) return 0;
    auto record = std::make_unique<MenuRecord>();
    MenuRecord* raw = record.get();
    auto* bar = new QMenuBar(nullptr);
    // Menus are drawn inside the window on every desktop, so their commands
    // reach the window procedure the same way.
    bar->setNativeMenuBar(false);
    record->bar = bar;
    std::vector<QMenu*> open;
    for (int i = 0; entries != nullptr && i < count; ++i) {
        const MenuEntry& entry = entries[i];
        const QString text = QString::fromUtf8(entry.text != nullptr ? entry.text : "");
        switch (entry.kind) {
            case MENU_POPUP: {
                QMenu* menu = open.empty() ? bar->addMenu(text) : open.back()->addMenu(text);
                open.push_back(menu);
                break;
            }
            case MENU_END:
                if (!open.empty()) open.pop_back();
                break;
            case MENU_SEPARATOR:
                if (!open.empty()) open.back()->addSeparator();
                break;
            case MENU_ITEM: {
                if (entry.text == nullptr) {
                    if (!open.empty()) open.back()->addSeparator();
                    break;
                }
                QAction* action = open.empty() ? bar->addAction(text) : open.back()->addAction(text);
                action->setEnabled(!entry.greyed);
                record->items[entry.id] = MenuItem{action, entry.text};
                const int id = entry.id;
                QObject::connect(action, &QAction::triggered, bar, [raw, id](bool) {
                    if (raw->owner != NO_WINDOW) send_message(raw->owner, WM_COMMAND, static_cast<WPARAM>(id), 0);
                });
                break;
            }
        }
    }
    return add_menu(std::move(record));
}

void qt_attach_menu(QtWindow* window, std::uintptr_t menu) {
    MenuRecord* record = find_menu(menu);
    if (record == nullptr || record->bar == nullptr || window->widget == nullptr) return;
    record->owner = window->window;
    record->bar->setParent(window->widget);
    record->bar->show();
    window->menu_bar = record->bar;
    window->menu = menu;
    qt_layout_client(window);
}

void enable_menu_item(std::uintptr_t menu, int id, int enabled) {
    if (QAction* action = find_item(menu, id)) action->setEnabled(enabled != 0);
}

int is_menu_item_enabled(std::uintptr_t menu, int id) {
    QAction* action = find_item(menu, id);
    return action != nullptr && action->isEnabled() ? 1 : 0;
}

void check_menu_item(std::uintptr_t menu, int id, int checked) {
    QAction* action = find_item(menu, id);
    if (action == nullptr) return;
    action->setCheckable(true);
    action->setChecked(checked != 0);
}

int is_menu_item_checked(std::uintptr_t menu, int id) {
    QAction* action = find_item(menu, id);
    return action != nullptr && action->isChecked() ? 1 : 0;
}

int get_menu_item_text(std::uintptr_t menu, int id, char* buffer, int capacity) {
    MenuRecord* record = find_menu(menu);
    if (record == nullptr) return qt_copy_text("", buffer, capacity);
    auto found = record->items.find(id);
    if (found == record->items.end()) return qt_copy_text("", buffer, capacity);
    return qt_copy_text(found->second.text, buffer, capacity);
}

void set_menu_item_shortcut(std::uintptr_t menu, int id, const char* keys) {
    // Shown at the right of the item; works while the menu's window is
    // active and the item is enabled, like choosing the item.
    if (QAction* action = find_item(menu, id)) action->setShortcut(QKeySequence(QString::fromUtf8(keys)));
}

void draw_menu_bar(Window window) {
    QtWindow* record = qt_window(window);
    if (record != nullptr && record->menu_bar != nullptr) record->menu_bar->update();
}

std::uintptr_t create_popup_menu() {
    if (!is_main_thread()) return 0;
    auto record = std::make_unique<MenuRecord>();
    record->popup = new QMenu(nullptr);
    return add_menu(std::move(record));
}

void append_popup_item(std::uintptr_t popup, int id, const char* text, int checked) {
    MenuRecord* record = find_menu(popup);
    if (record == nullptr || record->popup == nullptr) return;
    if (id == 0 && text == nullptr) {
        record->popup->addSeparator();
        return;
    }
    QAction* action = record->popup->addAction(QString::fromUtf8(text != nullptr ? text : ""));
    if (checked) {
        action->setCheckable(true);
        action->setChecked(true);
    }
    record->items[id] = MenuItem{action, text != nullptr ? text : ""};
}

void track_popup_menu(std::uintptr_t popup, Window owner, int screen_x, int screen_y) {
    MenuRecord* record = find_menu(popup);
    if (record == nullptr || record->popup == nullptr) return;
    int chosen = 0;
    if (popup_hook != nullptr) {
        chosen = popup_hook(popup, owner);
    } else {
        QPointer<QMenu> menu = record->popup;
        QAction* action = menu->exec(QPoint(screen_x, screen_y));
        // The menu's own loop may have run anything; look the record up again.
        record = find_menu(popup);
        if (record == nullptr || action == nullptr) return;
        for (auto& [id, item] : record->items) {
            if (item.action == action) chosen = id;
        }
    }
    if (chosen != 0) send_message(owner, WM_COMMAND, static_cast<WPARAM>(chosen), 0);
}

void track_popup_items_at_cursor(Window owner, const PopupItem* items, int count) {
    std::uintptr_t popup = create_popup_menu();
    for (int k = 0; k < count; ++k) append_popup_item(popup, items[k].id, items[k].text, items[k].checked);
    int x = 0, y = 0;
    get_cursor_position(&x, &y);
    track_popup_menu(popup, owner, x, y);
    destroy_popup_menu(popup);
}

void destroy_popup_menu(std::uintptr_t popup) {
    MenuRecord* record = find_menu(popup);
    if (record == nullptr || record->popup == nullptr) return;
    delete record->popup.data();
    menus.erase(popup);
}

void set_popup_menu_hook(PopupMenuHook hook) { popup_hook = hook; }

void get_cursor_position(int* screen_x, int* screen_y) {
    const QPoint at = QCursor::pos();
    if (screen_x != nullptr) *screen_x = at.x();
    if (screen_y != nullptr) *screen_y = at.y();
}

void qt_free_all_menus() {
    for (auto& [handle, record] : menus) {
        // A bar attached to a window went with the window.
        if (record->bar != nullptr && record->bar->parent() == nullptr) delete record->bar.data();
        if (record->popup != nullptr) delete record->popup.data();
    }
    menus.clear();
    popup_hook = nullptr;
}
