// The application's commands from the menus: through the one dispatcher to
// the delegate, and from there to the windows they open or close.
#include "support/WindowTest.h"

#include "shell/AppDelegate.h"
#include "shell/ApplicationCommands.h"
#include "shell/ChainStarter.h"
#include "texts/DialogPresenter.h"
#include "ui/base/CommandNames.h"
#include "ui/mainwindow/MainWindowController.h"
#include "ui/preferences/PreferencesWindowController.h"
#include "ui/windows/ApplicationWindowControllers.h"
#include "ui/windows/FeedbackDialog.h"
#include "ui/windows/WelcomeWindowController.h"

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

namespace {

class CountingChains : public ChainStarter {
public:
    void startChain(const QList<Step>&, std::shared_ptr<ContextBatchInfo>) override { ++started; }
    int started = 0;
};

class NoDialogs : public DialogPresenter {
public:
    Answer runModal(const Request&) override { return {}; }
};

class ApplicationCommandsTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        windows = std::make_unique<ApplicationWindowControllers>(*helpers, [this] { ++terminations; });
        AppDelegate::Collaborators parts;
        parts.helpers = helpers.get();
        parts.chains = &chains;
        parts.windows = windows.get();
        parts.dialogs = &dialogs;
        parts.terminate = [this] { ++terminations; };
        parts.startNewCopy = [this](QString*) { return ++newCopies, true; };
        parts.userDefaults = settings.get();
        parts.notificationCenter = &center;
        delegate = std::make_unique<AppDelegate>(parts);
        windows->setApplicationDelegate(delegate.get());
        windows->prepareMainWindow();
        QCoreApplication::processEvents();
    }
    void TearDown() override
    {
        windows->setApplicationDelegate(nullptr);
        delegate.reset();
        windows.reset();
    }
    QAction* menuAction(const QString& command) const
    {
        auto* window = static_cast<QMainWindow*>(windows->mainWindowController().window());
        return window->menuBar()->findChild<QAction*>(command + "Action");
    }

    CountingChains chains;
    NoDialogs dialogs;
    int terminations = 0;
    int newCopies = 0;
    std::unique_ptr<ApplicationWindowControllers> windows;
    std::unique_ptr<AppDelegate> delegate;
};

TEST_F(ApplicationCommandsTest, EveryApplicationCommandHasAMenuItemThatReachesTheDelegate)
{
    namespace C = ApplicationCommands;
    for (const QString& command : { C::executeLoginItems, C::toggleSimulationMode, C::disableLanternwickAndMoveItemsToSystemPreferences,
                                    C::restoreDatabaseFromBackup, C::contactSupport, C::showWelcomeWindow, C::showAboutWindow,
                                    C::showPreferencesWindow }) {
        SCOPED_TRACE(command.toStdString());
        ASSERT_NE(menuAction(command), nullptr);
        EXPECT_TRUE(windows->respondsToCommand(command));
    }
    menuAction(C::showPreferencesWindow)->trigger();
    EXPECT_TRUE(windows->preferencesWindowController().window()->isVisible());
    menuAction(C::showWelcomeWindow)->trigger();
    EXPECT_TRUE(windows->welcomeWindowController().window()->isVisible());
}

TEST_F(ApplicationCommandsTest, QuitWorksFromTheWelcomeWindow)
{
    windows->showWelcomeWindow();
    QWidget* welcome = windows->welcomeWindowController().window();
    QApplication::setActiveWindow(welcome);
    ASSERT_TRUE(QTest::qWaitForWindowActive(welcome));
    QTest::keyClick(welcome, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(terminations, 1);
}

TEST_F(ApplicationCommandsTest, TheSimulationItemIsTitledByTheModeWithOrWithoutItsMenuOpening)
{
    QAction* simulation = menuAction(ApplicationCommands::toggleSimulationMode);
    auto* items = qobject_cast<QMenu*>(simulation->parent());
    ASSERT_NE(items, nullptr);
    // A screen reader reads the closed menu's items.
    windows->toggleSimulationMode();
    EXPECT_EQ(simulation->text(), "Exit Launch Simulation Mode");
    windows->commandDispatcher().validateMenu(*items);
    EXPECT_EQ(simulation->text(), "Exit Launch Simulation Mode");
    windows->toggleSimulationMode();
    EXPECT_EQ(simulation->text(), "Enter Launch Simulation Mode");
    windows->commandDispatcher().validateMenu(*items);
    EXPECT_EQ(simulation->text(), "Enter Launch Simulation Mode");
}

TEST_F(ApplicationCommandsTest, RunningNowClosesTheWelcomeAndPreferencesWindows)
{
    windows->showWelcomeWindow();
    windows->showPreferencesWindow();
    windows->performCommand(ApplicationCommands::executeLoginItems);
    EXPECT_EQ(chains.started, 1);
    EXPECT_FALSE(windows->welcomeWindowController().window()->isVisible());
    EXPECT_FALSE(windows->preferencesWindowController().window()->isVisible());
}

TEST_F(ApplicationCommandsTest, TheGeneralPaneIsSelectedWhenAskedFor)
{
    PreferencesWindowController& preferences = windows->preferencesWindowController();
    preferences.selectControllerAtIndex(3);
    windows->showGeneralPreferences();
    EXPECT_TRUE(preferences.window()->isVisible());
    EXPECT_EQ(preferences.selectedIndex(), 0);
}

TEST_F(ApplicationCommandsTest, TheRestartOfTheLookAndFeelPaneRelaunches)
{
    PreferencesWindowController& preferences = windows->preferencesWindowController();
    preferences.selectControllerAtIndex(1);
    auto* restart = preferences.window()->findChild<QPushButton*>("restartButton");
    ASSERT_NE(restart, nullptr);
    restart->click();
    EXPECT_EQ(newCopies, 1);
    EXPECT_EQ(terminations, 1);
    EXPECT_TRUE(settings->isLaunchAfterRestart());
}

TEST_F(ApplicationCommandsTest, TheStatusMenuHoldsTheApplicationsCommands)
{
    windows->initializeDockAndStatusBar();
    QStringList commands;
    for (QAction* action : windows->statusMenu().actions())
        if (!action->isSeparator())
            commands.append(action->data().toString());
    EXPECT_EQ(commands, QStringList({ ApplicationCommands::showMainWindow, ApplicationCommands::executeLoginItems,
                                      ApplicationCommands::showPreferencesWindow, ApplicationCommands::showAboutWindow,
                                      CommandNames::terminate }));
}

TEST_F(ApplicationCommandsTest, TheFeedbackDialogHoldsTheDatabaseToCopy)
{
    addDelay(3);
    startFresh();
    windows->performCommand(ApplicationCommands::contactSupport);
    FeedbackDialog* feedback = windows->feedbackDialog();
    ASSERT_NE(feedback, nullptr);
    EXPECT_TRUE(feedback->isVisible());
    EXPECT_TRUE(feedback->report().contains("### database.xml ###"));
    feedback->findChild<QPushButton*>("feedbackCopyButton")->click();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), feedback->report());
}

} // namespace
