#include "model/DBScheduledConditionDataItem.h"

#include "foundation/Log.h"
#include "model/DBScheduledConditionData.h"
#include "model/ExecutionValidationParameters.h"

#include <QDate>
#include <QTime>

DBScheduledConditionData* DBScheduledConditionDataItem::scheduleConditionData() const
{
    return toOneAs<DBScheduledConditionData>(QStringLiteral("scheduleConditionData"));
}

void DBScheduledConditionDataItem::setScheduleConditionData(DBScheduledConditionData* data)
{
    setToOne(QStringLiteral("scheduleConditionData"), data);
}

void DBScheduledConditionDataItem::awakeFromInsert()
{
    setInitialValue(QStringLiteral("scheduleDay"), int32_t(ScheduleDayWeekDay));
    setInitialValue(QStringLiteral("scheduleFromTime"), dateForTimeOfDay(QTime(9, 0)));
    setInitialValue(QStringLiteral("scheduleToTime"), dateForTimeOfDay(QTime(17, 0)));
}

QDateTime DBScheduledConditionDataItem::dateForTimeOfDay(const QTime& time)
{
    const QTime minute(time.hour(), time.minute());
    // Entries made by this program are dated 1 October 2006 where they can be.
    const QDate first(2006, 10, 1);
    // Gaps last hours and skip at most a day, never a week.
    for (int offset = 0; offset < 7; ++offset) {
        const QDateTime date(first.addDays(offset), minute);
        if (date.isValid() && date.time() == minute)
            return date;
    }
    LOG_ERROR("Local time %1 exists on none of the 7 days from %2!", minute.toString(), first.toString(Qt::ISODate));
    return QDateTime(first, minute, Qt::UTC);
}

QString DBScheduledConditionDataItem::dayDescriptionForDay(int32_t day)
{
    static const char* const words[] = { "monday", "tuesday", "wednesday", "thursday", "friday", "saturday",
                                         "sunday", "week day", "weekend", "every day" };
    if (day < 0 || day >= static_cast<int32_t>(std::size(words)))
        return QStringLiteral("unknown");
    return QString::fromLatin1(words[day]);
}

QString DBScheduledConditionDataItem::logDescription() const
{
    const auto time = [](const QDateTime& date) { return date.isValid() ? date.toString(Qt::ISODate) : QStringLiteral("(null)"); };
    return QStringLiteral("%1 (%2)").arg(entity().className(),
                                         QStringLiteral("%1 (%2-%3)").arg(dayDescriptionForDay(scheduleDayValue()),
                                                                          time(scheduleFromTime()), time(scheduleToTime())));
}

int DBScheduledConditionDataItem::timeAsMinutesFromMidnight(const QDateTime& date)
{
    const QTime time = date.toLocalTime().time();
    return time.hour() * 60 + time.minute();
}

bool DBScheduledConditionDataItem::isExecutionAllowedForParameters(ExecutionValidationParameters& parameters) const
{
    LOG_VERBOSE("Determining if %1 allows execution for parameters %2...", this, parameters);
    const QDateTime time = parameters.time();
    if (!time.isValid())
        return true;
    const int now = timeAsMinutesFromMidnight(time);
    // A window whose start lies after its end allows nothing: windows never
    // reach past midnight.
    if (now < timeAsMinutesFromMidnight(scheduleFromTime()) || now > timeAsMinutesFromMidnight(scheduleToTime())) {
        LOG_DEBUG("%1 prevented execution because %2 time is outside valid range!", this, time.toString(Qt::ISODate));
        return false;
    }
    const int32_t day = scheduleDayValue();
    if (day == ScheduleDayEveryDay) {
        LOG_DEBUG("%1 allowed execution because %2 is valid - time and day matches!", this, time.toString(Qt::ISODate));
        return true;
    }
    // The calendar's numbering, Sunday 1 to Saturday 7, which the log names too.
    const int weekday = time.toLocalTime().date().dayOfWeek() % 7 + 1;
    bool matches = false;
    if (day >= ScheduleDayMonday && day <= ScheduleDaySaturday)
        matches = weekday == day + 2;
    else if (day == ScheduleDaySunday)
        matches = weekday == 1;
    else if (day == ScheduleDayWeekDay)
        matches = weekday >= 2 && weekday <= 6;
    else if (day == ScheduleDayWeekend)
        matches = weekday == 7 || weekday == 1;
    if (matches) {
        LOG_DEBUG("%1 allowed execution.", this);
        return true;
    }
    LOG_DEBUG("%1 prevented execution because day %2 doesn't match!", this, weekday);
    return false;
}
