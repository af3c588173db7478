#include "model/DBScheduledConditionData.h"

#include "foundation/Log.h"
#include "model/DBScheduledConditionDataItem.h"
#include "model/DBStartupCondition.h"
#include "model/ExecutionValidationParameters.h"

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

bool DBScheduledConditionData::isExecutionAllowedForParameters(ExecutionValidationParameters& parameters) const
{
    LOG_VERBOSE("Determining if execution is allowed for parameters %1...", parameters);
    for (DBScheduledConditionDataItem* entry : scheduleItems()) {
        LOG_DEBUG("Determining if schedule item %1 allows execution for %2...", entry, parameters);
        if (entry->isExecutionAllowedForParameters(parameters))
            return true;
    }
    return false;
}
