#include "model/DBLoginItem.h"

#include "foundation/Log.h"
#include "model/DBLoginGroup.h"
#include "model/DBStartupCondition.h"

namespace {
const QString kConditions = QStringLiteral("itemStartupConditions");
}

DBLoginItem::DBLoginItem(const EntityDescription& entity)
    : ManagedObject(entity)
{
}

DBLoginGroup* DBLoginItem::itemLoginGroup() const
{
    return toOneAs<DBLoginGroup>(QStringLiteral("itemLoginGroup"));
}

void DBLoginItem::setItemLoginGroup(DBLoginGroup* group)
{
    setToOne(QStringLiteral("itemLoginGroup"), group);
}

QList<DBStartupCondition*> DBLoginItem::itemStartupConditions() const
{
    return toManyAs<DBStartupCondition>(kConditions);
}

void DBLoginItem::addItemStartupConditionsObject(DBStartupCondition* condition)
{
    addToManyObject(kConditions, condition);
}

void DBLoginItem::removeItemStartupConditionsObject(DBStartupCondition* condition)
{
    removeToManyObject(kConditions, condition);
}

void DBLoginItem::replaceItemStartupConditionsWithConditionObjectsFromArray(const QList<DBStartupCondition*>& conditions)
{
    LOG_VERBOSE("Replacing startup conditions with %1 conditions...", conditions.size());
    for (DBStartupCondition* condition : itemStartupConditions())
        removeItemStartupConditionsObject(condition);
    for (DBStartupCondition* condition : conditions)
        addItemStartupConditionsObject(condition);
}

void DBLoginItem::appendItemStartupConditionsWithConditionObjectsFromArray(const QList<DBStartupCondition*>& conditions)
{
    LOG_VERBOSE("Appending startup conditions with %1 conditions...", conditions.size());
    for (DBStartupCondition* condition : conditions)
        addItemStartupConditionsObject(condition);
}

QString DBLoginItem::logDescription() const
{
    return QStringLiteral("%1 (%2)").arg(entity().className(), itemNiceDisplayName());
}
