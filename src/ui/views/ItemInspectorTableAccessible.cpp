#include "ui/views/ItemInspectorTableAccessible.h"

#include "ui/views/AccessibleInterfaceFactory.h"
#include "ui/views/ItemInspectorTableView.h"

#include <QCoreApplication>
#include <QTableView>

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

QList<QWidget*> ItemInspectorTableAccessible::rowWidgets() const
{
    const auto* table = static_cast<const QTableView*>(widget());
    QList<QWidget*> rows;
    if (const QAbstractItemModel* model = table->model())
        for (int row = 0; row < model->rowCount(); ++row)
            if (QWidget* cell = table->indexWidget(model->index(row, 0)))
                rows.append(cell);
    return rows;
}

int ItemInspectorTableAccessible::childCount() const
{
    return static_cast<int>(rowWidgets().size());
}

QAccessibleInterface* ItemInspectorTableAccessible::child(int index) const
{
    const QList<QWidget*> rows = rowWidgets();
    return index >= 0 && index < rows.size() ? QAccessible::queryAccessibleInterface(rows[index]) : nullptr;
}

int ItemInspectorTableAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    return child && child->object() ? static_cast<int>(rowWidgets().indexOf(qobject_cast<QWidget*>(child->object()))) : -1;
}
