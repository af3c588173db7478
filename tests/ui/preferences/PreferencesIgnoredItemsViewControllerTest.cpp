// The Ignored Items pane: its three commands as undo steps with their saves,
// what they do with items that have no file, their enabling and titles, and
// the list following the ignore group and the list-size setting.
#include "engine/ApplicationContext.h"
#include "foundation/UserDefaults.h"
#include "support/RecordingCreateState.h"
#include "support/WindowTest.h"
#include "texts/Localizator.h"
#include "ui/base/CommandNames.h"
#include "ui/base/LoginItemsListModel.h"
#include "ui/preferences/PreferencesIgnoredItemsViewController.h"

#include <QAction>
#include <QListView>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QUrl>
#include <memory>

namespace {

namespace N = CommandNames;

class IgnoredItemsPaneTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        helpers->initializeUserDefaults();
        ignored = context->getOrCreateIgnoreLoginGroup();
        handObjectsTo(pane);
        pane.setRepresentedObject(QVariant::fromValue(ignored));
        pane.loadView();
    }

    // A group's item names in order ("~" for the kinds without a file).
    QString order(DBLoginGroup* of) const
    {
        QStringList names;
        for (DBLoginItem* item : items(of))
            names << (item->loginItemType() == LoginItemTypeFile ? static_cast<DBFileItem*>(item)->itemPath() : QStringLiteral("~"));
        return names.join(' ');
    }
    // The pane's rows by name.
    QString rows() const
    {
        QStringList names;
        for (int row = 0; row < pane.itemsModel()->rowCount(); ++row)
            names << pane.itemsModel()->index(row).data().toString();
        return names.join('|');
    }

    void select(const QList<int>& selection)
    {
        QItemSelection rowsToSelect;
        for (int row : selection)
            rowsToSelect.select(pane.itemsModel()->index(row), pane.itemsModel()->index(row));
        pane.itemsTableView()->selectionModel()->select(rowsToSelect, QItemSelectionModel::ClearAndSelect);
    }

    // Ignored: /x, a delay, /y; the application list: /a.
    void addItems()
    {
        addFile("/a");
        x = addFile("/x", ignored);
        delay = addDelay(3, ignored);
        y = addFile("/y", ignored);
        startFresh();
        pane.itemsModel()->refresh();
    }

    static void processEvents()
    {
        for (int i = 0; i < 5; ++i)
            QCoreApplication::processEvents();
    }

    QString undoName() const { return context->undoManager().undoActionName(); }
    QAction& action(const QString& command) const { return *pane.actionForCommand(command); }

    DBLoginGroup* ignored = nullptr;
    DBLoginItem* x = nullptr;
    DBLoginItem* delay = nullptr;
    DBLoginItem* y = nullptr;
    PreferencesIgnoredItemsViewController pane;
};

TEST_F(IgnoredItemsPaneTest, MovingBackAppendsOnlyTheFileItemsAsOneStepAndUndoBringsThemBack)
{
    addItems();
    EXPECT_EQ(rows(), "x|3 seconds delay|y");
    select({ 0, 1, 2 });

    pane.findChild<QPushButton*>(N::moveIgnoredItemsToApplicationItemsList + "Button")->click();
    EXPECT_EQ(order(group), "/a /x /y");
    EXPECT_EQ(order(ignored), "~");
    EXPECT_EQ(rows(), "3 seconds delay");
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(undoName(), pane.localizator().undoActionForMovingIgnoreItemsToApplicationGroup({ x, y }));

    context->undoManager().undo();
    QCoreApplication::processEvents();
    EXPECT_EQ(order(group), "/a");
    EXPECT_EQ(order(ignored), "/x ~ /y");
    EXPECT_EQ(rows(), "x|3 seconds delay|y");
    EXPECT_FALSE(context->undoManager().canUndo());
}

TEST_F(IgnoredItemsPaneTest, DeletingIsOneStepNamedForTheDeletedItems)
{
    addItems();
    select({ 0, 1 });

    pane.performCommand(N::deleteCurrentSelection);
    EXPECT_EQ(order(ignored), "/y");
    EXPECT_EQ(rows(), "y");
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(undoName(), pane.localizator().undoActionForDeletingIgnoredItems({ x, delay }));
    EXPECT_TRUE(pane.selectedItems().isEmpty());
    EXPECT_FALSE(action(N::deleteCurrentSelection).isEnabled());

    context->undoManager().undo();
    QCoreApplication::processEvents();
    EXPECT_EQ(order(ignored), "/x ~ /y");
    EXPECT_EQ(rows(), "x|3 seconds delay|y");
    EXPECT_EQ(order(group), "/a");
}

TEST_F(IgnoredItemsPaneTest, TheDeleteKeyDeletesTheSelection)
{
    addItems();
    pane.show();
    pane.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&pane));
    pane.itemsTableView()->setFocus();
    select({ 2 });

    QTest::keyClick(pane.itemsTableView(), Qt::Key_Delete);
    EXPECT_EQ(order(ignored), "/x ~");
    EXPECT_EQ(saves, 1);
}

TEST_F(IgnoredItemsPaneTest, MoveUpAndMoveDownByKeyAreUndoSteps)
{
    addItems();
    pane.show();
    pane.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&pane));
    pane.itemsTableView()->setFocus();
    select({ 2 });
    EXPECT_FALSE(action(N::moveSelectedItemsDown).isEnabled()) << "the last row";

    QTest::keySequence(pane.itemsTableView(), action(N::moveSelectedItemsUp).shortcut());
    EXPECT_EQ(order(ignored), "/x /y ~");
    EXPECT_EQ(rows(), "x|y|3 seconds delay");
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(pane.selectedItems(), QList<DBLoginItem*>({ y })) << "the moved row stays selected";
    QTest::keySequence(pane.itemsTableView(), action(N::moveSelectedItemsDown).shortcut());
    EXPECT_EQ(order(ignored), "/x ~ /y");
    EXPECT_EQ(saves, 2);

    context->undoManager().undo();
    QCoreApplication::processEvents();
    EXPECT_EQ(order(ignored), "/x /y ~");
}

TEST_F(IgnoredItemsPaneTest, MovingBackOnlyItemsWithoutAFileChangesNothing)
{
    addItems();
    select({ 1 });
    pane.moveIgnoredItemsToApplicationItemsList();
    QCoreApplication::processEvents();
    EXPECT_EQ(order(ignored), "/x ~ /y");
    EXPECT_EQ(order(group), "/a");
    EXPECT_EQ(saves, 0);
    EXPECT_FALSE(context->undoManager().canUndo());
}

TEST_F(IgnoredItemsPaneTest, CopyingToTheSessionListHandsOverTheFileItemsAndKeepsThemIgnored)
{
    auto record = std::make_shared<RecordingCreateState::Record>();
    helpers->applicationContext().setStateFactory(ApplicationStateKind::CreateSystemItems,
                                                  [&] { return std::make_unique<RecordingCreateState>(record, saves); });
    addItems();
    // Set not to start, it goes back switched off.
    static_cast<DBFileItem*>(y)->setItemStartupMode(ItemStartupModeDisabled);
    startFresh();
    select({ 0, 1, 2 });

    pane.moveCurrentSelectionToSystemPreferences();
    ASSERT_TRUE(QTest::qWaitFor([&] { return record->savesBefore >= 0; }, 10000));
    EXPECT_EQ(record->paths, QStringList({ "/x", "/y" }));
    EXPECT_EQ(record->switchedOffPaths, QStringList({ "/y" }));
    EXPECT_EQ(order(ignored), "/x ~ /y");
    EXPECT_EQ(pane.selectedItems(), QList<DBLoginItem*>({ x, delay, y }));
    EXPECT_EQ(saves, 0);
    EXPECT_FALSE(context->undoManager().canUndo());

    // Nothing to hand over: the state is not started.
    record = std::make_shared<RecordingCreateState::Record>();
    select({ 1 });
    pane.moveCurrentSelectionToSystemPreferences();
    QCoreApplication::processEvents();
    EXPECT_EQ(record->savesBefore, -1);
}

TEST_F(IgnoredItemsPaneTest, TheCommandsNeedASelectionWithTheirItemsAndAreTitledEvenWhenDisabled)
{
    addItems();
    const Localizator& texts = pane.localizator();
    const QList<QString> commands { N::moveIgnoredItemsToApplicationItemsList, N::moveCurrentSelectionToSystemPreferences,
                                    N::deleteCurrentSelection };
    // The list's context menu holds them, and Move Up and Move Down.
    QList<QAction*> menu;
    for (const QString& command : commands)
        menu << &action(command);
    menu << &action(N::moveSelectedItemsUp) << &action(N::moveSelectedItemsDown);
    EXPECT_EQ(pane.itemsTableView()->actions(), menu);

    for (const QString& command : commands) {
        QAction item;
        ASSERT_TRUE(pane.respondsToCommand(command));
        EXPECT_FALSE(pane.validateCommand(command, item)) << command.toStdString();
        EXPECT_FALSE(action(command).isEnabled());
        EXPECT_FALSE(pane.findChild<QPushButton*>(command + "Button")->isEnabled());
    }
    EXPECT_EQ(action(N::moveIgnoredItemsToApplicationItemsList).text(), texts.menuItemTitleForMovingIgnoredItemsToApplicationGroup({}));
    EXPECT_EQ(action(N::moveCurrentSelectionToSystemPreferences).text(), texts.menuItemTitleForMovingIgnoredItemsToSystemPreferences({}));
    EXPECT_EQ(action(N::deleteCurrentSelection).text(), texts.menuItemTitleForDeletingIgnoredItems({}));

    select({ 0, 2 });
    for (const QString& command : commands) {
        EXPECT_TRUE(action(command).isEnabled());
        EXPECT_TRUE(pane.findChild<QPushButton*>(command + "Button")->isEnabled());
    }
    EXPECT_EQ(action(N::deleteCurrentSelection).text(), texts.menuItemTitleForDeletingIgnoredItems({ x, y }));
    EXPECT_EQ(action(N::moveCurrentSelectionToSystemPreferences).text(), texts.menuItemTitleForMovingIgnoredItemsToSystemPreferences({ x, y }));
    // The buttons keep their short titles.
    EXPECT_EQ(pane.findChild<QPushButton*>(N::deleteCurrentSelection + "Button")->text(), "Delete");

    // Without a file item there is nothing to move back or copy; deleting stays.
    select({ 1 });
    EXPECT_FALSE(action(N::moveIgnoredItemsToApplicationItemsList).isEnabled());
    EXPECT_FALSE(action(N::moveCurrentSelectionToSystemPreferences).isEnabled());
    EXPECT_TRUE(action(N::deleteCurrentSelection).isEnabled());

    // A command that is not allowed does nothing when it fires.
    select({});
    action(N::deleteCurrentSelection).trigger();
    EXPECT_EQ(order(ignored), "/x ~ /y");
    EXPECT_EQ(saves, 0);
}

TEST_F(IgnoredItemsPaneTest, TheListFollowsTheGroupAfterChangesMadeElsewhere)
{
    addItems();
    DBLoginItem* a = items(group).first();
    // The items page moves an item in.
    context->undoManager().beginUndoGrouping();
    helpers->modelEditing()->moveLoginItems({ a }, group, ignored, 1);
    context->undoManager().endUndoGrouping();
    QCoreApplication::processEvents();
    EXPECT_EQ(rows(), "x|a|3 seconds delay|y");

    context->undoManager().undo();
    QCoreApplication::processEvents();
    EXPECT_EQ(rows(), "x|3 seconds delay|y");

    // Another group given to the pane.
    pane.setRepresentedObject(QVariant::fromValue(group));
    EXPECT_EQ(rows(), "a");
}

// The rows are laid out again for the new size when the setting changes.
TEST_F(IgnoredItemsPaneTest, RowsTakeTheHeightOfTheListSizeSetting)
{
    addItems();
    pane.resize(400, 300);
    pane.show();
    processEvents();
    QListView& list = *pane.itemsTableView();
    const auto top = [&](int row) { return list.visualRect(pane.itemsModel()->index(row)).top(); };
    settings->setItemsListsSize(0);
    const int full = int(settings->itemsListsHeightBasedOnCurrentSizeSetting());
    EXPECT_EQ(top(1) - top(0), full);

    settings->setItemsListsSize(1);
    const int compact = int(settings->itemsListsHeightBasedOnCurrentSizeSetting());
    ASSERT_NE(compact, full);
    processEvents();
    EXPECT_EQ(top(1) - top(0), full);
    center.post(MHInternalNotifications::MHInternalNotificationItemsListsSizeDidChange, nullptr);
    processEvents();
    EXPECT_EQ(list.visualRect(pane.itemsModel()->index(0)).height(), compact);
    EXPECT_EQ(top(1) - top(0), compact);
}

} // namespace

// The pane's own list takes part in dragging: its rows go to the items page,
// application rows come in at the drop row, files are refused, and each
// drop that changes something is one saved step.
TEST_F(IgnoredItemsPaneTest, RowsAreDraggedOutAndInThroughThePanesList)
{
    addItems();
    LoginItemsListModel& list = *pane.itemsModel();
    LoginItemsListModel application(*context, group);
    application.enableDragAndDrop(pane);

    std::unique_ptr<QMimeData> rowsOut(list.mimeData({ list.index(2) }));
    ASSERT_TRUE(application.dropMimeData(rowsOut.get(), Qt::MoveAction, 0, 0, {}));
    EXPECT_EQ(order(group), "/y /a");
    EXPECT_EQ(order(ignored), "/x ~");
    EXPECT_EQ(undoName(), pane.localizator().undoActionForMovingIgnoreItemsToApplicationGroup({ y }));
    EXPECT_EQ(saves, 1);

    application.refresh();
    std::unique_ptr<QMimeData> rowsIn(application.mimeData({ application.index(1) }));
    ASSERT_TRUE(list.dropMimeData(rowsIn.get(), Qt::MoveAction, 1, 0, {}));
    EXPECT_EQ(order(ignored), "/x /a ~");
    EXPECT_EQ(undoName(), pane.localizator().undoActionForMovingApplicationItemsToIgnoreGroup({ items(ignored).at(1) }));
    EXPECT_EQ(saves, 2);

    QMimeData files;
    files.setUrls({ QUrl::fromLocalFile("/z") });
    EXPECT_FALSE(list.canDropMimeData(&files, Qt::CopyAction, 0, 0, {}));
    EXPECT_FALSE(list.dropMimeData(&files, Qt::CopyAction, 0, 0, {}));
    EXPECT_EQ(order(ignored), "/x /a ~");
    EXPECT_EQ(saves, 2);
}

// Ignored rows have nothing to open: a click where the items page has its
// button selects the row like any other click.
TEST_F(IgnoredItemsPaneTest, RowsHaveNoActionButton)
{
    addItems();
    pane.resize(400, 300);
    pane.show();
    processEvents();
    QListView& list = *pane.itemsTableView();
    const QRect row = list.visualRect(pane.itemsModel()->index(0));
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, QPoint(row.right() - 8, row.center().y()));
    EXPECT_EQ(pane.selectedItems(), QList<DBLoginItem*>({ x }));
}
