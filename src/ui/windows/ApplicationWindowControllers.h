#pragma once
// The windows of the application, as the application delegate asks for them,
// the tray or task bar presentation, and the application's own commands (the
// last responder of the command dispatcher), which the delegate answers.
// Every window is made on first use.
#include "shell/WindowControllers.h"
#include "ui/base/CommandDispatcher.h"
#include "ui/base/CommandResponder.h"
#include "ui/windows/DockAndStatusBarController.h"
#include "ui/windows/SystemTrayStatusBar.h"

#include <QMenu>
#include <functional>
#include <memory>

class AboutWindowController;
class AppDelegate;
class ApplicationHelpers;
class FeedbackDialog;
class MainWindowController;
class PreferencesWindowController;
class WelcomeWindowController;

class ApplicationWindowControllers : public WindowControllers, public CommandResponder {
public:
    // terminate ends the application (its quit steps follow). helpers must
    // outlive this object and have its database loaded before a window is made.
    ApplicationWindowControllers(ApplicationHelpers& helpers, std::function<void()> terminate);
    ~ApplicationWindowControllers() override;

    // The delegate answers the application's commands; set once it exists.
    void setApplicationDelegate(AppDelegate* delegate) { m_delegate = delegate; }

    CommandDispatcher& commandDispatcher() { return m_dispatcher; }
    MainWindowController& mainWindowController();
    bool hasMainWindowController() const override { return m_mainWindowController != nullptr; }
    bool isMainWindowFocused() const override;
    PreferencesWindowController& preferencesWindowController();
    WelcomeWindowController& welcomeWindowController();
    AboutWindowController& aboutWindowController();
    // Null until the dialog was first asked for.
    FeedbackDialog* feedbackDialog() const { return m_feedbackDialog.get(); }
    DockAndStatusBarController& dockAndStatusBarController() { return m_dock; }
    QMenu& statusMenu() { return m_statusMenu; }

    void initializeDockAndStatusBar() override;
    void prepareMainWindow() override;
    void closeMainWindow() override;
    void showMainWindow() override;
    void showMainWindowInBackground() override;
    void showWelcomeWindow() override;
    void showGeneralPreferences() override;
    bool isLaunchSimulationModeActive() const override { return m_launchSimulationModeActive; }
    void toggleSimulationMode() override;
    void showPreferencesWindow() override;
    void showAboutWindow() override;
    void showFeedbackDialog(const QString& message) override;
    void showDatabaseFailure() override;
    void closeWelcomeWindow() override;
    void closePreferencesWindow() override;

    bool respondsToCommand(const QString& command) const override;
    bool validateCommand(const QString& command, QAction& item) override;
    void performCommand(const QString& command) override;

private:
    void buildStatusMenu();
    void bringStartWindowsForward();
    // The modal dialog, popover or other window of the program than the main
    // window that the user works in, else null.
    QWidget* windowInUse();
    // Shows the main window on its current page, in front and active or not.
    void presentMainWindow(bool activate);

    ApplicationHelpers& m_helpers;
    std::function<void()> m_terminate;
    AppDelegate* m_delegate = nullptr;
    CommandDispatcher m_dispatcher;
    SystemTrayStatusBar m_statusBar;
    QMenu m_statusMenu;
    // After the menu and the tray: its icon goes before them.
    DockAndStatusBarController m_dock;
    std::unique_ptr<MainWindowController> m_mainWindowController;
    std::unique_ptr<PreferencesWindowController> m_preferencesWindowController;
    std::unique_ptr<WelcomeWindowController> m_welcomeWindowController;
    std::unique_ptr<AboutWindowController> m_aboutWindowController;
    std::unique_ptr<FeedbackDialog> m_feedbackDialog;
    bool m_launchSimulationModeActive = false;
    // The main window is shown once start-up has decided to keep it open.
    bool m_mainWindowShowPending = false;
};
