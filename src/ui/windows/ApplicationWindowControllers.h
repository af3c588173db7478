#pragma once
// The windows of the application, as the application delegate asks for them,
// and the application's own commands (the last responder of the command
// dispatcher). The main window is made on first use.
#include "shell/WindowControllers.h"
#include "ui/base/CommandDispatcher.h"
#include "ui/base/CommandResponder.h"

#include <functional>
#include <memory>

class ApplicationHelpers;
class MainWindowController;

class ApplicationWindowControllers : public WindowControllers, public CommandResponder {
public:
    // terminate ends the application (its quit steps follow). helpers must
    // outlive this object and have its database loaded before a window is made.
    ApplicationWindowControllers(ApplicationHelpers& helpers, std::function<void()> terminate);
    ~ApplicationWindowControllers() override;

    CommandDispatcher& commandDispatcher() { return m_dispatcher; }
    MainWindowController& mainWindowController();
    bool hasMainWindowController() const { return m_mainWindowController != nullptr; }

    void initializeDockAndStatusBar() override;
    void prepareMainWindow() override;
    void closeMainWindow() override;
    void showMainWindow() override;
    void showWelcomeWindow() override;
    void showGeneralPreferences() override;
    bool isLaunchSimulationModeActive() const override { return m_launchSimulationModeActive; }
    void toggleSimulationMode() override;

    bool respondsToCommand(const QString& command) const override;
    bool validateCommand(const QString& command, QAction& item) override;
    void performCommand(const QString& command) override;

private:
    ApplicationHelpers& m_helpers;
    std::function<void()> m_terminate;
    CommandDispatcher m_dispatcher;
    std::unique_ptr<MainWindowController> m_mainWindowController;
    bool m_launchSimulationModeActive = false;
    // The main window is shown once start-up has decided to keep it open.
    bool m_mainWindowShowPending = false;
};
