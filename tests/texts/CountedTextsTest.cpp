#include "TextsTestFixture.h"
#include "model/DBDelayItem.h"
#include "model/DBFileItem.h"
#include "model/DBScheduledConditionData.h"
#include "model/DBScheduledConditionDataItem.h"
#include "model/DBStartupCondition.h"

class CountedTextsTest : public TextsTest {
protected:
    QList<DBLoginItem*> items(int count)
    {
        QList<DBLoginItem*> list;
        for (int i = 0; i < count; ++i)
            list.append(append(context.createFileItemWithPath(QStringLiteral("/item%1").arg(i))));
        return list;
    }
    QList<DBStartupCondition*> conditions(int count)
    {
        QList<DBStartupCondition*> list;
        for (int i = 0; i < count; ++i) {
            list.append(context.createHotkeyStartupCondition());
            list.last()->setConditionName(QStringLiteral("Cond %1").arg(i));
        }
        return list;
    }
};

TEST_F(CountedTextsTest, OneElementIsNamedAnyOtherCountIsCounted)
{
    EXPECT_EQ(texts.undoActionForCreatingFileItems(items(1)), "Add Name of /item0");
    EXPECT_EQ(texts.undoActionForCreatingFileItems(items(2)), "Add 2 Items");
    EXPECT_EQ(texts.undoActionForCreatingFileItems({}), "Add 0 Items");
    EXPECT_EQ(texts.undoActionForMovingApplicationItemsToSystemPreferences(items(3)),
              "Move 3 Items To Startup Applications");
    EXPECT_EQ(texts.undoActionForDeletingStartupConditions(conditions(1)), "Delete Cond 0");
    EXPECT_EQ(texts.undoActionForMovingStartupConditions(conditions(0)), "Reorder 0 Conditions");
    EXPECT_EQ(texts.formattedDescriptionForStartupConditions(conditions(4)), "4");
}

TEST_F(CountedTextsTest, CountsHaveNoGroupSeparators)
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(Localizator::formattedUnsignedInteger(1234567), "1234567");
    EXPECT_EQ(texts.delayItemNiceDisplayNameForDelay(1234.5), "1234,5 seconds delay");
}

TEST_F(CountedTextsTest, MenuTitlesHaveATextForNothingSelected)
{
    EXPECT_EQ(texts.menuItemTitleForDeletingLoginItems({}), "Delete Selection");
    EXPECT_EQ(texts.menuItemTitleForDeletingLoginItems(items(1)), "Delete Name of /item0");
    EXPECT_EQ(texts.menuItemTitleForDeletingIgnoredItems(items(2)), "Delete 2 Ignored Items");
    EXPECT_EQ(texts.menuItemTitleForMovingIgnoredItemsToSystemPreferences({}), "Copy Selection To Startup Applications");
    EXPECT_EQ(texts.menuItemTitleForDeletingSystemItems({}), "Delete Selection");
    EXPECT_EQ(texts.menuItemTitleForDeletingSystemItems({ "Dropbox" }), "Delete Dropbox from Startup Applications...");
    EXPECT_EQ(texts.menuItemTitleForDeletingSystemItems({ "a", "b" }), "Delete 2 Items from Startup Applications...");
    EXPECT_EQ(texts.menuItemTitleForDeletingStartupConditions(conditions(3)), "Delete 3 Conditions");
    EXPECT_EQ(texts.menuItemTitleForTogglinngSimulationMode(true), "Exit Launch Simulation Mode");
}

TEST_F(CountedTextsTest, StartupModeUndoNames)
{
    QList<DBFileItem*> files;
    for (const char* path : { "/a", "/b", "/c" })
        files.append(append(context.createFileItemWithPath(path)));
    const struct {
        int32_t mode;
        const char* one;
        const char* many;
    } cases[] = {
        { ItemStartupModeShown, "Change Name of /a Startup Mode To Shown", "Change 3 Items Startup Mode To Shown" },
        { ItemStartupModeHidden, "Change Name of /a Startup Mode To Hidden", "Change 3 Items Startup Mode To Hidden" },
        { ItemStartupModeDisabled, "Change Name of /a Startup Mode To Disabled", "Change 3 Items Startup Mode To Disabled" },
        { 9, "Change Name of /a Startup Mode To Disabled", "Change 3 Items Startup Mode To Disabled" },
    };
    for (const auto& test : cases) {
        files[0]->setItemStartupModeValue(test.mode);
        // The others disagree: the first item's mode names the whole selection.
        files[1]->setItemStartupModeValue(ItemStartupModeHidden);
        EXPECT_EQ(texts.undoActionForChangingFileItemStartupMode(*files[0]), test.one);
        EXPECT_EQ(texts.undoActionForChangingFileItemsStartupMode({ files[0] }), test.one);
        EXPECT_EQ(texts.undoActionForChangingFileItemsStartupMode(files), test.many);
    }
    EXPECT_EQ(texts.undoActionForChangingFileItemsStartupMode({}), "Change 0 Items Startup Mode To Shown");
}

TEST_F(CountedTextsTest, PastingNamesConditionsAndItemsIndependently)
{
    EXPECT_EQ(texts.undoActionForPastingStartupConditions(conditions(1), items(1)), "Paste Cond 0 To Name of /item0");
    EXPECT_EQ(texts.undoActionForPastingStartupConditions(conditions(2), items(1)), "Paste 2 Conditions To Name of /item0");
    EXPECT_EQ(texts.undoActionForPastingStartupConditions(conditions(1), items(3)), "Paste Cond 0 To 3 Items");
}

TEST_F(CountedTextsTest, ScheduleEntriesAreNamedAfterTheirCondition)
{
    DBStartupCondition* schedule = context.createScheduledStartupCondition();
    schedule->setConditionName("Work %1");
    DBScheduledConditionDataItem* entry = schedule->conditionScheduledData()->scheduleItems().first();
    EXPECT_EQ(texts.undoActionForChangingScheduleDayForDataItem(*entry), "Change Schedule Day For Work %1");
    // An entry taken out of its schedule has no name, and no crash.
    DBScheduledConditionDataItem* loose = context.createScheduledConditionDataItem();
    EXPECT_EQ(texts.undoActionForChangingScheduleToTimeForDataItem(*loose), "Change Schedule To Time For ");
}

TEST_F(CountedTextsTest, EndOfRunTextNamesUpToTwoFailedItems)
{
    EXPECT_EQ(texts.userNotificationExecutionEndedInfoTextWithLaunchedItems({}), "Items launch complete.");
    EXPECT_EQ(texts.userNotificationExecutionEndedInfoTextWithLaunchedItems({ "%2" }), "Items launch complete, failed %2.");
    EXPECT_EQ(texts.userNotificationExecutionEndedInfoTextWithLaunchedItems({ "%2", "%1" }),
              "Items launch complete, failed %2 and %1.");
    EXPECT_EQ(texts.userNotificationExecutionEndedInfoTextWithLaunchedItems({ "a", "b", "c" }),
              "Items launch complete, failed 3 items.");
}
