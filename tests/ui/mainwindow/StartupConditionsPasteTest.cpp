// The startup conditions of one item are copied to the clipboard and pasted
// onto the selected items, replacing or adding to theirs.
#include "model/DBStartupCondition.h"
#include "support/WindowTest.h"
#include "texts/Localizator.h"
#include "ui/base/CommandNames.h"
#include "ui/base/StartupConditionsClipboardData.h"
#include "ui/mainwindow/MainItemsViewController.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QMimeData>
#include <QSet>
#include <QUuid>
#include <algorithm>
#include <functional>

namespace {

class StartupConditionsPasteTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        handObjectsTo(page);
        page.setRepresentedObject(QVariant::fromValue(group));
        page.loadView();
        // Items A B C D; A has conditions one and two, B has three.
        for (const char* path : { "/A", "/B", "/C", "/D" })
            addFile(path);
        ModelEditing& editing = *helpers->modelEditing();
        for (const char* name : { "one", "two", "three" }) {
            DBStartupCondition* condition = editing.createHotkeyStartupConditionAtIndex(editing.sortedStartupConditions().size());
            condition->setConditionName(name);
            conditions.append(condition);
        }
        item(0)->addItemStartupConditionsObject(conditions[1]);
        item(0)->addItemStartupConditionsObject(conditions[0]);
        item(1)->addItemStartupConditionsObject(conditions[2]);
        QGuiApplication::clipboard()->clear();
        startFresh();
    }

    DBLoginItem* item(int row) const { return items().at(row); }
    void select(const QList<int>& rows)
    {
        QList<DBLoginItem*> selection;
        for (int row : rows)
            selection.append(item(row));
        page.selectItems(selection);
    }
    // The names of an item's conditions, sorted.
    QString conditionsOf(int row) const
    {
        QStringList names;
        for (DBStartupCondition* condition : item(row)->itemStartupConditions())
            names << condition->conditionName();
        names.sort();
        return names.join(' ');
    }
    QString undoName() const { return context->undoManager().undoActionName(); }

    MainItemsViewController page;
    QList<DBStartupCondition*> conditions;
};

TEST_F(StartupConditionsPasteTest, CopyWritesTheSortedIDsOfTheOneSelectedItem)
{
    select({ 0 });
    page.performCommand(CommandNames::copy);
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    ASSERT_TRUE(data->hasFormat("application/x-lanternwick-startup-conditions"));
    QStringList expected { conditions[0]->objectID().uriRepresentation(), conditions[1]->objectID().uriRepresentation() };
    std::sort(expected.begin(), expected.end());
    const QJsonDocument document = QJsonDocument::fromJson(data->data(StartupConditionsClipboardData::mimeType));
    ASSERT_TRUE(document.isArray());
    EXPECT_EQ(document.array().toVariantList(), QVariantList(expected.begin(), expected.end()));

    // Copying from two items does nothing.
    QGuiApplication::clipboard()->setText("kept");
    select({ 0, 1 });
    page.copy();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "kept");
    EXPECT_EQ(saves, 0);
}

TEST_F(StartupConditionsPasteTest, PasteReplacesTheConditionsOfEverySelectedItem)
{
    select({ 0 });
    page.copy();
    select({ 1, 2, 3 });
    page.performCommand(CommandNames::paste);
    for (int row : { 1, 2, 3 })
        EXPECT_EQ(conditionsOf(row), "one two") << row;
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(undoName(), page.localizator().undoActionForPastingStartupConditions({ conditions[0], conditions[1] },
                                                                                    { item(1), item(2), item(3) }));
    context->undoManager().undo();
    EXPECT_EQ(conditionsOf(1), "three");
    EXPECT_EQ(conditionsOf(2), "");
    EXPECT_FALSE(context->undoManager().canUndo());
}

TEST_F(StartupConditionsPasteTest, PasteAndAppendAddsToTheConditionsAndCountsOnlyTheItemsItChanged)
{
    item(2)->addItemStartupConditionsObject(conditions[0]);
    item(2)->addItemStartupConditionsObject(conditions[1]);
    startFresh();
    select({ 0 });
    page.copy();
    select({ 1, 2 });
    page.performCommand(CommandNames::pasteAndAppendStartupConditions);
    EXPECT_EQ(conditionsOf(1), "one three two");
    EXPECT_EQ(conditionsOf(2), "one two");
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(undoName(), page.localizator().undoActionForPastingStartupConditions({ conditions[0], conditions[1] }, { item(1) }));
    context->undoManager().undo();
    EXPECT_EQ(conditionsOf(1), "three");

    // Pasting what the items already have changes nothing.
    select({ 0, 2 });
    page.pasteAndAppendStartupConditions();
    page.paste();
    EXPECT_EQ(saves, 1);
    EXPECT_FALSE(context->undoManager().canUndo());
}

TEST_F(StartupConditionsPasteTest, AnEmptyListRemovesTheConditionsWhenPastedAndAddsNothingWhenAppended)
{
    select({ 3 });
    page.copy();
    select({ 0, 1 });
    page.pasteAndAppendStartupConditions();
    EXPECT_EQ(conditionsOf(0), "one two");
    EXPECT_EQ(saves, 0);
    EXPECT_FALSE(context->undoManager().canUndo());

    page.paste();
    EXPECT_EQ(conditionsOf(0), "");
    EXPECT_EQ(conditionsOf(1), "");
    EXPECT_EQ(saves, 1);
    context->undoManager().undo();
    EXPECT_EQ(conditionsOf(0), "one two");
    EXPECT_EQ(conditionsOf(1), "three");
}

TEST_F(StartupConditionsPasteTest, ConditionsDeletedSinceTheCopyAreLeftOut)
{
    select({ 0 });
    page.copy();
    DBStartupCondition* kept = conditions[1];
    helpers->modelEditing()->deleteStartupConditions({ conditions[0] });
    startFresh();
    select({ 1 });
    page.paste();
    EXPECT_EQ(conditionsOf(1), "two");
    EXPECT_EQ(undoName(), page.localizator().undoActionForPastingStartupConditions({ kept }, { item(1) }));
}

struct ClipboardCase {
    const char* name;
    // What is on the clipboard, from the conditions of the fixture.
    std::function<QMimeData*(const QList<DBStartupCondition*>& conditions, DBLoginItem* anItem)> contents;
};

class ForeignClipboardTest : public StartupConditionsPasteTest, public testing::WithParamInterface<ClipboardCase> {};

TEST_P(ForeignClipboardTest, ChangesNothing)
{
    QMimeData* data = GetParam().contents(conditions, item(3));
    if (data)
        QGuiApplication::clipboard()->setMimeData(data);
    select({ 0, 1 });
    page.paste();
    page.pasteAndAppendStartupConditions();
    EXPECT_EQ(conditionsOf(0), "one two");
    EXPECT_EQ(conditionsOf(1), "three");
    EXPECT_FALSE(context->undoManager().canUndo());
    EXPECT_EQ(saves, 0);
}

QMimeData* conditionsData(const QByteArray& payload)
{
    auto* data = new QMimeData;
    data->setData(StartupConditionsClipboardData::mimeType, payload);
    return data;
}

QMimeData* conditionsList(const QJsonArray& list)
{
    return conditionsData(QJsonDocument(list).toJson());
}

QString inAnotherDatabase(const DBStartupCondition* condition)
{
    const ObjectID id = condition->objectID();
    return ObjectID(QUuid::createUuid(), id.entityName(), id.number()).uriRepresentation();
}

INSTANTIATE_TEST_SUITE_P(
    Clipboards, ForeignClipboardTest,
    testing::Values(
        ClipboardCase { "Empty", [](auto&, auto*) { return nullptr; } },
        ClipboardCase { "Text",
                        [](auto&, auto*) {
                            auto* data = new QMimeData;
                            data->setText("one two");
                            return data;
                        } },
        ClipboardCase { "NotJson", [](auto&, auto*) { return conditionsData("[\"x-lanternwick://"); } },
        ClipboardCase { "AnObject", [](auto&, auto*) { return conditionsData("{\"conditions\": []}"); } },
        ClipboardCase { "Numbers", [](auto&, auto*) { return conditionsList({ 1, 2 }); } },
        ClipboardCase { "NotIDs", [](auto&, auto*) { return conditionsList({ "one", "two" }); } },
        ClipboardCase { "AnotherDatabase",
                        [](auto& conditions, auto*) {
                            return conditionsList({ inAnotherDatabase(conditions[0]), inAnotherDatabase(conditions[2]) });
                        } },
        ClipboardCase { "AnotherDatabaseAmongOurs",
                        [](auto& conditions, auto*) {
                            return conditionsList({ conditions[0]->objectID().uriRepresentation(), inAnotherDatabase(conditions[2]) });
                        } },
        ClipboardCase { "AnItemOfThisDatabase",
                        [](auto&, DBLoginItem* item) { return conditionsList({ item->objectID().uriRepresentation() }); } }),
    [](const testing::TestParamInfo<ClipboardCase>& info) { return std::string(info.param.name); });

TEST(StartupConditionsCommandsTest, CopyTakesOneItemAndPasteAtLeastOne)
{
    using namespace CommandNames;
    for (int selected : { 0, 1, 2 }) {
        MainItemsViewController::ValidationState state;
        state.selectedCount = selected;
        // Neither a run nor the simulation stops them.
        state.executionInProgress = true;
        state.simulationActive = true;
        EXPECT_EQ(MainItemsViewController::isCommandEnabled(copy, state), selected == 1) << selected;
        EXPECT_EQ(MainItemsViewController::isCommandEnabled(paste, state), selected > 0) << selected;
        EXPECT_TRUE(MainItemsViewController::isCommandEnabled(pasteAndAppendStartupConditions, state)) << selected;
    }
}

} // namespace
