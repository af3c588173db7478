#include "TextsTestFixture.h"
#include "model/DBConditionalPreviousItem.h"
#include "model/DBDelayItem.h"
#include "model/DBFileItem.h"
#include "model/DBWaitPreviousItem.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>
#include <cmath>

using ItemNamesTest = TextsTest;

TEST_F(ItemNamesTest, DelayNamesRoundToOneDecimalAndCountTheWholeSecond)
{
    const struct {
        double delay;
        const char* name;
    } cases[] = {
        { 1, "1 second delay" },
        { 0.5, "0.5 second delay" },
        { 1.4, "1.4 second delay" },
        { 1.04, "1 second delay" },
        { 1.06, "1.1 second delay" },
        { 0.95, "1 second delay" },
        { 1.05, "1.1 second delay" },
        { 1.5, "1.5 seconds delay" },
        { 5, "5 seconds delay" },
        { 0, "0 seconds delay" },
        { 0.04, "0 seconds delay" },
        { 1234.5, "1234.5 seconds delay" },
        { 100000, "100000 seconds delay" },
        { 1e21, "1000000000000000000000 seconds delay" },
        { -1, "-1 seconds delay" },
        { -0.04, "0 seconds delay" },
    };
    for (const auto& test : cases)
        EXPECT_EQ(texts.delayItemNiceDisplayNameForDelay(test.delay), test.name) << test.delay;
}

TEST_F(ItemNamesTest, NeighbourNamesNeedAnItemOnEachSide)
{
    DBWaitPreviousItem* first = append(context.createWaitPreviousItem());
    DBFileItem* mail = append(context.createFileItemWithPath("/apps/Mail"));
    DBWaitPreviousItem* wait = append(context.createWaitPreviousItem());
    DBDelayItem* delay = append(context.createDelayItemWithDelay(5));
    DBConditionalPreviousItem* last = append(context.createConditionalPreviousItem());

    EXPECT_EQ(wait->itemNiceDisplayName(), "Wait until Name of /apps/Mail launches");
    EXPECT_EQ(first->itemNiceDisplayName(), "Drag me between two items!");
    EXPECT_EQ(last->itemNiceDisplayName(), "Drag me between two items!");
    EXPECT_EQ(context.loginItemImmediatelyBeforeItem(*mail), first);
    EXPECT_EQ(context.loginItemImmediatelyAfterItem(*wait), delay);
    EXPECT_EQ(context.loginItemImmediatelyBeforeItem(*first), nullptr);
    EXPECT_EQ(context.loginItemImmediatelyAfterItem(*last), nullptr);

    // Outside any group there are no neighbours.
    DBWaitPreviousItem* loose = context.createWaitPreviousItem();
    EXPECT_EQ(loose->itemNiceDisplayName(), "Drag me between two items!");
}

TEST_F(ItemNamesTest, NeighboursFollowTheSortIndexNotCreationOrder)
{
    DBWaitPreviousItem* wait = append(context.createWaitPreviousItem());
    DBFileItem* after = append(context.createFileItemWithPath("/after"));
    DBFileItem* before = append(context.createFileItemWithPath("/before"));
    before->setItemSortIndexValue(-1);
    EXPECT_EQ(wait->itemNiceDisplayName(), "Wait until Name of /before launches");
    EXPECT_EQ(context.loginItemImmediatelyAfterItem(*wait), after);
}

TEST_F(ItemNamesTest, ConditionalNamesDependOnModeAndSupportedNeighbours)
{
    append(context.createFileItemWithPath("/Mail"));
    DBConditionalPreviousItem* conditional = append(context.createConditionalPreviousItem());
    DBDelayItem* delay = append(context.createDelayItemWithDelay(2));
    EXPECT_EQ(conditional->itemNiceDisplayName(), "Launch 2 seconds delay only if Name of /Mail will launch");
    conditional->setItemModeValue(ConditionalPreviousItemModeIfNotLaunched);
    EXPECT_EQ(conditional->itemNiceDisplayName(), "Launch 2 seconds delay only if Name of /Mail will NOT launch");
    conditional->setItemModeValue(7);
    EXPECT_EQ(conditional->itemNiceDisplayName(), "Drag me between two supported items!");
    conditional->setItemModeValue(ConditionalPreviousItemModeIfLaunched);

    // Between a file item and a wait-previous item.
    delay->setItemSortIndexValue(10);
    DBWaitPreviousItem* wait = append(context.createWaitPreviousItem());
    wait->setItemSortIndexValue(2);
    EXPECT_EQ(conditional->itemNiceDisplayName(), "Drag me between two supported items!");
    // After another conditional item.
    wait->setItemSortIndexValue(20);
    DBConditionalPreviousItem* second = append(context.createConditionalPreviousItem());
    second->setItemSortIndexValue(2);
    EXPECT_EQ(second->itemNiceDisplayName(), "Drag me between two supported items!");
    // Before another conditional item.
    EXPECT_EQ(conditional->itemNiceDisplayName(), "Drag me between two supported items!");
}

TEST_F(ItemNamesTest, AWaitItemNamesTheChainBeforeIt)
{
    append(context.createFileItemWithPath("/Mail"));
    append(context.createWaitPreviousItem());
    DBWaitPreviousItem* second = append(context.createWaitPreviousItem());
    append(context.createDelayItemWithDelay(1));
    EXPECT_EQ(second->itemNiceDisplayName(), "Wait until Wait until Name of /Mail launches launches");
}

TEST_F(ItemNamesTest, HostileNamesPassThroughUnchanged)
{
    for (const QString& path : { QStringLiteral("%1"), QStringLiteral("%2 %1"), QStringLiteral("$HOME"),
                                 QStringLiteral("a\nb"), QStringLiteral("%L1 `x` \"q\"") }) {
        context.reset();
        DBFileItem* before = append(context.createFileItemWithPath(path));
        DBConditionalPreviousItem* conditional = append(context.createConditionalPreviousItem());
        DBFileItem* after = append(context.createFileItemWithPath(path + "!"));
        const QString name = before->itemNiceDisplayName();
        EXPECT_EQ(conditional->itemNiceDisplayName(),
                  "Launch " + after->itemNiceDisplayName() + " only if " + name + " will launch");
        EXPECT_EQ(texts.undoActionForRenamingFrom(name, path), "Rename " + name + " to " + path);
        EXPECT_EQ(texts.undoActionForDeletingLoginItems({ before }), "Delete " + name);
        EXPECT_EQ(texts.errorDescriptionForFailedFileItemLaunch(path), "Launching " + path + " failed!");
    }
}

TEST_F(ItemNamesTest, NameForURLIsTheLastPathComponent)
{
    EXPECT_EQ(texts.nameForURL(QUrl::fromLocalFile(QDir::homePath())), QFileInfo(QDir::homePath()).fileName());
    EXPECT_EQ(texts.nameForURL(QUrl::fromLocalFile("/no/such/Thing 100%.app")), "Thing 100%.app");
    EXPECT_EQ(texts.nameForURL(QUrl::fromLocalFile("/no/such/folder/")), "folder");
}
