#include "ui/windows/ApplicationWindowControllers.h"

#include "foundation/Log.h"
#include "shell/ApplicationHelpers.h"
#include "ui/base/CommandNames.h"
#include "ui/mainwindow/MainWindowController.h"

#include <QTimer>

ApplicationWindowControllers::ApplicationWindowControllers(ApplicationHelpers& helpers, std::function<void()> terminate)
    : m_helpers(helpers)
    , m_terminate(std::move(terminate))
    , m_dispatcher(this)
{
}

ApplicationWindowControllers::~ApplicationWindowControllers() = default;

MainWindowController& ApplicationWindowControllers::mainWindowController()
{
    if (!m_mainWindowController) {
        LOG_DEBUG("Initializing main window controller due to first access...");
        m_mainWindowController = std::make_unique<MainWindowController>();
        m_mainWindowController->setCommonObjects(CommonObjects::fromHelpers(m_helpers));
        m_mainWindowController->setCommandDispatcher(&m_dispatcher);
    }
    return *m_mainWindowController;
}

void ApplicationWindowControllers::initializeDockAndStatusBar()
{
    LOG_VERBOSE("Windows are shown in the task bar; there is no status bar item yet.");
}

void ApplicationWindowControllers::prepareMainWindow()
{
    MainWindowController& controller = mainWindowController();
    controller.window();
    controller.makeCurrentSubviewControllerFirstResponder();
    // Start-up may close it again in this same pass: showing it only then
    // keeps it from flashing up.
    m_mainWindowShowPending = true;
    QTimer::singleShot(0, controller.window(), [this] {
        if (m_mainWindowShowPending)
            showMainWindow();
    });
}

void ApplicationWindowControllers::closeMainWindow()
{
    m_mainWindowShowPending = false;
    if (m_mainWindowController)
        m_mainWindowController->close();
}

void ApplicationWindowControllers::showMainWindow()
{
    LOG_NORMAL("Showing application main window...");
    m_mainWindowShowPending = false;
    MainWindowController& controller = mainWindowController();
    controller.showWindow();
    controller.makeCurrentSubviewControllerFirstResponder();
}

void ApplicationWindowControllers::showWelcomeWindow()
{
    LOG_INFO("No welcome window yet: showing it skipped");
}

void ApplicationWindowControllers::showGeneralPreferences()
{
    LOG_INFO("No preferences window yet: showing the general preferences skipped");
}

void ApplicationWindowControllers::toggleSimulationMode()
{
    LOG_NORMAL("Toggling simulation mode...");
    m_launchSimulationModeActive = !m_launchSimulationModeActive;
    mainWindowController().changeToLaunchSimulationMode(m_launchSimulationModeActive);
}

bool ApplicationWindowControllers::respondsToCommand(const QString& command) const
{
    return command == CommandNames::terminate;
}

bool ApplicationWindowControllers::validateCommand(const QString& command, QAction&)
{
    return command == CommandNames::terminate;
}

void ApplicationWindowControllers::performCommand(const QString& command)
{
    if (command == CommandNames::terminate && m_terminate)
        m_terminate();
}
