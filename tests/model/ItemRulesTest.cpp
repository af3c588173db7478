#include "RulesTestFixture.h"
#include "model/DBConditionalPreviousItem.h"
#include "model/DBDelayItem.h"
#include "model/DBFileItem.h"
#include "model/DBPowerSourceConditionData.h"
#include "model/DBStartupCondition.h"
#include "model/DBWaitPreviousItem.h"
#include "support/FakeSystemItemHelpers.h"

namespace {

constexpr uint32_t Allowed = LastExecutionStatusAllowed;
constexpr uint32_t ByItem = LastExecutionStatusPreventedByItem;
constexpr uint32_t ByConditions = LastExecutionStatusPreventedByConditions;
constexpr uint32_t ByNeighbors = LastExecutionStatusPreventedByNeighbors;

class ItemRulesTest : public RulesTest {
protected:
    DBFileItem* file(const QString& path, int32_t mode = ItemStartupModeShown)
    {
        DBFileItem* item = context.createFileItemWithPath(path);
        item->setItemStartupModeValue(mode);
        item->setSystemItemHelpers(helpers);
        return item;
    }
    DBFileItem* missingFile(const QString& path)
    {
        helpers->missingPaths.insert(path);
        return file(path);
    }
    DBConditionalPreviousItem* conditional(int32_t mode) { return context.createConditionalPreviousItemWithMode(mode); }

    // Refuses while the machine runs on its power supply, as the snapshots here do.
    template <typename Item>
    Item* refusedByConditions(Item* item)
    {
        DBStartupCondition* battery = context.createPowerSourceStartupCondition();
        battery->conditionPowerSourceData()->setPowerSourceTypeValue(PowerSourceTypeBattery);
        item->addItemStartupConditionsObject(battery);
        return item;
    }

    // Judges the whole list in order in one pass, as a run does.
    std::vector<uint32_t> judge(const QList<DBLoginItem*>& items)
    {
        std::shared_ptr<ExecutionValidationParameters> pass = ExecutionValidationParameters::create();
        pass->setAvailableItems(items);
        std::vector<uint32_t> statuses;
        for (DBLoginItem* item : items) {
            const bool allowed = item->isExecutionAllowedForParameters(*pass);
            EXPECT_EQ(allowed, item->lastExecutionStatus() == Allowed);
            EXPECT_EQ(pass->executionStatusForItem(item), item->lastExecutionStatus());
            statuses.push_back(item->lastExecutionStatus());
        }
        return statuses;
    }

    std::shared_ptr<FakeSystemItemHelpers> helpers = std::make_shared<FakeSystemItemHelpers>();
};

using Statuses = std::vector<uint32_t>;

TEST_F(ItemRulesTest, FileItemMissingOrDisabledWhateverItsConditions)
{
    EXPECT_EQ(judge({ missingFile("/gone/App"), file("/a", ItemStartupModeDisabled), file("/b", ItemStartupModeHidden) }),
              (Statuses { ByItem, ByItem, Allowed }));
    EXPECT_EQ(judge({ refusedByConditions(missingFile("/gone/Other")) }), (Statuses { ByItem }));
}

TEST_F(ItemRulesTest, RefusingConditionStopsBeforeTheNeighbours)
{
    DBConditionalPreviousItem* marker = conditional(ConditionalPreviousItemModeIfLaunched);
    DBDelayItem* delay = refusedByConditions(context.createDelayItemWithDelay(3));
    params.setAvailableItems({ file("/a"), marker, delay });
    EXPECT_FALSE(delay->isExecutionAllowedForParameters(params));
    EXPECT_EQ(delay->lastExecutionStatus(), ByConditions);
    EXPECT_FALSE(params.executionStatusForItem(marker).has_value());
}

TEST_F(ItemRulesTest, WaitPreviousFollowsTheItemBefore)
{
    EXPECT_EQ(judge({ context.createWaitPreviousItem(), file("/a") }), (Statuses { ByNeighbors, Allowed }));
    EXPECT_EQ(judge({ file("/a", ItemStartupModeDisabled), context.createWaitPreviousItem() }), (Statuses { ByItem, ByNeighbors }));
    EXPECT_EQ(judge({ file("/a"), context.createWaitPreviousItem(), file("/b") }), (Statuses { Allowed, Allowed, Allowed }));
    EXPECT_EQ(judge({ refusedByConditions(context.createDelayItemWithDelay(1)), context.createWaitPreviousItem() }),
              (Statuses { ByConditions, ByNeighbors }));
    // A chain of waits falls with its first link.
    EXPECT_EQ(judge({ missingFile("/gone"), context.createWaitPreviousItem(), context.createWaitPreviousItem(), file("/b") }),
              (Statuses { ByItem, ByNeighbors, ByNeighbors, Allowed }));
}

TEST_F(ItemRulesTest, ConditionalRunsTheNextItemOnlyIfThePreviousLaunched)
{
    EXPECT_EQ(judge({ file("/a", ItemStartupModeDisabled), conditional(ConditionalPreviousItemModeIfLaunched), file("/b") }),
              (Statuses { ByItem, Allowed, ByNeighbors }));
    EXPECT_EQ(judge({ file("/a"), conditional(ConditionalPreviousItemModeIfLaunched), file("/b") }),
              (Statuses { Allowed, Allowed, Allowed }));
    EXPECT_EQ(judge({ file("/a"), conditional(ConditionalPreviousItemModeIfNotLaunched), file("/b") }),
              (Statuses { Allowed, Allowed, ByNeighbors }));
    EXPECT_EQ(judge({ file("/a", ItemStartupModeDisabled), conditional(ConditionalPreviousItemModeIfNotLaunched), file("/b") }),
              (Statuses { ByItem, Allowed, Allowed }));
    // Modes outside the two never refuse.
    EXPECT_EQ(judge({ file("/a", ItemStartupModeDisabled), conditional(7), file("/b") }), (Statuses { ByItem, Allowed, Allowed }));
}

TEST_F(ItemRulesTest, ConditionalBetweenOtherKinds)
{
    // The item before may be any kind; its status in the pass counts.
    EXPECT_EQ(judge({ refusedByConditions(context.createDelayItemWithDelay(2)), conditional(ConditionalPreviousItemModeIfLaunched),
                      context.createDelayItemWithDelay(5) }),
              (Statuses { ByConditions, Allowed, ByNeighbors }));
    EXPECT_EQ(judge({ context.createWaitPreviousItem(), conditional(ConditionalPreviousItemModeIfNotLaunched), file("/b") }),
              (Statuses { ByNeighbors, Allowed, Allowed }));
    // A wait after the marker is judged by its own rule only.
    EXPECT_EQ(judge({ file("/a", ItemStartupModeDisabled), conditional(ConditionalPreviousItemModeIfLaunched),
                      context.createWaitPreviousItem() }),
              (Statuses { ByItem, Allowed, Allowed }));
}

TEST_F(ItemRulesTest, ConditionalAtTheEndsOrNextToAMissingFileNeverBlocks)
{
    EXPECT_EQ(judge({ conditional(ConditionalPreviousItemModeIfLaunched), file("/a") }), (Statuses { ByNeighbors, Allowed }));
    EXPECT_EQ(judge({ file("/a", ItemStartupModeDisabled), conditional(ConditionalPreviousItemModeIfLaunched) }),
              (Statuses { ByItem, ByNeighbors }));
    EXPECT_EQ(judge({ conditional(ConditionalPreviousItemModeIfLaunched) }), (Statuses { ByNeighbors }));
    EXPECT_EQ(judge({ missingFile("/gone"), conditional(ConditionalPreviousItemModeIfLaunched), file("/b") }),
              (Statuses { ByItem, ByNeighbors, Allowed }));
    EXPECT_EQ(judge({ file("/a", ItemStartupModeDisabled), conditional(ConditionalPreviousItemModeIfLaunched), missingFile("/gone") }),
              (Statuses { ByItem, ByNeighbors, ByItem }));
}

TEST_F(ItemRulesTest, ChainsOfConditionals)
{
    EXPECT_EQ(judge({ file("/p"), conditional(ConditionalPreviousItemModeIfNotLaunched), conditional(ConditionalPreviousItemModeIfNotLaunched),
                      file("/x") }),
              (Statuses { Allowed, Allowed, Allowed, Allowed }));
    EXPECT_EQ(judge({ file("/p", ItemStartupModeDisabled), conditional(ConditionalPreviousItemModeIfLaunched),
                      conditional(ConditionalPreviousItemModeIfLaunched), file("/x") }),
              (Statuses { ByItem, Allowed, Allowed, Allowed }));
}

TEST_F(ItemRulesTest, ConditionalRefusedByItsConditionsLetsTheNextRun)
{
    EXPECT_EQ(judge({ file("/a", ItemStartupModeDisabled), refusedByConditions(conditional(ConditionalPreviousItemModeIfLaunched)),
                      file("/b") }),
              (Statuses { ByItem, ByConditions, Allowed }));
}

TEST_F(ItemRulesTest, AnotherJudgeDoesNotChangeThePassOutcome)
{
    DBFileItem* onSupply = file("/a");
    DBStartupCondition* supply = context.createPowerSourceStartupCondition();
    onSupply->addItemStartupConditionsObject(supply);
    DBWaitPreviousItem* wait = context.createWaitPreviousItem();
    const QList<DBLoginItem*> items { onSupply, wait };

    std::shared_ptr<ExecutionValidationParameters> run = ExecutionValidationParameters::create();
    run->setAvailableItems(items);
    ASSERT_TRUE(onSupply->isExecutionAllowedForParameters(*run));

    // A view judges the same list against a simulated battery in between.
    std::shared_ptr<ExecutionValidationParameters> simulation = ExecutionValidationParameters::create();
    simulation->setAvailableItems(items);
    simulation->setPowerSource(PowerSourceTypeBattery);
    EXPECT_FALSE(wait->isExecutionAllowedForParameters(*simulation));
    EXPECT_EQ(onSupply->lastExecutionStatus(), ByConditions);

    EXPECT_TRUE(wait->isExecutionAllowedForParameters(*run));
    EXPECT_EQ(wait->lastExecutionStatus(), Allowed);
    EXPECT_EQ(simulation->executionStatusForItem(wait), ByNeighbors);
}

TEST_F(ItemRulesTest, APassLooksAtEachFileOnce)
{
    DBFileItem* first = file("/a");
    DBConditionalPreviousItem* marker = conditional(ConditionalPreviousItemModeIfNotLaunched);
    DBFileItem* gone = missingFile("/gone");
    DBConditionalPreviousItem* second = conditional(ConditionalPreviousItemModeIfLaunched);
    DBFileItem* last = file("/b");
    const QList<DBLoginItem*> items { first, marker, gone, second, last };
    params.setAvailableItems(items);
    for (DBLoginItem* item : items)
        item->isExecutionAllowedForParameters(params);
    EXPECT_EQ(helpers->missingQuestions, (QHash<QString, int> { { "/a", 1 }, { "/gone", 1 }, { "/b", 1 } }));

    // A new pass looks again, and sees a file that came back: the marker
    // before it now decides.
    helpers->missingPaths.clear();
    params.clearExecutionStatuses();
    gone->isExecutionAllowedForParameters(params);
    EXPECT_EQ(helpers->missingQuestions.value("/gone"), 2);
    EXPECT_EQ(params.executionStatusForItem(gone), ByNeighbors);
}

TEST_F(ItemRulesTest, ItemBeforeIsJudgedFirstWhenThePassHasNotReachedIt)
{
    DBFileItem* disabled = file("/a", ItemStartupModeDisabled);
    DBConditionalPreviousItem* marker = conditional(ConditionalPreviousItemModeIfLaunched);
    DBFileItem* next = file("/b");
    // A stale answer from elsewhere must not count.
    disabled->setLastExecutionStatus(Allowed);
    params.setAvailableItems({ disabled, marker, next });
    EXPECT_FALSE(next->isExecutionAllowedForParameters(params));
    EXPECT_EQ(params.executionStatusForItem(disabled), ByItem);
    EXPECT_EQ(params.executionStatusForItem(marker), Allowed);
}

} // namespace
