#include "support/WindowTest.h"
#include "ui/base/CommandNames.h"
#include "ui/mainwindow/MainItemsViewController.h"
#include "ui/mainwindow/MainWindowController.h"
#include "ui/preferences/PreferencesIgnoredItemsViewController.h"
#include "ui/preferences/PreferencesWindowController.h"
#include "ui/windows/ApplicationWindowControllers.h"
#include "ui/windows/WelcomeWindowController.h"

#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <algorithm>

namespace {

class ApplicationWindowControllersTest : public WindowTest {
protected:
    int terminations = 0;
    std::unique_ptr<ApplicationWindowControllers> windows;

    void SetUp() override
    {
        WindowTest::SetUp();
        windows = std::make_unique<ApplicationWindowControllers>(*helpers, [this] { ++terminations; });
    }
};

TEST_F(ApplicationWindowControllersTest, ThePreparedMainWindowShowsUnlessClosedInTheSamePass)
{
    // Closed again: nothing of it is built, or shown.
    windows->prepareMainWindow();
    windows->closeMainWindow();
    QCoreApplication::processEvents();
    EXPECT_FALSE(windows->mainWindowController().isWindowLoaded());
    const QWidgetList topLevels = QApplication::topLevelWidgets();
    EXPECT_FALSE(std::any_of(topLevels.cbegin(), topLevels.cend(), [](const QWidget* widget) { return qobject_cast<const QMainWindow*>(widget); }));

    windows->prepareMainWindow();
    EXPECT_FALSE(windows->mainWindowController().window()->isVisible());
    QCoreApplication::processEvents();
    EXPECT_TRUE(windows->mainWindowController().window()->isVisible());

    // Brought forward by another start after the user closed it.
    windows->closeMainWindow();
    windows->showMainWindow();
    EXPECT_TRUE(windows->mainWindowController().window()->isVisible());
}

TEST_F(ApplicationWindowControllersTest, ABackgroundResultShowsTheMainWindowBehindTheWindowInUse)
{
    windows->showWelcomeWindow();
    QWidget* welcome = windows->welcomeWindowController().window();
    windows->showMainWindowInBackground();
    QCoreApplication::processEvents();
    // Which window has the keyboard is the window manager's: checked under one by the end-to-end tests.
    QWidget* main = windows->mainWindowController().window();
    EXPECT_TRUE(main->isVisible());
    EXPECT_TRUE(welcome->isVisible());

    // With no other window, it comes forward as asked for.
    windows->closeWelcomeWindow();
    windows->closeMainWindow();
    windows->showMainWindowInBackground();
    EXPECT_TRUE(main->isVisible());
}

TEST_F(ApplicationWindowControllersTest, TheSimulationModeIsPassedToTheItemsPage)
{
    EXPECT_FALSE(windows->isLaunchSimulationModeActive());
    windows->toggleSimulationMode();
    EXPECT_TRUE(windows->isLaunchSimulationModeActive());
    EXPECT_TRUE(windows->mainWindowController().itemsSubviewController()->isLaunchSimulationModeActive());
    windows->toggleSimulationMode();
    EXPECT_FALSE(windows->mainWindowController().itemsSubviewController()->isLaunchSimulationModeActive());
}

TEST_F(ApplicationWindowControllersTest, QuitIsTheApplicationsCommand)
{
    QAction item;
    ASSERT_TRUE(windows->respondsToCommand(CommandNames::terminate));
    EXPECT_TRUE(windows->validateCommand(CommandNames::terminate, item));
    windows->performCommand(CommandNames::terminate);
    EXPECT_EQ(terminations, 1);
}

TEST_F(ApplicationWindowControllersTest, AFreshDatabaseGetsItsGroupsWithoutAnUndoStep)
{
    startFresh();
    context->deleteObject(group);
    context->deleteObject(context->getOrCreateIgnoreLoginGroup());
    startFresh();
    windows->mainWindowController().window();
    EXPECT_NE(windows->mainWindowController().itemsSubviewController()->representedGroup(), nullptr);
    // The Ignored Items pane shows the ignore group.
    auto& ignoredPane = static_cast<PreferencesIgnoredItemsViewController&>(windows->preferencesWindowController().paneAtIndex(2));
    DBLoginGroup* ignored = ignoredPane.representedGroup();
    ASSERT_NE(ignored, nullptr);
    EXPECT_TRUE(ignored->isInserted());
    EXPECT_EQ(ignored->groupTypeValue(), LoginGroupTypeIgnored);
    EXPECT_FALSE(context->undoManager().canUndo());
}

} // namespace
