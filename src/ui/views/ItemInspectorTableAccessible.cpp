#include "ui/views/ItemInspectorTableAccessible.h"

#include "ui/views/AccessibleInterfaceFactory.h"
#include "ui/views/ItemInspectorTableView.h"

#include <QTableView>

LW_INSTALL_ACCESSIBLE_AT_START(ItemInspectorTableAccessible)

ItemInspectorTableAccessible::ItemInspectorTableAccessible(QTableView* table)
    : RowListAccessible(table)
{
}

void ItemInspectorTableAccessible::install()
{
    installAccessibleInterface<ItemInspectorTableAccessible, ItemInspectorTableView>();
}

QAccessible::State ItemInspectorTableAccessible::state() const
{
    QAccessible::State state = RowListAccessible::state();
    // Its rows are picked as in any list: several, with Shift and Ctrl.
    state.multiSelectable = true;
    state.extSelectable = true;
    return state;
}

QAccessibleInterface* ItemInspectorTableAccessible::child(int index) const
{
    // Null only for a row whose editor is still being set in.
    QWidget* cell = index >= 0 && index < childCount() ? view()->indexWidget(view()->model()->index(index, 0)) : nullptr;
    return cell ? QAccessible::queryAccessibleInterface(cell) : nullptr;
}

int ItemInspectorTableAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    const auto* cell = child ? qobject_cast<const QWidget*>(child->object()) : nullptr;
    for (int row = 0; cell && row < childCount(); ++row)
        if (view()->indexWidget(view()->model()->index(row, 0)) == cell)
            return row;
    return -1;
}
