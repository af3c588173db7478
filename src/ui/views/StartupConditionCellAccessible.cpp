#include "ui/views/StartupConditionCellAccessible.h"

#include "ui/views/AccessibleInterfaceFactory.h"
#include "ui/views/StartupConditionCellView.h"

#include <QAbstractButton>
#include <QTableView>

LW_INSTALL_ACCESSIBLE_AT_START(StartupConditionCellAccessible)

StartupConditionCellAccessible::StartupConditionCellAccessible(StartupConditionCellView* cell)
    : QAccessibleWidget(cell, QAccessible::ListItem)
{
}

void StartupConditionCellAccessible::install()
{
    installAccessibleInterface<StartupConditionCellAccessible, StartupConditionCellView>();
}

StartupConditionCellView* StartupConditionCellAccessible::cell() const
{
    return static_cast<StartupConditionCellView*>(widget());
}

QTableView* StartupConditionCellAccessible::tableView() const
{
    const QWidget* viewport = cell()->parentWidget();
    return viewport ? qobject_cast<QTableView*>(viewport->parentWidget()) : nullptr;
}

void* StartupConditionCellAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TableCellInterface)
        return static_cast<QAccessibleTableCellInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QAccessibleInterface* StartupConditionCellAccessible::parent() const
{
    // The table, not the viewport between them.
    QTableView* view = tableView();
    return view ? QAccessible::queryAccessibleInterface(view) : QAccessibleWidget::parent();
}

int StartupConditionCellAccessible::rowIndex() const
{
    const QTableView* view = tableView();
    const QAbstractItemModel* model = view ? view->model() : nullptr;
    for (int row = 0; model && row < model->rowCount(); ++row)
        if (view->indexWidget(model->index(row, 0)) == cell())
            return row;
    return -1;
}

QAccessibleInterface* StartupConditionCellAccessible::table() const
{
    QTableView* view = tableView();
    return view ? QAccessible::queryAccessibleInterface(view) : nullptr;
}

QString StartupConditionCellAccessible::text(QAccessible::Text type) const
{
    const int row = rowIndex();
    if (type != QAccessible::Name || row < 0)
        return QAccessibleWidget::text(type);
    return tableView()->model()->index(row, 0).data(Qt::AccessibleTextRole).toString();
}

bool StartupConditionCellAccessible::isSelected() const
{
    const int row = rowIndex();
    return row >= 0 && tableView()->selectionModel()->isRowSelected(row, {});
}

QAccessible::State StartupConditionCellAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    const int row = rowIndex();
    if (row < 0)
        return state;
    const QTableView* view = tableView();
    state.selectable = true;
    state.selected = isSelected();
    state.focusable = true;
    state.focused = view->hasFocus() && view->currentIndex().row() == row;
    if (const QAbstractButton* usage = cell()->usageView()) {
        state.checkable = true;
        state.checked = usage->isChecked();
    }
    return state;
}
