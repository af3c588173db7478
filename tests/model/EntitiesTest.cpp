#include "ModelTestFixture.h"
#include "model/DBConditionalPreviousItem.h"
#include "model/DBDelayItem.h"
#include "model/DBFileItem.h"
#include "model/DBHotkeyConditionData.h"
#include "model/DBLoginGroup.h"
#include "model/DBNetworkConditionData.h"
#include "model/DBPowerSourceConditionData.h"
#include "model/DBScheduledConditionData.h"
#include "model/DBScheduledConditionDataItem.h"
#include "model/DBStartupCondition.h"
#include "model/DBVolumeConditionData.h"
#include "model/DBWaitPreviousItem.h"
#include "support/FakeSystemItemHelpers.h"

using EntitiesTest = ModelTest;

TEST_F(EntitiesTest, EntityNamesAndItemKinds)
{
    EXPECT_EQ(context.createVolumeConditionData()->entityName(), "VoumeConditionData");
    EXPECT_TRUE(DBLoginItem::entityDescription().isAbstract());
    EXPECT_EQ(context.createFileItemWithPath("/a")->loginItemType(), LoginItemTypeFile);
    EXPECT_EQ(context.createDelayItemWithDelay(1)->loginItemType(), LoginItemTypeDelay);
    EXPECT_EQ(context.createWaitPreviousItem()->loginItemType(), LoginItemTypeWaitPrevious);
    DBConditionalPreviousItem* conditional = context.createConditionalPreviousItem();
    EXPECT_EQ(conditional->loginItemType(), LoginItemTypeConditionalPrevious);
    EXPECT_EQ(conditional->itemModeValue(), ConditionalPreviousItemModeIfLaunched);
    EXPECT_FALSE(context.createConditionalPreviousItemWithMode(QVariant())->itemMode().isValid());
}

TEST_F(EntitiesTest, NewConditionsAreNamedAndCarryDefaultData)
{
    DBStartupCondition* hotkey = context.createHotkeyStartupCondition();
    EXPECT_EQ(hotkey->conditionName(), "New Condition");
    EXPECT_EQ(hotkey->conditionTypeValue(), StartupConditionTypeHotkey);
    EXPECT_EQ(hotkey->conditionHotkeyData()->hotkeyCombinationValue(), HotkeyCombinationControl);
    EXPECT_EQ(hotkey->conditionHotkeyData()->hotkeyStatusValue(), HotkeyStatusPressed);

    DBStartupCondition* power = context.createPowerSourceStartupCondition();
    EXPECT_EQ(power->conditionTypeValue(), StartupConditionTypePowerSource);
    EXPECT_EQ(power->conditionPowerSourceData()->powerSourceTypeValue(), PowerSourceTypePowerSupply);

    DBStartupCondition* volume = context.createMountedVolumeStartupCondition();
    EXPECT_EQ(volume->conditionTypeValue(), StartupConditionTypeMountedVolume);
    EXPECT_EQ(volume->conditionVolumeData()->volumeStatusValue(), VolumeStatusMounted);

    DBStartupCondition* network = context.createNetworkStartupCondition();
    EXPECT_EQ(network->conditionTypeValue(), StartupConditionTypeNetwork);
    EXPECT_TRUE(network->conditionNetworkData()->networkName().isNull());
    EXPECT_EQ(network->conditionName(), "New Condition");
}

TEST_F(EntitiesTest, ScheduleWithAndWithoutDefaultEntry)
{
    DBStartupCondition* schedule = context.createScheduledStartupCondition();
    EXPECT_EQ(schedule->conditionTypeValue(), StartupConditionTypeScheduled);
    const QList<DBScheduledConditionDataItem*> entries = schedule->conditionScheduledData()->scheduleItems();
    ASSERT_EQ(entries.size(), 1);
    EXPECT_EQ(entries[0]->scheduleDayValue(), ScheduleDayWeekDay);
    EXPECT_EQ(entries[0]->scheduleFromTime(), QDateTime(QDate(2006, 10, 1), QTime(9, 0)));
    EXPECT_EQ(entries[0]->scheduleToTime(), QDateTime(QDate(2006, 10, 1), QTime(17, 0)));
    EXPECT_EQ(entries[0]->scheduleFromTime().timeSpec(), Qt::LocalTime);

    DBStartupCondition* empty = context.createScheduledStartupConditionWithDefaultScheduleItem(false);
    ASSERT_NE(empty->conditionScheduledData(), nullptr);
    EXPECT_TRUE(empty->conditionScheduledData()->scheduleItems().isEmpty());
}

TEST_F(EntitiesTest, SortedScheduleEntries)
{
    DBScheduledConditionData* data = context.createScheduledConditionData();
    QList<DBScheduledConditionDataItem*> entries;
    for (int32_t index : { 2, 0, 1 }) {
        DBScheduledConditionDataItem* entry = context.createScheduledConditionDataItem();
        entry->setScheduleSortIndexValue(index);
        entry->setScheduleConditionData(data);
        entries.append(entry);
    }
    EXPECT_EQ(context.sortedScheduleItemsForScheduledConditionData(data),
              (QList<DBScheduledConditionDataItem*> { entries[1], entries[2], entries[0] }));
}

TEST_F(EntitiesTest, ReplaceAndAppendStartupConditions)
{
    DBFileItem* item = context.createFileItemWithPath("/a");
    DBStartupCondition* first = context.createHotkeyStartupCondition();
    DBStartupCondition* second = context.createPowerSourceStartupCondition();
    item->appendItemStartupConditionsWithConditionObjectsFromArray({ first });
    item->appendItemStartupConditionsWithConditionObjectsFromArray({ first, first });
    EXPECT_EQ(item->itemStartupConditions(), QList<DBStartupCondition*> { first });

    item->replaceItemStartupConditionsWithConditionObjectsFromArray({ second, second });
    EXPECT_EQ(item->itemStartupConditions(), QList<DBStartupCondition*> { second });
    EXPECT_TRUE(first->conditionLoginItems().isEmpty());
}

TEST_F(EntitiesTest, FileItemCachesNamesButAsksForMissingEveryTime)
{
    auto helpers = std::make_shared<FakeSystemItemHelpers>();
    DBFileItem* item = context.createFileItemWithPath("/apps/mail");
    item->setSystemItemHelpers(helpers);
    EXPECT_EQ(item->itemNiceDisplayName(), "Name of /apps/mail");
    EXPECT_EQ(item->itemNiceDescription(), "Description of /apps/mail");
    EXPECT_EQ(item->itemIconName(), "icon:/apps/mail");
    EXPECT_FALSE(item->itemIsMissing());

    item->setItemPath("/apps/gone");
    helpers->missingPaths.insert("/apps/gone");
    EXPECT_EQ(item->itemNiceDisplayName(), "Name of /apps/mail");
    EXPECT_EQ(item->itemNiceDescription(), "Description of /apps/mail");
    EXPECT_EQ(item->itemIconName(), "icon:/apps/mail");
    EXPECT_EQ(helpers->questions, 3);
    EXPECT_TRUE(item->itemIsMissing());
}

TEST_F(EntitiesTest, FileItemUsesSharedHelpersAndSurvivesWithoutAny)
{
    DBFileItem* lonely = context.createFileItemWithPath("/apps/Mail Reader");
    EXPECT_EQ(lonely->itemNiceDisplayName(), "Mail Reader");
    EXPECT_EQ(lonely->itemNiceDescription(), "/apps/Mail Reader");
    EXPECT_EQ(lonely->itemIconName(), "");
    EXPECT_TRUE(lonely->itemIsMissing());

    auto shared = std::make_shared<FakeSystemItemHelpers>();
    DBFileItem::setSharedSystemItemHelpers(shared);
    // Nothing was cached while no helpers were there.
    EXPECT_EQ(lonely->itemNiceDisplayName(), "Name of /apps/Mail Reader");
    EXPECT_EQ(lonely->systemItemHelpers(), shared);
    DBFileItem::setSharedSystemItemHelpers(nullptr);
    EXPECT_EQ(lonely->systemItemHelpers(), shared); // kept from first access
}

TEST_F(EntitiesTest, OtherKindsTakeTheirNamesFromTheTexts)
{
    DBDelayItem* delay = context.createDelayItemWithDelay(2.5);
    EXPECT_EQ(delay->itemNiceDisplayName(), "Delay 2.5 s");
    EXPECT_EQ(delay->itemNiceDescription(), "Delay 2.5 s");
    delay->setItemDelayValue(4);
    EXPECT_EQ(delay->itemNiceDisplayName(), "Delay 4 s");
    DBConditionalPreviousItem* conditional = context.createConditionalPreviousItemWithMode(1);
    EXPECT_EQ(conditional->itemNiceDescription(), "Conditional 1");
    EXPECT_EQ(context.createWaitPreviousItem()->itemNiceDisplayName(), "Wait");
}

TEST_F(EntitiesTest, LogDescriptions)
{
    EXPECT_EQ(context.createDelayItemWithDelay(3)->logDescription(), "DBDelayItem (Delay 3 s)");
    EXPECT_EQ(context.createWaitPreviousItem()->logDescription(), "DBWaitPreviousItem");
    EXPECT_EQ(context.createConditionalPreviousItem()->logDescription(), "DBConditionalPreviousItem");
    DBFileItem* file = context.createFileItemWithPath("/a");
    file->setSystemItemHelpers(std::make_shared<FakeSystemItemHelpers>());
    EXPECT_EQ(file->logDescription(), "DBFileItem (Name of /a)");

    DBLoginGroup* group = context.getOrCreateApplicationLoginGroup();
    EXPECT_EQ(group->logDescription(), "DBLoginGroup (Application)");
    EXPECT_EQ(context.getOrCreateIgnoreLoginGroup()->logDescription(), "DBLoginGroup (Ignored)");
    group->setGroupTypeValue(5);
    EXPECT_EQ(group->logDescription(), "DBLoginGroup (Unknown!?)");

    DBStartupCondition* hotkey = context.createHotkeyStartupCondition();
    hotkey->setConditionName("Shift held");
    EXPECT_EQ(hotkey->logDescription(), "DBStartupCondition (Shift held)");
    DBHotkeyConditionData* keys = hotkey->conditionHotkeyData();
    EXPECT_EQ(keys->logDescription(), "DBHotkeyConditionData ([Control pressed])");
    keys->setHotkeyCombinationValue(7);
    keys->setHotkeyStatusValue(HotkeyStatusNotPressed);
    EXPECT_EQ(keys->logDescription(), "DBHotkeyConditionData ([Option not pressed])");
    keys->setHotkeyCombinationValue(HotkeyCombinationCommand);
    EXPECT_EQ(keys->logDescription(), "DBHotkeyConditionData ([Command not pressed])");

    DBPowerSourceConditionData* power = context.createPowerSourceConditionData();
    EXPECT_EQ(power->logDescription(), "DBPowerSourceConditionData ([Power supply])");
    power->setPowerSourceTypeValue(3);
    EXPECT_EQ(power->logDescription(), "DBPowerSourceConditionData ([Battery power])");

    DBVolumeConditionData* volume = context.createVolumeConditionData();
    volume->setVolumePath("/media/Backup Disk");
    volume->setVolumeStatusValue(VolumeStatusNotMounted);
    EXPECT_EQ(volume->logDescription(), "DBVolumeConditionData ([/media/Backup Disk not mounted])");

    DBNetworkConditionData* network = context.createNetworkConditionData();
    EXPECT_EQ(network->logDescription(), "DBNetworkConditionData ([Internet connection is available])");
    network->setNetworkName("Harbour");
    network->setNetworkModeValue(NetworkModeNot);
    network->setNetworkStatusValue(NetworkStatusConnected);
    EXPECT_EQ(network->logDescription(), "DBNetworkConditionData ([Harbour not connected])");

    DBScheduledConditionDataItem* entry = context.createScheduledConditionDataItem();
    EXPECT_EQ(entry->logDescription(), QStringLiteral("DBScheduledConditionDataItem (week day (%1-%2))")
                                           .arg(entry->scheduleFromTime().toString(Qt::ISODate), entry->scheduleToTime().toString(Qt::ISODate)));
}

TEST_F(EntitiesTest, DayWords)
{
    const QStringList words { "monday", "tuesday", "wednesday", "thursday", "friday", "saturday", "sunday", "week day", "weekend", "every day" };
    for (int32_t day = 0; day < 10; ++day)
        EXPECT_EQ(DBScheduledConditionDataItem::dayDescriptionForDay(day), words[day]);
    EXPECT_EQ(DBScheduledConditionDataItem::dayDescriptionForDay(10), "unknown");
    EXPECT_EQ(DBScheduledConditionDataItem::dayDescriptionForDay(-1), "unknown");
}
