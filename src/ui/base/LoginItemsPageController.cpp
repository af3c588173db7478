#include "ui/base/LoginItemsPageController.h"

#include "model/DBLoginGroup.h"
#include "ui/base/LoginItemsListModel.h"

#include <QListView>

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
