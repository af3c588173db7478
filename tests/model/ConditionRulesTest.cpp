#include "RulesTestFixture.h"
#include "foundation/Log.h"
#include "model/DBHotkeyConditionData.h"
#include "model/DBNetworkConditionData.h"
#include "model/DBPowerSourceConditionData.h"
#include "model/DBScheduledConditionData.h"
#include "model/DBScheduledConditionDataItem.h"
#include "model/DBStartupCondition.h"
#include "model/DBVolumeConditionData.h"

namespace {

class ConditionRulesTest : public RulesTest {
protected:
    DBStartupCondition* scheduleWith(const QList<std::tuple<int32_t, QTime, QTime>>& windows)
    {
        DBStartupCondition* condition = context.createScheduledStartupConditionWithDefaultScheduleItem(false);
        for (const auto& [day, from, to] : windows) {
            DBScheduledConditionDataItem* entry = context.createScheduledConditionDataItem();
            entry->setScheduleDayValue(day);
            // Stored with the reference date of the editor; only the clock time counts.
            entry->setScheduleFromTime(QDateTime(QDate(2006, 10, 1), from));
            entry->setScheduleToTime(QDateTime(QDate(2006, 10, 1), to));
            entry->setScheduleConditionData(condition->conditionScheduledData());
        }
        return condition;
    }

    bool allowsAt(DBStartupCondition* condition, const QDateTime& time)
    {
        params.setTime(time);
        return condition->isExecutionAllowedForParameters(params);
    }

    DBStartupCondition* hotkey(int32_t combination, int32_t status)
    {
        DBStartupCondition* condition = context.createHotkeyStartupCondition();
        condition->conditionHotkeyData()->setHotkeyCombinationValue(combination);
        condition->conditionHotkeyData()->setHotkeyStatusValue(status);
        return condition;
    }

    DBStartupCondition* network(const QString& name, int32_t mode, int32_t status)
    {
        DBStartupCondition* condition = context.createNetworkStartupCondition();
        if (!name.isNull())
            condition->conditionNetworkData()->setNetworkName(name);
        condition->conditionNetworkData()->setNetworkModeValue(mode);
        condition->conditionNetworkData()->setNetworkStatusValue(status);
        return condition;
    }

    static NetworkData networkData(const QString& name, bool available, bool connected)
    {
        NetworkData data(name);
        data.setAvailable(available);
        data.setConnected(connected);
        return data;
    }
};

// 2024-01-06 is a Saturday, 2024-01-07 a Sunday, 2024-01-08 a Monday.

TEST_F(ConditionRulesTest, ScheduleWindowBoundsAreInclusiveAndNeverWrapPastMidnight)
{
    DBStartupCondition* office = scheduleWith({ { ScheduleDayEveryDay, QTime(9, 0), QTime(17, 0) } });
    EXPECT_TRUE(allowsAt(office, at(2024, 1, 8, 9, 0)));
    EXPECT_TRUE(allowsAt(office, at(2024, 1, 8, 17, 0)));
    EXPECT_FALSE(allowsAt(office, at(2024, 1, 8, 17, 1)));
    EXPECT_FALSE(allowsAt(office, at(2024, 1, 8, 8, 59)));

    DBStartupCondition* night = scheduleWith({ { ScheduleDayEveryDay, QTime(22, 0), QTime(6, 0) } });
    EXPECT_FALSE(allowsAt(night, at(2024, 1, 8, 23, 0)));
    EXPECT_FALSE(allowsAt(night, at(2024, 1, 8, 3, 0)));
    EXPECT_FALSE(allowsAt(night, at(2024, 1, 8, 22, 0)));
}

TEST_F(ConditionRulesTest, ScheduleDaysMapToTheLocalCalendar)
{
    const QTime from(0, 0), to(23, 59);
    const struct {
        int32_t day;
        QDate date;
        bool allowed;
    } cases[] = {
        { ScheduleDayMonday, QDate(2024, 1, 8), true },    { ScheduleDayMonday, QDate(2024, 1, 9), false },
        { ScheduleDayFriday, QDate(2024, 1, 12), true },   { ScheduleDaySaturday, QDate(2024, 1, 6), true },
        { ScheduleDaySunday, QDate(2024, 1, 7), true },    { ScheduleDaySunday, QDate(2024, 1, 6), false },
        { ScheduleDayWeekDay, QDate(2024, 1, 8), true },   { ScheduleDayWeekDay, QDate(2024, 1, 12), true },
        { ScheduleDayWeekDay, QDate(2024, 1, 6), false },  { ScheduleDayWeekend, QDate(2024, 1, 7), true },
        { ScheduleDayWeekend, QDate(2024, 1, 6), true },   { ScheduleDayWeekend, QDate(2024, 1, 8), false },
        { ScheduleDayEveryDay, QDate(2024, 1, 6), true },  { 10, QDate(2024, 1, 8), false },
        { -1, QDate(2024, 1, 8), false },
    };
    for (const auto& c : cases) {
        DBStartupCondition* condition = scheduleWith({ { c.day, from, to } });
        EXPECT_EQ(allowsAt(condition, QDateTime(c.date, QTime(12, 0))), c.allowed) << c.day << " on " << c.date.toString().toStdString();
    }

    // A moment given in UTC is judged by the local day and clock: Sunday 23:30
    // UTC is already Monday 00:30 here.
    DBStartupCondition* mondayMorning = scheduleWith({ { ScheduleDayMonday, QTime(0, 0), QTime(1, 0) } });
    EXPECT_TRUE(allowsAt(mondayMorning, QDateTime(QDate(2024, 1, 7), QTime(23, 30), QTimeZone::utc())));
}

// The refusal names the weekday as the calendar numbers it, Sunday 1 to Saturday 7.
TEST_F(ConditionRulesTest, ScheduleDayRefusalNamesTheCalendarWeekday)
{
    DBStartupCondition* monday = scheduleWith({ { ScheduleDayMonday, QTime(0, 0), QTime(23, 59) } });
    const int32_t mask = gLogMask;
    gLogMask = LOG_LEVEL_DEBUG;
    const auto refusalAt = [&](const QDate& date) {
        testing::internal::CaptureStdout();
        EXPECT_FALSE(allowsAt(monday, QDateTime(date, QTime(12, 0))));
        return QString::fromStdString(testing::internal::GetCapturedStdout());
    };
    EXPECT_TRUE(refusalAt(QDate(2024, 1, 7)).contains("prevented execution because day 1 doesn't match!"));
    EXPECT_TRUE(refusalAt(QDate(2024, 1, 6)).contains("prevented execution because day 7 doesn't match!"));
    EXPECT_TRUE(refusalAt(QDate(2024, 1, 9)).contains("prevented execution because day 3 doesn't match!"));
    gLogMask = mask;
}

TEST_F(ConditionRulesTest, ScheduleWithoutTimeOrEntries)
{
    DBStartupCondition* weekDays = scheduleWith({ { ScheduleDayWeekDay, QTime(9, 0), QTime(17, 0) } });
    EXPECT_TRUE(allowsAt(weekDays, QDateTime()));
    EXPECT_FALSE(allowsAt(scheduleWith({}), QDateTime()));
    EXPECT_FALSE(allowsAt(scheduleWith({}), at(2024, 1, 8, 12, 0)));

    // Any allowing entry is enough.
    DBStartupCondition* split = scheduleWith({ { ScheduleDayWeekDay, QTime(9, 0), QTime(12, 0) },
                                               { ScheduleDayWeekend, QTime(14, 0), QTime(18, 0) } });
    EXPECT_TRUE(allowsAt(split, at(2024, 1, 6, 15, 0)));
    EXPECT_FALSE(allowsAt(split, at(2024, 1, 6, 10, 0)));
    EXPECT_TRUE(allowsAt(split, at(2024, 1, 8, 10, 0)));
}

TEST_F(ConditionRulesTest, HotkeyCountsOnlyAtTheFirstQuestion)
{
    DBStartupCondition* shiftPressed = hotkey(HotkeyCombinationShift, HotkeyStatusPressed);
    EXPECT_FALSE(shiftPressed->isExecutionAllowedForParameters(params));
    params.setShiftKeyPressed(true);
    EXPECT_TRUE(shiftPressed->isExecutionAllowedForParameters(params));

    params.setShiftKeyPressed(false);
    params.setJustBeforeLaunchCheck(true);
    EXPECT_TRUE(shiftPressed->isExecutionAllowedForParameters(params));
    params.setShiftKeyPressed(true);
    EXPECT_TRUE(hotkey(HotkeyCombinationShift, HotkeyStatusNotPressed)->isExecutionAllowedForParameters(params));
}

TEST_F(ConditionRulesTest, HotkeyReadsItsOwnKeyAndStatus)
{
    params.setOptionKeyPressed(true);
    params.setCommandKeyPressed(true);
    EXPECT_FALSE(hotkey(HotkeyCombinationControl, HotkeyStatusPressed)->isExecutionAllowedForParameters(params));
    EXPECT_TRUE(hotkey(HotkeyCombinationControl, HotkeyStatusNotPressed)->isExecutionAllowedForParameters(params));
    EXPECT_TRUE(hotkey(HotkeyCombinationOption, HotkeyStatusPressed)->isExecutionAllowedForParameters(params));
    EXPECT_TRUE(hotkey(HotkeyCombinationCommand, HotkeyStatusPressed)->isExecutionAllowedForParameters(params));
    EXPECT_FALSE(hotkey(HotkeyCombinationCommand, HotkeyStatusNotPressed)->isExecutionAllowedForParameters(params));
    EXPECT_FALSE(hotkey(HotkeyCombinationShift, HotkeyStatusPressed)->isExecutionAllowedForParameters(params));
    // An unknown key stands for Option.
    EXPECT_TRUE(hotkey(42, HotkeyStatusPressed)->isExecutionAllowedForParameters(params));
}

TEST_F(ConditionRulesTest, PowerSource)
{
    DBStartupCondition* onBattery = context.createPowerSourceStartupCondition();
    onBattery->conditionPowerSourceData()->setPowerSourceTypeValue(PowerSourceTypeBattery);
    DBStartupCondition* onSupply = context.createPowerSourceStartupCondition();

    EXPECT_FALSE(onBattery->isExecutionAllowedForParameters(params));
    EXPECT_TRUE(onSupply->isExecutionAllowedForParameters(params));
    params.setPowerSource(PowerSourceTypeBattery);
    EXPECT_TRUE(onBattery->isExecutionAllowedForParameters(params));
    EXPECT_FALSE(onSupply->isExecutionAllowedForParameters(params));
}

TEST_F(ConditionRulesTest, VolumeMountedOrNot)
{
    DBStartupCondition* mounted = context.createMountedVolumeStartupCondition();
    mounted->conditionVolumeData()->setVolumePath("/media/backup disk");
    DBStartupCondition* notMounted = context.createMountedVolumeStartupCondition();
    notMounted->conditionVolumeData()->setVolumePath("/media/backup disk");
    notMounted->conditionVolumeData()->setVolumeStatusValue(VolumeStatusNotMounted);

    EXPECT_FALSE(mounted->isExecutionAllowedForParameters(params));
    EXPECT_TRUE(notMounted->isExecutionAllowedForParameters(params));

    params.setVolumes({ AttachedVolumeData("/media/backup", "backup", true), AttachedVolumeData("/media/backup disk", "backup disk", true) });
    EXPECT_TRUE(mounted->isExecutionAllowedForParameters(params));
    EXPECT_FALSE(notMounted->isExecutionAllowedForParameters(params));

    // The first entry with the path decides, also when it is not attached.
    params.setVolumes({ AttachedVolumeData("/media/backup disk", "backup disk", false), AttachedVolumeData("/media/backup disk", "x", true) });
    EXPECT_FALSE(mounted->isExecutionAllowedForParameters(params));
    EXPECT_TRUE(notMounted->isExecutionAllowedForParameters(params));
}

TEST_F(ConditionRulesTest, NamedNetworkAvailableOrConnected)
{
    params.setNetworks({ networkData("Cafe", true, false), networkData("Home", true, true) });

    EXPECT_TRUE(network("Home", NetworkModeIs, NetworkStatusConnected)->isExecutionAllowedForParameters(params));
    EXPECT_FALSE(network("Cafe", NetworkModeIs, NetworkStatusConnected)->isExecutionAllowedForParameters(params));
    EXPECT_TRUE(network("Cafe", NetworkModeIs, NetworkStatusAvailable)->isExecutionAllowedForParameters(params));
    EXPECT_FALSE(network("Office", NetworkModeIs, NetworkStatusAvailable)->isExecutionAllowedForParameters(params));

    EXPECT_FALSE(network("Home", NetworkModeNot, NetworkStatusConnected)->isExecutionAllowedForParameters(params));
    EXPECT_TRUE(network("Cafe", NetworkModeNot, NetworkStatusConnected)->isExecutionAllowedForParameters(params));
    EXPECT_FALSE(network("Cafe", NetworkModeNot, NetworkStatusAvailable)->isExecutionAllowedForParameters(params));
    EXPECT_TRUE(network("Office", NetworkModeNot, NetworkStatusAvailable)->isExecutionAllowedForParameters(params));

    // Settings outside the known values never refuse.
    EXPECT_TRUE(network("Office", 5, NetworkStatusAvailable)->isExecutionAllowedForParameters(params));
    EXPECT_TRUE(network("Office", NetworkModeIs, 5)->isExecutionAllowedForParameters(params));
}

TEST_F(ConditionRulesTest, UnnamedNetworkIsTheInternetConnection)
{
    // The status does not matter without a name.
    DBStartupCondition* online = network(QString(), NetworkModeIs, NetworkStatusConnected);
    DBStartupCondition* offline = network(QString(), NetworkModeNot, NetworkStatusAvailable);
    params.setNetworks({ networkData("Home", true, true) });

    EXPECT_FALSE(online->isExecutionAllowedForParameters(params));
    EXPECT_TRUE(offline->isExecutionAllowedForParameters(params));
    params.setNetworkReachable(true);
    EXPECT_TRUE(online->isExecutionAllowedForParameters(params));
    EXPECT_FALSE(offline->isExecutionAllowedForParameters(params));
}

TEST_F(ConditionRulesTest, UnknownTypeOrMissingDataRefuses)
{
    DBStartupCondition* unknown = DBStartupCondition::createStartupConditionOfType(7, context);
    EXPECT_FALSE(unknown->isExecutionAllowedForParameters(params));

    DBStartupCondition* withoutData = DBStartupCondition::createStartupConditionOfType(StartupConditionTypeHotkey, context);
    params.setJustBeforeLaunchCheck(true);
    EXPECT_FALSE(withoutData->isExecutionAllowedForParameters(params));
}

} // namespace
