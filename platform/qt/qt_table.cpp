// Tables: a grid of text, choice and check cells whose user changes are
// reported to the parent as WM_NOTIFY with TABLE_CELL_CHANGED.
#include <QComboBox>
#include <QHeaderView>
#include <QTableWidget>

#include "platform/qt/qt_state.h"

namespace {

struct TableState {
    QPointer<QTableWidget> widget;
    std::vector<TableColumnKind> kinds;
    std::vector<QStringList> choices;
    int read_only = 0;
};

std::map<Window, TableState> tables;
int setting = 0;  // changes made through the functions notify nobody

TableState* find_table(Window table) {
    if (qt_window(table) == nullptr) return nullptr;
    auto found = tables.find(table);
    if (found == tables.end() || found->second.widget == nullptr) return nullptr;
    return &found->second;
}

int in_range(const TableState* state, int row, int column) {
    return state != nullptr && row >= 0 && row < state->widget->rowCount() && column >= 0 &&
           column < static_cast<int>(state->kinds.size());
}

void notify_parent(Window table, int row, int column) {
    QtWindow* record = qt_window(table);
    if (record == nullptr || setting) return;
    TableNotify notify{};
    notify.header.from = table;
    notify.header.id_from = record->child_id;
    notify.header.code = TABLE_CELL_CHANGED;
    notify.row = row;
    notify.column = column;
    send_message(record->parent, WM_NOTIFY, static_cast<WPARAM>(record->child_id), reinterpret_cast<LPARAM>(&notify));
}

Qt::ItemFlags flags_of(TableColumnKind kind, int read_only) {
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (read_only) return flags;
    if (kind == TABLE_TEXT) flags |= Qt::ItemIsEditable;
    if (kind == TABLE_CHECK) flags |= Qt::ItemIsUserCheckable;
    return flags;
}

void make_cell(Window table, TableState* state, int row, int column) {
    const TableColumnKind kind = state->kinds[static_cast<std::size_t>(column)];
    auto* item = new QTableWidgetItem();
    item->setFlags(flags_of(kind, state->read_only));
    if (kind == TABLE_CHECK) item->setCheckState(Qt::Unchecked);
    state->widget->setItem(row, column, item);
    if (kind != TABLE_CHOICE) return;
    auto* combo = new QComboBox();
    combo->addItems(state->choices[static_cast<std::size_t>(column)]);
    combo->setEnabled(!state->read_only);
    QObject::connect(combo, &QComboBox::activated, combo, [table, combo](int) {
        TableState* found = find_table(table);
        if (found == nullptr) return;
        // The row is where the combo box is now, whatever rows came and went.
        const QModelIndex at = found->widget->indexAt(combo->pos());
        if (at.isValid()) notify_parent(table, at.row(), at.column());
    });
    state->widget->setCellWidget(row, column, combo);
}

QComboBox* combo_at(TableState* state, int row, int column) {
    return qobject_cast<QComboBox*>(state->widget->cellWidget(row, column));
}

}  // namespace

Window create_table(Window parent, int child_id, const TableColumn* columns, int count) {
    QtWindow* parent_record = nullptr;
    QtWindow* record = qt_create_child(parent, QT_TABLE_CLASS, child_id, 0, 0, 0, 0, &parent_record);
    if (record == nullptr) return NO_WINDOW;
    const Window window = record->window;
    auto* widget = new QTableWidget(0, count, parent_record->client);
    TableState& state = tables[window];
    state.widget = widget;
    QStringList titles;
    for (int i = 0; i < count; ++i) {
        const TableColumn& column = columns[i];
        titles << QString::fromUtf8(column.title != nullptr ? column.title : "");
        state.kinds.push_back(column.kind);
        QStringList choices;
        for (int k = 0; k < column.choice_count; ++k) choices << QString::fromUtf8(column.choices[k]);
        state.choices.push_back(choices);
    }
    widget->setHorizontalHeaderLabels(titles);
    for (int i = 0; i < count; ++i)
        if (columns[i].width > 0) widget->setColumnWidth(i, columns[i].width);
    widget->setWordWrap(false);
    widget->setSelectionBehavior(QAbstractItemView::SelectRows);
    widget->setSelectionMode(QAbstractItemView::ExtendedSelection);
    widget->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                            QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
    // A file dropped here belongs to the window, not to a cell.
    widget->setAcceptDrops(false);
    QObject::connect(widget, &QTableWidget::itemChanged, widget,
                     [window](QTableWidgetItem* item) { notify_parent(window, item->row(), item->column()); });
    record->widget = widget;
    record->client = widget;
    widget->show();
    return window;
}

void table_set_row_count(Window table, int rows) {
    TableState* state = find_table(table);
    if (state == nullptr || rows < 0) return;
    ++setting;
    const int old_rows = state->widget->rowCount();
    state->widget->setRowCount(rows);
    for (int row = old_rows; row < rows; ++row) {
        state->widget->setVerticalHeaderItem(row, new QTableWidgetItem(QString::number(row)));
        for (int column = 0; column < static_cast<int>(state->kinds.size()); ++column)
            make_cell(table, state, row, column);
    }
    --setting;
}

int table_row_count(Window table) {
    TableState* state = find_table(table);
    return state != nullptr ? state->widget->rowCount() : 0;
}

void table_set_cell_text(Window table, int row, int column, const char* text) {
    TableState* state = find_table(table);
    if (!in_range(state, row, column)) return;
    ++setting;
    state->widget->item(row, column)->setText(QString::fromUtf8(text != nullptr ? text : ""));
    --setting;
}

int table_get_cell_text(Window table, int row, int column, char* buffer, int capacity) {
    TableState* state = find_table(table);
    if (!in_range(state, row, column)) return qt_copy_text("", buffer, capacity);
    return qt_copy_text(state->widget->item(row, column)->text().toStdString(), buffer, capacity);
}

void table_set_cell_value(Window table, int row, int column, int value) {
    TableState* state = find_table(table);
    if (!in_range(state, row, column)) return;
    ++setting;
    if (QComboBox* combo = combo_at(state, row, column)) combo->setCurrentIndex(value);
    if (state->kinds[static_cast<std::size_t>(column)] == TABLE_CHECK)
        state->widget->item(row, column)->setCheckState(value ? Qt::Checked : Qt::Unchecked);
    --setting;
}

int table_get_cell_value(Window table, int row, int column) {
    TableState* state = find_table(table);
    if (!in_range(state, row, column)) return 0;
    if (QComboBox* combo = combo_at(state, row, column)) return combo->currentIndex();
    return state->widget->item(row, column)->checkState() == Qt::Checked ? 1 : 0;
}

void table_set_read_only(Window table, int read_only) {
    TableState* state = find_table(table);
    if (state == nullptr) return;
    state->read_only = read_only != 0;
    ++setting;
    for (int row = 0; row < state->widget->rowCount(); ++row) {
        for (int column = 0; column < static_cast<int>(state->kinds.size()); ++column) {
            state->widget->item(row, column)->setFlags(flags_of(state->kinds[static_cast<std::size_t>(column)],
                                                               state->read_only));
            if (QComboBox* combo = combo_at(state, row, column)) combo->setEnabled(!state->read_only);
        }
    }
    --setting;
}

int table_is_read_only(Window table) {
    TableState* state = find_table(table);
    return state != nullptr ? state->read_only : 1;
}

int table_selected_rows(Window table, int* rows, int capacity) {
    TableState* state = find_table(table);
    if (state == nullptr) return 0;
    QModelIndexList selected = state->widget->selectionModel()->selectedRows();
    std::vector<int> found;
    for (const QModelIndex& index : selected) found.push_back(index.row());
    std::sort(found.begin(), found.end());
    for (int i = 0; i < capacity && i < static_cast<int>(found.size()); ++i) rows[i] = found[static_cast<std::size_t>(i)];
    return static_cast<int>(found.size());
}

void table_select_rows(Window table, const int* rows, int count) {
    TableState* state = find_table(table);
    if (state == nullptr) return;
    state->widget->clearSelection();
    for (int i = 0; i < count; ++i) {
        if (rows[i] < 0 || rows[i] >= state->widget->rowCount()) continue;
        state->widget->selectionModel()->select(state->widget->model()->index(rows[i], 0),
                                                QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
}

void table_type_cell(Window table, int row, int column, const char* text) {
    TableState* state = find_table(table);
    if (!in_range(state, row, column) || state->read_only ||
        state->kinds[static_cast<std::size_t>(column)] != TABLE_TEXT)
        return;
    state->widget->item(row, column)->setText(QString::fromUtf8(text != nullptr ? text : ""));
}

void table_choose_cell(Window table, int row, int column, int value) {
    TableState* state = find_table(table);
    if (!in_range(state, row, column) || state->read_only) return;
    if (QComboBox* combo = combo_at(state, row, column)) {
        combo->setCurrentIndex(value);
        emit combo->activated(value);
        return;
    }
    if (state->kinds[static_cast<std::size_t>(column)] == TABLE_CHECK)
        state->widget->item(row, column)->setCheckState(value ? Qt::Checked : Qt::Unchecked);
}
