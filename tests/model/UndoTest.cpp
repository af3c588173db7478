#include "ModelTestFixture.h"
#include "foundation/ScopedConnection.h"
#include "model/DBFileItem.h"
#include "model/DBHotkeyConditionData.h"
#include "model/DBLoginGroup.h"
#include "model/DBScheduledConditionData.h"
#include "model/DBScheduledConditionDataItem.h"
#include "model/DBStartupCondition.h"

using UndoTest = ModelTest;

namespace {

// Everything observable about a small database, to compare before and after.
QString snapshot(ObjectContext& context)
{
    QStringList lines;
    for (ManagedObject* object : context.fetchObjects(ModelSchema::entity("LoginGroup")))
        lines << QStringLiteral("group %1").arg(object->value("groupName").toString());
    for (DBLoginItem* item : context.fetch<DBLoginItem>()) {
        QStringList conditions;
        for (DBStartupCondition* condition : item->itemStartupConditions())
            conditions << condition->conditionName();
        conditions.sort();
        lines << QStringLiteral("item %1 #%2 in %3 with %4")
                     .arg(item->logDescription(), QString::number(item->itemSortIndexValue()),
                          item->itemLoginGroup() ? item->itemLoginGroup()->groupName() : "-", conditions.join(','));
    }
    for (DBStartupCondition* condition : context.sortedStartupConditions()) {
        QStringList users;
        for (DBLoginItem* item : condition->conditionLoginItems())
            users << item->logDescription();
        users.sort();
        const DBScheduledConditionData* data = condition->conditionScheduledData();
        lines << QStringLiteral("condition %1 users %2 entries %3")
                     .arg(condition->conditionName(), users.join(','),
                          data ? QString::number(data->scheduleItems().size()) : "-");
    }
    for (ManagedObject* object : context.fetchObjects(ModelSchema::entity("ScheduledConditionDataItem")))
        lines << QStringLiteral("entry of %1").arg(object->toOne("scheduleConditionData") ? "data" : "nothing");
    return lines.join('\n');
}

} // namespace

TEST_F(UndoTest, UndoAndRedoOfAttributeAndRelationshipChanges)
{
    DBLoginGroup* group = context.getOrCreateApplicationLoginGroup();
    DBFileItem* item = context.createFileItemWithPath("/a");
    DBStartupCondition* condition = context.createHotkeyStartupCondition();
    finishPass();
    undo.removeAllActions();

    const QString before = snapshot(context);
    item->setItemPath("/b");
    item->setItemSortIndexValue(4);
    item->setItemLoginGroup(group);
    item->addItemStartupConditionsObject(condition);
    finishPass();
    const QString after = snapshot(context);
    item->removeItemStartupConditionsObject(condition);
    item->setItemLoginGroup(nullptr);
    finishPass();
    const QString removed = snapshot(context);

    undo.undo();
    EXPECT_EQ(snapshot(context), after);
    undo.undo();
    EXPECT_EQ(snapshot(context), before);
    EXPECT_EQ(item->itemPath(), "/a");
    EXPECT_FALSE(undo.canUndo());

    undo.redo();
    EXPECT_EQ(snapshot(context), after);
    EXPECT_EQ(condition->conditionLoginItems(), QList<DBLoginItem*> { item });
    undo.redo();
    EXPECT_EQ(snapshot(context), removed);
    EXPECT_FALSE(undo.canRedo());
}

TEST_F(UndoTest, UndoOfInsertAndOfDeleteWithCascades)
{
    DBLoginGroup* group = context.getOrCreateApplicationLoginGroup();
    const QString empty = snapshot(context);
    DBFileItem* item = context.createFileItemWithPath("/a");
    item->setItemLoginGroup(group);
    DBStartupCondition* schedule = context.createScheduledStartupCondition();
    schedule->setConditionName("Work");
    DBStartupCondition* hotkey = context.createHotkeyStartupCondition();
    hotkey->setConditionSortIndexValue(1);
    item->addItemStartupConditionsObject(schedule);
    item->addItemStartupConditionsObject(hotkey);
    finishPass();
    const QString full = snapshot(context);

    context.deleteObject(schedule);
    context.deleteObject(group);
    finishPass();
    EXPECT_TRUE(context.fetch<DBLoginItem>().isEmpty());
    EXPECT_EQ(hotkey->conditionLoginItems().size(), 0);

    undo.undo();
    EXPECT_EQ(snapshot(context), full);
    EXPECT_TRUE(item->isInserted());
    EXPECT_EQ(schedule->conditionScheduledData()->scheduleStartupCondition(), schedule);

    undo.redo();
    EXPECT_TRUE(item->isDeleted());
    EXPECT_TRUE(schedule->isDeleted());
    undo.undo();
    undo.undo();
    EXPECT_EQ(snapshot(context), empty);
    EXPECT_TRUE(context.fetchObjects(ModelSchema::entity("HotkeyConditionData")).isEmpty());
    undo.redo();
    EXPECT_EQ(snapshot(context), full);
}

// A login group is part of every database, not an edit of the user's: making
// one is no step of its own, and undoing the step it was made in keeps it.
TEST_F(UndoTest, LoginGroupsAreMadeOutsideTheUndoSteps)
{
    context.getOrCreateApplicationLoginGroup();
    finishPass();
    EXPECT_FALSE(undo.canUndo());

    DBFileItem* item = context.createFileItemWithPath("/a");
    item->setItemLoginGroup(context.getOrCreateApplicationLoginGroup());
    finishPass();
    undo.removeAllActions();
    undo.beginUndoGrouping();
    item->setItemLoginGroup(context.getOrCreateIgnoreLoginGroup());
    undo.endUndoGrouping();
    finishPass();
    undo.undo();
    EXPECT_EQ(item->itemLoginGroup(), context.getOrCreateApplicationLoginGroup());
    EXPECT_EQ(context.fetch<DBLoginGroup>().size(), 2);
    EXPECT_FALSE(undo.canUndo());
    undo.redo();
    EXPECT_EQ(item->itemLoginGroup(), context.getOrCreateIgnoreLoginGroup());
    EXPECT_EQ(context.fetch<DBLoginGroup>().size(), 2);
}

TEST_F(UndoTest, NestedGroupsFormOneStepNamedByTheOutermost)
{
    undo.beginUndoGrouping();
    undo.setActionName("Add Items");
    context.createFileItemWithPath("/a");
    undo.beginUndoGrouping();
    context.createFileItemWithPath("/b");
    undo.endUndoGrouping();
    EXPECT_EQ(undo.groupingLevel(), 1);
    undo.endUndoGrouping();

    EXPECT_EQ(undo.undoActionName(), "Add Items");
    undo.undo();
    EXPECT_TRUE(context.fetch<DBLoginItem>().isEmpty());
    EXPECT_EQ(undo.redoActionName(), "Add Items");
    EXPECT_EQ(undo.undoActionName(), "");
    undo.redo();
    EXPECT_EQ(context.fetch<DBLoginItem>().size(), 2);
    EXPECT_EQ(undo.undoActionName(), "Add Items");
}

TEST_F(UndoTest, ChangesOfOnePassAreOneStep)
{
    context.createFileItemWithPath("/a");
    context.createFileItemWithPath("/b");
    EXPECT_EQ(undo.groupingLevel(), 1);
    finishPass();
    EXPECT_EQ(undo.groupingLevel(), 0);
    context.createFileItemWithPath("/c");
    finishPass();

    undo.undo();
    EXPECT_EQ(context.fetch<DBLoginItem>().size(), 2);
    undo.undo();
    EXPECT_TRUE(context.fetch<DBLoginItem>().isEmpty());
}

TEST_F(UndoTest, UndoWithinThePassClosesItsGroupFirst)
{
    context.createFileItemWithPath("/a");
    EXPECT_TRUE(undo.canUndo());
    undo.undo();
    EXPECT_TRUE(context.fetch<DBLoginItem>().isEmpty());
    finishPass();
    EXPECT_TRUE(undo.canRedo());
}

TEST_F(UndoTest, NothingIsRecordedWhileRegistrationIsOff)
{
    undo.disableUndoRegistration();
    undo.disableUndoRegistration();
    DBFileItem* item = context.createFileItemWithPath("/a");
    undo.enableUndoRegistration();
    EXPECT_FALSE(undo.isUndoRegistrationEnabled());
    item->setItemPath("/b");
    undo.enableUndoRegistration();
    EXPECT_TRUE(undo.isUndoRegistrationEnabled());
    finishPass();
    EXPECT_FALSE(undo.canUndo());
    EXPECT_TRUE(context.hasChanges());

    item->setItemPath("/c");
    finishPass();
    undo.undo();
    EXPECT_EQ(item->itemPath(), "/b");
    EXPECT_TRUE(item->isInserted());
}

TEST_F(UndoTest, NewChangeAfterUndoDropsRedo)
{
    DBFileItem* item = context.createFileItemWithPath("/a");
    finishPass();
    item->setItemPath("/b");
    finishPass();
    undo.undo();
    EXPECT_TRUE(undo.canRedo());
    item->setItemPath("/c");
    EXPECT_FALSE(undo.canRedo());
}

TEST_F(UndoTest, SignalsAfterUndoRedoAndClosedGroups)
{
    QStringList events;
    ScopedConnection undone = QObject::connect(&undo, &UndoManager::didUndo, [&] { events << "undo"; });
    ScopedConnection redone = QObject::connect(&undo, &UndoManager::didRedo, [&] { events << "redo"; });
    ScopedConnection closed = QObject::connect(&undo, &UndoManager::didCloseUndoGroup, [&] { events << "closed"; });
    context.createWaitPreviousItem();
    finishPass();
    undo.undo();
    undo.redo();
    undo.redo(); // nothing to redo
    EXPECT_EQ(events, (QStringList { "closed", "undo", "redo" }));
}

TEST_F(UndoTest, UndoBringsBackTheSameObjectsForTheCurrentPassReport)
{
    DBFileItem* item = context.createFileItemWithPath("/a");
    finishPass();
    QList<ObjectsChange> reports;
    ScopedConnection connection = QObject::connect(&context, &ObjectContext::objectsDidChange,
                                                   [&](const ObjectsChange& change) { reports.append(change); });
    undo.undo();
    finishPass();
    ASSERT_EQ(reports.size(), 1);
    EXPECT_EQ(reports[0].deleted, QList<ManagedObject*> { item });
    undo.redo();
    finishPass();
    ASSERT_EQ(reports.size(), 2);
    EXPECT_EQ(reports[1].inserted, QList<ManagedObject*> { item });
}
