#pragma once
// The schedule of a condition: the time windows it allows.
#include "model/ManagedObject.h"
#include "model/ModelAccessors.h"
#include "model/ModelEnumerations.h"
#include "model/ModelSchema.h"

class DBStartupCondition;
class DBScheduledConditionDataItem;

class ExecutionValidationParameters;

class DBScheduledConditionData : public ManagedObject {
    LW_ENTITY(DBScheduledConditionData, ManagedObject, "ScheduledConditionData")

    QList<DBScheduledConditionDataItem*> scheduleItems() const;
    void addScheduleItemsObject(DBScheduledConditionDataItem* item);
    void removeScheduleItemsObject(DBScheduledConditionDataItem* item);

    DBStartupCondition* scheduleStartupCondition() const;
    void setScheduleStartupCondition(DBStartupCondition* condition);

    // The first entry that allows is enough; no entry refuses.
    bool isExecutionAllowedForParameters(ExecutionValidationParameters& parameters) const;
};
