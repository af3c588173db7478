#include "ui/mainwindow/SystemItemsListModel.h"

#include "texts/Localizator.h"
#include "ui/base/ThemeIcon.h"
#include "ui/views/ItemRowContent.h"
#include "ui/views/SystemItemDelegate.h"

#include <algorithm>
#include <functional>

void SystemItemsListModel::setItems(QList<SystemItemData> items)
{
    beginResetModel();
    m_items = std::move(items);
    endResetModel();
}

const SystemItemData* SystemItemsListModel::itemAtIndex(int row) const
{
    return row >= 0 && row < m_items.size() ? &m_items[row] : nullptr;
}

void SystemItemsListModel::removeItemsAtRows(QList<int> rows)
{
    // From the bottom, so that the rows still to go keep their numbers.
    std::sort(rows.begin(), rows.end(), std::greater<>());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    for (const int row : std::as_const(rows)) {
        if (row < 0 || row >= m_items.size())
            continue;
        beginRemoveRows({}, row, row);
        m_items.removeAt(row);
        endRemoveRows();
    }
}

int SystemItemsListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_items.size());
}

QVariant SystemItemsListModel::data(const QModelIndex& index, int role) const
{
    const SystemItemData* item = index.isValid() ? itemAtIndex(index.row()) : nullptr;
    if (!item)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return item->itemNiceDisplayName();
    case Qt::AccessibleTextRole: {
        // Read as the rows of the other lists are.
        ItemRowContent content;
        content.name = item->itemNiceDisplayName();
        content.detail = item->itemNiceDescription();
        return content.spokenText(Localizator::shared());
    }
    case Qt::DecorationRole:
        return themeIcon(item->itemIconName(), QStringLiteral("application-x-executable"));
    case SystemItemDelegate::DescriptionRole:
        return item->itemNiceDescription();
    default:
        return {};
    }
}
