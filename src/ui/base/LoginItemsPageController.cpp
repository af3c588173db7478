#include "ui/base/LoginItemsPageController.h"

#include "model/DBLoginGroup.h"
#include "ui/base/LoginItemsListModel.h"

#include <QListView>
#include <algorithm>

DBLoginGroup* LoginItemsPageController::representedGroup() const
{
    return representedObject().value<DBLoginGroup*>();
}

DBLoginItem* LoginItemsPageController::itemAtIndex(int row) const
{
    return m_model ? m_model->itemAtIndex(row) : nullptr;
}

QList<DBLoginItem*> LoginItemsPageController::selectedItems() const
{
    return m_itemsTableView ? m_model->itemsAtRows(m_itemsTableView->selectionModel()->selectedRows()) : QList<DBLoginItem*>();
}

bool LoginItemsPageController::canMoveSelectedItems(bool up) const
{
    if (!m_itemsTableView)
        return false;
    const QModelIndexList rows = m_itemsTableView->selectionModel()->selectedRows();
    // Some selected row has an unselected one on that side.
    return std::any_of(rows.cbegin(), rows.cend(), [&](const QModelIndex& index) {
        const int neighbour = index.row() + (up ? -1 : 1);
        return neighbour >= 0 && neighbour < m_model->rowCount()
            && !m_itemsTableView->selectionModel()->isRowSelected(neighbour, {});
    });
}

void LoginItemsPageController::moveSelectedItems(bool up)
{
    if (m_model->moveItemsOneRow(selectedItems(), up))
        m_itemsTableView->scrollTo(m_itemsTableView->currentIndex());
}

QKeySequence LoginItemsPageController::moveShortcut(bool up)
{
    return QKeySequence(up ? QStringLiteral("Alt+Up") : QStringLiteral("Alt+Down"));
}
