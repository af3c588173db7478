#include "ui/base/LoginItemsListModel.h"

#include "foundation/Log.h"
#include "model/DBFileItem.h"
#include "model/DBLoginGroup.h"
#include "model/ObjectContext.h"
#include "model/UndoManager.h"
#include "shell/ModelEditing.h"
#include "ui/base/ThemeIcon.h"
#include "ui/base/ViewControllerBase.h"
#include "ui/icons/IconsManager.h"
#include "ui/views/ItemRowContent.h"

#include <QDir>
#include <QMap>
#include <QMimeData>
#include <QUrl>
#include <algorithm>

namespace {

const QString kUriListType = QStringLiteral("text/uri-list");
// How long a run's progress gathers before the rows it changed are painted.
constexpr int kRunRepaintInterval = 100; // ms

// A symbol of the icon font, drawn white on a selected row.
QIcon glyphIcon(IconBuilder builder)
{
    QIcon icon(builder.image());
    icon.addPixmap(builder.styled(1).image(), QIcon::Selected);
    return icon;
}

// Whether moving items to index, counted among the others, changes the order of list.
bool changesOrder(const QList<DBLoginItem*>& list, const QList<DBLoginItem*>& items, qsizetype index)
{
    QList<DBLoginItem*> order = list;
    order.removeIf([&items](DBLoginItem* item) { return items.contains(item); });
    const qsizetype position = std::clamp<qsizetype>(index, 0, order.size());
    for (qsizetype offset = 0; offset < items.size(); ++offset)
        order.insert(position + offset, items[offset]);
    return order != list;
}

} // namespace

LoginItemsListModel::LoginItemsListModel(ObjectContext& context, DBLoginGroup* group, QObject* parent)
    : QAbstractListModel(parent)
    , m_context(&context)
    , m_group(group)
{
    m_repaintTimer.setSingleShot(true);
    m_repaintTimer.setInterval(kRunRepaintInterval);
    connect(&m_repaintTimer, &QTimer::timeout, this, &LoginItemsListModel::repaintPendingRows);
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
        return item->itemNiceDisplayName();
    case Qt::AccessibleTextRole:
        return ItemRowContent::ofItem(*item, m_runStates, index.row()).spokenText(localizator());
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

QList<DBLoginItem*> LoginItemsListModel::itemsAtRows(QModelIndexList rows) const
{
    std::sort(rows.begin(), rows.end());
    QList<DBLoginItem*> items;
    for (const QModelIndex& index : std::as_const(rows))
        if (DBLoginItem* item = itemAtIndex(index.row()))
            items.append(item);
    return items;
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

void LoginItemsListModel::repaintRowOfItem(const ObjectID& item)
{
    m_rowsToRepaint.insert(item);
    if (!m_repaintTimer.isActive())
        m_repaintTimer.start();
}

void LoginItemsListModel::repaintAllRows()
{
    m_allRowsToRepaint = true;
    if (!m_repaintTimer.isActive())
        m_repaintTimer.start();
}

void LoginItemsListModel::repaintPendingRows()
{
    int first = -1;
    int last = -1;
    for (int row = 0; row < m_items.size(); ++row) {
        if (m_allRowsToRepaint || m_rowsToRepaint.contains(m_items[row]->objectID())) {
            first = first < 0 ? row : first;
            last = row;
        }
    }
    m_rowsToRepaint.clear();
    m_allRowsToRepaint = false;
    if (first >= 0)
        Q_EMIT dataChanged(index(first), index(last));
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

// --- Drag and drop -----------------------------------------------------------------

void LoginItemsListModel::enableDragAndDrop(const ViewControllerBase& owner, std::function<bool()> canDragRows)
{
    m_dropOwner = &owner;
    m_canDragRows = std::move(canDragRows);
}

bool LoginItemsListModel::isApplicationList() const
{
    return m_group && m_group->groupTypeValue() == LoginGroupTypeApplication;
}

bool LoginItemsListModel::canDragRows() const
{
    return m_dropOwner && (!m_canDragRows || m_canDragRows());
}

Qt::ItemFlags LoginItemsListModel::flags(const QModelIndex& index) const
{
    // Only the list itself takes drops, so the view turns a drop onto the
    // middle of a row into one above or below it.
    if (!index.isValid())
        return m_dropOwner ? Qt::ItemIsDropEnabled : Qt::NoItemFlags;
    Qt::ItemFlags flags = QAbstractListModel::flags(index);
    if (canDragRows())
        flags |= Qt::ItemIsDragEnabled;
    return flags;
}

QStringList LoginItemsListModel::mimeTypes() const
{
    QStringList types { LoginItemDragData::mimeType };
    if (isApplicationList())
        types << kUriListType;
    return types;
}

QMimeData* LoginItemsListModel::mimeData(const QModelIndexList& indexes) const
{
    if (!canDragRows()) {
        LOG_VERBOSE("Rows cannot be dragged now.");
        return nullptr;
    }
    QList<int> rows;
    for (const QModelIndex& index : indexes)
        if (checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid) && !rows.contains(index.row()))
            rows.append(index.row());
    if (rows.isEmpty())
        return nullptr;
    std::sort(rows.begin(), rows.end());
    const auto group = static_cast<LoginGroupType>(m_group->groupTypeValue());
    QList<LoginItemDragData::Row> records;
    for (const int row : std::as_const(rows)) {
        LOG_DEBUG("Preparing pasteboard writer for row %1...", row);
        const DBLoginItem* item = m_items[row];
        records.append({ item->itemNiceDisplayName(), row, group, item->objectID() });
    }
    auto* data = new QMimeData;
    data->setData(LoginItemDragData::mimeType, LoginItemDragData::encode(records));
    return data;
}

bool LoginItemsListModel::canDropMimeData(const QMimeData* data, Qt::DropAction action, int row, int, const QModelIndex& parent) const
{
    LOG_DEBUG("Validating drop to row %1, operation %2...", row, action);
    if (!m_dropOwner || !data || parent.isValid() || row < -1 || row > rowCount())
        return false;
    if (data->hasFormat(LoginItemDragData::mimeType))
        return action == Qt::MoveAction && itemsOfDraggedRows(*data).has_value();
    // A move would tell the file manager that its files have gone.
    return action == Qt::CopyAction && !droppedFilePaths(*data).isEmpty();
}

bool LoginItemsListModel::dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column, const QModelIndex& parent)
{
    if (!canDropMimeData(data, action, row, column, parent)) {
        LOG_WARN("Refusing drop on row %1: not between rows, or nothing this list takes.", row);
        return false;
    }
    LOG_INFO("Accepting drop on row %1, operation %2...", row, action);
    const int position = row < 0 ? rowCount() : row;
    const bool changed = data->hasFormat(LoginItemDragData::mimeType) ? moveDraggedItems(*itemsOfDraggedRows(*data), position)
                                                                      : createFileItems(droppedFilePaths(*data), position);
    if (changed) {
        refresh();
        Q_EMIT itemsDropped();
    }
    return true;
}

bool LoginItemsListModel::moveItemsOneRow(const QList<DBLoginItem*>& items, bool up)
{
    QList<int> rows;
    for (const DBLoginItem* item : items)
        if (const int row = rowOfItem(item); row >= 0 && !rows.contains(row))
            rows.append(row);
    if (!m_dropOwner || rows.isEmpty())
        return false;
    std::sort(rows.begin(), rows.end());
    // The drop row above the row before the first, or below the row after
    // the last; at the end of the list the items close up there.
    const int row = up ? std::max(rows.first() - 1, 0) : std::min(rows.last() + 2, rowCount());
    QList<DBLoginItem*> moving;
    for (const int movingRow : std::as_const(rows))
        moving.append(m_items[movingRow]);
    if (!moveDraggedItems(moving, row))
        return false;
    refresh();
    Q_EMIT itemsDropped();
    return true;
}

std::optional<QList<DBLoginItem*>> LoginItemsListModel::itemsOfDraggedRows(const QMimeData& data) const
{
    const std::optional<QList<LoginItemDragData::Row>> rows = LoginItemDragData::decode(data.data(LoginItemDragData::mimeType));
    if (!rows || !m_context)
        return std::nullopt;
    // Records of one list, so their items are all of the first one's group.
    const auto* first = dynamic_cast<DBLoginItem*>(m_context->objectWithID(rows->first().objectID));
    const DBLoginGroup* group = first ? first->itemLoginGroup() : nullptr;
    const QList<DBLoginItem*> list = group ? m_context->sortedLoginItemsForGroup(group) : QList<DBLoginItem*>();
    QMap<int, DBLoginItem*> items;
    for (const LoginItemDragData::Row& row : *rows) {
        DBLoginItem* item = list.value(row.index);
        if (!group || group->groupTypeValue() != row.group || !item || item->objectID() != row.objectID) {
            LOG_WARN("Refusing dragged rows: %1 is not at row %2 of its list.", row.objectID, row.index);
            return std::nullopt;
        }
        items.insert(row.index, item);
    }
    return items.values();
}

QStringList LoginItemsListModel::droppedFilePaths(const QMimeData& data) const
{
    QStringList paths;
    if (!isApplicationList())
        return paths;
    for (const QUrl& url : data.urls()) {
        const QString path = url.isLocalFile() && url.host().isEmpty() ? url.toLocalFile() : QString();
        if (QDir::isAbsolutePath(path))
            paths.append(path);
        else
            LOG_WARN("Skipping dropped %1: not a local file.", url.toString());
    }
    return paths;
}

bool LoginItemsListModel::moveDraggedItems(const QList<DBLoginItem*>& items, int row)
{
    DBLoginGroup* from = items.first()->itemLoginGroup();
    const bool reorder = from == m_group;
    if (reorder)
        LOG_VERBOSE("Reordering items...");
    else
        LOG_VERBOSE("Moving items from the other list...");
    // Counted among the rows that stay: the dragged rows above the drop row leave it.
    const qsizetype index = reorder ? row - std::count_if(items.begin(), items.end(), [&](const DBLoginItem* item) {
                                          return rowOfItem(item) < row;
                                      })
                                    : row;
    const bool changes = reorder ? changesOrder(m_items, items, index)
                                 : std::any_of(items.begin(), items.end(), [](const DBLoginItem* item) {
                                       return item->loginItemType() == LoginItemTypeFile;
                                   });
    if (!changes) {
        LOG_VERBOSE("The drop leaves the lists as they are.");
        return false;
    }
    LOG_VERBOSE("Updating database...");
    return m_dropOwner->performUndoableEdit([&] {
        LOG_DEBUG("Updating model sort indexes after moving to row %1...", index);
        m_dropOwner->editing()->moveLoginItems(items, from, m_group, index);
        // Named by ModelEditing after the items that changed place.
        return m_dropOwner->undoManager()->openGroupActionName();
    });
}

bool LoginItemsListModel::createFileItems(const QStringList& paths, int row)
{
    LOG_VERBOSE("Dropping %1 items from the file manager...", paths.size());
    const QVariantList data(paths.begin(), paths.end());
    return m_dropOwner->performUndoableEdit([&] {
        const QList<DBLoginItem*> created = m_dropOwner->editing()->createFileItemsFromData(data, m_group, row);
        return created.isEmpty() ? QString() : m_dropOwner->undoManager()->openGroupActionName();
    });
}
