#include "ui/views/ItemInspectorTableAccessible.h"

#include "ui/views/AccessibleInterfaceFactory.h"
#include "ui/views/ItemInspectorTableView.h"

#include <QCoreApplication>
#include <QTableView>
#include <algorithm>

namespace {

void installAtStart()
{
    ItemInspectorTableAccessible::install();
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(installAtStart)

ItemInspectorTableAccessible::ItemInspectorTableAccessible(QTableView* table)
    : QAccessibleWidget(table, QAccessible::List)
{
}

void ItemInspectorTableAccessible::install()
{
    installAccessibleInterface<ItemInspectorTableAccessible, ItemInspectorTableView>();
}

QTableView* ItemInspectorTableAccessible::table() const
{
    return static_cast<QTableView*>(widget());
}

void* ItemInspectorTableAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TableInterface)
        return static_cast<QAccessibleTableInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QAccessible::State ItemInspectorTableAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    // Its rows are picked as in any list: several, with Shift and Ctrl.
    state.multiSelectable = true;
    state.extSelectable = true;
    return state;
}

int ItemInspectorTableAccessible::childCount() const
{
    const QAbstractItemModel* model = table()->model();
    return model ? model->rowCount() : 0;
}

QAccessibleInterface* ItemInspectorTableAccessible::child(int index) const
{
    // Null only for a row whose editor is still being set in.
    const QAbstractItemModel* model = table()->model();
    QWidget* cell = model && index >= 0 && index < model->rowCount() ? table()->indexWidget(model->index(index, 0)) : nullptr;
    return cell ? QAccessible::queryAccessibleInterface(cell) : nullptr;
}

int ItemInspectorTableAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    const QAbstractItemModel* model = table()->model();
    const auto* cell = child ? qobject_cast<const QWidget*>(child->object()) : nullptr;
    for (int row = 0; cell && model && row < model->rowCount(); ++row)
        if (table()->indexWidget(model->index(row, 0)) == cell)
            return row;
    return -1;
}

QAccessibleInterface* ItemInspectorTableAccessible::focusChild() const
{
    if (table()->hasFocus() && table()->currentIndex().isValid())
        return child(table()->currentIndex().row());
    return QAccessibleWidget::focusChild();
}

QAccessibleInterface* ItemInspectorTableAccessible::cellAt(int row, int column) const
{
    return column == 0 ? child(row) : nullptr;
}

QList<QAccessibleInterface*> ItemInspectorTableAccessible::selectedCells() const
{
    QList<QAccessibleInterface*> cells;
    for (const int row : selectedRows())
        if (QAccessibleInterface* cell = child(row))
            cells.append(cell);
    return cells;
}

QList<int> ItemInspectorTableAccessible::selectedRows() const
{
    QList<int> rows;
    for (const QModelIndex& index : table()->selectionModel()->selectedRows())
        rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

bool ItemInspectorTableAccessible::isRowSelected(int row) const
{
    return table()->selectionModel()->isRowSelected(row, {});
}

bool ItemInspectorTableAccessible::selectRow(int row)
{
    return changeRowSelection(row, true);
}

bool ItemInspectorTableAccessible::unselectRow(int row)
{
    return changeRowSelection(row, false);
}

bool ItemInspectorTableAccessible::changeRowSelection(int row, bool selected)
{
    const QAbstractItemModel* model = table()->model();
    if (!model || row < 0 || row >= model->rowCount())
        return false;
    table()->selectionModel()->select(model->index(row, 0),
                                      (selected ? QItemSelectionModel::Select : QItemSelectionModel::Deselect) | QItemSelectionModel::Rows);
    return true;
}
