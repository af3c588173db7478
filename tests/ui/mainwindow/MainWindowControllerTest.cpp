#include "foundation/Error.h"
#include "foundation/MHExecuteNotifications.h"
#include "foundation/MHInternalNotifications.h"
#include "foundation/MHSystemItemsNotifications.h"
#include "model/DBLoginItem.h"
#include "shell/ApplicationCommands.h"
#include "shell/ModelEditing.h"
#include "support/WindowTest.h"
#include "texts/Localizator.h"
#include "ui/base/AnimatedPlaceholderContext.h"
#include "ui/base/CommandDispatcher.h"
#include "ui/base/CommandNames.h"
#include "ui/base/CommandResponder.h"
#include "ui/base/PopoverFrame.h"
#include "ui/inspector/ItemInspectorViewController.h"
#include "ui/inspector/NetworkConditionViewController.h"
#include "ui/base/LoginItemsListModel.h"
#include "ui/mainwindow/ItemInspectorPopoverController.h"
#include "ui/mainwindow/MainBottomBarsController.h"
#include "ui/mainwindow/MainDefaultBottomBarViewController.h"
#include "ui/mainwindow/MainItemsViewController.h"
#include "ui/mainwindow/MainWindowController.h"
#include "ui/mainwindow/MainSystemViewController.h"
#include "ui/mainwindow/SystemItemsListModel.h"

#include <QAction>
#include <QPointer>
#include <QApplication>
#include <QLabel>
#include <QListView>
#include <QAccessible>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <algorithm>
#include <thread>

namespace {

class MainWindowControllerTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        controller = std::make_unique<MainWindowController>();
        handObjectsTo(*controller);
        controller->setCommandDispatcher(&dispatcher);
        controller->window();
    }

    // The reading of the session's list ended with these new entries.
    // readError: why it could not list them, when it failed.
    void readingEnded(const QStringList& names, const QString& readError = {})
    {
        QVariantList items;
        for (const QString& name : names)
            items.append(QVariantMap { { QStringLiteral("name"), name }, { QStringLiteral("path"), "/apps/" + name } });
        QVariantMap end { { MHSystemItemsNotifications::items, items } };
        if (!readError.isEmpty())
            end.insert(MHSystemItemsNotifications::readError, readError);
        center.post(MHSystemItemsNotifications::MHReadSystemItemsDidEndNotification, nullptr, end);
        QCoreApplication::processEvents();
        controller->placeholderContext()->finishSlide();
    }

    ViewControllerBase* currentPage() const { return controller->placeholderContext()->currentViewController(); }
    QString title() const { return controller->window()->windowTitle(); }

    QAction* menuAction(const QString& command) const
    {
        return controller->window()->findChild<QAction*>(command + QStringLiteral("Action"));
    }

    // The application's end of the chain: notes the commands it performs.
    struct Application : CommandResponder {
        bool respondsToCommand(const QString& command) const override { return command == ApplicationCommands::showGeneralPreferences; }
        bool validateCommand(const QString&, QAction&) override { return true; }
        void performCommand(const QString& command) override { performed << command; }
        QStringList performed;
    } application;
    CommandDispatcher dispatcher { &application };
    std::unique_ptr<MainWindowController> controller;
};

TEST_F(MainWindowControllerTest, ReadingSwitchesBetweenTheTwoPages)
{
    EXPECT_EQ(currentPage(), controller->itemsSubviewController());
    EXPECT_EQ(title(), helpers->applicationName());

    readingEnded({ "Clock", "<i>Mail</i>" });
    EXPECT_EQ(currentPage(), controller->systemSubviewController());
    EXPECT_EQ(title(), "System Items");
    EXPECT_TRUE(controller->itemsSubviewController()->isAtLeastOneSystemItemAvailable());
    SystemItemsListModel* rows = controller->systemSubviewController()->itemsModel();
    ASSERT_EQ(rows->rowCount(), 2);
    EXPECT_EQ(rows->index(1).data(), "<i>Mail</i>");

    readingEnded({});
    EXPECT_EQ(currentPage(), controller->itemsSubviewController());
    EXPECT_EQ(title(), helpers->applicationName());
    EXPECT_FALSE(controller->itemsSubviewController()->isAtLeastOneSystemItemAvailable());
}

// A reading that failed shows the system items page with its cause, where
// the entries would be, never "No New System Item"; the next reading that
// succeeds takes it away.
TEST_F(MainWindowControllerTest, AReadingThatFailedSaysWhyOnTheSystemItemsPage)
{
    const QString cause = "The login items service is not on the session bus, and its service file /x/dbus-1/services/k.service is missing";
    readingEnded({}, cause);
    EXPECT_EQ(currentPage(), controller->systemSubviewController());
    const QLabel* said = controller->systemSubviewController()->readErrorView();
    ASSERT_NE(said, nullptr);
    EXPECT_TRUE(said->isVisibleTo(controller->window()));
    EXPECT_TRUE(said->text().contains(cause)) << said->text().toStdString();
    EXPECT_TRUE(said->text().startsWith("Lanternwick can't read your startup applications")) << said->text().toStdString();
    EXPECT_TRUE(controller->itemsSubviewController()->isAtLeastOneSystemItemAvailable());
    QAction* page = menuAction(CommandNames::switchToSystemItemsView);
    ASSERT_NE(page, nullptr);
    EXPECT_TRUE(controller->validateCommand(CommandNames::switchToSystemItemsView, *page));

    readingEnded({});
    EXPECT_EQ(currentPage(), controller->itemsSubviewController());
    EXPECT_FALSE(said->isVisibleTo(controller->window()));
    EXPECT_FALSE(controller->itemsSubviewController()->isAtLeastOneSystemItemAvailable());
}

// Until it is first shown the window is not built; built then, it shows what
// it would have shown had it been there all along.
TEST_F(MainWindowControllerTest, AWindowBuiltLaterShowsTheRunAndTheReadingItMissed)
{
    namespace N = MHExecuteNotifications;
    DBLoginItem* mail = addFile("/usr/bin/mail");
    const QVariantMap item { { N::itemID, QVariant::fromValue(mail->objectID()) }, { N::itemDisplayName, "mail" } };
    QVariantMap failure = item;
    failure.insert(N::error, QVariant::fromValue(Error(QStringLiteral("test"), 1, QStringLiteral("It failed."))));
    const QList<std::pair<QString, QVariantMap>> failedRun { { N::MHExecuteDidStartNotification, {} },
                                                             { N::MHExecuteDidStartItemNotification, item },
                                                             { N::MHExecuteDidFailItemNotification, failure },
                                                             { N::MHExecuteDidEndItemNotification, item },
                                                             { N::MHExecuteDidEndNotification, {} } };
    struct Case {
        const char* name;
        QList<std::pair<QString, QVariantMap>> posts;
        bool running;
    };
    const QList<Case> cases {
        { "after a failed run", failedRun, false },
        { "during the next run", failedRun + QList<std::pair<QString, QVariantMap>> { { N::MHExecuteDelayDidStartNotification, {} },
                                                                                      { N::MHExecuteDidStartNotification, {} },
                                                                                      { N::MHExecuteDidStartItemNotification, item } },
          true },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MainWindowController later;
        handObjectsTo(later);
        later.followEngine();
        std::thread engine([&] {
            for (const auto& [name, userInfo] : c.posts)
                center.post(name, nullptr, userInfo);
            center.post(MHSystemItemsNotifications::MHReadSystemItemsDidEndNotification, nullptr,
                        { { MHSystemItemsNotifications::items, QVariantList { QVariantMap { { "name", "Clock" } } } } });
        });
        engine.join();
        QCoreApplication::processEvents();
        EXPECT_FALSE(later.isWindowLoaded());

        later.window();
        later.placeholderContext()->finishSlide();
        EXPECT_EQ(later.placeholderContext()->currentViewController(), later.systemSubviewController());
        MainBottomBarsController* bars = later.itemsSubviewController()->bottomBars();
        ASSERT_NE(bars, nullptr);
        EXPECT_EQ(bars->isExecutionInProgress(), c.running);
        EXPECT_EQ(bars->defaultBottomBarViewController()->didLastExecutionFail(), !c.running);
        EXPECT_EQ(later.itemsSubviewController()->itemsModel()->runStates().isItemExecuting(mail->objectID()), c.running);
    }
}

TEST_F(MainWindowControllerTest, EnteringTheSimulationShowsTheItemsPageAndLeavingKeepsThePage)
{
    readingEnded({ "Clock" });
    controller->changeToLaunchSimulationMode(true);
    controller->placeholderContext()->finishSlide();
    EXPECT_EQ(currentPage(), controller->itemsSubviewController());
    EXPECT_TRUE(controller->itemsSubviewController()->isLaunchSimulationModeActive());

    controller->switchToSystemItemsView();
    controller->placeholderContext()->finishSlide();
    controller->changeToLaunchSimulationMode(false);
    EXPECT_EQ(currentPage(), controller->systemSubviewController());
    EXPECT_FALSE(controller->itemsSubviewController()->isLaunchSimulationModeActive());
}

TEST_F(MainWindowControllerTest, AHandlerQueuedForAControllerThatIsGoneDoesNotRun)
{
    center.post(MHSystemItemsNotifications::MHReadSystemItemsDidEndNotification, nullptr,
                { { MHSystemItemsNotifications::items, QVariantList { QVariantMap { { "name", "Clock" } } } } });
    center.post(MHInternalNotifications::MHInternalNotificationNetworkDataFetchDidComplete);
    const QPointer<QWidget> window = controller->window();
    controller.reset();
    QCoreApplication::processEvents();
    // Run on the gone controller, the handler would show its window again.
    EXPECT_TRUE(window.isNull());
    const QWidgetList windows = QApplication::topLevelWidgets();
    EXPECT_TRUE(std::none_of(windows.begin(), windows.end(), [](const QWidget* shown) { return shown->isVisible(); }));
}

TEST_F(MainWindowControllerTest, TheMenusReachTheFocusedPageAndUndoTheModel)
{
    addFile("/Alpha");
    addFile("/Beta");
    startFresh();
    controller->showWindow();
    MainItemsViewController* page = controller->itemsSubviewController();
    DBLoginItem* alpha = items().first();
    page->selectItems({ alpha });
    QApplication::setActiveWindow(controller->window());
    page->itemsTableView()->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), page->itemsTableView());
    ASSERT_EQ(dispatcher.responderChainFrom(page->itemsTableView()).first(), page);

    QAction* remove = menuAction(CommandNames::deleteCurrentSelection);
    ASSERT_NE(remove, nullptr);
    EXPECT_EQ(remove->shortcut(), QKeySequence(Qt::Key_Delete));
    auto* menu = qobject_cast<QMenu*>(remove->parent());
    ASSERT_NE(menu, nullptr);
    dispatcher.validateMenu(*menu);
    EXPECT_EQ(remove->text(), "Delete Alpha");

    // Through the chain from the list, as the Delete key does.
    for (CommandResponder* responder : dispatcher.responderChainFrom(page->itemsTableView()))
        if (responder->respondsToCommand(CommandNames::deleteCurrentSelection)) {
            ASSERT_TRUE(responder->validateCommand(CommandNames::deleteCurrentSelection, *remove));
            responder->performCommand(CommandNames::deleteCurrentSelection);
            break;
        }
    EXPECT_EQ(items().size(), 1);

    QAction* undo = menuAction(CommandNames::undo);
    ASSERT_NE(undo, nullptr);
    ASSERT_TRUE(controller->validateCommand(CommandNames::undo, *undo));
    EXPECT_EQ(undo->text(), "Undo " + page->localizator().undoActionForDeletingLoginItems({ alpha }));
    controller->performCommand(CommandNames::undo);
    ASSERT_EQ(items().size(), 2);
    EXPECT_EQ(static_cast<DBFileItem*>(items().first())->itemPath(), "/Alpha");
}

TEST_F(MainWindowControllerTest, TheMenusReachTheSystemItemsPageWhileItIsShown)
{
    controller->showWindow();
    QApplication::setActiveWindow(controller->window());
    QAction* takeOver = menuAction(CommandNames::moveSelectedItemsToLanternwick);
    QAction* remove = menuAction(CommandNames::deleteCurrentSelection);
    ASSERT_NE(takeOver, nullptr);
    ASSERT_NE(remove, nullptr);
    auto* itemsMenu = qobject_cast<QMenu*>(takeOver->parent());
    auto* editMenu = qobject_cast<QMenu*>(remove->parent());
    dispatcher.validateMenu(*itemsMenu);
    EXPECT_FALSE(takeOver->isEnabled()) << "the items page does not take entries over";

    readingEnded({ "Clock", "Mail" });
    MainSystemViewController* page = controller->systemSubviewController();
    page->itemsTableView()->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), page->itemsTableView());
    dispatcher.validateMenu(*editMenu);
    EXPECT_FALSE(remove->isEnabled());
    EXPECT_EQ(remove->text(), "Delete Selection");
    page->selectRows({ 1 });
    dispatcher.validateMenu(*editMenu);
    EXPECT_TRUE(remove->isEnabled());
    EXPECT_EQ(remove->text(), "Delete Mail from Startup Applications...");

    dispatcher.validateMenu(*itemsMenu);
    ASSERT_TRUE(takeOver->isEnabled());
    dispatcher.performAction(*takeOver);
    ASSERT_EQ(items().size(), 1);
    EXPECT_EQ(static_cast<DBFileItem*>(items().first())->itemPath(), "/apps/Mail");
}

TEST_F(MainWindowControllerTest, EveryMenuItemAndTheListHaveNames)
{
    auto* window = qobject_cast<QMainWindow*>(controller->window());
    ASSERT_NE(window, nullptr);
    // Read by its title, which follows the page.
    EXPECT_FALSE(QAccessible::queryAccessibleInterface(window)->text(QAccessible::Name).isEmpty());
    for (QAction* menuAction : window->menuBar()->actions()) {
        ASSERT_NE(menuAction->menu(), nullptr);
        EXPECT_FALSE(menuAction->menu()->objectName().isEmpty());
        for (QAction* action : menuAction->menu()->actions())
            if (!action->isSeparator()) {
                EXPECT_FALSE(action->objectName().isEmpty()) << action->text().toStdString();
                EXPECT_FALSE(action->text().isEmpty()) << action->objectName().toStdString();
                EXPECT_FALSE(action->shortcut().isEmpty()) << action->objectName().toStdString();
            }
    }
    EXPECT_FALSE(controller->itemsSubviewController()->itemsTableView()->accessibleName().isEmpty());
    controller->switchToSystemItemsView();
    EXPECT_FALSE(controller->systemSubviewController()->itemsTableView()->accessibleName().isEmpty());
}

TEST_F(MainWindowControllerTest, CopyAndPasteAreInTheEditMenuAndNoTwoItemsShareAKey)
{
    auto* window = qobject_cast<QMainWindow*>(controller->window());
    ASSERT_NE(window, nullptr);
    for (const QString& command : { CommandNames::copy, CommandNames::paste, CommandNames::pasteAndAppendStartupConditions }) {
        QAction* action = menuAction(command);
        ASSERT_NE(action, nullptr) << command.toStdString();
        EXPECT_EQ(action->parent()->objectName(), "editMenu");
    }
    EXPECT_EQ(menuAction(CommandNames::copy)->shortcut(), QKeySequence(QStringLiteral("Ctrl+C")));
    EXPECT_EQ(menuAction(CommandNames::paste)->shortcut(), QKeySequence(QStringLiteral("Ctrl+V")));
    EXPECT_EQ(menuAction(CommandNames::pasteAndAppendStartupConditions)->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+V")));
    QHash<QKeySequence, QString> owners;
    for (QAction* menuAction : window->menuBar()->actions())
        for (QAction* action : menuAction->menu()->actions()) {
            if (action->isSeparator())
                continue;
            EXPECT_FALSE(owners.contains(action->shortcut()))
                << action->objectName().toStdString() << " and " << owners.value(action->shortcut()).toStdString();
            owners.insert(action->shortcut(), action->objectName());
        }
}

// The network editor's link in an item's inspector opens the General
// preferences through the application.
TEST_F(MainWindowControllerTest, TheNetworkWarningsLinkReachesTheApplication)
{
    DBLoginItem* item = addFile("/apps/mail");
    DBStartupCondition* network = helpers->modelEditing()->createNetworkStartupConditionAtIndex(0);
    item->appendItemStartupConditionsWithConditionObjectsFromArray({ network });
    startFresh();
    MainItemsViewController* page = controller->itemsSubviewController();
    page->itemInspectors()->showLoginItemInspector(item, page, QRect(0, 0, 20, 20));
    QCoreApplication::processEvents();
    const QList<NetworkConditionViewController*> editors = page->window()->findChildren<NetworkConditionViewController*>();
    ASSERT_EQ(editors.size(), 1);

    editors.first()->warningLinkView()->click();
    EXPECT_EQ(application.performed, QStringList({ ApplicationCommands::showGeneralPreferences }));
}

} // namespace

namespace {

TEST_F(MainWindowControllerTest, OneModifierKeyChangeIsOneSimulationSnapshotWhereverItLands)
{
    addFile("/Alpha");
    controller->showWindow();
    QApplication::setActiveWindow(controller->window());
    ASSERT_TRUE(QTest::qWaitForWindowActive(controller->window()));
    controller->changeToLaunchSimulationMode(true);
    QCoreApplication::processEvents();
    int snapshots = 0;
    const NotificationCenter::Token counting = center.addObserver(MHInternalNotifications::MHInternalNotificationSimulationParameterDidChange,
                                                                   nullptr, [&](const Notification&) { ++snapshots; });
    // No widget takes Shift: the key travels from the list up to the window.
    QListView* list = controller->itemsSubviewController()->itemsTableView();
    list->setFocus();
    QTest::keyPress(list, Qt::Key_Shift);
    EXPECT_EQ(snapshots, 1);
    QTest::keyRelease(list, Qt::Key_Shift, Qt::ShiftModifier);
    EXPECT_EQ(snapshots, 2);
    QTest::keyClick(list, Qt::Key_A);
    EXPECT_EQ(snapshots, 2) << "not a modifier key";
}

TEST_F(MainWindowControllerTest, UndoAndRedoReachTheModelFromTheInspectorPopover)
{
    addFile("/Alpha");
    startFresh();
    controller->showWindow();
    MainItemsViewController* page = controller->itemsSubviewController();
    page->selectItems({ items().first() });
    page->showLoginItemInspector(page->itemsTableView()->model()->index(0, 0), QRect(0, 0, 10, 10));
    auto* inspector = static_cast<ItemInspectorViewController*>(page->itemInspectors()->itemInspectorViewController());
    PopoverFrame* popover = page->itemInspectors()->popover();
    // The popover is the active window, as the window system makes it.
    QApplication::setActiveWindow(popover);
    ASSERT_EQ(QApplication::activeWindow(), popover);
    inspector->createScheduledStartupCondition();
    QCoreApplication::processEvents();
    ASSERT_EQ(context->sortedStartupConditions().size(), 1);
    // Out of the name field, whose own Undo would take the keys.
    inspector->startupConditionsTableView()->setFocus();

    QTest::keySequence(QApplication::focusWidget(), menuAction(CommandNames::undo)->shortcut());
    EXPECT_TRUE(context->sortedStartupConditions().isEmpty());
    QTest::keySequence(QApplication::focusWidget(), menuAction(CommandNames::redo)->shortcut());
    EXPECT_EQ(context->sortedStartupConditions().size(), 1);
}

} // namespace
