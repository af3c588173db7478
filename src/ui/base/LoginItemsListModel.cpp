#include "ui/base/LoginItemsListModel.h"

#include "model/DBFileItem.h"
#include "model/DBLoginGroup.h"
#include "model/ObjectContext.h"
#include "ui/base/ThemeIcon.h"
#include "ui/icons/IconsManager.h"

namespace {

// A symbol of the icon font, drawn white on a selected row.
QIcon glyphIcon(IconBuilder builder)
{
    QIcon icon(builder.image());
    icon.addPixmap(builder.styled(1).image(), QIcon::Selected);
    return icon;
}

} // namespace

LoginItemsListModel::LoginItemsListModel(ObjectContext& context, DBLoginGroup* group, QObject* parent)
    : QAbstractListModel(parent)
    , m_context(&context)
    , m_group(group)
{
    connect(&context, &ObjectContext::objectsDidChange, this, &LoginItemsListModel::refresh);
    connect(&context, &ObjectContext::willReset, this, [this] {
        beginResetModel();
        m_group = nullptr;
        m_items.clear();
        endResetModel();
    });
    refresh();
}

void LoginItemsListModel::setGroup(DBLoginGroup* group)
{
    beginResetModel();
    m_group = group;
    m_items.clear();
    endResetModel();
    refresh();
}

int LoginItemsListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_items.size());
}

QVariant LoginItemsListModel::data(const QModelIndex& index, int role) const
{
    const DBLoginItem* item = index.isValid() ? itemAtIndex(index.row()) : nullptr;
    if (!item)
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return item->itemNiceDisplayName();
    case Qt::DecorationRole:
        return iconOfItem(*item);
    default:
        return {};
    }
}

DBLoginItem* LoginItemsListModel::itemAtIndex(int row) const
{
    return row >= 0 && row < m_items.size() ? m_items[row] : nullptr;
}

QIcon LoginItemsListModel::iconOfItem(const DBLoginItem& item) const
{
    const LoginItemType type = item.loginItemType();
    if (type == LoginItemTypeFile)
        return themeIcon(static_cast<const DBFileItem&>(item).itemIconName(), QStringLiteral("application-x-executable"));
    if (!m_kindIcons.contains(type)) {
        const IconsManager& icons = IconsManager::sharedInstance();
        m_kindIcons.insert(type, glyphIcon(type == LoginItemTypeDelay      ? icons.delayItemIcon()
                                           : type == LoginItemTypeWaitPrevious ? icons.waitPreviousItemIcon()
                                                                               : icons.conditionalPreviousItemIcon()));
    }
    return m_kindIcons.value(type);
}

int LoginItemsListModel::rowOfItem(const DBLoginItem* item) const
{
    return static_cast<int>(m_items.indexOf(item));
}

void LoginItemsListModel::refresh()
{
    const QList<DBLoginItem*> fresh = m_context && m_group && m_group->isInserted() ? m_context->sortedLoginItemsForGroup(m_group)
                                                                                      : QList<DBLoginItem*>();
    for (int row = static_cast<int>(m_items.size()) - 1; row >= 0; --row) {
        if (fresh.contains(m_items[row]))
            continue;
        beginRemoveRows({}, row, row);
        m_items.removeAt(row);
        endRemoveRows();
    }
    QList<DBLoginItem*> kept;
    for (DBLoginItem* item : fresh)
        if (m_items.contains(item))
            kept.append(item);
    moveRowsInto(kept);
    for (int row = 0; row < fresh.size(); ++row) {
        if (row < m_items.size() && m_items[row] == fresh[row])
            continue;
        beginInsertRows({}, row, row);
        m_items.insert(row, fresh[row]);
        endInsertRows();
    }
    // Names, icons and the judged statuses may have changed with any edit.
    judgeRows();
}

void LoginItemsListModel::judgeRows()
{
    m_runStates.judgeItems(m_items);
    if (!m_items.isEmpty())
        Q_EMIT dataChanged(index(0), index(static_cast<int>(m_items.size()) - 1));
}

void LoginItemsListModel::moveRowsInto(const QList<DBLoginItem*>& order)
{
    for (int row = 0; row < order.size(); ++row) {
        const int from = static_cast<int>(m_items.indexOf(order[row]));
        if (from == row)
            continue;
        // Qt counts the destination before the move.
        beginMoveRows({}, from, from, {}, row);
        m_items.move(from, row);
        endMoveRows();
    }
}
