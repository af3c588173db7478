#include "ui/windows/ApplicationWindowControllers.h"

#include "foundation/Log.h"
#include "model/DBLoginGroup.h"
#include "model/ObjectContext.h"
#include "shell/AppDelegate.h"
#include "shell/ApplicationCommands.h"
#include "shell/ApplicationHelpers.h"
#include "texts/Localizator.h"
#include "ui/base/CommandNames.h"
#include "ui/mainwindow/MainWindowController.h"
#include "ui/preferences/PreferencesGeneralViewController.h"
#include "ui/preferences/PreferencesIgnoredItemsViewController.h"
#include "ui/preferences/PreferencesLookAndFeelViewController.h"
#include "ui/preferences/PreferencesUpdateViewController.h"
#include "ui/preferences/PreferencesWindowController.h"
#include "ui/windows/AboutWindowController.h"
#include "ui/windows/FeedbackDialog.h"
#include "ui/windows/WelcomeWindowController.h"

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QWindow>

namespace {
// How long after start the main window's first focus is taken for the
// window manager's doing rather than the user's choice.
constexpr int kStartWindowsSettleMilliseconds = 3000;
} // namespace

ApplicationWindowControllers::ApplicationWindowControllers(ApplicationHelpers& helpers, std::function<void()> terminate)
    : m_helpers(helpers)
    , m_terminate(std::move(terminate))
    , m_dispatcher(this)
    , m_dock(m_statusBar)
{
    m_statusMenu.setObjectName(QStringLiteral("statusMenu"));
}

ApplicationWindowControllers::~ApplicationWindowControllers() = default;

MainWindowController& ApplicationWindowControllers::mainWindowController()
{
    if (!m_mainWindowController) {
        LOG_DEBUG("Initializing main window controller due to first access...");
        m_mainWindowController = std::make_unique<MainWindowController>();
        m_mainWindowController->setCommonObjects(CommonObjects::fromHelpers(m_helpers));
        m_mainWindowController->setCommandDispatcher(&m_dispatcher);
        m_mainWindowController->followEngine();
    }
    return *m_mainWindowController;
}

PreferencesWindowController& ApplicationWindowControllers::preferencesWindowController()
{
    if (!m_preferencesWindowController) {
        LOG_DEBUG("Initializing preferences view controllers due to first access...");
        std::vector<std::unique_ptr<PreferencesPane>> panes;
        panes.push_back(std::make_unique<PreferencesGeneralViewController>());
        panes.push_back(std::make_unique<PreferencesLookAndFeelViewController>(m_dock, [this] {
            if (m_delegate)
                m_delegate->relaunchApplication();
        }));
        auto ignored = std::make_unique<PreferencesIgnoredItemsViewController>();
        ignored->setRepresentedObject(QVariant::fromValue(m_helpers.managedObjectContext()->getOrCreateIgnoreLoginGroup()));
        panes.push_back(std::move(ignored));
        panes.push_back(nullptr);
        panes.push_back(std::make_unique<PreferencesUpdateViewController>());
        LOG_DEBUG("Initializing preferences window controller due to first access...");
        m_preferencesWindowController = std::make_unique<PreferencesWindowController>(std::move(panes));
        m_preferencesWindowController->setCommonObjects(CommonObjects::fromHelpers(m_helpers));
        m_preferencesWindowController->setCommandDispatcher(&m_dispatcher);
    }
    return *m_preferencesWindowController;
}

WelcomeWindowController& ApplicationWindowControllers::welcomeWindowController()
{
    if (!m_welcomeWindowController) {
        LOG_DEBUG("Initializing welcome window controller due to first access...");
        m_welcomeWindowController = std::make_unique<WelcomeWindowController>();
        m_welcomeWindowController->setCommonObjects(CommonObjects::fromHelpers(m_helpers));
        // Quit, Preferences and Help work from it too.
        m_dispatcher.addWindowCommands(*m_welcomeWindowController->window());
    }
    return *m_welcomeWindowController;
}

AboutWindowController& ApplicationWindowControllers::aboutWindowController()
{
    if (!m_aboutWindowController) {
        LOG_DEBUG("Initializing about window controller due to first access...");
        m_aboutWindowController = std::make_unique<AboutWindowController>();
        m_aboutWindowController->setCommonObjects(CommonObjects::fromHelpers(m_helpers));
        m_dispatcher.addWindowCommands(*m_aboutWindowController->window());
    }
    return *m_aboutWindowController;
}

bool ApplicationWindowControllers::isMainWindowFocused() const
{
    return m_mainWindowController && m_mainWindowController->isWindowLoaded() && m_mainWindowController->window()->isActiveWindow();
}

void ApplicationWindowControllers::initializeDockAndStatusBar()
{
    buildStatusMenu();
    m_dock.initializeDockAndStatusBarWithMenu(&m_statusMenu);
}

void ApplicationWindowControllers::buildStatusMenu()
{
    using Text = Localizator::WindowText;
    const Localizator& texts = Localizator::shared();
    m_dispatcher.manageMenu(m_statusMenu);
    m_dispatcher.addCommand(m_statusMenu, ApplicationCommands::showMainWindow, texts.windowText(Text::MainWindowMenuItem));
    m_dispatcher.addCommand(m_statusMenu, ApplicationCommands::executeLoginItems, texts.windowText(Text::LaunchItemsNowMenuItem));
    m_statusMenu.addSeparator();
    m_dispatcher.addCommand(m_statusMenu, ApplicationCommands::showPreferencesWindow, texts.windowText(Text::PreferencesMenuItem));
    m_dispatcher.addCommand(m_statusMenu, ApplicationCommands::showAboutWindow, texts.windowText(Text::AboutMenuItem));
    m_statusMenu.addSeparator();
    m_dispatcher.addCommand(m_statusMenu, CommandNames::terminate, texts.windowText(Text::QuitMenuItem));
}

void ApplicationWindowControllers::prepareMainWindow()
{
    MainWindowController& controller = mainWindowController();
    // Start-up may close it again in this same pass: the window is built and
    // shown only after it, when it is still wanted.
    m_mainWindowShowPending = true;
    QTimer::singleShot(0, &controller, [this] {
        if (!m_mainWindowShowPending)
            return;
        showMainWindow();
        bringStartWindowsForward();
    });
}

void ApplicationWindowControllers::bringStartWindowsForward()
{
    // The windows start-up opened meanwhile go in front of the main window, the welcome window last, on top.
    QList<QPointer<QWidget>> front;
    for (WindowControllerBase* controller : std::initializer_list<WindowControllerBase*> { m_preferencesWindowController.get(),
                                                                                           m_welcomeWindowController.get() })
        if (controller && controller->isWindowLoaded() && controller->window()->isVisible())
            front.append(controller->window());
    if (front.isEmpty())
        return;
    const auto raise = [front] {
        for (const QPointer<QWidget>& window : front)
            if (window && window->isVisible()) {
                window->raise();
                if (QWindow* handle = window->windowHandle())
                    handle->requestActivate();
            }
    };
    raise();
    // A window manager maps the main window, and gives it the focus, only
    // after this pass: the windows are raised and activated again then.
    QWindow* main = mainWindowController().window()->windowHandle();
    auto watch = std::make_shared<QMetaObject::Connection>();
    *watch = QObject::connect(qApp, &QGuiApplication::focusWindowChanged, &mainWindowController(), [watch, main, raise](QWindow* focused) {
        if (focused != main)
            return;
        QObject::disconnect(*watch);
        raise();
    });
    // Later the user chose the main window.
    QTimer::singleShot(kStartWindowsSettleMilliseconds, &mainWindowController(), [watch] { QObject::disconnect(*watch); });
}

void ApplicationWindowControllers::closeMainWindow()
{
    m_mainWindowShowPending = false;
    if (m_mainWindowController)
        m_mainWindowController->close();
}

void ApplicationWindowControllers::showMainWindow()
{
    presentMainWindow(true);
}

void ApplicationWindowControllers::showMainWindowInBackground()
{
    QWidget* inUse = windowInUse();
    presentMainWindow(!inUse);
    if (!inUse)
        return;
    // A window manager may map the new window on top; the window in use
    // goes back in front.
    inUse->raise();
    QApplication::alert(mainWindowController().window());
}

void ApplicationWindowControllers::presentMainWindow(bool activate)
{
    m_mainWindowShowPending = false;
    MainWindowController& controller = mainWindowController();
    if (activate)
        controller.showWindow();
    else
        controller.showWindowWithoutActivation();
    controller.makeCurrentSubviewControllerFirstResponder();
}

QWidget* ApplicationWindowControllers::windowInUse()
{
    for (QWidget* shown : { QApplication::activeModalWidget(), QApplication::activePopupWidget() })
        if (shown)
            return shown;
    const QWidget* main = m_mainWindowController && m_mainWindowController->isWindowLoaded() ? m_mainWindowController->window() : nullptr;
    if (QWidget* active = QApplication::activeWindow())
        return active == main ? nullptr : active;
    // Opened in front, but not yet given the focus by the window manager.
    for (WindowControllerBase* controller : std::initializer_list<WindowControllerBase*> { m_welcomeWindowController.get(),
                                                                                           m_preferencesWindowController.get() })
        if (controller && controller->isWindowLoaded() && controller->window()->isVisible())
            return controller->window();
    return nullptr;
}

void ApplicationWindowControllers::showWelcomeWindow()
{
    welcomeWindowController().showWindow();
}

void ApplicationWindowControllers::showGeneralPreferences()
{
    PreferencesWindowController& preferences = preferencesWindowController();
    preferences.showWindow();
    preferences.selectControllerAtIndex(0);
}

void ApplicationWindowControllers::showPreferencesWindow()
{
    preferencesWindowController().showWindow();
}

void ApplicationWindowControllers::showAboutWindow()
{
    aboutWindowController().showWindow();
}

void ApplicationWindowControllers::showDatabaseFailure()
{
    QWidget* shown = QApplication::activeModalWidget();
    if (!shown && !m_feedbackDialog)
        showFeedbackDialog(QString());
    shown = shown ? shown : m_feedbackDialog.get();
    shown->show();
    shown->raise();
    shown->activateWindow();
}

void ApplicationWindowControllers::showFeedbackDialog(const QString& message)
{
    // Made anew each time, with the logs and the database as they are now.
    m_feedbackDialog = std::make_unique<FeedbackDialog>(Localizator::shared(), message, m_helpers.contentsOfLastLogFiles(),
                                                        m_helpers.contentsOfDatabase());
    m_feedbackDialog->show();
    m_feedbackDialog->raise();
    m_feedbackDialog->activateWindow();
}

void ApplicationWindowControllers::closeWelcomeWindow()
{
    if (m_welcomeWindowController)
        m_welcomeWindowController->close();
}

void ApplicationWindowControllers::closePreferencesWindow()
{
    if (m_preferencesWindowController)
        m_preferencesWindowController->close();
}

void ApplicationWindowControllers::toggleSimulationMode()
{
    m_launchSimulationModeActive = !m_launchSimulationModeActive;
    mainWindowController().changeToLaunchSimulationMode(m_launchSimulationModeActive);
}

bool ApplicationWindowControllers::respondsToCommand(const QString& command) const
{
    return command == CommandNames::terminate || (m_delegate && m_delegate->respondsToCommand(command));
}

bool ApplicationWindowControllers::validateCommand(const QString& command, QAction& item)
{
    if (command == CommandNames::terminate)
        return true;
    QString title;
    const bool enabled = m_delegate && m_delegate->validateCommand(command, &title);
    if (!title.isEmpty())
        setMenuItemTitle(item, title);
    return enabled;
}

void ApplicationWindowControllers::performCommand(const QString& command)
{
    if (command == CommandNames::terminate) {
        if (m_terminate)
            m_terminate();
    } else if (m_delegate) {
        m_delegate->performCommand(command);
    }
}
