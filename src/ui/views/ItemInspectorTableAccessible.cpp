#include "ui/views/ItemInspectorTableAccessible.h"

#include <QCoreApplication>
#include <QTableView>

namespace {

// Installed with the application, before any widget exists: Qt may make an
// interface for a widget while its base class is still being built, and
// keeps that one.
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
    static const bool installed = [] {
        QAccessible::installFactory([](const QString& className, QObject* object) -> QAccessibleInterface* {
            auto* table = qobject_cast<QTableView*>(object);
            return table && className == QLatin1String("ItemInspectorTableView") ? new ItemInspectorTableAccessible(table) : nullptr;
        });
        return true;
    }();
    Q_UNUSED(installed);
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
