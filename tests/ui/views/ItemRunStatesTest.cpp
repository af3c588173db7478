// The run state of the rows: judging a list as one pass with real neighbours,
// and what a run leaves on its items.
#include "ItemListTestFixture.h"
#include "model/ExecutionValidationParameters.h"
#include "ui/views/ItemRunStates.h"

#include <gtest/gtest.h>

namespace {

class ItemRunStatesTest : public ItemListTest {
protected:
    std::optional<uint32_t> status(DBLoginItem* item) const { return states.statusOfItem(item->objectID()); }

    ItemRunStates states;
    std::shared_ptr<ExecutionValidationParameters> parameters = ExecutionValidationParameters::create();
};

TEST_F(ItemRunStatesTest, JudgesWithTheCurrentNeighboursAfterAMove)
{
    DBLoginItem* battery = addFile("/usr/bin/battery-only");
    DBLoginItem* wait = addWaitPrevious();
    DBLoginItem* always = addFile("/usr/bin/always");
    DBStartupCondition* onBattery = powerCondition(PowerSourceTypeBattery, "On battery");
    battery->addItemStartupConditionsObject(onBattery);
    parameters->setPowerSource(PowerSourceTypePowerSupply);

    states.setStatusDisplayOn(true);
    states.setParameters(parameters);
    states.judgeItems(items());
    EXPECT_EQ(status(battery), LastExecutionStatusPreventedByConditions);
    EXPECT_EQ(status(wait), LastExecutionStatusPreventedByNeighbors);
    EXPECT_EQ(status(always), LastExecutionStatusAllowed);
    EXPECT_EQ(states.isConditionAllowed(onBattery->objectID()), false);

    // The wait now follows an item that runs: the old answers of the same
    // snapshot must not be read again.
    editing->moveLoginItems({ always }, group, group, 1);
    ASSERT_EQ(items(), (QList<DBLoginItem*> { battery, always, wait }));
    states.judgeItems(items());
    EXPECT_EQ(status(wait), LastExecutionStatusAllowed);

    // A deleted item is judged no more and no longer a neighbour.
    const ObjectID deletedID = always->objectID();
    editing->deleteLoginItems({ always }, group);
    states.judgeItems(items());
    EXPECT_FALSE(states.statusOfItem(deletedID).has_value());
    EXPECT_EQ(status(wait), LastExecutionStatusPreventedByNeighbors);
    EXPECT_EQ(parameters->availableItems(), items());
}

TEST_F(ItemRunStatesTest, NothingIsJudgedWithoutDisplayOrParameters)
{
    DBLoginItem* item = addFile("/usr/bin/a");
    states.setParameters(parameters);
    states.judgeItems(items());
    EXPECT_FALSE(status(item).has_value());

    states.setStatusDisplayOn(true);
    states.judgeItems(items());
    EXPECT_EQ(status(item), LastExecutionStatusAllowed);
    states.setParameters(nullptr);
    states.judgeItems(items());
    EXPECT_FALSE(status(item).has_value());

    states.setParameters(parameters);
    states.judgeItems(items());
    states.setStatusDisplayOn(false);
    EXPECT_FALSE(status(item).has_value());
}

TEST_F(ItemRunStatesTest, AnItemThatRanKeepsItsMarkUntilTheRunEnds)
{
    DBLoginItem* first = addFile("/usr/bin/a");
    DBLoginItem* second = addDelay();
    states.setStatusDisplayOn(true);
    states.setParameters(parameters);
    states.judgeItems(items());

    states.setItemExecuting(first->objectID(), true);
    ItemRowAppearance::State state = states.appearanceState(first->objectID(), true, 0);
    EXPECT_TRUE(state.isExecuting);
    EXPECT_EQ(ItemRowAppearance::background(state), ItemRowAppearance::Background::Executing);

    states.setItemExecuting(first->objectID(), false);
    states.setItemExecuting(second->objectID(), true);
    state = states.appearanceState(first->objectID(), true, 0);
    EXPECT_FALSE(state.isExecuting);
    EXPECT_TRUE(state.didRunInThisRun);
    EXPECT_EQ(ItemRowAppearance::strip(state), ItemRowAppearance::Strip::Clear);
    EXPECT_EQ(ItemRowAppearance::strip(states.appearanceState(second->objectID(), false, 1)), ItemRowAppearance::Strip::Allowed);

    states.endRun();
    state = states.appearanceState(first->objectID(), true, 0);
    EXPECT_FALSE(state.didRunInThisRun);
    EXPECT_FALSE(states.isItemExecuting(second->objectID()));
    EXPECT_EQ(ItemRowAppearance::strip(state), ItemRowAppearance::Strip::Allowed);
}

} // namespace
