// Schedule times are local hours and minutes: in every zone of the system's
// zone database that skips local times for daylight saving, each skipped
// minute can be set in the schedule editor, is stored as a time that exists,
// and is judged as that minute.
#include "foundation/Log.h"
#include "foundation/PropertyList.h"
#include "model/DatabaseSerializer.h"
#include "model/DBScheduledConditionData.h"
#include "model/DBScheduledConditionDataItem.h"
#include "model/DBStartupCondition.h"
#include "model/ExecutionValidationParameters.h"
#include "model/ObjectContext.h"
#include "shell/ModelEditing.h"
#include "support/TestHome.h"
#include "texts/Localizator.h"

#include <QDirIterator>
#include <QFile>
#include <QSet>
#include <QTimeZone>
#include <ctime>
#include <gtest/gtest.h>

namespace {

const QString kZoneFolder = QStringLiteral("/usr/share/zoneinfo");

// The zones of the database, by the names TZ takes.
QStringList zoneNames()
{
    QStringList names;
    for (QDirIterator it(kZoneFolder, QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
        const QString path = it.next();
        const QString name = path.mid(kZoneFolder.size() + 1);
        if (name.startsWith(QLatin1String("posix/")) || name.startsWith(QLatin1String("right/")))
            continue;
        QFile file(path);
        if (file.open(QIODevice::ReadOnly) && file.read(4) == "TZif")
            names.append(name);
    }
    return names;
}

// The local minutes of the day that the zone skipped in a gap between 1990 and 2040.
QSet<int> gapMinutes(const QString& name)
{
    QSet<int> minutes;
    const QTimeZone zone(name.toUtf8());
    if (!zone.isValid())
        return minutes;
    const QTimeZone::OffsetDataList transitions = zone.transitions(QDateTime(QDate(1990, 1, 1), QTime(0, 0), Qt::UTC),
                                                                   QDateTime(QDate(2040, 1, 1), QTime(0, 0), Qt::UTC));
    for (const QTimeZone::OffsetData& transition : transitions) {
        const int before = zone.offsetFromUtc(transition.atUtc.addSecs(-1));
        const int skipped = (transition.offsetFromUtc - before) / 60;
        const QTime start = transition.atUtc.addSecs(before).time();
        const int first = start.hour() * 60 + start.minute();
        for (int minute = 0; minute < std::min(skipped, 24 * 60); ++minute)
            minutes.insert((first + minute) % (24 * 60));
    }
    return minutes;
}

class ScheduledZone {
public:
    explicit ScheduledZone(const QString& name)
    {
        qputenv("TZ", name.toUtf8());
        tzset();
    }
    ~ScheduledZone()
    {
        qunsetenv("TZ");
        tzset();
    }
    ScheduledZone(const ScheduledZone&) = delete;
    ScheduledZone& operator=(const ScheduledZone&) = delete;
};

} // namespace

TEST(ScheduleTimesInEveryZone, EverySkippedMinuteIsStoredAsAnExistingTimeAndJudgedAsItself)
{
    ObjectContext context(Localizator::shared());
    ModelEditing editing(context, Localizator::shared());
    DBStartupCondition* schedule = context.createScheduledStartupConditionWithDefaultScheduleItem(false);
    DBScheduledConditionDataItem* entry = editing.createScheduledConditionDataItemForCondition(schedule, 0);
    ASSERT_NE(entry, nullptr);
    editing.setScheduleDay(entry, ScheduleDayEveryDay);
    const auto parameters = ExecutionValidationParameters::create();
    // Some twenty thousand edits and judgements: their log lines would take most of the time.
    const int32_t mask = gLogMask.exchange(0);

    int zonesWithGaps = 0;
    for (const QString& name : zoneNames()) {
        const QSet<int> minutes = gapMinutes(name);
        if (minutes.isEmpty())
            continue;
        ++zonesWithGaps;
        const ScheduledZone zone(name);
        for (const int minute : minutes) {
            const QTime time(minute / 60, minute % 60);
            editing.setScheduleFromTime(entry, time);
            editing.setScheduleToTime(entry, time);
            const QDateTime stored = entry->scheduleFromTime();
            ASSERT_TRUE(stored.isValid()) << name.toStdString() << " " << time.toString().toStdString();
            ASSERT_EQ(DBScheduledConditionDataItem::timeAsMinutesFromMidnight(stored), minute)
                << name.toStdString() << " " << time.toString().toStdString() << " stored as " << stored.toString(Qt::ISODate).toStdString();
            ASSERT_EQ(DBScheduledConditionDataItem::timeAsMinutesFromMidnight(entry->scheduleToTime()), minute);
            parameters->setTime(stored);
            EXPECT_TRUE(entry->isExecutionAllowedForParameters(*parameters)) << name.toStdString() << " " << time.toString().toStdString();
            // An hour away, where the clock does not show that minute again.
            QDateTime away = stored.addSecs(60 * 60);
            if (DBScheduledConditionDataItem::timeAsMinutesFromMidnight(away) == minute)
                away = stored.addSecs(-60 * 60);
            parameters->setTime(away);
            EXPECT_FALSE(entry->isExecutionAllowedForParameters(*parameters)) << name.toStdString() << " " << time.toString().toStdString();
        }
    }
    gLogMask = mask;
    // The zone database is installed (tzdata) and holds the zones with gaps.
    EXPECT_GT(zonesWithGaps, 100);
}

TEST(ScheduleTimesInEveryZone, TheSpringGapOfAucklandOnTheReferenceDayIsKept)
{
    const ScheduledZone zone(QStringLiteral("Pacific/Auckland"));
    for (int minute = 0; minute < 60; ++minute) {
        const QDateTime date = DBScheduledConditionDataItem::dateForTimeOfDay(QTime(2, minute));
        EXPECT_EQ(date.toLocalTime().time(), QTime(2, minute));
        EXPECT_EQ(date.toLocalTime().date(), QDate(2006, 10, 2));
    }
    EXPECT_EQ(DBScheduledConditionDataItem::dateForTimeOfDay(QTime(9, 0)).toLocalTime(), QDateTime(QDate(2006, 10, 1), QTime(9, 0)));
}

// A file may hold times on any day of the years 1 to 9999; an edit must not
// carry such a day across the edge of those years in the user's zone, or no
// later save could write the database.
TEST(ScheduleTimesInEveryZone, TimesStoredAtTheEdgeYearsAreEditedIntoTimesThatSaveAndLoad)
{
    const QDateTime first(QDate(1, 1, 1), QTime(0, 0), Qt::UTC);
    const QDateTime last(QDate(9999, 12, 31), QTime(23, 59, 59), Qt::UTC);
    const QVariantMap edge { { "name", "Edge" }, { "type", "schedule" },
                             { "schedules", QVariantList { QVariantMap { { "day", 9 }, { "from", first }, { "to", last } },
                                                           QVariantMap { { "day", 9 }, { "from", last }, { "to", first } } } } };
    for (const char* name : { "America/New_York", "Asia/Tokyo" }) {
        SCOPED_TRACE(name);
        const ScheduledZone zone(QString::fromLatin1(name));
        const QString folder = freshTestFolder(QStringLiteral("edge-years"));
        ASSERT_TRUE(PropertyList::toFile(QVariantMap { { "version", 5 }, { "conditions", QVariantList { edge } } }, folder + "/Lanternwick.plist"));
        DatabaseSerializer serializer(folder, QStringLiteral("Lanternwick"), Localizator::shared());
        ObjectContext context(Localizator::shared());
        ASSERT_TRUE(serializer.loadDatabaseToManagedObjectContext(context, nullptr));
        ModelEditing editing(context, Localizator::shared());
        const QList<DBScheduledConditionDataItem*> entries = context.fetch<DBScheduledConditionDataItem>();
        ASSERT_EQ(entries.size(), 2);
        for (DBScheduledConditionDataItem* entry : entries) {
            ASSERT_TRUE(editing.setScheduleFromTime(entry, QTime(0, 5)));
            ASSERT_TRUE(editing.setScheduleToTime(entry, QTime(23, 55)));
        }
        Error error;
        ASSERT_TRUE(serializer.saveDatabaseFromManagedObjectContext(context, true, &error)) << error.description().toStdString();

        ObjectContext reloaded(Localizator::shared());
        ASSERT_TRUE(DatabaseSerializer(folder, QStringLiteral("Lanternwick"), Localizator::shared()).loadDatabaseToManagedObjectContext(reloaded, nullptr));
        const QList<DBScheduledConditionDataItem*> loaded = reloaded.fetch<DBScheduledConditionDataItem>();
        ASSERT_EQ(loaded.size(), 2);
        for (const DBScheduledConditionDataItem* entry : loaded) {
            EXPECT_EQ(DBScheduledConditionDataItem::timeAsMinutesFromMidnight(entry->scheduleFromTime()), 5);
            EXPECT_EQ(DBScheduledConditionDataItem::timeAsMinutesFromMidnight(entry->scheduleToTime()), 23 * 60 + 55);
        }
    }
}
