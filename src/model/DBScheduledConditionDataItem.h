#pragma once
// One time window of a schedule; only hour and minute of its times count.
#include "model/ManagedObject.h"
#include "model/ModelAccessors.h"
#include "model/ModelEnumerations.h"
#include "model/ModelSchema.h"

#include <QDateTime>

class DBScheduledConditionData;

class ExecutionValidationParameters;

class DBScheduledConditionDataItem : public ManagedObject {
    LW_ENTITY(DBScheduledConditionDataItem, ManagedObject, "ScheduledConditionDataItem")

    LW_INT32_ATTRIBUTE(scheduleDay, ScheduleDay)
    LW_DATE_ATTRIBUTE(scheduleFromTime, ScheduleFromTime)
    LW_DATE_ATTRIBUTE(scheduleToTime, ScheduleToTime)
    LW_INT32_ATTRIBUTE(scheduleSortIndex, ScheduleSortIndex)

    DBScheduledConditionData* scheduleConditionData() const;
    void setScheduleConditionData(DBScheduledConditionData* data);

    static QString dayDescriptionForDay(int32_t day);
    bool isExecutionAllowedForParameters(ExecutionValidationParameters& parameters) const;
    // Hour and minute of date in local time.
    static int timeAsMinutesFromMidnight(const QDateTime& date);
    // The hour and minute of time as a stored date: on the model's reference
    // day, a day every time zone can store, or on the first day after it on
    // which that local time exists, since a daylight-saving gap skips it on
    // some days.
    static QDateTime dateForTimeOfDay(const QTime& time);

    QString logDescription() const override;

protected:
    // Week days, 09:00 to 17:00.
    void awakeFromInsert() override;
};
