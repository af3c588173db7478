#include "engine/ApplicationContext.h"
#include "model/DBDelayItem.h"
#include "support/RecordingCreateState.h"
#include "support/WindowTest.h"
#include "texts/Localizator.h"
#include "ui/base/CommandNames.h"
#include "ui/base/LoginItemsListModel.h"
#include "ui/base/PopoverFrame.h"
#include "ui/mainwindow/ItemInspectorPopoverController.h"
#include "ui/mainwindow/MainItemsViewController.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QListView>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QUrl>
#include <atomic>

namespace {

using ValidationState = MainItemsViewController::ValidationState;

class MainItemsViewControllerTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        handObjectsTo(page);
        page.setRepresentedObject(QVariant::fromValue(group));
        page.loadView();
        page.setOpenPanel([this](QWidget*, const QString& title) {
            panelTitles.append(title);
            return panelAnswer;
        });
    }

    // The list's item names in order ("~" for the kinds without a file).
    QString order() const
    {
        QStringList names;
        for (DBLoginItem* item : items())
            names << (item->loginItemType() == LoginItemTypeFile ? static_cast<DBFileItem*>(item)->itemPath() : QStringLiteral("~"));
        return names.join(' ');
    }

    void select(const QList<int>& rows)
    {
        QList<DBLoginItem*> selection;
        for (int row : rows)
            selection.append(page.itemAtIndex(row));
        page.selectItems(selection);
    }

    QString undoName() const { return context->undoManager().undoActionName(); }

    MainItemsViewController page;
    QList<QUrl> panelAnswer;
    QStringList panelTitles;
};

TEST_F(MainItemsViewControllerTest, NewItemsGoAfterTheLastSelectedItemOrAtTheEnd)
{
    for (const char* path : { "/a", "/b", "/c", "/d", "/e" })
        addFile(path);
    startFresh();
    EXPECT_EQ(page.insertionIndexForNewlyCreatedItems(), 5);
    select({ 1, 3 });
    EXPECT_EQ(page.insertionIndexForNewlyCreatedItems(), 4);

    page.createNewDelayItem();
    EXPECT_EQ(order(), "/a /b /c /d ~ /e");
    ASSERT_EQ(page.selectedItems().size(), 1);
    EXPECT_EQ(page.selectedItems().first(), items().at(4));

    page.unselectApplicationItems();
    page.createNewWaitPreviousItem();
    EXPECT_EQ(order(), "/a /b /c /d ~ /e ~");
    EXPECT_EQ(page.selectedItems(), QList<DBLoginItem*>({ items().last() }));
}

struct EditCase {
    const char* name;
    QString command;
    QList<int> selection;
    QString orderAfter;
    // The undo name, from the items the edit took or made.
    std::function<QString(const Localizator&, const QList<DBLoginItem*>& before, const QList<DBLoginItem*>& after)> undoName;
};

class EditTest : public MainItemsViewControllerTest, public testing::WithParamInterface<EditCase> {};

// Each edit is one undo step with its name and one save; undoing it brings
// the list back as it was, at the same places.
TEST_P(EditTest, IsOneNamedUndoStepAndOneSave)
{
    const EditCase& edit = GetParam();
    addFile("/a");
    addDelay();
    addFile("/b");
    addFile("/c");
    startFresh();
    const QString orderBefore = order();
    const QList<DBLoginItem*> before = items();
    select(edit.selection);
    panelAnswer = { QUrl::fromLocalFile("/x"), QUrl::fromLocalFile("/y") };

    ASSERT_TRUE(page.respondsToCommand(edit.command));
    page.performCommand(edit.command);

    EXPECT_EQ(order(), edit.orderAfter);
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(undoName(), edit.undoName(page.localizator(), before, items()));
    context->undoManager().undo();
    EXPECT_EQ(order(), orderBefore);
    EXPECT_FALSE(context->undoManager().canUndo());
}

QList<DBLoginItem*> at(const QList<DBLoginItem*>& items, const QList<int>& rows)
{
    QList<DBLoginItem*> picked;
    for (int row : rows)
        picked.append(items.at(row));
    return picked;
}

INSTANTIATE_TEST_SUITE_P(
    Commands, EditTest,
    testing::Values(
        EditCase { "Import", CommandNames::createNewFileItem, { 0 }, "/a /x /y ~ /b /c",
                   [](const Localizator& texts, auto&, auto& after) { return texts.undoActionForCreatingFileItems(at(after, { 1, 2 })); } },
        EditCase { "Delay", CommandNames::createNewDelayItem, {}, "/a ~ /b /c ~",
                   [](const Localizator& texts, auto&, auto& after) { return texts.undoActionForCreatingDelayItems(at(after, { 4 })); } },
        EditCase { "WaitPrevious", CommandNames::createNewWaitPreviousItem, { 2 }, "/a ~ /b ~ /c",
                   [](const Localizator& texts, auto&, auto& after) { return texts.undoActionForCreatingWaitPreviousItems(at(after, { 3 })); } },
        EditCase { "ConditionalPrevious", CommandNames::createNewConditionalPreviousItem, { 3 }, "/a ~ /b /c ~",
                   [](const Localizator& texts, auto&, auto& after) {
                       return texts.undoActionForCreatingConditionalPreviousItems(at(after, { 4 }));
                   } },
        EditCase { "Delete", CommandNames::deleteCurrentSelection, { 1, 2 }, "/a /c",
                   [](const Localizator& texts, auto& before, auto&) { return texts.undoActionForDeletingLoginItems(at(before, { 1, 2 })); } },
        // Only file items leave for the ignored list.
        EditCase { "MoveToIgnored", CommandNames::moveCurrentSelectionToIgnoredItems, { 0, 1 }, "~ /b /c",
                   [](const Localizator& texts, auto& before, auto&) {
                       return texts.undoActionForMovingApplicationItemsToIgnoreGroup(at(before, { 0 }));
                   } },
        EditCase { "StartHidden", CommandNames::changeStartupModeToHidden, { 0, 1, 3 }, "/a ~ /b /c",
                   [](const Localizator& texts, auto& before, auto&) {
                       return texts.undoActionForChangingFileItemsStartupMode(
                           { static_cast<DBFileItem*>(before.at(0)), static_cast<DBFileItem*>(before.at(3)) });
                   } }),
    [](const testing::TestParamInfo<EditCase>& info) { return std::string(info.param.name); });

TEST_F(MainItemsViewControllerTest, AStartupModeChangeCountsOnlyTheItemsItChanged)
{
    DBFileItem* shown = addFile("/a");
    DBFileItem* hidden = addFile("/b");
    hidden->setItemStartupModeValue(ItemStartupModeHidden);
    addDelay();
    startFresh();

    // Kinds without a file, or items already in the mode: no step, no save.
    select({ 2 });
    page.changeStartupModeToDisabled();
    select({ 1, 2 });
    page.changeStartupModeToHidden();
    EXPECT_FALSE(context->undoManager().canUndo());
    EXPECT_EQ(saves, 0);

    select({ 0, 1, 2 });
    page.changeStartupModeToHidden();
    EXPECT_EQ(shown->itemStartupModeValue(), ItemStartupModeHidden);
    EXPECT_EQ(undoName(), page.localizator().undoActionForChangingFileItemsStartupMode({ shown }));
    EXPECT_EQ(saves, 1);
}

TEST_F(MainItemsViewControllerTest, ACancelledImportCreatesNothing)
{
    addFile("/a");
    startFresh();
    page.createNewFileItem();
    EXPECT_EQ(panelTitles, QStringList({ "Import" }));
    EXPECT_EQ(order(), "/a");
    EXPECT_FALSE(context->undoManager().canUndo());
    EXPECT_EQ(saves, 0);
}

TEST_F(MainItemsViewControllerTest, MovingToTheSessionListSendsOnlyTheMovedFileItemsAfterTheSave)
{
    auto record = std::make_shared<RecordingCreateState::Record>();
    helpers->applicationContext().setStateFactory(ApplicationStateKind::CreateSystemItems,
                                                  [&] { return std::make_unique<RecordingCreateState>(record, saves); });
    addFile("/a");
    addDelay();
    addFile("/b");
    // Set not to start, it goes back switched off.
    addFile("/c")->setItemStartupMode(ItemStartupModeDisabled);
    startFresh();
    select({ 0, 1, 3 });

    page.moveCurrentSelectionToSystemPreferences();
    EXPECT_EQ(order(), "~ /b");
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(context->sortedLoginItemsForGroup(context->getOrCreateIgnoreLoginGroup()).size(), 2);
    ASSERT_TRUE(QTest::qWaitFor([&] { return record->savesBefore >= 0; }, 10000));
    EXPECT_EQ(record->paths, QStringList({ "/a", "/c" }));
    EXPECT_EQ(record->switchedOffPaths, QStringList({ "/c" }));
    EXPECT_EQ(record->savesBefore, 1);
}

TEST_F(MainItemsViewControllerTest, MovingOnlyItemsWithoutAFileChangesNothing)
{
    auto record = std::make_shared<RecordingCreateState::Record>();
    helpers->applicationContext().setStateFactory(ApplicationStateKind::CreateSystemItems,
                                                  [&] { return std::make_unique<RecordingCreateState>(record, saves); });
    addDelay();
    startFresh();
    select({ 0 });
    page.moveCurrentSelectionToSystemPreferences();
    page.moveCurrentSelectionToIgnoredItems();
    QCoreApplication::processEvents();
    EXPECT_EQ(order(), "~");
    EXPECT_EQ(saves, 0);
    EXPECT_FALSE(context->undoManager().canUndo());
    EXPECT_EQ(record->savesBefore, -1);
}

TEST_F(MainItemsViewControllerTest, DoubleClickLaunchesTheSelectedFileItemsOnlyWhenTheSettingIsOn)
{
    addFile("/apps/one");
    addDelay();
    addFile("/apps/two");
    startFresh();
    select({ 0, 1, 2 });

    settings->setBool(QStringLiteral("Tweaking.DefaultValues.IsDoubleClickToLaunchItemsEnabled"), false);
    Q_EMIT page.itemsTableView()->doubleClicked(page.itemsModel()->index(0));
    EXPECT_TRUE(workspace->openRequests().isEmpty());

    settings->setBool(QStringLiteral("Tweaking.DefaultValues.IsDoubleClickToLaunchItemsEnabled"), true);
    // Beside the rows: nothing.
    Q_EMIT page.itemsTableView()->doubleClicked(QModelIndex());
    EXPECT_TRUE(workspace->openRequests().isEmpty());
    Q_EMIT page.itemsTableView()->doubleClicked(page.itemsModel()->index(0));
    QStringList opened;
    for (const FakeWorkspace::OpenRequest& request : workspace->openRequests())
        opened << request.path;
    EXPECT_EQ(opened, QStringList({ "/apps/one", "/apps/two" }));
}

TEST_F(MainItemsViewControllerTest, RowsOutsideTheListAreNoItems)
{
    addFile("/a");
    startFresh();
    EXPECT_EQ(page.itemAtIndex(-1), nullptr);
    EXPECT_EQ(page.itemAtIndex(1), nullptr);
    EXPECT_NE(page.itemAtIndex(0), nullptr);
}

TEST_F(MainItemsViewControllerTest, TheRowsFollowUndoAndKeepTheSelection)
{
    addFile("/a");
    addFile("/b");
    addFile("/c");
    startFresh();
    select({ 2 });
    DBLoginItem* selected = page.selectedItems().first();
    select({ 0 });
    page.deleteCurrentSelection();
    page.selectItems({ selected });
    context->undoManager().undo();
    QCoreApplication::processEvents();
    ASSERT_EQ(page.itemsModel()->rowCount(), 3);
    EXPECT_EQ(page.itemsModel()->data(page.itemsModel()->index(0)).toString(), "a");
    EXPECT_EQ(page.selectedItems(), QList<DBLoginItem*>({ selected }));
}

TEST_F(MainItemsViewControllerTest, HostileNamesAreShownAsTheyAre)
{
    const QString name = QStringLiteral("<h1>Tom & Jerry %1 $HOME `x`");
    addFile("/apps/" + name);
    startFresh();
    const QModelIndex row = page.itemsModel()->index(0);
    EXPECT_EQ(row.data(Qt::DisplayRole).toString(), name);
    EXPECT_EQ(row.data(Qt::AccessibleTextRole).toString(), name);

    select({ 0 });
    QAction action;
    page.validateCommand(CommandNames::deleteCurrentSelection, action);
    // "&&" is how a menu shows one '&'.
    EXPECT_EQ(action.text(), QStringLiteral("Delete <h1>Tom && Jerry %1 $HOME `x`"));
    EXPECT_EQ(action.iconText(), QStringLiteral("Delete <h1>Tom & Jerry %1 $HOME `x`"));
}

TEST_F(MainItemsViewControllerTest, TheListAndPageHaveAccessibleNames)
{
    EXPECT_EQ(page.itemsTableView()->objectName(), "itemsTableView");
    EXPECT_FALSE(page.itemsTableView()->accessibleName().isEmpty());
}

TEST_F(MainItemsViewControllerTest, ReturnOrSpaceOpensTheInspectorAsAWindowTitledByTheItemUnlessItIsDetached)
{
    addFile("/usr/bin/first");
    addFile("/usr/bin/second");
    page.resize(400, 400);
    page.show();
    QApplication::setActiveWindow(&page);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&page));
    select({ 1 });
    QTest::keyClick(page.itemsTableView(), Qt::Key_Return);
    PopoverFrame* popover = page.itemInspectors()->popover();
    ASSERT_TRUE(popover->isVisible());
    EXPECT_EQ(popover->windowTitle(), items()[1]->itemNiceDisplayName());

    // A window of its own that a screen reader finds under the application.
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(popover);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->text(QAccessible::Name), items()[1]->itemNiceDisplayName());
    QAccessibleInterface* application = QAccessible::queryAccessibleInterface(qApp);
    EXPECT_GE(application->indexOfChild(window), 0);

    // Escape closes it; Space opens it again.
    // As the window system activates it (the headless one does not).
    QApplication::setActiveWindow(popover);
    QWidget* focused = QApplication::focusWidget();
    ASSERT_TRUE(focused && popover->isAncestorOf(focused))
        << "the keyboard is in the popover, not in " << (focused ? focused->objectName().toStdString() + " of " + focused->window()->objectName().toStdString() : "nothing");
    QTest::keyClick(focused, Qt::Key_Escape);
    EXPECT_FALSE(popover->isVisible());
    QTest::keyClick(page.itemsTableView(), Qt::Key_Space);
    EXPECT_TRUE(popover->isVisible());

    // While the inspector is torn off, no popover opens beside it.
    page.itemInspectors()->detachButton()->click();
    ASSERT_TRUE(page.itemInspectors()->isItemInspectorDetached());
    EXPECT_EQ(page.itemInspectors()->itemInspectorDetachedWindow()->windowTitle(), items()[1]->itemNiceDisplayName());
    QTest::keyClick(page.itemsTableView(), Qt::Key_Return);
    EXPECT_FALSE(page.itemInspectors()->popover()->isVisible());
}

// --- Validation ----------------------------------------------------------------------

struct ValidationCase {
    const char* name;
    ValidationState state;
    // Create, unselect, move/delete, startup modes, the others.
    bool create, unselect, moveOrDelete, startupMode;
};

ValidationState state(bool execution, bool simulation, bool detached, bool key, int selected, bool fileSelected)
{
    return { execution, simulation, detached, key, selected, fileSelected };
}

class ValidationTest : public testing::TestWithParam<ValidationCase> {};

TEST_P(ValidationTest, FollowsTheRules)
{
    const ValidationCase& row = GetParam();
    using namespace CommandNames;
    const auto enabled = [&](const QString& command) { return MainItemsViewController::isCommandEnabled(command, row.state); };
    for (const QString& command : { createNewFileItem, createNewDelayItem, createNewWaitPreviousItem, createNewConditionalPreviousItem })
        EXPECT_EQ(enabled(command), row.create) << command.toStdString();
    EXPECT_EQ(enabled(unselectApplicationItems), row.unselect);
    for (const QString& command : { moveCurrentSelectionToIgnoredItems, deleteCurrentSelection })
        EXPECT_EQ(enabled(command), row.moveOrDelete) << command.toStdString();
    // Only file items go to the session's list.
    EXPECT_EQ(enabled(moveCurrentSelectionToSystemPreferences), row.moveOrDelete && row.state.fileItemSelected);
    for (const QString& command : { changeStartupModeToShown, changeStartupModeToHidden, changeStartupModeToDisabled })
        EXPECT_EQ(enabled(command), row.startupMode) << command.toStdString();
    for (const QString& command : { launchSelectedItems, cancelLoginItemsExecution, cancelAutoClose })
        EXPECT_TRUE(enabled(command)) << command.toStdString();
    // The inspector opens neither during a run nor beside its torn-off window.
    EXPECT_EQ(enabled(showLoginItemInspector), !row.state.executionInProgress && !row.state.inspectorDetached);
}

INSTANTIATE_TEST_SUITE_P(
    Matrix, ValidationTest,
    testing::Values(
        ValidationCase { "IdleKeyNothingSelected", state(false, false, false, true, 0, false), true, false, false, false },
        ValidationCase { "IdleKeyFileSelected", state(false, false, false, true, 2, true), true, true, true, true },
        ValidationCase { "IdleKeyOnlyOtherKinds", state(false, false, false, true, 1, false), true, true, true, false },
        ValidationCase { "IdleNotKey", state(false, false, false, false, 1, true), true, true, true, false },
        ValidationCase { "Executing", state(true, false, false, true, 1, true), false, true, false, false },
        ValidationCase { "Simulating", state(false, true, false, true, 1, true), false, true, false, true },
        ValidationCase { "DetachedInspectorKey", state(false, false, true, true, 1, true), true, true, true, true },
        ValidationCase { "DetachedInspectorNotKey", state(false, false, true, false, 1, true), true, true, false, false }),
    [](const testing::TestParamInfo<ValidationCase>& info) { return std::string(info.param.name); });

TEST_F(MainItemsViewControllerTest, ValidationTitlesTheCommandsByTheSelection)
{
    addFile("/Alpha");
    addFile("/Beta");
    startFresh();
    const Localizator& texts = page.localizator();
    for (const QList<int>& rows : { QList<int>(), QList<int>({ 0 }), QList<int>({ 0, 1 }) }) {
        select(rows);
        const QList<DBLoginItem*> selection = page.selectedItems();
        QAction move, ignore, remove;
        page.validateCommand(CommandNames::moveCurrentSelectionToSystemPreferences, move);
        page.validateCommand(CommandNames::moveCurrentSelectionToIgnoredItems, ignore);
        page.validateCommand(CommandNames::deleteCurrentSelection, remove);
        EXPECT_EQ(move.text(), texts.menuItemTitleForMovingApplicationItemsToSystemPreferences(selection));
        EXPECT_EQ(ignore.text(), texts.menuItemTitleForMovingApplicationItemsToIgnoredGroup(selection));
        EXPECT_EQ(remove.text(), texts.menuItemTitleForDeletingLoginItems(selection));
    }
}

} // namespace
