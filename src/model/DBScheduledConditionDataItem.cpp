#include "model/DBScheduledConditionDataItem.h"

#include "model/DBScheduledConditionData.h"

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
    const QDate day(2006, 10, 1);
    setInitialValue(QStringLiteral("scheduleDay"), int32_t(ScheduleDayWeekDay));
    setInitialValue(QStringLiteral("scheduleFromTime"), QDateTime(day, QTime(9, 0)));
    setInitialValue(QStringLiteral("scheduleToTime"), QDateTime(day, QTime(17, 0)));
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
