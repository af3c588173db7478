#include "ui/views/RowListAccessible.h"

#include <QAbstractItemView>
#include <algorithm>

RowListAccessible::RowListAccessible(QAbstractItemView* view)
    : QAccessibleWidget(view, QAccessible::List)
{
}

QAbstractItemView* RowListAccessible::view() const
{
    return static_cast<QAbstractItemView*>(widget());
}

void* RowListAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TableInterface)
        return static_cast<QAccessibleTableInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

int RowListAccessible::childCount() const
{
    const QAbstractItemModel* model = view()->model();
    return model ? model->rowCount(view()->rootIndex()) : 0;
}

QAccessibleInterface* RowListAccessible::focusChild() const
{
    if (view()->hasFocus() && view()->currentIndex().isValid())
        return child(view()->currentIndex().row());
    return QAccessibleWidget::focusChild();
}

QAccessibleInterface* RowListAccessible::cellAt(int row, int column) const
{
    return column == 0 ? child(row) : nullptr;
}

QList<QAccessibleInterface*> RowListAccessible::selectedCells() const
{
    QList<QAccessibleInterface*> cells;
    for (const int row : selectedRows())
        if (QAccessibleInterface* cell = child(row))
            cells.append(cell);
    return cells;
}

QList<int> RowListAccessible::selectedRows() const
{
    QList<int> rows;
    for (const QModelIndex& index : view()->selectionModel()->selectedRows())
        rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

bool RowListAccessible::isRowSelected(int row) const
{
    return view()->selectionModel()->isRowSelected(row, view()->rootIndex());
}

bool RowListAccessible::selectRow(int row)
{
    return changeRowSelection(row, true);
}

bool RowListAccessible::unselectRow(int row)
{
    return changeRowSelection(row, false);
}

bool RowListAccessible::changeRowSelection(int row, bool selected)
{
    if (row < 0 || row >= childCount())
        return false;
    view()->selectionModel()->select(view()->model()->index(row, 0, view()->rootIndex()),
                                     (selected ? QItemSelectionModel::Select : QItemSelectionModel::Deselect) | QItemSelectionModel::Rows);
    return true;
}
