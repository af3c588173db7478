#include "ModelTestFixture.h"
#include "foundation/ScopedConnection.h"
#include "model/DBDelayItem.h"
#include "model/DBFileItem.h"
#include "model/DBHotkeyConditionData.h"
#include "model/DBLoginGroup.h"
#include "model/DBScheduledConditionData.h"
#include "model/DBScheduledConditionDataItem.h"
#include "model/DBStartupCondition.h"
#include "model/DBWaitPreviousItem.h"

#include <QRegularExpression>
#include <limits>

using ObjectContextTest = ModelTest;

TEST_F(ObjectContextTest, ToOneToManyInverseFollowsEitherSide)
{
    DBLoginGroup* first = context.getOrCreateApplicationLoginGroup();
    DBLoginGroup* second = context.getOrCreateIgnoreLoginGroup();
    DBFileItem* item = context.createFileItemWithPath("/a");

    item->setItemLoginGroup(first);
    EXPECT_EQ(first->groupLoginItems(), QList<DBLoginItem*> { item });

    second->addGroupLoginItemsObject(item); // steals the item from the first group
    EXPECT_EQ(item->itemLoginGroup(), second);
    EXPECT_TRUE(first->groupLoginItems().isEmpty());

    second->removeGroupLoginItemsObject(item);
    EXPECT_EQ(item->itemLoginGroup(), nullptr);
    EXPECT_TRUE(second->groupLoginItems().isEmpty());
}

TEST_F(ObjectContextTest, ToManyToManyInverseFollowsEitherSide)
{
    DBFileItem* a = context.createFileItemWithPath("/a");
    DBFileItem* b = context.createFileItemWithPath("/b");
    DBStartupCondition* condition = context.createHotkeyStartupCondition();
    a->addItemStartupConditionsObject(condition);
    b->addItemStartupConditionsObject(condition);
    a->addItemStartupConditionsObject(condition);
    EXPECT_EQ(condition->conditionLoginItems(), (QList<DBLoginItem*> { a, b }));
    EXPECT_EQ(a->itemStartupConditions().size(), 1);

    condition->removeToManyObject("conditionLoginItems", a);
    EXPECT_TRUE(a->itemStartupConditions().isEmpty());
    EXPECT_EQ(b->itemStartupConditions(), QList<DBStartupCondition*> { condition });
}

TEST_F(ObjectContextTest, ToOneToOneMovesTheTargetAndReleasesTheOldOne)
{
    DBStartupCondition* first = context.createHotkeyStartupCondition();
    DBStartupCondition* second = context.createHotkeyStartupCondition();
    DBHotkeyConditionData* firstData = first->conditionHotkeyData();
    DBHotkeyConditionData* secondData = second->conditionHotkeyData();

    second->setConditionHotkeyData(firstData);
    EXPECT_EQ(first->conditionHotkeyData(), nullptr);
    EXPECT_EQ(firstData->hotkeyStartupCondition(), second);
    EXPECT_EQ(secondData->hotkeyStartupCondition(), nullptr);
}

TEST_F(ObjectContextTest, RejectsTargetsOfTheWrongEntityOrState)
{
    DBStartupCondition* condition = context.createMountedVolumeStartupCondition();
    DBHotkeyConditionData* hotkey = context.createHotkeyConditionData();
    ManagedObject* volume = condition->toOne("conditionVolumeData");

    condition->setToOne("conditionVolumeData", hotkey);
    EXPECT_EQ(condition->toOne("conditionVolumeData"), volume);

    DBFileItem* item = context.createFileItemWithPath("/a");
    DBLoginGroup* group = context.getOrCreateApplicationLoginGroup();
    context.deleteObject(group);
    item->setItemLoginGroup(group);
    EXPECT_EQ(item->itemLoginGroup(), nullptr);

    FakeModelTexts otherTexts;
    ObjectContext other(otherTexts);
    item->setItemLoginGroup(other.getOrCreateApplicationLoginGroup());
    EXPECT_EQ(item->itemLoginGroup(), nullptr);
}

TEST_F(ObjectContextTest, IntegerAttributesKeepEveryInt32AndRejectOthers)
{
    DBFileItem* item = context.createFileItemWithPath("/a");
    item->setItemSortIndexValue(std::numeric_limits<int32_t>::min());
    EXPECT_EQ(item->itemSortIndexValue(), std::numeric_limits<int32_t>::min());

    item->setItemSortIndex(QVariant(qlonglong(1) << 40));
    item->setItemSortIndex(QVariant(2.5));
    item->setItemSortIndex(QVariant(QStringLiteral("many")));
    EXPECT_EQ(item->itemSortIndexValue(), std::numeric_limits<int32_t>::min());

    item->setItemSortIndex(QVariant());
    EXPECT_FALSE(item->itemSortIndex().isValid());
    EXPECT_EQ(item->itemSortIndexValue(), 0);
}

TEST_F(ObjectContextTest, DeleteRules)
{
    DBLoginGroup* group = context.getOrCreateApplicationLoginGroup();
    DBFileItem* item = context.createFileItemWithPath("/a");
    item->setItemLoginGroup(group);
    DBStartupCondition* schedule = context.createScheduledStartupCondition();
    DBScheduledConditionData* data = schedule->conditionScheduledData();
    DBScheduledConditionDataItem* entry = data->scheduleItems().first();
    DBStartupCondition* hotkey = context.createHotkeyStartupCondition();
    item->addItemStartupConditionsObject(schedule);
    item->addItemStartupConditionsObject(hotkey);

    // Condition: its data and entries go, the item stays valid without it.
    context.deleteObject(schedule);
    EXPECT_TRUE(schedule->isDeleted());
    EXPECT_TRUE(data->isDeleted());
    EXPECT_TRUE(entry->isDeleted());
    EXPECT_TRUE(item->isInserted());
    EXPECT_EQ(item->itemStartupConditions(), QList<DBStartupCondition*> { hotkey });

    // Item: the condition stays and forgets the item.
    DBDelayItem* delay = context.createDelayItemWithDelay(2);
    delay->setItemLoginGroup(group);
    delay->addItemStartupConditionsObject(hotkey);
    context.deleteObject(delay);
    EXPECT_TRUE(hotkey->isInserted());
    EXPECT_EQ(hotkey->conditionLoginItems(), QList<DBLoginItem*> { item });
    EXPECT_EQ(group->groupLoginItems(), QList<DBLoginItem*> { item });

    // Group: its items go.
    context.deleteObject(group);
    EXPECT_TRUE(item->isDeleted());
    EXPECT_TRUE(hotkey->conditionLoginItems().isEmpty());
    EXPECT_TRUE(hotkey->conditionHotkeyData()->isInserted());
}

TEST_F(ObjectContextTest, ObjectIDsAndTheirTextForm)
{
    DBFileItem* item = context.createFileItemWithPath("/a");
    const ObjectID id = item->objectID();
    const QString text = id.uriRepresentation();
    EXPECT_EQ(text, QStringLiteral("x-lanternwick://%1/FileItem/p%2")
                        .arg(context.identifier().toString(QUuid::WithoutBraces))
                        .arg(item->creationSerial()));
    EXPECT_EQ(context.objectWithID(id), item);
    EXPECT_EQ(context.objectWithURI(text), item);

    EXPECT_EQ(context.objectWithURI(QString(text).replace("FileItem", "DelayItem")), nullptr);
    EXPECT_EQ(context.objectWithURI(QString(text).replace(QRegularExpression("p\\d+$"), "p999")), nullptr);
    EXPECT_EQ(context.objectWithURI("x-lanternwick://garbage"), nullptr);
    EXPECT_EQ(context.objectWithURI(text + "\n"), nullptr);
    FakeModelTexts otherTexts;
    ObjectContext other(otherTexts);
    EXPECT_EQ(other.objectWithURI(text), nullptr);

    finishPass();
    context.deleteObject(item);
    EXPECT_EQ(context.objectWithID(id), nullptr);
    undo.undo();
    EXPECT_EQ(context.objectWithID(id), item);
    EXPECT_EQ(item->objectID(), id);
}

TEST_F(ObjectContextTest, FetchIncludesSubEntitiesFiltersAndSortsWithCreationOrderTies)
{
    DBFileItem* file = context.createFileItemWithPath("/b");
    DBDelayItem* delay = context.createDelayItemWithDelay(1);
    DBWaitPreviousItem* wait = context.createWaitPreviousItem();
    DBFileItem* gone = context.createFileItemWithPath("/c");
    context.deleteObject(gone);
    context.createHotkeyStartupCondition();

    EXPECT_EQ(context.fetch<DBLoginItem>(), (QList<DBLoginItem*> { file, delay, wait }));
    EXPECT_EQ(context.fetch<DBFileItem>(), QList<DBFileItem*> { file });

    file->setItemSortIndexValue(1);
    delay->setItemSortIndexValue(0);
    wait->setItemSortIndexValue(1);
    const auto bySortIndex = [](const DBLoginItem& a, const DBLoginItem& b) { return a.itemSortIndexValue() < b.itemSortIndexValue(); };
    EXPECT_EQ(context.fetch<DBLoginItem>({}, bySortIndex), (QList<DBLoginItem*> { delay, file, wait }));
    EXPECT_EQ(context.fetch<DBLoginItem>([](const DBLoginItem& item) { return item.itemSortIndexValue() == 1; }),
              (QList<DBLoginItem*> { file, wait }));
}

TEST_F(ObjectContextTest, OneCoalescedReportPerPass)
{
    QList<ObjectsChange> reports;
    ScopedConnection connection = QObject::connect(&context, &ObjectContext::objectsDidChange,
                                                   [&](const ObjectsChange& change) { reports.append(change); });

    DBFileItem* kept = context.createFileItemWithPath("/a");
    kept->setItemStartupModeValue(ItemStartupModeHidden);
    DBFileItem* transient = context.createFileItemWithPath("/b");
    context.deleteObject(transient);
    finishPass();
    ASSERT_EQ(reports.size(), 1);
    EXPECT_EQ(reports[0].inserted, QList<ManagedObject*> { kept });
    EXPECT_TRUE(reports[0].updated.isEmpty());
    EXPECT_TRUE(reports[0].deleted.isEmpty());

    kept->setItemPath("/c");
    kept->setItemPath("/d");
    context.processPendingChanges();
    finishPass(); // nothing left for the automatic pass
    ASSERT_EQ(reports.size(), 2);
    EXPECT_EQ(reports[1].updated, QList<ManagedObject*> { kept });

    context.deleteObject(kept);
    finishPass();
    ASSERT_EQ(reports.size(), 3);
    EXPECT_EQ(reports[2].deleted, QList<ManagedObject*> { kept });
    EXPECT_TRUE(reports[2].updated.isEmpty());

    connection.disconnect();
    context.createWaitPreviousItem();
    finishPass();
    EXPECT_EQ(reports.size(), 3);
}

TEST_F(ObjectContextTest, PerChangeReports)
{
    DBFileItem* item = context.createFileItemWithPath("/a");
    DBStartupCondition* condition = context.createPowerSourceStartupCondition();
    QStringList values;
    QList<QPair<QList<ManagedObject*>, QList<ManagedObject*>>> toMany;
    {
        ScopedConnection valueConnection = QObject::connect(&context, &ObjectContext::valueChanged,
            [&](ManagedObject* object, const QString& key, const QVariant& oldValue, const QVariant& newValue) {
                if (object == item)
                    values << QStringLiteral("%1:%2->%3").arg(key, oldValue.toString(), newValue.toString());
            });
        ScopedConnection toManyConnection = QObject::connect(&context, &ObjectContext::toManyChanged,
            [&](ManagedObject* object, const QString& key, const QList<ManagedObject*>& inserted, const QList<ManagedObject*>& removed) {
                if (object == item && key == "itemStartupConditions")
                    toMany.append({ inserted, removed });
            });
        item->setItemPath("/b");
        item->setItemPath("/b"); // no change, no report
        item->addItemStartupConditionsObject(condition);
        item->removeItemStartupConditionsObject(condition);
    }
    item->setItemPath("/c"); // connections are gone
    EXPECT_EQ(values, QStringList { "itemPath:/a->/b" });
    ASSERT_EQ(toMany.size(), 2);
    EXPECT_EQ(toMany[0].first, QList<ManagedObject*> { condition });
    EXPECT_EQ(toMany[1].second, QList<ManagedObject*> { condition });
}

TEST_F(ObjectContextTest, HasChangesUntilMarkedSavedAndTransientValuesDoNotCount)
{
    EXPECT_FALSE(context.hasChanges());
    DBFileItem* item = context.createFileItemWithPath("/a");
    EXPECT_TRUE(context.hasChanges());
    context.markSaved();
    EXPECT_FALSE(context.hasChanges());

    QList<ObjectsChange> reports;
    ScopedConnection connection = QObject::connect(&context, &ObjectContext::objectsDidChange,
                                                   [&](const ObjectsChange& change) { reports.append(change); });
    finishPass();
    reports.clear();
    undo.removeAllActions();
    item->setLastExecutionStatus(LastExecutionStatusPreventedByConditions);
    item->itemNiceDisplayName();
    finishPass();
    EXPECT_FALSE(context.hasChanges());
    EXPECT_TRUE(reports.isEmpty());
    EXPECT_FALSE(undo.canUndo());

    item->setItemStartupModeValue(ItemStartupModeDisabled);
    EXPECT_TRUE(context.hasChanges());
}

TEST_F(ObjectContextTest, ResetFreesEverythingAndForgetsUndo)
{
    DBFileItem* item = context.createFileItemWithPath("/a");
    const ObjectID id = item->objectID();
    context.reset();
    EXPECT_TRUE(context.fetch<DBLoginItem>().isEmpty());
    EXPECT_EQ(context.objectWithID(id), nullptr);
    EXPECT_FALSE(context.hasChanges());
    EXPECT_FALSE(undo.canUndo());
    // A new object never takes the ID of a freed one.
    EXPECT_NE(context.createFileItemWithPath("/b")->objectID(), id);
}

TEST_F(ObjectContextTest, MembershipCountFollowsInsertsDeletesUndoAndReset)
{
    quint64 count = context.membershipChangeCount();
    const auto changed = [&] {
        const bool different = context.membershipChangeCount() != count;
        count = context.membershipChangeCount();
        return different;
    };
    DBFileItem* item = context.createFileItemWithPath("/a");
    EXPECT_TRUE(changed());
    item->setItemPath("/b");
    item->setItemSortIndexValue(3);
    EXPECT_FALSE(changed());
    finishPass();
    context.deleteObject(item);
    EXPECT_TRUE(changed());
    finishPass();
    undo.undo();
    ASSERT_FALSE(item->isDeleted());
    EXPECT_TRUE(changed());
    context.reset();
    EXPECT_TRUE(changed());
}

TEST_F(ObjectContextTest, GetOrCreateGroupReturnsTheSameGroup)
{
    DBLoginGroup* group = context.getOrCreateApplicationLoginGroup();
    EXPECT_EQ(group->groupName(), "Application Items");
    EXPECT_EQ(group->groupTypeValue(), LoginGroupTypeApplication);
    EXPECT_EQ(context.getOrCreateApplicationLoginGroup(), group);
    DBLoginGroup* ignored = context.getOrCreateIgnoreLoginGroup();
    EXPECT_EQ(ignored->groupName(), "Ignored Items");
    EXPECT_NE(ignored, group);

    group->setGroupName("Renamed");
    EXPECT_EQ(context.getOrCreateApplicationLoginGroup()->groupName(), "Renamed");
}

TEST_F(ObjectContextTest, TwoGroupsOfOneTypeAreMergedIntoTheOldest)
{
    const auto makeGroup = [&](const QStringList& paths) {
        DBLoginGroup* group = context.insertNewObject<DBLoginGroup>();
        group->setGroupTypeValue(LoginGroupTypeApplication);
        int32_t index = 0;
        for (const QString& path : paths) {
            DBFileItem* item = context.createFileItemWithPath(path);
            item->setItemSortIndexValue(index++);
            item->setItemLoginGroup(group);
        }
        return group;
    };
    DBLoginGroup* oldest = makeGroup({ "/a", "/b" });
    DBLoginGroup* newer = makeGroup({ "/c", "/d" });

    DBLoginGroup* group = context.getOrCreateApplicationLoginGroup();
    EXPECT_EQ(group, oldest);
    EXPECT_TRUE(newer->isDeleted());
    QStringList paths;
    for (DBLoginItem* item : context.sortedLoginItemsForGroup(group))
        paths << static_cast<DBFileItem*>(item)->itemPath();
    EXPECT_EQ(paths, (QStringList { "/a", "/b", "/c", "/d" }));
    EXPECT_EQ(context.fetch<DBLoginGroup>().size(), 1);
}

TEST_F(ObjectContextTest, EqualSortIndexesKeepCreationOrder)
{
    DBLoginGroup* group = context.getOrCreateApplicationLoginGroup();
    QList<DBLoginItem*> created;
    for (int i = 0; i < 5; ++i) {
        DBLoginItem* item = context.createWaitPreviousItem();
        item->setItemSortIndexValue(i == 0 ? 1 : 0);
        created.append(item);
    }
    // Joined in reverse, so the relationship's own order differs from creation order.
    for (auto item = created.rbegin(); item != created.rend(); ++item)
        (*item)->setItemLoginGroup(group);
    EXPECT_EQ(context.sortedLoginItemsForGroup(group), (QList<DBLoginItem*> { created[1], created[2], created[3], created[4], created[0] }));

    DBStartupCondition* first = context.createHotkeyStartupCondition();
    DBStartupCondition* second = context.createPowerSourceStartupCondition();
    EXPECT_EQ(context.sortedStartupConditions(), (QList<DBStartupCondition*> { first, second }));
}
