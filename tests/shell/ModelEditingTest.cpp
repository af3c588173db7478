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
#include "model/ObjectContext.h"
#include "shell/ModelEditing.h"
#include "support/FakeSystemItemHelpers.h"
#include "texts/Localizator.h"

#include <QCoreApplication>
#include <cmath>
#include <limits>
#include <QLocale>
#include <QUrl>
#include <gtest/gtest.h>
#include <ostream>

// Readable failures.
void PrintTo(const QString& text, std::ostream* stream)
{
    *stream << '"' << text.toStdString() << '"';
}

namespace {

class ModelEditingTest : public testing::Test {
protected:
    void SetUp() override
    {
        QLocale::setDefault(QLocale::c());
        DBFileItem::setSharedSystemItemHelpers(std::make_shared<FakeSystemItemHelpers>());
        application = context.getOrCreateApplicationLoginGroup();
        ignored = context.getOrCreateIgnoreLoginGroup();
    }
    void TearDown() override { DBFileItem::setSharedSystemItemHelpers(nullptr); }

    // Ends the current pass, so what follows is an undo step of its own, and
    // forgets the steps so far.
    void startFresh()
    {
        QCoreApplication::processEvents();
        context.undoManager().removeAllActions();
    }

    // The group's items by path (the kind's name for others), in list order,
    // after checking that the indexes are exactly 0..n-1.
    QString order(const DBLoginGroup* group)
    {
        QStringList names;
        const QList<DBLoginItem*> items = context.sortedLoginItemsForGroup(group);
        for (qsizetype position = 0; position < items.size(); ++position) {
            EXPECT_EQ(items[position]->itemSortIndexValue(), position) << "in " << group->logDescription().toStdString();
            const auto* file = dynamic_cast<const DBFileItem*>(items[position]);
            names << (file ? file->itemPath() : items[position]->entityName());
        }
        return names.join(' ');
    }

    QString conditionOrder()
    {
        QStringList names;
        const QList<DBStartupCondition*> conditions = context.sortedStartupConditions();
        for (qsizetype position = 0; position < conditions.size(); ++position) {
            EXPECT_EQ(conditions[position]->conditionSortIndexValue(), position);
            // New ones in the tables are network conditions with their default name.
            const bool isNew = conditions[position]->conditionTypeValue() == StartupConditionTypeNetwork;
            names << (isNew ? QStringLiteral("X") : conditions[position]->conditionName());
        }
        return names.join(' ');
    }

    QString scheduleOrder(const DBStartupCondition* condition)
    {
        QStringList days;
        const QList<DBScheduledConditionDataItem*> entries = editing.sortedScheduleDataItemsForCondition(condition);
        for (qsizetype position = 0; position < entries.size(); ++position) {
            EXPECT_EQ(entries[position]->scheduleSortIndexValue(), position);
            days << QString::number(entries[position]->scheduleDayValue());
        }
        return days.join(' ');
    }

    // Runs the edit as one step, then checks undo and redo restore each side.
    template <typename Read, typename Edit>
    void expectUndoable(Read read, Edit edit, const QString& expected, const QString& actionName)
    {
        startFresh();
        const QString before = read();
        edit();
        EXPECT_EQ(read(), expected);
        UndoManager& undo = context.undoManager();
        EXPECT_EQ(undo.undoActionName(), actionName);
        undo.undo();
        EXPECT_EQ(read(), before);
        EXPECT_FALSE(undo.canUndo()) << "the edit was more than one undo step";
        undo.redo();
        EXPECT_EQ(read(), expected);
    }

    QList<DBLoginItem*> files(const QStringList& paths, DBLoginGroup* group)
    {
        QVariantList data;
        for (const QString& path : paths)
            data << path;
        return editing.createFileItemsFromData(data, group, 1000);
    }

    QList<DBStartupCondition*> conditions(const QStringList& names)
    {
        QList<DBStartupCondition*> made;
        for (const QString& name : names) {
            made << editing.createMountedVolumeStartupConditionAtIndex(made.size());
            made.last()->setConditionName(name);
        }
        return made;
    }

    Localizator texts;
    ObjectContext context { texts };
    ModelEditing editing { context, texts };
    DBLoginGroup* application = nullptr;
    DBLoginGroup* ignored = nullptr;
};

struct CreationCase {
    const char* name;
    qsizetype index;
    const char* expected;
};

void PrintTo(const CreationCase& each, std::ostream* stream)
{
    *stream << each.name;
}

class ItemCreationTest : public ModelEditingTest, public testing::WithParamInterface<CreationCase> {};

} // namespace

TEST_P(ItemCreationTest, InsertsAtTheClampedIndexAndUndoesAsOneStep)
{
    files({ "/a", "/b", "/c" }, application);
    expectUndoable([this] { return order(application); },
                   [this] { editing.createFileItemsFromData({ QString("/x"), QUrl::fromLocalFile("/y") }, application, GetParam().index); },
                   GetParam().expected, "Add 2 Items");
}

INSTANTIATE_TEST_SUITE_P(Indexes, ItemCreationTest,
                         testing::Values(CreationCase { "start", 0, "/x /y /a /b /c" }, CreationCase { "middle", 1, "/a /x /y /b /c" },
                                         CreationCase { "end", 3, "/a /b /c /x /y" }, CreationCase { "pastTheEnd", 10, "/a /b /c /x /y" },
                                         CreationCase { "negative", -2, "/x /y /a /b /c" }),
                         [](const testing::TestParamInfo<CreationCase>& info) { return std::string(info.param.name); });

TEST_F(ModelEditingTest, EachItemKindIsCreatedFromItsData)
{
    const QList<DBLoginItem*> delays = editing.createDelayItemsFromData({ 5, 2.5 }, application, 0);
    ASSERT_EQ(delays.size(), 2);
    EXPECT_EQ(static_cast<DBDelayItem*>(delays[1])->itemDelayValue(), 2.5);
    EXPECT_EQ(editing.typeOfLoginItem(delays[0]), LoginItemTypeDelay);
    const QList<DBLoginItem*> waits = editing.createWaitPreviousItemsFromData({ {}, {} }, application, 1);
    EXPECT_EQ(editing.typeOfLoginItem(waits.value(0)), LoginItemTypeWaitPrevious);
    const QList<DBLoginItem*> conditionals = editing.createConditionalPreviousItemsFromData({ {} }, application, 0);
    EXPECT_EQ(editing.typeOfLoginItem(conditionals.value(0)), LoginItemTypeConditionalPrevious);
    EXPECT_EQ(order(application), "ConditionalPreviousItem DelayItem WaitPreviousItem WaitPreviousItem DelayItem");
    EXPECT_EQ(editing.sortedLoginItemsForApplicationGroup().size(), 5);
}

TEST_F(ModelEditingTest, UnusableDataIsSkippedWithoutLeavingAGap)
{
    files({ "/a" }, application);
    const QList<DBLoginItem*> made = editing.createFileItemsFromData(
        { 42, QString("/b"), QUrl("https://example.org/x"), QString(), QString("/c") }, application, 0);
    EXPECT_EQ(made.size(), 2);
    EXPECT_EQ(order(application), "/b /c /a");
    EXPECT_TRUE(editing.createDelayItemsFromData({ QString("soon") }, application, 0).isEmpty());
    // A delay no countdown can end never enters the model.
    for (const double delay : { -1.0, std::nan(""), std::numeric_limits<double>::infinity() })
        EXPECT_TRUE(editing.createDelayItemsFromData({ delay }, application, 0).isEmpty()) << delay;
    EXPECT_EQ(order(application), "/b /c /a");
    EXPECT_TRUE(editing.createFileItemsFromData({ QString("/d") }, nullptr, 0).isEmpty());
}

TEST_F(ModelEditingTest, TextTheDatabaseFileCannotHoldIsRefusedAndReported)
{
    QStringList refused;
    editing.setRefusedTextHandler([&](const QString& text) { refused.append(text); });
    const QString bad = QStringLiteral("bell\a");
    EXPECT_TRUE(editing.createFileItemsFromData({ QString("/ok"), QString("/bin/" + bad), QUrl::fromLocalFile("/tmp/" + bad) }, application, 0).size() == 1);
    EXPECT_EQ(order(application), "/ok");
    DBStartupCondition* volume = editing.createMountedVolumeStartupConditionAtIndex(0);
    DBStartupCondition* network = editing.createNetworkStartupConditionAtIndex(1);
    const QString name = volume->conditionName();
    EXPECT_FALSE(editing.renameStartupCondition(volume, bad));
    EXPECT_FALSE(editing.setVolumePath(volume, "/media/" + bad));
    EXPECT_FALSE(editing.setNetworkName(network, bad + QChar(0xFFFF)));
    EXPECT_EQ(volume->conditionName(), name);
    EXPECT_FALSE(volume->conditionVolumeData()->value("volumePath").isValid());
    EXPECT_TRUE(network->conditionNetworkData()->networkName().isNull());
    EXPECT_EQ(refused.size(), 5);
    // What can be held is kept, whatever its script.
    EXPECT_TRUE(editing.renameStartupCondition(volume, QString::fromUcs4(U"Disk 💾 日本	tab")));
}

TEST_F(ModelEditingTest, InsertingIntoAListWithGapsLeavesItDense)
{
    const QList<DBLoginItem*> items = files({ "/a", "/b", "/c" }, application);
    items[1]->setItemSortIndexValue(5);
    items[2]->setItemSortIndexValue(9);
    editing.createFileItemsFromData({ QString("/x") }, application, 2);
    EXPECT_EQ(order(application), "/a /b /x /c");
}

namespace {

struct MoveCase {
    const char* name;
    QList<int> moved; // positions in a b c d e
    qsizetype index;
    const char* expected;
};

void PrintTo(const MoveCase& each, std::ostream* stream)
{
    *stream << each.name;
}

class ItemMoveTest : public ModelEditingTest, public testing::WithParamInterface<MoveCase> {};

} // namespace

TEST_P(ItemMoveTest, PlacesTheItemsAmongTheOthersAndUndoesAsOneStep)
{
    const QList<DBLoginItem*> items = files({ "/a", "/b", "/c", "/d", "/e" }, application);
    QList<DBLoginItem*> moved;
    for (int position : GetParam().moved)
        moved << items[position];
    const QString name = moved.size() == 1 ? "Reorder Name of " + static_cast<DBFileItem*>(moved[0])->itemPath()
                                           : QStringLiteral("Reorder %1 Items").arg(moved.size());
    expectUndoable([this] { return order(application); },
                   [&] { editing.moveLoginItems(moved, application, application, GetParam().index); }, GetParam().expected, name);
}

INSTANTIATE_TEST_SUITE_P(Moves, ItemMoveTest,
                         testing::Values(MoveCase { "up", { 3 }, 0, "/d /a /b /c /e" }, MoveCase { "down", { 0 }, 3, "/b /c /d /a /e" },
                                         MoveCase { "apartToOne", { 0, 2 }, 1, "/b /a /c /d /e" },
                                         MoveCase { "severalInGivenOrder", { 4, 0 }, 2, "/b /c /e /a /d" },
                                         MoveCase { "toTheEnd", { 1 }, 4, "/a /c /d /e /b" },
                                         MoveCase { "pastTheEnd", { 1, 2 }, 99, "/a /d /e /b /c" },
                                         MoveCase { "negative", { 4 }, -1, "/e /a /b /c /d" }),
                         [](const testing::TestParamInfo<MoveCase>& info) { return std::string(info.param.name); });

TEST_F(ModelEditingTest, ARepeatedOrForeignItemIsNotMovedTwiceOrIntoTheList)
{
    const QList<DBLoginItem*> items = files({ "/a", "/b", "/c" }, application);
    const QList<DBLoginItem*> strangers = files({ "/s" }, ignored);
    editing.moveLoginItems({ items[0], items[0], strangers[0] }, application, application, 2);
    EXPECT_EQ(order(application), "/b /c /a");
    EXPECT_EQ(order(ignored), "/s");
}

TEST_F(ModelEditingTest, MovingBetweenGroupsTakesOnlyFileItems)
{
    files({ "/a" }, application);
    const QList<DBLoginItem*> delay = editing.createDelayItemsFromData({ 3 }, application, 1);
    const QList<DBLoginItem*> rest = files({ "/b", "/c" }, application);
    files({ "/i", "/j" }, ignored);
    expectUndoable(
        [this] { return order(application) + " | " + order(ignored); },
        [&] { editing.moveLoginItems({ delay[0], rest[0] }, application, ignored, 1); }, "/a DelayItem /c | /i /b /j",
        "Move Name of /b To Ignored Items");
    expectUndoable([this] { return order(application) + " | " + order(ignored); },
                   [&] { editing.moveLoginItems({ rest[0] }, ignored, application, 0); }, "/b /a DelayItem /c | /i /j",
                   "Move Name of /b To Lanternwick Items");
}

namespace {

struct DeleteCase {
    const char* name;
    QList<int> deleted;
    const char* expected;
};

void PrintTo(const DeleteCase& each, std::ostream* stream)
{
    *stream << each.name;
}

class ItemDeleteTest : public ModelEditingTest, public testing::WithParamInterface<DeleteCase> {};

} // namespace

TEST_P(ItemDeleteTest, ClosesTheGapsAndUndoesAsOneStep)
{
    const QList<DBLoginItem*> items = files({ "/a", "/b", "/c", "/d", "/e" }, application);
    QList<DBLoginItem*> deleted;
    QList<DBLoginItem*> unique;
    for (int position : GetParam().deleted) {
        deleted << items[position];
        if (!unique.contains(items[position]))
            unique << items[position];
    }
    const QString name = unique.size() == 1 ? "Delete Name of " + static_cast<DBFileItem*>(unique[0])->itemPath()
                                            : QStringLiteral("Delete %1 Items").arg(unique.size());
    expectUndoable([this] { return order(application); }, [&] { editing.deleteLoginItems(deleted, application); },
                   GetParam().expected, name);
}

INSTANTIATE_TEST_SUITE_P(Deletes, ItemDeleteTest,
                         testing::Values(DeleteCase { "first", { 0 }, "/b /c /d /e" }, DeleteCase { "last", { 4 }, "/a /b /c /d" },
                                         DeleteCase { "oneAndThree", { 1, 3 }, "/a /c /e" },
                                         DeleteCase { "repeated", { 2, 2 }, "/a /b /d /e" },
                                         DeleteCase { "all", { 4, 0, 2, 1, 3 }, "" }),
                         [](const testing::TestParamInfo<DeleteCase>& info) { return std::string(info.param.name); });

TEST_F(ModelEditingTest, DeletingIgnoredItemsIsNamedSo)
{
    const QList<DBLoginItem*> items = files({ "/i", "/j" }, ignored);
    expectUndoable([this] { return order(ignored); }, [&] { editing.deleteLoginItems(items, ignored); }, "",
                   "Delete 2 Ignored Items");
}

TEST_F(ModelEditingTest, NeighboursEndAtTheEndsOfTheGroup)
{
    const QList<DBLoginItem*> items = files({ "/a", "/b", "/c" }, application);
    EXPECT_EQ(editing.loginItemImmediatelyBeforeItem(items[0]), nullptr);
    EXPECT_EQ(editing.loginItemImmediatelyAfterItem(items[0]), items[1]);
    EXPECT_EQ(editing.loginItemImmediatelyBeforeItem(items[2]), items[1]);
    EXPECT_EQ(editing.loginItemImmediatelyAfterItem(items[2]), nullptr);
    EXPECT_EQ(editing.loginItemImmediatelyAfterItem(nullptr), nullptr);
}

TEST_F(ModelEditingTest, ACallersGroupKeepsItsOwnName)
{
    UndoManager& undo = context.undoManager();
    startFresh();
    undo.beginUndoGrouping();
    undo.setActionName("Drop");
    files({ "/a" }, application);
    editing.createDelayItemsFromData({ 1 }, application, 0);
    undo.endUndoGrouping();
    EXPECT_EQ(undo.undoActionName(), "Drop");
    undo.undo();
    EXPECT_EQ(order(application), "");
    EXPECT_FALSE(undo.canUndo());
}

// --- Conditions ------------------------------------------------------------------

TEST_F(ModelEditingTest, ConditionsAreCreatedAtTheClampedIndex)
{
    conditions({ "A", "B", "C" });
    const struct {
        qsizetype index;
        const char* expected;
    } cases[] = { { 0, "X A B C" }, { 2, "A B X C" }, { 3, "A B C X" }, { 7, "A B C X" }, { -1, "X A B C" } };
    for (const auto& each : cases) {
        SCOPED_TRACE(each.index);
        expectUndoable([this] { return conditionOrder(); },
                       [&] { editing.createNetworkStartupConditionAtIndex(each.index); }, each.expected,
                       "Create Network Startup Condition");
        context.undoManager().undo();
    }
}

TEST_F(ModelEditingTest, ConditionMovesAndDeletesKeepTheListDense)
{
    const QList<DBStartupCondition*> made = conditions({ "A", "B", "C", "D" });
    expectUndoable([this] { return conditionOrder(); }, [&] { editing.moveStartupConditions({ made[3], made[0] }, 1); },
                   "B D A C", "Reorder 2 Conditions");
    expectUndoable([this] { return conditionOrder(); }, [&] { editing.moveStartupConditions({ made[1] }, 99); }, "D A C B",
                   "Reorder B");
    expectUndoable([this] { return conditionOrder(); }, [&] { editing.deleteStartupConditions({ made[3], made[2] }); }, "A B",
                   "Delete 2 Conditions");
}

namespace {

struct FreeDefaultCase {
    QList<int32_t> used;
    int32_t expected;
};

void PrintTo(const FreeDefaultCase& each, std::ostream* stream)
{
    *stream << "used";
    for (int32_t value : each.used)
        *stream << ' ' << value;
    *stream << " gives " << each.expected;
}

class HotkeyDefaultTest : public ModelEditingTest, public testing::WithParamInterface<FreeDefaultCase> {};
class PowerSourceDefaultTest : public ModelEditingTest, public testing::WithParamInterface<FreeDefaultCase> {};

} // namespace

TEST_P(HotkeyDefaultTest, TakesTheFirstFreeCombination)
{
    for (int32_t combination : GetParam().used)
        editing.createHotkeyStartupConditionAtIndex(0)->conditionHotkeyData()->setHotkeyCombinationValue(combination);
    EXPECT_EQ(editing.createHotkeyStartupConditionAtIndex(0)->conditionHotkeyData()->hotkeyCombinationValue(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Used, HotkeyDefaultTest,
                         testing::Values(FreeDefaultCase { {}, HotkeyCombinationControl },
                                         FreeDefaultCase { { HotkeyCombinationOption }, HotkeyCombinationControl },
                                         FreeDefaultCase { { HotkeyCombinationControl, HotkeyCombinationShift }, HotkeyCombinationOption },
                                         FreeDefaultCase { { HotkeyCombinationControl, HotkeyCombinationOption, HotkeyCombinationShift },
                                                           HotkeyCombinationCommand },
                                         FreeDefaultCase { { HotkeyCombinationControl, HotkeyCombinationOption, HotkeyCombinationShift,
                                                             HotkeyCombinationCommand },
                                                           HotkeyCombinationCommand }));

TEST_P(PowerSourceDefaultTest, TakesPowerSupplyUnlessItIsUsed)
{
    for (int32_t type : GetParam().used)
        editing.createPowerSourceStartupConditionAtIndex(0)->conditionPowerSourceData()->setPowerSourceTypeValue(type);
    EXPECT_EQ(editing.createPowerSourceStartupConditionAtIndex(0)->conditionPowerSourceData()->powerSourceTypeValue(),
              GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Used, PowerSourceDefaultTest,
                         testing::Values(FreeDefaultCase { {}, PowerSourceTypePowerSupply },
                                         FreeDefaultCase { { PowerSourceTypeBattery }, PowerSourceTypePowerSupply },
                                         FreeDefaultCase { { PowerSourceTypePowerSupply }, PowerSourceTypeBattery },
                                         FreeDefaultCase { { PowerSourceTypeBattery, PowerSourceTypePowerSupply }, PowerSourceTypeBattery }));

TEST_F(ModelEditingTest, ADeletedConditionNoLongerCountsAsUsed)
{
    DBStartupCondition* control = editing.createHotkeyStartupConditionAtIndex(0);
    editing.deleteStartupConditions({ control });
    EXPECT_EQ(editing.createHotkeyStartupConditionAtIndex(0)->conditionHotkeyData()->hotkeyCombinationValue(), HotkeyCombinationControl);
}

// --- Schedule entries ----------------------------------------------------------------

TEST_F(ModelEditingTest, ScheduleEntriesAreInsertedAtTheClampedIndex)
{
    DBStartupCondition* condition = editing.createScheduledStartupConditionAtIndex(0);
    condition->setConditionName("Work");
    editing.sortedScheduleDataItemsForCondition(condition).first()->setScheduleDayValue(ScheduleDayMonday);
    editing.createScheduledConditionDataItemForCondition(condition, 1)->setScheduleDayValue(ScheduleDayTuesday);
    const struct {
        qsizetype index;
        const char* expected;
    } cases[] = { { 0, "7 0 1" }, { 1, "0 7 1" }, { 2, "0 1 7" }, { 5, "0 1 7" }, { -3, "7 0 1" } };
    for (const auto& each : cases) {
        SCOPED_TRACE(each.index);
        expectUndoable([&] { return scheduleOrder(condition); },
                       [&] { editing.createScheduledConditionDataItemForCondition(condition, each.index); },
                       each.expected, "Add Schedule Item To Work");
        context.undoManager().undo();
    }
}

TEST_F(ModelEditingTest, DeletingScheduleEntriesClosesTheGap)
{
    DBStartupCondition* condition = editing.createScheduledStartupConditionAtIndex(0);
    condition->setConditionName("Work");
    editing.createScheduledConditionDataItemForCondition(condition, 1)->setScheduleDayValue(ScheduleDayFriday);
    editing.createScheduledConditionDataItemForCondition(condition, 2)->setScheduleDayValue(ScheduleDaySunday);
    DBScheduledConditionDataItem* first = editing.sortedScheduleDataItemsForCondition(condition).first();
    expectUndoable([&] { return scheduleOrder(condition); }, [&] { editing.deleteScheduledConditionDataItem(first, condition); },
                   "4 6", "Remove Schedule Item From Work");
}

TEST_F(ModelEditingTest, DeletingTheOnlyScheduleEntryLeavesAnEmptySchedule)
{
    DBStartupCondition* condition = editing.createScheduledStartupConditionAtIndex(0);
    editing.deleteScheduledConditionDataItem(editing.sortedScheduleDataItemsForCondition(condition).first(), condition);
    EXPECT_TRUE(editing.sortedScheduleDataItemsForCondition(condition).isEmpty());
    EXPECT_NE(condition->conditionScheduledData(), nullptr);
}

TEST_F(ModelEditingTest, ScheduleEntriesNeedAScheduleCondition)
{
    EXPECT_EQ(editing.createScheduledConditionDataItemForCondition(editing.createHotkeyStartupConditionAtIndex(0), 0), nullptr);
    EXPECT_EQ(editing.createScheduledConditionDataItemForCondition(nullptr, 0), nullptr);
}

TEST_F(ModelEditingTest, SingleValuesAreNamedStepsAndUnchangedValuesAreNoSteps)
{
    auto* file = static_cast<DBFileItem*>(files({ "/a" }, application).first());
    auto* delay = static_cast<DBDelayItem*>(editing.createDelayItemsFromData({ 5 }, application, 1).first());
    auto* marker = static_cast<DBConditionalPreviousItem*>(editing.createConditionalPreviousItemsFromData({ 0 }, application, 2).first());
    DBStartupCondition* condition = editing.createNetworkStartupConditionAtIndex(0);
    condition->setConditionName("Office");

    expectUndoable([&] { return QString::number(file->itemStartupModeValue()); },
                   [&] { EXPECT_TRUE(editing.setFileItemStartupMode(file, ItemStartupModeHidden)); }, "1",
                   "Change Name of /a Startup Mode To Hidden");
    expectUndoable([&] { return QString::number(file->itemStartupConditions().size()); },
                   [&] { EXPECT_TRUE(editing.setStartupConditionUsedByLoginItem(condition, file, true)); }, "1",
                   "Add Office To Name of /a");
    expectUndoable([&] { return condition->conditionName(); }, [&] { EXPECT_TRUE(editing.renameStartupCondition(condition, "Home")); },
                   "Home", "Rename Office to Home");
    expectUndoable([&] { return QString::number(delay->itemDelayValue()); }, [&] { EXPECT_TRUE(editing.setDelayItemDelay(delay, 2.5)); },
                   "2.5", "Change Delay Value");
    expectUndoable([&] { return QString::number(marker->itemModeValue()); },
                   [&] { EXPECT_TRUE(editing.setConditionalPreviousItemMode(marker, ConditionalPreviousItemModeIfNotLaunched)); }, "1",
                   "Change conditional item mode");

    startFresh();
    EXPECT_FALSE(editing.setFileItemStartupMode(file, ItemStartupModeHidden)) << "already hidden";
    EXPECT_FALSE(editing.setFileItemStartupMode(file, 3));
    EXPECT_FALSE(editing.setStartupConditionUsedByLoginItem(condition, file, true)) << "already used";
    EXPECT_FALSE(editing.renameStartupCondition(condition, "Home"));
    for (const double refused : { -1.0, std::nan(""), std::numeric_limits<double>::infinity(), 2.5 })
        EXPECT_FALSE(editing.setDelayItemDelay(delay, refused)) << refused;
    EXPECT_FALSE(editing.setConditionalPreviousItemMode(marker, 2));
    QCoreApplication::processEvents();
    EXPECT_FALSE(context.undoManager().canUndo());
}

TEST_F(ModelEditingTest, SingleValuesOfDeletedObjectsAreLeftAlone)
{
    DBLoginItem* item = files({ "/a" }, application).first();
    DBStartupCondition* condition = editing.createNetworkStartupConditionAtIndex(0);
    editing.deleteStartupConditions({ condition });
    EXPECT_FALSE(editing.setStartupConditionUsedByLoginItem(condition, item, true));
    EXPECT_FALSE(editing.renameStartupCondition(condition, "Gone"));
    EXPECT_FALSE(editing.setStartupConditionUsedByLoginItem(nullptr, item, true));
    EXPECT_TRUE(item->itemStartupConditions().isEmpty());
}

TEST_F(ModelEditingTest, ConditionSettingsAreNamedStepsWithinTheirEnumerations)
{
    DBStartupCondition* hotkey = editing.createHotkeyStartupConditionAtIndex(0);
    DBStartupCondition* power = editing.createPowerSourceStartupConditionAtIndex(1);
    DBStartupCondition* volume = editing.createMountedVolumeStartupConditionAtIndex(2);
    DBStartupCondition* network = editing.createNetworkStartupConditionAtIndex(3);
    DBStartupCondition* schedule = editing.createScheduledStartupConditionAtIndex(4);
    DBScheduledConditionDataItem* entry = editing.createScheduledConditionDataItemForCondition(schedule, 0);
    for (DBStartupCondition* condition : { hotkey, power, volume, network, schedule })
        condition->setConditionName("C");
    const auto number = [](const QVariant& value) { return value.isValid() ? value.toString() : QStringLiteral("nil"); };
    const auto time = [](const QDateTime& date) { return date.toLocalTime().toString("yyyy-MM-dd HH:mm"); };

    expectUndoable([&] { return number(hotkey->conditionHotkeyData()->hotkeyCombination()); },
                   [&] { EXPECT_TRUE(editing.setHotkeyCombination(hotkey, HotkeyCombinationCommand)); }, "3",
                   "Change Hotkey Combination For C");
    expectUndoable([&] { return number(hotkey->conditionHotkeyData()->hotkeyStatus()); },
                   [&] { EXPECT_TRUE(editing.setHotkeyStatus(hotkey, HotkeyStatusNotPressed)); }, "1", "Change Hotkey Status For C");
    expectUndoable([&] { return number(power->conditionPowerSourceData()->powerSourceType()); },
                   [&] { EXPECT_TRUE(editing.setPowerSourceType(power, PowerSourceTypeBattery)); }, "1", "Change Power Source For C");
    expectUndoable([&] { return number(entry->scheduleDay()); }, [&] { EXPECT_TRUE(editing.setScheduleDay(entry, ScheduleDayWeekend)); },
                   "8", "Change Schedule Day For C");
    // The entry keeps its date; only hour and minute change.
    expectUndoable([&] { return time(entry->scheduleFromTime()); },
                   [&] { EXPECT_TRUE(editing.setScheduleFromTime(entry, QTime(7, 45, 30))); }, "2006-10-01 07:45",
                   "Change Schedule From Time For C");
    expectUndoable([&] { return time(entry->scheduleToTime()); }, [&] { EXPECT_TRUE(editing.setScheduleToTime(entry, QTime(18, 5))); },
                   "2006-10-01 18:05", "Change Schedule To Time For C");
    expectUndoable([&] { return volume->conditionVolumeData()->volumePath(); },
                   [&] { EXPECT_TRUE(editing.setVolumePath(volume, "/media/usb")); }, "/media/usb", "Change Volume For C");
    expectUndoable([&] { return number(volume->conditionVolumeData()->volumeStatus()); },
                   [&] { EXPECT_TRUE(editing.setVolumeStatus(volume, VolumeStatusNotMounted)); }, "1", "Change Volume Status For C");
    expectUndoable([&] { return number(network->conditionNetworkData()->networkMode()); },
                   [&] { EXPECT_TRUE(editing.setNetworkMode(network, NetworkModeNot)); }, "1", "Change Network Mode For C");
    expectUndoable([&] { return number(network->conditionNetworkData()->networkStatus()); },
                   [&] { EXPECT_TRUE(editing.setNetworkStatus(network, NetworkStatusConnected)); }, "1", "Change Network Status For C");

    startFresh();
    EXPECT_FALSE(editing.setHotkeyCombination(hotkey, 4));
    EXPECT_FALSE(editing.setHotkeyCombination(hotkey, -1));
    EXPECT_FALSE(editing.setHotkeyStatus(hotkey, 2));
    EXPECT_FALSE(editing.setPowerSourceType(power, 5));
    EXPECT_FALSE(editing.setScheduleDay(entry, 12));
    EXPECT_FALSE(editing.setScheduleFromTime(entry, QTime()));
    EXPECT_FALSE(editing.setVolumeStatus(volume, 2));
    EXPECT_FALSE(editing.setNetworkMode(network, 2));
    EXPECT_FALSE(editing.setNetworkStatus(network, 7));
    EXPECT_FALSE(editing.setHotkeyCombination(power, HotkeyCombinationShift)) << "not a hotkey condition";
    EXPECT_FALSE(editing.setScheduleToTime(entry, QTime(18, 5))) << "unchanged";
    QCoreApplication::processEvents();
    EXPECT_FALSE(context.undoManager().canUndo());
}

TEST_F(ModelEditingTest, TheInternetConnectionIsAvailableNeverConnected)
{
    DBStartupCondition* network = editing.createNetworkStartupConditionAtIndex(0);
    network->setConditionName("Net");
    DBNetworkConditionData* data = network->conditionNetworkData();
    const auto state = [&] {
        const QVariant name = data->value("networkName");
        return QStringLiteral("%1 %2").arg(name.isValid() ? name.toString() : QStringLiteral("nil")).arg(data->networkStatusValue());
    };
    data->setNetworkName("Office");
    data->setNetworkStatusValue(NetworkStatusConnected);
    expectUndoable(state, [&] { EXPECT_TRUE(editing.setNetworkName(network, QString())); }, "nil 0", "Change Network For Net");
    // A network named like the internet connection is a network.
    expectUndoable(state, [&] { EXPECT_TRUE(editing.setNetworkName(network, "Internet Connection")); }, "Internet Connection 0",
                   "Change Network For Net");
    data->setNetworkStatusValue(NetworkStatusConnected);
    expectUndoable(state, [&] { EXPECT_TRUE(editing.setNetworkName(network, "Home")); }, "Home 1", "Change Network For Net");
}
