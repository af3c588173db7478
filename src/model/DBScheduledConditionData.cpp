#include "model/DBScheduledConditionData.h"

#include "model/DBStartupCondition.h"

#include "model/DBScheduledConditionDataItem.h"

namespace {
const QString kItems = QStringLiteral("scheduleItems");
}

QList<DBScheduledConditionDataItem*> DBScheduledConditionData::scheduleItems() const
{
    return toManyAs<DBScheduledConditionDataItem>(kItems);
}

void DBScheduledConditionData::addScheduleItemsObject(DBScheduledConditionDataItem* item)
{
    addToManyObject(kItems, item);
}

void DBScheduledConditionData::removeScheduleItemsObject(DBScheduledConditionDataItem* item)
{
    removeToManyObject(kItems, item);
}

DBStartupCondition* DBScheduledConditionData::scheduleStartupCondition() const
{
    return toOneAs<DBStartupCondition>(QStringLiteral("scheduleStartupCondition"));
}

void DBScheduledConditionData::setScheduleStartupCondition(DBStartupCondition* condition)
{
    setToOne(QStringLiteral("scheduleStartupCondition"), condition);
}
