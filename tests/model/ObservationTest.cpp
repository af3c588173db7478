#include "ModelTestFixture.h"
#include "model/DBConditionalPreviousItem.h"
#include "model/DBDelayItem.h"
#include "model/DBFileItem.h"
#include "model/DBHotkeyConditionData.h"
#include "model/DBLoginGroup.h"
#include "model/DBStartupCondition.h"
#include "model/KeyValueCoding.h"
#include "support/FakeSystemItemHelpers.h"

#include <memory>
#include <vector>

namespace {

class ObservationTest : public ModelTest {
protected:
    // Starts observing and records every change reported.
    std::unique_ptr<MHKVONotificationHelper> observe(ManagedObject* object, const QString& keyPath,
                                                     KeyValueObservingOptions options = KeyValueObservingOption::New
                                                         | KeyValueObservingOption::Old)
    {
        return object->addObserver(keyPath, options, [this, object](ManagedObject* observed, const KeyValueChange& change) {
            EXPECT_EQ(observed, object);
            changes.push_back(change);
        });
    }

    DBFileItem* fileItem(const QString& path)
    {
        DBFileItem* item = context.createFileItemWithPath(path);
        item->setSystemItemHelpers(helpers);
        return item;
    }

    DBStartupCondition* namedCondition(const QString& name)
    {
        DBStartupCondition* condition = context.createHotkeyStartupCondition();
        condition->setConditionName(name);
        return condition;
    }

    std::shared_ptr<FakeSystemItemHelpers> helpers = std::make_shared<FakeSystemItemHelpers>();
    std::vector<KeyValueChange> changes;
};

QStringList strings(const QVariant& value)
{
    QStringList list;
    for (const QVariant& element : value.toList())
        list << element.toString();
    list.sort();
    return list;
}

} // namespace

TEST_F(ObservationTest, AttributeChangesReportOldAndNewValues)
{
    DBFileItem* item = fileItem("/a");
    const auto token = observe(item, "itemPath");

    item->setItemPath("/b");
    item->setItemPath("/b"); // no change, no report
    item->setItemPath("/c");

    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes[0].kind, KeyValueChange::Setting);
    EXPECT_EQ(changes[0].keyPath, "itemPath");
    EXPECT_EQ(changes[0].oldValue.toString(), "/a");
    EXPECT_EQ(changes[0].newValue.toString(), "/b");
    EXPECT_EQ(changes[1].oldValue.toString(), "/b");
    EXPECT_EQ(changes[1].newValue.toString(), "/c");
}

TEST_F(ObservationTest, OptionsDecideWhatIsFilledAndInitialReportsAtOnce)
{
    DBFileItem* item = fileItem("/a");
    const auto plain = observe(item, "itemPath", {});
    EXPECT_TRUE(changes.empty());
    item->setItemPath("/b");
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_FALSE(changes[0].oldValue.isValid());
    EXPECT_FALSE(changes[0].newValue.isValid());

    changes.clear();
    const auto initial = observe(item, "itemPath", KeyValueObservingOption::Initial | KeyValueObservingOption::New);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].newValue.toString(), "/b");
}

TEST_F(ObservationTest, ToOneValuesAreObjectsOrNothing)
{
    DBFileItem* item = fileItem("/a");
    DBLoginGroup* group = context.getOrCreateApplicationLoginGroup();
    const auto token = observe(item, "itemLoginGroup");

    item->setItemLoginGroup(group);
    item->setItemLoginGroup(nullptr);

    ASSERT_EQ(changes.size(), 2u);
    EXPECT_FALSE(changes[0].oldValue.isValid());
    EXPECT_EQ(KeyValueCoding::objectInValue(changes[0].newValue), group);
    EXPECT_EQ(KeyValueCoding::objectInValue(changes[1].oldValue), group);
    EXPECT_FALSE(changes[1].newValue.isValid());
    EXPECT_FALSE(MHKVONotificationHelper::objectOrNilFor(QVariant::fromValue<ManagedObject*>(nullptr)).isValid());
    EXPECT_EQ(MHKVONotificationHelper::objectOrNilFor(QVariant(3)), QVariant(3));
}

TEST_F(ObservationTest, ToManyChangesReportInsertedAndRemovedObjects)
{
    DBFileItem* item = fileItem("/a");
    DBStartupCondition* condition = namedCondition("C");
    const auto token = observe(item, "itemStartupConditions");

    item->addItemStartupConditionsObject(condition);
    item->removeItemStartupConditionsObject(condition);

    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes[0].kind, KeyValueChange::Insertion);
    EXPECT_EQ(changes[0].inserted, QList<ManagedObject*> { condition });
    EXPECT_EQ(KeyValueCoding::objectsInValue(changes[0].newValue), QList<ManagedObject*> { condition });
    EXPECT_EQ(changes[1].kind, KeyValueChange::Removal);
    EXPECT_EQ(changes[1].removed, QList<ManagedObject*> { condition });
    EXPECT_TRUE(KeyValueCoding::objectsInValue(changes[1].newValue).isEmpty());
}

TEST_F(ObservationTest, KeyPathsThroughToManyFollowEveryElementAndTheCollection)
{
    DBFileItem* item = fileItem("/a");
    DBStartupCondition* first = namedCondition("One");
    DBStartupCondition* second = namedCondition("Two");
    DBStartupCondition* outsider = namedCondition("Other");
    item->addItemStartupConditionsObject(first);
    const auto token = observe(item, "itemStartupConditions.conditionName");

    first->setConditionName("First");
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(strings(changes[0].oldValue), QStringList { "One" });
    EXPECT_EQ(strings(changes[0].newValue), QStringList { "First" });

    item->addItemStartupConditionsObject(second);
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes[1].kind, KeyValueChange::Setting);
    EXPECT_EQ(strings(changes[1].newValue), (QStringList { "First", "Two" }));

    outsider->setConditionName("Still other"); // not on the path
    first->setConditionSortIndexValue(4); // not the observed key
    EXPECT_EQ(changes.size(), 2u);

    item->removeItemStartupConditionsObject(first);
    first->setConditionName("Gone from the item");
    ASSERT_EQ(changes.size(), 3u);
    EXPECT_EQ(strings(changes[2].newValue), QStringList { "Two" });
}

TEST_F(ObservationTest, KeyPathsThroughToOneFollowTheTargetAndItsReplacement)
{
    DBStartupCondition* condition = context.createHotkeyStartupCondition();
    DBHotkeyConditionData* data = condition->conditionHotkeyData();
    const auto token = observe(condition, "conditionHotkeyData.hotkeyCombination");

    data->setHotkeyCombinationValue(HotkeyCombinationShift);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].newValue.toInt(), HotkeyCombinationShift);

    condition->setConditionHotkeyData(nullptr);
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_FALSE(changes[1].newValue.isValid());
    data->setHotkeyCombinationValue(HotkeyCombinationCommand); // detached: no longer on the path
    EXPECT_EQ(changes.size(), 2u);
}

TEST_F(ObservationTest, DerivedKeysReportWhenTheKeysTheyFollowChange)
{
    DBFileItem* file = fileItem("/apps/a");
    DBDelayItem* delay = context.createDelayItemWithDelay(5);
    DBConditionalPreviousItem* conditional = context.createConditionalPreviousItem();
    std::vector<std::unique_ptr<MHKVONotificationHelper>> tokens;
    for (const char* key : { "itemNiceDisplayName", "itemNiceDescription", "itemIconName", "itemIsMissing" })
        tokens.push_back(observe(file, key, KeyValueObservingOption::New));
    tokens.push_back(observe(delay, "itemNiceDisplayName", KeyValueObservingOption::New));
    tokens.push_back(observe(conditional, "itemNiceDisplayName", KeyValueObservingOption::New));
    tokens.push_back(observe(conditional, "itemNiceDescription", KeyValueObservingOption::New));

    file->setItemStartupModeValue(ItemStartupModeHidden); // nothing derived follows it
    EXPECT_TRUE(changes.empty());

    helpers->missingPaths.insert("/apps/b");
    file->setItemPath("/apps/b");
    ASSERT_EQ(changes.size(), 4u);
    QStringList keys;
    for (const KeyValueChange& change : changes)
        keys << change.keyPath;
    EXPECT_EQ(keys, (QStringList { "itemNiceDisplayName", "itemNiceDescription", "itemIconName", "itemIsMissing" }));
    EXPECT_TRUE(changes[3].newValue.toBool());

    changes.clear();
    delay->setItemDelayValue(10);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].newValue.toString(), delay->itemNiceDisplayName());

    changes.clear();
    conditional->setItemModeValue(ConditionalPreviousItemModeIfNotLaunched);
    EXPECT_EQ(changes.size(), 2u);
}

TEST_F(ObservationTest, DerivedKeysOnAPathFollowEachElement)
{
    DBLoginGroup* group = context.getOrCreateApplicationLoginGroup();
    DBFileItem* item = fileItem("/a");
    item->setItemLoginGroup(group);
    const auto token = observe(group, "groupLoginItems.itemNiceDisplayName", {});

    item->setItemPath("/b");
    EXPECT_EQ(changes.size(), 1u);
}

TEST_F(ObservationTest, NoReportAfterTheTokenIsGoneOrDeregistered)
{
    DBFileItem* item = fileItem("/a");
    auto token = observe(item, "itemPath");
    auto other = observe(item, "itemPath");
    token.reset();
    other->deregister();
    EXPECT_FALSE(other->isRegistered());

    item->setItemPath("/b");
    EXPECT_TRUE(changes.empty());
}

TEST_F(ObservationTest, ABlockMayEndItsOwnObservation)
{
    DBFileItem* item = fileItem("/a");
    std::unique_ptr<MHKVONotificationHelper> token;
    int calls = 0;
    token = item->addObserver("itemPath", [&](ManagedObject*, const KeyValueChange&) {
        ++calls;
        token.reset();
    });
    item->setItemPath("/b");
    item->setItemPath("/c");
    EXPECT_EQ(calls, 1);
}

TEST_F(ObservationTest, DeletedObjectsReportTheirCutRelationshipsAndUndo)
{
    DBLoginGroup* group = context.getOrCreateApplicationLoginGroup();
    DBFileItem* item = fileItem("/a");
    item->setItemLoginGroup(group);
    finishPass();
    const auto token = observe(item, "itemLoginGroup");

    context.deleteObject(item);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_FALSE(changes[0].newValue.isValid());

    finishPass();
    undo.undo();
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(KeyValueCoding::objectInValue(changes[1].newValue), group);
}

TEST_F(ObservationTest, AResetEndsObservationsBeforeTheObjectsAreFreed)
{
    DBFileItem* item = fileItem("/a");
    auto token = observe(item, "itemPath");
    context.reset();
    EXPECT_FALSE(token->isRegistered());
    EXPECT_EQ(token->target(), nullptr);

    fileItem("/b")->setItemPath("/c");
    EXPECT_TRUE(changes.empty());
    token.reset(); // must not reach the freed item
}
