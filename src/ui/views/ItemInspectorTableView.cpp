#include "ui/views/ItemInspectorTableView.h"

#include "ui/views/ItemInspectorTableAccessible.h"
#include "ui/views/StartupConditionCellAccessible.h"

#include <QSet>

namespace {

QSet<int> rowsOf(const QItemSelection& selection)
{
    QSet<int> rows;
    for (const QItemSelectionRange& range : selection)
        for (int row = range.top(); row <= range.bottom(); ++row)
            rows.insert(row);
    return rows;
}

} // namespace

ItemInspectorTableView::ItemInspectorTableView(QWidget* parent)
    : ActionTableView(parent)
{
    setShowGrid(false);
    // Tab walks the editors inside the rows instead of moving the selection;
    // the arrow keys move it.
    setTabKeyNavigation(false);
    // Also links the interfaces, which install themselves with the application.
    ItemInspectorTableAccessible::install();
    StartupConditionCellAccessible::install();
}

// QTableView's own events number the cells as its stock interface does,
// headers included; this table's interface has one child per row.
void ItemInspectorTableView::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QAbstractItemView::currentChanged(current, previous);
    if (current.isValid() && hasFocus())
        announceRow(QAccessible::Focus, current.row());
}

void ItemInspectorTableView::selectionChanged(const QItemSelection& selected, const QItemSelection& deselected)
{
    QAbstractItemView::selectionChanged(selected, deselected);
    for (const int row : rowsOf(deselected))
        announceRow(QAccessible::SelectionRemove, row);
    for (const int row : rowsOf(selected))
        announceRow(QAccessible::SelectionAdd, row);
}

void ItemInspectorTableView::focusInEvent(QFocusEvent* event)
{
    // Without a current row the view makes one, which is announced then.
    const bool hadCurrentRow = currentIndex().isValid();
    ActionTableView::focusInEvent(event);
    if (hadCurrentRow)
        announceRow(QAccessible::Focus, currentIndex().row());
}

void ItemInspectorTableView::announceRow(QAccessible::Event type, int row)
{
    if (!QAccessible::isActive() || !indexWidget(model()->index(row, 0)))
        return;
    QAccessibleEvent event(this, type);
    event.setChild(row);
    QAccessible::updateAccessibility(&event);
}
