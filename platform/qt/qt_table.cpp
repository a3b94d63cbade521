// Tables: a view over a model that holds no cells. Each cell shown is asked
// of the parent (TABLE_CELL_TEXT), each change the user makes is reported to
// it (TABLE_CELL_CHANGED); choice cells are edited in a combo box.
#include <QAbstractTableModel>
#include <QComboBox>
#include <QHeaderView>
#include <QStyledItemDelegate>
#include <QTableView>

#include <algorithm>

#include "platform/qt/qt_state.h"

namespace {

struct Column {
    QString title;
    TableColumnKind kind;
    QStringList choices;
};

// Asks the parent; the answer comes back in the notify record.
TableNotify ask_parent(Window table, int code, int row, int column, int value = 0, const char* typed = nullptr) {
    TableNotify notify{};
    QtWindow* record = qt_window(table);
    if (record == nullptr) return notify;
    notify.header.from = table;
    notify.header.id_from = record->child_id;
    notify.header.code = code;
    notify.row = row;
    notify.column = column;
    notify.value = value;
    notify.typed = typed;
    send_message(record->parent, WM_NOTIFY, static_cast<WPARAM>(record->child_id), reinterpret_cast<LPARAM>(&notify));
    notify.header.text[sizeof notify.header.text - 1] = '\0';
    return notify;
}

class TableModel : public QAbstractTableModel {
public:
    TableModel(Window table, std::vector<Column> columns, QObject* parent)
        : QAbstractTableModel(parent), table_(table), columns_(std::move(columns)) {}

    int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : rows_; }
    int columnCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : static_cast<int>(columns_.size());
    }
    TableColumnKind kind(int column) const { return columns_[static_cast<std::size_t>(column)].kind; }
    const QStringList& choices(int column) const { return columns_[static_cast<std::size_t>(column)].choices; }

    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid()) return {};
        const TableColumnKind cell = kind(index.column());
        const bool shown = role == Qt::DisplayRole || role == Qt::EditRole;
        if (cell == TABLE_TEXT && shown)
            return QString::fromUtf8(ask_parent(table_, TABLE_CELL_TEXT, index.row(), index.column()).header.text);
        if (cell == TABLE_CHOICE && (shown || role == Qt::UserRole)) {
            const int value = ask_parent(table_, TABLE_CELL_TEXT, index.row(), index.column()).value;
            if (role == Qt::UserRole) return value;
            return value >= 0 && value < choices(index.column()).size() ? choices(index.column())[value] : QString();
        }
        if (cell == TABLE_CHECK && role == Qt::CheckStateRole)
            return ask_parent(table_, TABLE_CELL_TEXT, index.row(), index.column()).value ? Qt::Checked : Qt::Unchecked;
        return {};
    }

    bool setData(const QModelIndex& index, const QVariant& value, int role) override {
        if (!index.isValid() || read_only) return false;
        const TableColumnKind cell = kind(index.column());
        if (cell == TABLE_TEXT && role == Qt::EditRole) {
            const std::string typed = value.toString().toStdString();
            ask_parent(table_, TABLE_CELL_CHANGED, index.row(), index.column(), 0, typed.c_str());
        } else if (cell == TABLE_CHOICE && role == Qt::UserRole) {
            ask_parent(table_, TABLE_CELL_CHANGED, index.row(), index.column(), value.toInt());
        } else if (cell == TABLE_CHECK && role == Qt::CheckStateRole) {
            ask_parent(table_, TABLE_CELL_CHANGED, index.row(), index.column(),
                       value.toInt() == Qt::Checked ? 1 : 0);
        } else {
            return false;
        }
        // The parent may have refused, or changed other rows: show them afresh.
        refresh();
        return true;
    }

    Qt::ItemFlags flags(const QModelIndex& index) const override {
        Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        if (!index.isValid() || read_only) return flags;
        if (kind(index.column()) == TABLE_CHECK) return flags | Qt::ItemIsUserCheckable;
        return flags | Qt::ItemIsEditable;
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (role != Qt::DisplayRole) return {};
        if (orientation == Qt::Vertical) return section;
        return section >= 0 && section < static_cast<int>(columns_.size())
                   ? columns_[static_cast<std::size_t>(section)].title
                   : QString();
    }

    void set_rows(int rows) {
        beginResetModel();
        rows_ = rows;
        endResetModel();
    }
    void refresh() {
        if (rows_ > 0) emit dataChanged(index(0, 0), index(rows_ - 1, columnCount({}) - 1));
    }

    int read_only = 0;

private:
    Window table_;
    std::vector<Column> columns_;
    int rows_ = 0;
};

// Choice cells: a combo box of the column's texts; a choice is taken at once.
class ChoiceDelegate : public QStyledItemDelegate {
public:
    ChoiceDelegate(TableModel* model, QObject* parent) : QStyledItemDelegate(parent), model_(model) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        if (model_->kind(index.column()) != TABLE_CHOICE) return QStyledItemDelegate::createEditor(parent, option, index);
        auto* combo = new QComboBox(parent);
        combo->addItems(model_->choices(index.column()));
        auto* self = const_cast<ChoiceDelegate*>(this);
        QObject::connect(combo, &QComboBox::activated, combo, [self, combo](int) {
            emit self->commitData(combo);
            emit self->closeEditor(combo);
        });
        return combo;
    }
    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        if (auto* combo = qobject_cast<QComboBox*>(editor)) {
            combo->setCurrentIndex(index.data(Qt::UserRole).toInt());
            return;
        }
        QStyledItemDelegate::setEditorData(editor, index);
    }
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override {
        if (auto* combo = qobject_cast<QComboBox*>(editor)) {
            model->setData(index, combo->currentIndex(), Qt::UserRole);
            return;
        }
        QStyledItemDelegate::setModelData(editor, model, index);
    }

private:
    TableModel* model_;
};

struct TableParts {
    QTableView* view;
    TableModel* model;
};

TableParts find_table(Window table) {
    QtWindow* record = qt_window(table);
    if (record == nullptr || record->kind != QtKind::TABLE || record->widget == nullptr) return {nullptr, nullptr};
    auto* view = qobject_cast<QTableView*>(record->widget.data());
    return {view, view != nullptr ? static_cast<TableModel*>(view->model()) : nullptr};
}

bool in_range(const TableParts& parts, int row, int column) {
    return parts.model != nullptr && row >= 0 && row < parts.model->rowCount({}) && column >= 0 &&
           column < parts.model->columnCount({});
}

}  // namespace

Window create_table(Window parent, int child_id, const TableColumn* columns, int count) {
    QtWindow* parent_record = nullptr;
    QtWindow* record = qt_create_child(parent, QT_TABLE_CLASS, child_id, 0, 0, 0, 0, &parent_record);
    if (record == nullptr) return NO_WINDOW;
    std::vector<Column> kept;
    for (int i = 0; i < count; ++i) {
        Column column{QString::fromUtf8(columns[i].title != nullptr ? columns[i].title : ""), columns[i].kind, {}};
        for (int k = 0; k < columns[i].choice_count; ++k) column.choices << QString::fromUtf8(columns[i].choices[k]);
        kept.push_back(column);
    }
    auto* view = new QTableView(parent_record->client);
    auto* model = new TableModel(record->window, std::move(kept), view);
    view->setModel(model);
    view->setItemDelegate(new ChoiceDelegate(model, view));
    for (int i = 0; i < count; ++i)
        if (columns[i].width > 0) view->setColumnWidth(i, columns[i].width);
    view->setWordWrap(false);
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                          QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
    // A file dropped here belongs to the window, not to a cell.
    view->setAcceptDrops(false);
    record->widget = view;
    record->client = view;
    view->show();
    return record->window;
}

void table_set_row_count(Window table, int rows) {
    const TableParts parts = find_table(table);
    if (parts.model == nullptr || rows < 0) return;
    if (rows == parts.model->rowCount({}))
        parts.model->refresh();
    else
        parts.model->set_rows(rows);
}

int table_row_count(Window table) {
    const TableParts parts = find_table(table);
    return parts.model != nullptr ? parts.model->rowCount({}) : 0;
}

int table_get_cell_text(Window table, int row, int column, char* buffer, int capacity) {
    const TableParts parts = find_table(table);
    if (!in_range(parts, row, column)) return qt_copy_text("", buffer, capacity);
    return qt_copy_text(parts.model->index(row, column).data(Qt::DisplayRole).toString().toStdString(), buffer,
                        capacity);
}

int table_get_cell_value(Window table, int row, int column) {
    const TableParts parts = find_table(table);
    if (!in_range(parts, row, column)) return 0;
    const QModelIndex index = parts.model->index(row, column);
    if (parts.model->kind(column) == TABLE_CHECK) return index.data(Qt::CheckStateRole).toInt() == Qt::Checked;
    return index.data(Qt::UserRole).toInt();
}

void table_set_read_only(Window table, int read_only) {
    const TableParts parts = find_table(table);
    if (parts.model == nullptr) return;
    parts.model->read_only = read_only != 0;
    parts.model->refresh();
}

int table_is_read_only(Window table) {
    const TableParts parts = find_table(table);
    return parts.model != nullptr ? parts.model->read_only : 1;
}

int table_selected_rows(Window table, int* rows, int capacity) {
    const TableParts parts = find_table(table);
    if (parts.model == nullptr) return 0;
    std::vector<int> found;
    for (const QModelIndex& index : parts.view->selectionModel()->selectedRows()) found.push_back(index.row());
    std::sort(found.begin(), found.end());
    for (int i = 0; i < capacity && i < static_cast<int>(found.size()); ++i) rows[i] = found[static_cast<std::size_t>(i)];
    return static_cast<int>(found.size());
}

void table_select_rows(Window table, const int* rows, int count) {
    const TableParts parts = find_table(table);
    if (parts.model == nullptr) return;
    parts.view->clearSelection();
    for (int i = 0; i < count; ++i) {
        if (rows[i] < 0 || rows[i] >= parts.model->rowCount({})) continue;
        parts.view->selectionModel()->select(parts.model->index(rows[i], 0),
                                             QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
}

void table_type_cell(Window table, int row, int column, const char* text) {
    const TableParts parts = find_table(table);
    if (!in_range(parts, row, column) || parts.model->kind(column) != TABLE_TEXT) return;
    parts.model->setData(parts.model->index(row, column), QString::fromUtf8(text != nullptr ? text : ""), Qt::EditRole);
}

void table_choose_cell(Window table, int row, int column, int value) {
    const TableParts parts = find_table(table);
    if (!in_range(parts, row, column)) return;
    const QModelIndex index = parts.model->index(row, column);
    if (parts.model->kind(column) == TABLE_CHOICE) parts.model->setData(index, value, Qt::UserRole);
    if (parts.model->kind(column) == TABLE_CHECK) parts.model->setData(index, value ? Qt::Checked : Qt::Unchecked, Qt::CheckStateRole);
}
