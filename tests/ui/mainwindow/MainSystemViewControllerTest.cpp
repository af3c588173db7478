// The system items page: taking entries over, ignoring them, deleting them
// from the session's list through the engine, and their popover.
#include "../../texts/FakeDialogPresenter.h"
#include "engine/ApplicationContext.h"
#include "engine/CreateSystemItemsApplicationState.h"
#include "engine/DeleteSystemItemsApplicationState.h"
#include "foundation/MHItemDataKeys.h"
#include "foundation/MHSystemItemsNotifications.h"
#include "model/UndoManager.h"
#include "support/AccessibleControls.h"
#include "support/WindowTest.h"
#include "texts/Localizator.h"
#include "ui/base/CommandNames.h"
#include "ui/base/PopoverFrame.h"
#include "ui/base/StaticPlaceholderContext.h"
#include "ui/inspector/FileItemInfoViewController.h"
#include "ui/mainwindow/MainSystemViewController.h"
#include "ui/mainwindow/SystemItemInspectorViewController.h"
#include "ui/mainwindow/SystemItemsListModel.h"

#include <QAction>
#include <QApplication>
#include <QListView>
#include <QPushButton>
#include <QTest>
#include <mutex>

namespace {

// The chain's states as they ran: "disable", "delete <paths>", "create <paths>", "read", "enable".
struct ChainLog {
    void append(const QString& entry)
    {
        const std::lock_guard lock(mutex);
        entries.append(entry);
    }
    QStringList snapshot()
    {
        const std::lock_guard lock(mutex);
        return entries;
    }
    std::mutex mutex;
    QStringList entries;
    std::atomic<int> statesMade { 0 };
};

class RecordingState : public ApplicationState {
public:
    RecordingState(QString name, std::shared_ptr<ChainLog> log)
        : ApplicationState(std::move(name))
        , m_log(std::move(log))
    {
    }
    void executeState() override
    {
        m_log->append(logDescription());
        cleanupState();
        proceedWithCompletionBlock();
    }

private:
    std::shared_ptr<ChainLog> m_log;
};

// Stands in for the service: notes which entries it was given, as
// "<verb> <paths>".
template <typename State>
class RecordingBatchState : public State {
public:
    RecordingBatchState(QString verb, std::shared_ptr<ChainLog> log)
        : m_verb(std::move(verb))
        , m_log(std::move(log))
    {
    }
    void executeState() override
    {
        QStringList paths;
        for (const SystemItemData& item : this->batchItems())
            paths << item.itemPath();
        m_log->append(m_verb + " " + paths.join(' '));
        this->cleanupState();
        this->proceedWithCompletionBlock();
    }

private:
    QString m_verb;
    std::shared_ptr<ChainLog> m_log;
};

QVariantMap record(const QString& name, const QString& path, const QString& description = {})
{
    QVariantMap data { { MHItemDataKeys::name, name }, { MHItemDataKeys::description, description } };
    if (!path.isEmpty())
        data.insert(MHItemDataKeys::path, path);
    return data;
}

class MainSystemViewControllerTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        settings->setBool("SkipDeleteSystemItemsDialog", false);
        ApplicationContext& engine = helpers->applicationContext();
        const auto recording = [this](const QString& name) {
            return [this, name] {
                ++chain->statesMade;
                return std::make_unique<RecordingState>(name, chain);
            };
        };
        engine.setStateFactory(ApplicationStateKind::DisableSystemItemsChange, recording("disable"));
        engine.setStateFactory(ApplicationStateKind::ReadSystemItems, recording("read"));
        engine.setStateFactory(ApplicationStateKind::EnableSystemItemsChange, recording("enable"));
        engine.setStateFactory(ApplicationStateKind::DeleteSystemItems, [this] {
            ++chain->statesMade;
            return std::make_unique<RecordingBatchState<DeleteSystemItemsApplicationState>>("delete", chain);
        });
        engine.setStateFactory(ApplicationStateKind::CreateSystemItems, [this] {
            ++chain->statesMade;
            return std::make_unique<RecordingBatchState<CreateSystemItemsApplicationState>>("create", chain);
        });
        handObjectsTo(page);
        page.setDialogPresenter(&dialogs);
        page.loadView();
        show({ record("Clock", "/apps/clock", "A clock"), record("Broken", {}, "No such file or directory"), record("<b>Mail</b> & more", "/apps/mail") });
        refreshRequests = center.addObserver(MHSystemItemsNotifications::MHSystemItemsChangeNotificationDidChange, nullptr,
                                             [this](const Notification& notification) {
                                                 EXPECT_EQ(notification.sender, static_cast<const void*>(&page));
                                                 ++refreshes;
                                             });
        startFresh();
    }

    void show(const QVariantList& records) { page.setRepresentedObject(records); }

    // The names of the rows in order.
    QString rows() const
    {
        QStringList names;
        for (const SystemItemData& item : page.itemsModel()->items())
            names << item.itemNiceDisplayName();
        return names.join(", ");
    }

    QStringList pathsOf(DBLoginGroup* listed) const
    {
        QStringList paths;
        for (DBLoginItem* item : context->sortedLoginItemsForGroup(listed))
            paths << static_cast<DBFileItem*>(item)->itemPath();
        return paths;
    }
    DBLoginGroup* ignored() const { return context->getOrCreateIgnoreLoginGroup(); }

    QString undoName() const { return context->undoManager().undoActionName(); }

    std::shared_ptr<ChainLog> chain = std::make_shared<ChainLog>();
    FakeDialogPresenter dialogs;
    MainSystemViewController page;
    int refreshes = 0;
    NotificationCenter::Token refreshRequests;
};

TEST_F(MainSystemViewControllerTest, TheRowsShowTheRecordsAsPlainTextAndAnswerScreenReaders)
{
    ASSERT_EQ(page.itemsModel()->rowCount(), 3);
    const QModelIndex clock = page.itemsModel()->index(0);
    EXPECT_EQ(clock.data(Qt::DisplayRole), "Clock");
    EXPECT_EQ(clock.data(Qt::AccessibleTextRole), "Clock, A clock");
    EXPECT_EQ(page.itemsModel()->index(2).data(Qt::AccessibleTextRole), "<b>Mail</b> & more");
    EXPECT_FALSE(page.itemsTableView()->accessibleName().isEmpty());
    for (const QString& command : { CommandNames::moveSelectedItemsToLanternwick, CommandNames::markSelectedItemsAsIgnored,
                                    CommandNames::deleteCurrentSelection }) {
        ASSERT_NE(page.buttonForCommand(command), nullptr);
        EXPECT_FALSE(page.buttonForCommand(command)->accessibleName().isEmpty());
    }

    // A new reading replaces the rows whole.
    show({ record("Notes", "/apps/notes") });
    EXPECT_EQ(rows(), "Notes");
}

TEST_F(MainSystemViewControllerTest, TakingOverAddsTheEntriesWithAPathAtTheEndAsOneStep)
{
    addFile("/apps/first");
    startFresh();
    page.selectRows({ 0, 1, 2 });
    page.performCommand(CommandNames::moveSelectedItemsToLanternwick);

    EXPECT_EQ(pathsOf(group), QStringList({ "/apps/first", "/apps/clock", "/apps/mail" }));
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(undoName(), page.localizator().undoActionForCreatingFileItems(items().mid(1)));
    EXPECT_EQ(refreshes, 1);
    EXPECT_EQ(rows(), "Broken") << "the entry without a path stays";
    // And the user is told why.
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_TRUE(dialogs.shown.first().informativeText.startsWith("Broken: No such file or directory\n"));
    context->undoManager().undo();
    EXPECT_EQ(pathsOf(group), QStringList({ "/apps/first" }));
}

// What undo takes out of Lanternwick goes back to the session's list; every
// undo and redo reads the list again, so the page follows.
TEST_F(MainSystemViewControllerTest, UndoAndRedoOfAMoveFollowInTheSessionsList)
{
    const auto waitForChain = [&](const QStringList& expected) {
        EXPECT_TRUE(QTest::qWaitFor([&] { return chain->snapshot().size() >= expected.size(); }, 10000));
        EXPECT_EQ(chain->snapshot(), expected);
    };
    page.selectRows({ 0, 2 });
    page.moveSelectedItemsToLanternwick();
    UndoManager& undo = context->undoManager();
    undo.undo();
    EXPECT_TRUE(pathsOf(group).isEmpty());
    QStringList expected { "disable", "create /apps/clock /apps/mail", "read", "enable" };
    waitForChain(expected);
    undo.redo();
    EXPECT_EQ(pathsOf(group), QStringList({ "/apps/clock", "/apps/mail" }));
    waitForChain(expected += QStringList { "disable", "read", "enable" });
    undo.undo();
    waitForChain(expected += QStringList { "disable", "create /apps/clock /apps/mail", "read", "enable" });

    // Ignored entries never left the session's list.
    show({ record("Notes", "/apps/notes") });
    page.selectRows({ 0 });
    page.markSelectedItemsAsIgnored();
    undo.undo();
    EXPECT_TRUE(pathsOf(ignored()).isEmpty());
    waitForChain(expected += QStringList { "disable", "read", "enable" });
    undo.redo();
    EXPECT_EQ(pathsOf(ignored()), QStringList({ "/apps/notes" }));
    waitForChain(expected += QStringList { "disable", "read", "enable" });
}

TEST_F(MainSystemViewControllerTest, IgnoringAddsToTheIgnoredGroup)
{
    page.selectRows({ 2 });
    page.markSelectedItemsAsIgnored();
    EXPECT_EQ(pathsOf(ignored()), QStringList({ "/apps/mail" }));
    EXPECT_TRUE(items().isEmpty());
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(undoName(), page.localizator().undoActionForMarkingSystemItemsAsIgnored(context->sortedLoginItemsForGroup(ignored())));
    EXPECT_EQ(refreshes, 1);
    EXPECT_EQ(rows(), "Clock, Broken");
}

// The page keeps showing what the last reading found until the next one
// ends; taking an entry again, or ignoring one already taken, adds nothing.
TEST_F(MainSystemViewControllerTest, AnEntryAlreadyListedIsNotAddedAgain)
{
    page.selectRows({ 0 });
    page.buttonForCommand(CommandNames::moveSelectedItemsToLanternwick)->click();
    page.buttonForCommand(CommandNames::moveSelectedItemsToLanternwick)->click();
    EXPECT_EQ(pathsOf(group), QStringList({ "/apps/clock" }));
    EXPECT_EQ(saves, 1);

    show({ record("Clock", "/apps/clock"), record("Clock again", "/apps/clock") });
    startFresh();
    refreshes = 0;
    page.selectRows({ 0, 1 });
    page.moveSelectedItemsToLanternwick();
    EXPECT_EQ(rows(), "");
    show({ record("Clock", "/apps/clock") });
    page.selectRows({ 0 });
    page.markSelectedItemsAsIgnored();
    EXPECT_EQ(pathsOf(group), QStringList({ "/apps/clock" }));
    EXPECT_TRUE(pathsOf(ignored()).isEmpty());
    EXPECT_EQ(saves, 0);
    EXPECT_FALSE(context->undoManager().canUndo());
    EXPECT_EQ(refreshes, 2) << "the rows left the page, so the list is read again";

    // Two rows of one path make one item.
    show({ record("Notes", "/apps/notes"), record("Notes", "/apps/notes") });
    page.selectRows({ 0, 1 });
    page.moveSelectedItemsToLanternwick();
    EXPECT_EQ(pathsOf(group), QStringList({ "/apps/clock", "/apps/notes" }));
}

TEST_F(MainSystemViewControllerTest, WithNothingTakenNothingHappens)
{
    page.moveSelectedItemsToLanternwick();
    page.markSelectedItemsAsIgnored();
    page.selectRows({ 1 });
    page.moveSelectedItemsToLanternwick();
    page.deleteCurrentSelection();
    page.itemsTableView()->clearSelection();
    page.deleteCurrentSelection();
    QCoreApplication::processEvents();
    EXPECT_EQ(saves, 0);
    EXPECT_FALSE(context->undoManager().canUndo());
    EXPECT_EQ(refreshes, 0);
    EXPECT_EQ(rows(), "Clock, Broken, <b>Mail</b> & more");
    ASSERT_EQ(dialogs.shown.size(), 2) << "the entry without a path says why it cannot be moved, and can be deleted";
    EXPECT_TRUE(dialogs.shown.first().informativeText.contains("Broken: No such file or directory"));
}

TEST_F(MainSystemViewControllerTest, TheDeleteTitleFollowsTheSelection)
{
    QAction item;
    EXPECT_FALSE(page.validateCommand(CommandNames::deleteCurrentSelection, item));
    EXPECT_EQ(item.text(), "Delete Selection");
    EXPECT_FALSE(page.buttonForCommand(CommandNames::deleteCurrentSelection)->isEnabled());

    page.selectRows({ 2 });
    EXPECT_TRUE(page.validateCommand(CommandNames::deleteCurrentSelection, item));
    EXPECT_EQ(item.text(), "Delete <b>Mail</b> && more from Startup Applications...");
    EXPECT_TRUE(page.buttonForCommand(CommandNames::deleteCurrentSelection)->isEnabled());
    page.selectRows({ 0, 2 });
    EXPECT_TRUE(page.validateCommand(CommandNames::deleteCurrentSelection, item));
    EXPECT_EQ(item.text(), "Delete 2 Items from Startup Applications...");
    EXPECT_TRUE(page.validateCommand(CommandNames::moveSelectedItemsToLanternwick, item));
}

TEST_F(MainSystemViewControllerTest, ARefusedDeletionStartsNothing)
{
    dialogs.answer = { 1, false };
    page.selectRows({ 0 });
    page.deleteCurrentSelection();
    QCoreApplication::processEvents();
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown.first().messageText, "Delete Clock from Startup Applications login items?");
    EXPECT_EQ(chain->statesMade, 0);
    EXPECT_EQ(rows(), "Clock, Broken, <b>Mail</b> & more");
}

TEST_F(MainSystemViewControllerTest, AConfirmedDeletionRunsTheChainWithTheConfirmedEntries)
{
    dialogs.answer = { 0, true };
    page.selectRows({ 0, 2 });
    page.deleteCurrentSelection();
    // Before the chain gets to the deletion, the selection and the rows change.
    page.selectRows({ 1 });
    show({ record("Notes", "/apps/notes") });
    page.selectRows({ 0 });
    ASSERT_TRUE(QTest::qWaitFor([&] { return chain->snapshot().size() == 4; }, 10000)) << chain->snapshot().join(" | ").toStdString();
    EXPECT_EQ(chain->snapshot(), QStringList({ "disable", "delete /apps/clock /apps/mail", "read", "enable" }));

    // "Don't ask again." holds: the next deletion asks nobody.
    page.deleteCurrentSelection();
    ASSERT_TRUE(QTest::qWaitFor([&] { return chain->snapshot().size() == 8; }, 10000));
    EXPECT_EQ(chain->snapshot().at(5), "delete /apps/notes");
    EXPECT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(saves, 0);
}

TEST_F(MainSystemViewControllerTest, EnterOpensThePopoverOfTheCurrentRow)
{
    page.resize(400, 500);
    page.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
    page.selectRows({ 2 });
    QTest::keyClick(page.itemsTableView(), Qt::Key_Return);
    ASSERT_NE(page.itemInspectorPopover(), nullptr);
    EXPECT_TRUE(page.itemInspectorPopover()->isVisible());
    SystemItemInspectorViewController* inspector = page.itemInspectorViewController();
    EXPECT_EQ(inspector->fileItemInfoViewController()->itemPath(), "/apps/mail");
    EXPECT_EQ(inspector->placeholderContext()->currentViewController(), inspector->fileItemInfoViewController());
    // The popover holds the whole header.
    EXPECT_GE(page.itemInspectorPopover()->height(), inspector->fileItemInfoViewController()->sizeHint().height());
    page.itemInspectorPopover()->hide();
}

TEST_F(MainSystemViewControllerTest, TheInspectorWithoutARecordIsEmpty)
{
    SystemItemInspectorViewController* inspector = page.itemInspectorViewController();
    inspector->setRepresentedObject(QVariant::fromValue(SystemItemData(record("Clock", "/apps/clock"))));
    EXPECT_EQ(inspector->placeholderContext()->currentViewController(), inspector->fileItemInfoViewController());
    inspector->setRepresentedObject(QVariant());
    EXPECT_EQ(inspector->placeholderContext()->currentViewController(), nullptr);
    EXPECT_TRUE(inspector->placeholderView()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly).isEmpty());
}

TEST_F(MainSystemViewControllerTest, TheRowsFollowTheListSize)
{
    settings->setFloat("Layout.LoginItemView.CellHeight", 44);
    settings->setFloat("Layout.SimpleItemView.CellHeight", 26);
    page.itemsTableView()->doItemsLayout();
    page.resize(400, 500);
    page.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
    EXPECT_EQ(page.itemsTableView()->visualRect(page.itemsModel()->index(0)).height(), 44);
    settings->setItemsListsSize(1);
    center.post(MHInternalNotifications::MHInternalNotificationItemsListsSizeDidChange);
    EXPECT_TRUE(QTest::qWaitFor([&] { return page.itemsTableView()->visualRect(page.itemsModel()->index(0)).height() == 26; }));
}

} // namespace

namespace {

TEST_F(MainSystemViewControllerTest, EveryControlAndThePopoverAreReadByHumanNames)
{
    page.resize(400, 500);
    page.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
    EXPECT_EQ(controlsWithoutHumanNames(&page), QStringList());
    page.selectRows({ 2 });
    QTest::keyClick(page.itemsTableView(), Qt::Key_Space);
    ASSERT_TRUE(page.itemInspectorPopover()->isVisible());
    QAccessibleInterface* popover = QAccessible::queryAccessibleInterface(page.itemInspectorPopover());
    EXPECT_GE(QAccessible::queryAccessibleInterface(qApp)->indexOfChild(popover), 0) << "a window of the application";
    EXPECT_FALSE(popover->text(QAccessible::Name).isEmpty());
    EXPECT_EQ(controlsWithoutHumanNames(page.itemInspectorPopover()), QStringList());
    page.itemInspectorPopover()->hide();
}

} // namespace
