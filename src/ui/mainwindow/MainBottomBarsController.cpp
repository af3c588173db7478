#include "ui/mainwindow/MainBottomBarsController.h"

#include "engine/ApplicationContext.h"
#include "engine/ContextBatchInfo.h"
#include "engine/ModelObjectHelping.h"
#include "foundation/Log.h"
#include "foundation/MHExecuteNotifications.h"
#include "foundation/MHInternalNotifications.h"
#include "foundation/MHUserSettingsKeys.h"
#include "foundation/UserDefaults.h"
#include "model/ExecutionValidationParameters.h"
#include "shell/ApplicationHelpers.h"
#include "texts/Localizator.h"
#include "ui/base/AnimatedPlaceholderContext.h"
#include "ui/mainwindow/MainAutoCloseBottomBarViewController.h"
#include "ui/mainwindow/MainDefaultBottomBarViewController.h"
#include "ui/mainwindow/MainExecuteBottomBarViewController.h"
#include "ui/mainwindow/MainSimulateBottomBarViewController.h"

namespace N = MHExecuteNotifications;
namespace I = MHInternalNotifications;

MainBottomBarsController::MainBottomBarsController(const CommonObjects& common, const LanternwickObject& owner,
                                                   QWidget* placeholderView, QObject* parent)
    : QObject(parent)
    , m_common(common)
    , m_defaultBar(std::make_unique<MainDefaultBottomBarViewController>())
    , m_executeBar(std::make_unique<MainExecuteBottomBarViewController>())
    , m_autoCloseBar(std::make_unique<MainAutoCloseBottomBarViewController>())
{
    setLocalizator(&owner.localizator());
    setUserDefaults(&owner.userDefaults());
    setNotificationCenter(&owner.notificationCenter());

    // Loaded now, so that the bars follow the engine from its first notification.
    for (ViewControllerBase* bar : std::initializer_list<ViewControllerBase*> { m_defaultBar.get(), m_executeBar.get(), m_autoCloseBar.get() }) {
        setUpBar(*bar);
        bar->loadView();
    }
    LOG_DEBUG("Initializing bottom bar placeholder context due to first access...");
    m_placeholderContext = std::make_unique<AnimatedPlaceholderContext>(placeholderView);
    m_placeholderContext->replaceViewControllerWith(m_defaultBar.get());

    QHash<QString, Handler> observed = runHandlers();
    observed.insert(I::MHInternalNotificationSimulationParameterDidChange, &MainBottomBarsController::launchSimulationParametersDidChange);
    observed.insert(I::MHDataDidSaveToDisk, &MainBottomBarsController::dataDidSaveToDisk);
    for (auto handler = observed.cbegin(); handler != observed.cend(); ++handler) {
        m_observers.push_back(notificationCenter().addObserver(handler.key(), nullptr, [this, handler = handler.value()](const Notification& notification) {
            QMetaObject::invokeMethod(this, [this, handler, notification] { (this->*handler)(notification); }, Qt::QueuedConnection);
        }));
    }
    connect(&userDefaults(), &UserDefaults::changed, this, &MainBottomBarsController::autoCloseSettingChanged);
}

MainBottomBarsController::~MainBottomBarsController()
{
    m_observers.clear();
    m_placeholderContext.reset();
}

void MainBottomBarsController::setUpBar(ViewControllerBase& bar) const
{
    bar.setCommonObjects(m_common);
    bar.setLocalizator(&localizator());
    bar.setUserDefaults(&userDefaults());
    bar.setNotificationCenter(&notificationCenter());
}

const QHash<QString, MainBottomBarsController::Handler>& MainBottomBarsController::runHandlers()
{
    static const QHash<QString, Handler> handlers {
        { N::MHExecuteDelayDidStartNotification, &MainBottomBarsController::prepareForExecution },
        { N::MHExecuteDidStartNotification, &MainBottomBarsController::prepareForExecution },
        { N::MHExecuteAutoCloseDidStartNotification, &MainBottomBarsController::prepareForAutoClose },
        { N::MHExecuteDidEndNotification, &MainBottomBarsController::cleanupAfterExecution },
        { N::MHExecuteDidCancelNotification, &MainBottomBarsController::cleanupAfterCancellingExecution },
        { N::MHExecuteDidStartItemNotification, &MainBottomBarsController::itemExecutionDidStart },
        { N::MHExecuteDidEndItemNotification, &MainBottomBarsController::itemExecutionDidEnd },
        { N::MHExecuteDidFailItemNotification, &MainBottomBarsController::itemExecutionDidFail },
    };
    return handlers;
}

QStringList MainBottomBarsController::runNotificationNames()
{
    return runHandlers().keys();
}

void MainBottomBarsController::catchUp(const QList<Notification>& notifications)
{
    for (const Notification& notification : notifications) {
        if (const Handler handler = runHandlers().value(notification.name))
            (this->*handler)(notification);
    }
}

MainSimulateBottomBarViewController* MainBottomBarsController::simulateBottomBarViewController()
{
    if (!m_simulateBar) {
        LOG_DEBUG("Initializing simulate bottom bar controller due to first access...");
        m_simulateBar = std::make_unique<MainSimulateBottomBarViewController>();
        setUpBar(*m_simulateBar);
    }
    return m_simulateBar.get();
}

ViewControllerBase* MainBottomBarsController::currentBottomBar() const
{
    return m_placeholderContext->currentViewController();
}

std::shared_ptr<ExecutionValidationParameters> MainBottomBarsController::rowParameters() const
{
    if (m_launchParameters)
        return m_launchParameters;
    return m_simulationModeActive ? m_simulationParameters : nullptr;
}

void MainBottomBarsController::slideInRestingBar()
{
    // In simulation mode the simulation bar comes back, still holding the
    // values the user set.
    if (m_simulationModeActive)
        m_placeholderContext->slideViewControllerFromBottom(simulateBottomBarViewController());
    else
        m_placeholderContext->slideViewControllerFromTop(m_defaultBar.get());
}

// --- A run -------------------------------------------------------------------------

void MainBottomBarsController::prepareForExecution(const Notification&)
{
    LOG_VERBOSE("Execution did start, switching to execution mode...");
    // The countdown and the run each announce their start; the errors of the
    // last run go once, before this run can report any.
    if (!m_executionInProgress) {
        m_executionInProgress = true;
        m_waitingForAutoClose = false;
        for (ExecutionBottomBarViewControllerBase* bar : { static_cast<ExecutionBottomBarViewControllerBase*>(m_defaultBar.get()),
                                                          static_cast<ExecutionBottomBarViewControllerBase*>(m_autoCloseBar.get()) }) {
            bar->setDidLastExecutionFail(false);
            bar->resetExecutionErrors();
        }
        Q_EMIT executionDidStart();
    }
    setupLaunchParameters();
    m_placeholderContext->slideViewControllerFromBottom(m_executeBar.get());
}

void MainBottomBarsController::itemExecutionDidStart(const Notification& notification)
{
    LOG_VERBOSE("Item %1 execution did start...", notification.userInfo.value(N::itemDisplayName).toString());
    Q_EMIT itemExecutionChanged(notification.userInfo.value(N::itemID).value<ObjectID>(), true);
}

void MainBottomBarsController::itemExecutionDidEnd(const Notification& notification)
{
    LOG_VERBOSE("Item %1 execution did end...", notification.userInfo.value(N::itemDisplayName).toString());
    Q_EMIT itemExecutionChanged(notification.userInfo.value(N::itemID).value<ObjectID>(), false);
}

void MainBottomBarsController::itemExecutionDidFail(const Notification& notification)
{
    LOG_VERBOSE("Item %1 execution did fail...", notification.userInfo.value(N::itemDisplayName).toString());
    m_defaultBar->setDidLastExecutionFail(true);
    m_autoCloseBar->setDidLastExecutionFail(true);
    m_defaultBar->addExecutionErrorFromNotification(notification);
    m_autoCloseBar->addExecutionErrorFromNotification(notification);
}

void MainBottomBarsController::prepareForAutoClose(const Notification&)
{
    LOG_VERBOSE("Auto close did start, switching to auto close mode...");
    m_waitingForAutoClose = false;
    cleanupLaunchParameters();
    m_placeholderContext->slideViewControllerFromBottom(m_autoCloseBar.get());
}

void MainBottomBarsController::cleanupAfterExecution(const Notification& notification)
{
    const std::shared_ptr<ContextBatchInfo> batchInfo = ContextBatchInfo::fromUserInfo(notification.userInfo);
    endRunDisplay();
    // The auto close comes only when it is planned, nothing failed, it is
    // still switched on and there are items at all; otherwise the default
    // bar returns at once.
    const bool autoCloseFollows = batchInfo && batchInfo->isAutoCloseScheduled() && !batchInfo->didItemExecutionFail()
        && userDefaults().isAutoCloseAfterItemsExecutionEnabled() && m_common.modelObjectHelpers
        && !m_common.modelObjectHelpers->sortedLoginItemsForApplicationGroup().isEmpty();
    if (autoCloseFollows) {
        LOG_VERBOSE("Execution did end, waiting for auto close...");
        m_waitingForAutoClose = true;
    } else {
        LOG_VERBOSE("Execution did end, switching to normal mode...");
        slideInRestingBar();
    }
}

void MainBottomBarsController::cleanupAfterCancellingExecution(const Notification&)
{
    LOG_VERBOSE("Execution did cancel, switching to normal mode...");
    m_waitingForAutoClose = false;
    endRunDisplay();
    slideInRestingBar();
}

void MainBottomBarsController::autoCloseSettingChanged(const QString& keyPath)
{
    if (m_waitingForAutoClose && keyPath == QLatin1String(MHUserSettingsKeys.isAutoCloseAfterItemsExecutionEnabled)
        && !userDefaults().isAutoCloseAfterItemsExecutionEnabled()) {
        LOG_VERBOSE("Auto close was switched off, switching to normal mode...");
        m_waitingForAutoClose = false;
        slideInRestingBar();
    }
}

void MainBottomBarsController::endRunDisplay()
{
    cleanupLaunchParameters();
    m_executionInProgress = false;
    Q_EMIT executionDidEnd();
}

// --- The live snapshot of a countdown and run ----------------------------------------------

void MainBottomBarsController::setupLaunchParameters()
{
    if (m_launchParameters)
        return;
    if (!userDefaults().isLaunchParametersStatusEnabled()) {
        LOG_INFO("Preventing launch parameters setup due to user defaults.");
        return;
    }
    LOG_VERBOSE("Initializing launch parameters...");
    m_launchParameters = ExecutionValidationParameters::executionValidationParametersFromCurrentValues();
    Q_EMIT rowParametersChanged();
}

void MainBottomBarsController::cleanupLaunchParameters()
{
    if (!m_launchParameters)
        return;
    LOG_VERBOSE("Cleaning up launch parameters...");
    m_launchParameters = nullptr;
    Q_EMIT rowParametersChanged();
}

void MainBottomBarsController::updateLaunchParametersAndUserInterface()
{
    if (!m_launchParameters)
        return;
    LOG_DEBUG("Updating launch parameters and user interface...");
    m_launchParameters->updateWithCurrentValues();
    Q_EMIT rowParametersChanged();
}

void MainBottomBarsController::updateContentAccordingToModifierKeysState()
{
    if (m_launchParameters) {
        const bool isCountingDown = m_common.helpers && m_common.helpers->applicationContext().isDelayBeforeExecutionInProgress();
        if (!isCountingDown)
            return;
        LOG_VERBOSE("Updating launch parameters...");
        updateLaunchParametersAndUserInterface();
    }
    if (m_simulationModeActive) {
        LOG_VERBOSE("Notifying simulation bottom bar about modifier keys change...");
        simulateBottomBarViewController()->updateContentAccordingToModifierKeysState();
    }
}

void MainBottomBarsController::updateContentAccordingToNetworkState()
{
    if (!m_launchParameters)
        return;
    LOG_VERBOSE("Updating launch parameters...");
    updateLaunchParametersAndUserInterface();
}

// --- Simulation ------------------------------------------------------------------------------

void MainBottomBarsController::changeToLaunchSimulationMode(bool active)
{
    m_simulationModeActive = active;
    m_simulationParameters = nullptr;
    if (active) {
        LOG_VERBOSE("Changing to simulation mode...");
        m_placeholderContext->slideViewControllerFromBottom(simulateBottomBarViewController());
    } else {
        LOG_VERBOSE("Changing to normal mode...");
        slideInRestingBar();
    }
    LOG_DEBUG("Updating cell views with simulation mode parameters...");
    Q_EMIT rowParametersChanged();
}

void MainBottomBarsController::launchSimulationParametersDidChange(const Notification& notification)
{
    // A snapshot still on its way when the mode was left is not shown.
    if (!m_simulationModeActive)
        return;
    LOG_VERBOSE("Simulation parameters did change...");
    m_simulationParameters = notification.userInfo.value(I::parameters).value<std::shared_ptr<ExecutionValidationParameters>>();
    Q_EMIT rowParametersChanged();
}

void MainBottomBarsController::dataDidSaveToDisk(const Notification&)
{
    LOG_VERBOSE("Data did save to disk...");
    if (m_simulationModeActive)
        Q_EMIT rowParametersChanged();
}
