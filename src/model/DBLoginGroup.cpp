#include "model/DBLoginGroup.h"

#include "foundation/Log.h"
#include "model/DBLoginItem.h"
#include "model/ObjectContext.h"
#include "model/UndoManager.h"

#include <algorithm>

namespace {
const QString kItems = QStringLiteral("groupLoginItems");
}

QList<DBLoginItem*> DBLoginGroup::groupLoginItems() const
{
    return toManyAs<DBLoginItem>(kItems);
}

void DBLoginGroup::addGroupLoginItemsObject(DBLoginItem* item)
{
    addToManyObject(kItems, item);
}

void DBLoginGroup::removeGroupLoginItemsObject(DBLoginItem* item)
{
    removeToManyObject(kItems, item);
}

DBLoginGroup* DBLoginGroup::getOrCreateGroupOfType(int32_t type, const QString& name, ObjectContext& context)
{
    LOG_DEBUG("Fetching login group of type %1...", type);
    // Creation order, so the choice of the group to keep never varies.
    QList<DBLoginGroup*> groups = context.fetch<DBLoginGroup>([type](const DBLoginGroup& group) { return group.groupTypeValue() == type; });
    // Making or repairing a group is not an edit of the user's: an undo step
    // that happens to make one must not take it away again.
    UndoManager& undo = context.undoManager();
    undo.disableUndoRegistration();
    DBLoginGroup* keeper = nullptr;
    if (groups.isEmpty()) {
        LOG_DEBUG("Group of type %1 not found, creating default with name %2...", type, name);
        keeper = context.insertNewObject<DBLoginGroup>();
        keeper->setGroupTypeValue(type);
        keeper->setGroupName(name);
    } else {
        keeper = groups.takeFirst();
        if (!groups.isEmpty())
            mergeGroups(keeper, groups, context);
    }
    undo.enableUndoRegistration();
    return keeper;
}

void DBLoginGroup::mergeGroups(DBLoginGroup* keeper, const QList<DBLoginGroup*>& others, ObjectContext& context)
{
    LOG_WARN("Found %1 login groups of type %2, merging them into %3...", others.size() + 1, keeper->groupTypeValue(), keeper);
    int32_t next = 0;
    for (const DBLoginItem* item : keeper->groupLoginItems())
        next = std::max(next, item->itemSortIndexValue() + 1);
    for (DBLoginGroup* other : others) {
        for (DBLoginItem* item : context.sortedLoginItemsForGroup(other)) {
            item->setItemSortIndexValue(next++);
            item->setItemLoginGroup(keeper);
        }
        context.deleteObject(other);
    }
}

QString DBLoginGroup::logDescription() const
{
    QString type = QStringLiteral("Unknown!?");
    if (groupTypeValue() == LoginGroupTypeApplication)
        type = QStringLiteral("Application");
    else if (groupTypeValue() == LoginGroupTypeIgnored)
        type = QStringLiteral("Ignored");
    return QStringLiteral("%1 (%2)").arg(entity().className(), type);
}
