#include "shell/AppDelegate.h"

#include "engine/ApplicationContext.h"
#include "engine/ContextBatchInfo.h"
#include "engine/LoginRecord.h"
#include "foundation/DispatchQueue.h"
#include "foundation/Log.h"
#include "foundation/MHExecuteNotifications.h"
#include "foundation/MHInternalNotifications.h"
#include "foundation/MHSystemItemsNotifications.h"
#include "foundation/MHUserSettingsKeys.h"
#include "foundation/UserDefaults.h"
#include "model/ObjectContext.h"
#include "model/UndoManager.h"
#include "platform/WakeWatcher.h"
#include "shell/ApplicationCommands.h"
#include "shell/ApplicationHelpers.h"
#include "shell/ChainStarter.h"
#include "shell/DataMigrationsAtStart.h"
#include "shell/WindowControllers.h"
#include "texts/DialogPresenter.h"
#include "texts/Localizator.h"

#include <QDateTime>
#include <QHash>

using Kind = ApplicationStateKind;

AppDelegate::AppDelegate(Collaborators collaborators)
    : m_(std::move(collaborators))
    , m_observer(std::make_unique<QObject>())
{
    if (!m_.userDefaults)
        m_.userDefaults = &UserDefaults::standard();
    if (!m_.notificationCenter)
        m_.notificationCenter = &NotificationCenter::defaultCenter();
    DataMigrationsAtStart migrations(*m_.helpers, *m_.userDefaults, *m_.dialogs);
    // What the steps before it log goes out once logging is set up.
    log_hold_until_initialized();
    // Before the settings are first written, so that the old ones are kept.
    migrations.migrateDatabaseOutOfCointainerIfNecessary();
    m_.helpers->initializeUserDefaults();
    m_.helpers->initializeLoggingSystem();
    if (!migrations.migrateDatabaseToTextStorageIfNecessary()) {
        m_terminatedAtStart = true;
        m_.terminate();
        return;
    }
    m_.helpers->fetchTimeIntensiveBlockingValues();
    if (!m_.helpers->installKeelhouseServiceFile())
        LOG_ERROR("Failed installing the login items service, system items cannot be read!");
}

AppDelegate::~AppDelegate() = default;

void AppDelegate::applicationWillFinishLaunching()
{
    // There is no Applications folder to offer a move into here.
    LOG_NORMAL("Application will finish launching...");
}

void AppDelegate::applicationDidFinishLaunching()
{
    LOG_NORMAL("Application did finish launching...");
    const UserDefaults& settings = *m_.userDefaults;
    const bool showMainWindow = settings.showMainWindowAfterLaunch();
    const bool showWelcome = settings.showWelcomeWindow();
    const bool enabled = settings.isLanternwickEnabled();
    const bool afterLaunch = settings.isItemsExecutionAfterLaunchEnabled();
    const bool afterWake = afterLaunch || settings.isItemsExecutionAfterAwakingFromSleepEnabled();
    // A relaunch is the start the old copy asked for; a mark without it was
    // left by a relaunch cut short (a logout), and the login still runs its items.
    const bool relaunch = m_.startedAsRelaunch;
    const bool relaunchMarked = settings.isLaunchAfterRestart();
    if (relaunchMarked)
        m_.userDefaults->setIsLaunchAfterRestart(false);
    if (relaunch)
        LOG_INFO("We're relaunching, disabling normal launch sequence...");
    else if (relaunchMarked)
        LOG_WARN("A relaunch that did not finish left its mark, starting normally...");

    m_.windows->initializeDockAndStatusBar();
    LOG_INFO("Preparing %1main window...", showMainWindow ? QStringLiteral("and showing ") : QString());
    if (!m_.helpers->managedObjectContext()) {
        if (!m_.helpers->presentDatabaseInitializationError(*m_.dialogs)) {
            LOG_INFO("Quitting due to initialization error!");
            // Otherwise start-up stops here, without items, observers or
            // windows, and support gets what it needs to help.
            if (m_.helpers->databaseInitializationUserChoseQuit())
                m_.terminate();
            else
                m_.windows->showFeedbackDialog(QString());
            return;
        }
    }
    m_.windows->prepareMainWindow();
    initializeObservations();
    if (!showMainWindow)
        m_.windows->closeMainWindow();

    startLaunchChain(!enabled, !afterLaunch && !afterWake, relaunch);

    if (showWelcome) {
        LOG_VERBOSE("Showing welcome window...");
        m_.windows->showWelcomeWindow();
    }
    if (!((enabled || showWelcome) && (afterLaunch || afterWake))) {
        LOG_VERBOSE("Lanternwick is disabled, showing general preferences...");
        m_.windows->showGeneralPreferences();
    }
}

void AppDelegate::startLaunchChain(bool disabled, bool executionOff, bool relaunch)
{
    LOG_INFO("Starting initial processes...");
    auto batch = std::make_shared<ContextBatchInfo>();
    batch->setIsExecutingAfterLaunch(true);
    batch->setIsAutoCloseScheduled(m_.userDefaults->isAutoCloseAfterItemsExecutionEnabled());

    if (disabled) {
        m_.chains->startChain({ { Kind::SearchMissingItems, [] { LOG_WARN("Lanternwick or execution is disabled!"); } } }, batch);
        return;
    }
    // The items are not run then, but the session's list is still read and
    // watched, so that new login items are noticed.
    if (executionOff || relaunch) {
        ChainStarter::Step search { Kind::SearchMissingItems };
        if (executionOff)
            search.didEnd = [] { LOG_WARN("Lanternwick or execution is disabled!"); };
        else
            search.didEnd = [] { LOG_WARN("Relaunching..."); };
        m_.chains->startChain({ search, { Kind::ReadSystemItems }, { Kind::EnableSystemItemsChange } }, batch);
        return;
    }
    m_.chains->startChain({ { Kind::SearchMissingItems },
                            { Kind::DelayBeforeExecution },
                            { Kind::ExecuteItems },
                            { Kind::ReadSystemItems },
                            { Kind::EnableSystemItemsChange },
                            { Kind::AutoClose } },
                          batch);
}

void AppDelegate::applicationWillTerminate()
{
    LOG_NORMAL("Terminating app on %1...", QDateTime::currentDateTime().toString(Qt::ISODate));
    // Quitting may come at any moment of a run: nothing runs on while the
    // database is saved and the objects go.
    m_.helpers->stopEngine();
    m_.userDefaults->setLastBootTime(m_.helpers->calculatedBootTime());
    LoginRecord::storeCurrentLogin(*m_.userDefaults, *m_.helpers);
    if (!m_saveWhileClosingPrevented)
        m_.helpers->saveDataToDiskUsingChangeBackup(false);
    m_.helpers->removeUnusedKeptAutostartEntries();
    m_.helpers->cleanUp();
}

void AppDelegate::applicationShouldHandleReopen()
{
    LOG_VERBOSE("Asked to come forward, showing main window...");
    showMainWindowOrDatabaseFailure();
}

void AppDelegate::showMainWindowOrDatabaseFailure()
{
    // No window may be built over a database that is not loaded.
    if (!m_.helpers->modelEditing()) {
        LOG_INFO("No database is loaded, bringing its failure forward instead of a window");
        m_.windows->showDatabaseFailure();
        return;
    }
    m_.windows->showMainWindow();
}

// --- Observers ---------------------------------------------------------------------

void AppDelegate::onMainThread(std::function<void()> task)
{
    if (is_main_thread()) {
        task();
        return;
    }
    dispatch_main_thread([alive = std::weak_ptr<int>(m_alive), task = std::move(task)] {
        if (alive.lock())
            task();
    });
}

void AppDelegate::initializeObservations()
{
    LOG_DEBUG("Initializing observations...");
    NotificationCenter& center = *m_.notificationCenter;
    if (m_.wakeWatcher)
        m_.wakeWatcher->setWakeHandler([this] { onMainThread([this] { computerDidWake(); }); });

    m_tokens.push_back(center.addObserver(MHExecuteNotifications::MHExecuteAutoCloseDidEndNotification, nullptr,
                                          [this, alive = std::weak_ptr<int>(m_alive)](const Notification&) {
                                              LOG_INFO("Auto close did end, terminating application...");
                                              dispatch_main_thread([this, alive] {
                                                  if (alive.lock())
                                                      m_.terminate();
                                              });
                                          }));
    m_tokens.push_back(center.addObserver(MHSystemItemsNotifications::MHSystemItemsChangeNotificationDidChange, nullptr,
                                          [this](const Notification&) {
                                              LOG_INFO("System items did change, checking for new items...");
                                              onMainThread([this] { m_.chains->startChain({ { Kind::ReadSystemItems } }, nullptr); });
                                          }));
    m_tokens.push_back(center.addObserver(MHSystemItemsNotifications::MHReadSystemItemsDidEndNotification, nullptr,
                                          [this](const Notification& notification) {
                                              onMainThread([this, userInfo = notification.userInfo] { systemItemsDidEndReading(userInfo); });
                                          }));
    m_tokens.push_back(center.addObserver(MHInternalNotifications::MHInternalNotificationLanternwickEnabledStatusDidChanged, nullptr,
                                          [this](const Notification&) { onMainThread([this] { lanternwickEnabledStatusDidChange(); }); }));

    if (ObjectContext* context = m_.helpers->managedObjectContext()) {
        UndoManager* undo = &context->undoManager();
        QObject::connect(undo, &UndoManager::didUndo, m_observer.get(), [this] { saveAfter("undo"); });
        QObject::connect(undo, &UndoManager::didRedo, m_observer.get(), [this] { saveAfter("redo"); });
    }
    // Queued to the main thread when a setting is written elsewhere.
    QObject::connect(m_.userDefaults, &UserDefaults::changed, m_observer.get(), [this](const QString& key) {
        if (key == QLatin1String(MHUserSettingsKeys.isLanternwickEnabled))
            lanternwickEnabledSettingDidChange();
    });
}

void AppDelegate::computerDidWake()
{
    LOG_INFO("Computer did wake from sleep...");
    const UserDefaults& settings = *m_.userDefaults;
    if (settings.isItemsExecutionAfterLaunchEnabled() && settings.isAutoCloseAfterItemsExecutionEnabled()) {
        LOG_VERBOSE("Auto close is enabled, execution after awake from sleep is prevented...");
        return;
    }
    if (!settings.isItemsExecutionAfterAwakingFromSleepEnabled()) {
        LOG_VERBOSE("Execution after awake from sleep is disabled...");
        return;
    }
    LOG_VERBOSE("Executing items after awake from sleep...");
    auto batch = std::make_shared<ContextBatchInfo>();
    batch->setIsExecutingAfterAwakeFromSleep(true);
    m_.chains->startChain({ { Kind::DisableSystemItemsChange },
                            { Kind::DelayBeforeExecution },
                            { Kind::ExecuteItems },
                            { Kind::ReadSystemItems },
                            { Kind::EnableSystemItemsChange } },
                          batch);
}

void AppDelegate::systemItemsDidEndReading(const QVariantMap& userInfo)
{
    LOG_VERBOSE("System items did end reading...");
    // A reading that failed is shown too: entries may wait that the user
    // cannot see, and only the user can mend the cause.
    if (userInfo.value(MHSystemItemsNotifications::items).toList().isEmpty()
        && userInfo.value(MHSystemItemsNotifications::readError).toString().isEmpty())
        return;
    if (m_.windows->isLaunchSimulationModeActive()) {
        LOG_DEBUG("Exiting simulation mode due to new system items detected...");
        m_.windows->toggleSimulationMode();
    }
    LOG_DEBUG("Showing main window...");
    m_.windows->showMainWindowInBackground();
}

void AppDelegate::lanternwickEnabledStatusDidChange()
{
    LOG_VERBOSE("Lanternwick enabled status changed...");
    if (!m_.userDefaults->isLanternwickEnabled())
        m_.windows->showGeneralPreferences();
}

void AppDelegate::lanternwickEnabledSettingDidChange()
{
    if (m_.userDefaults->isLanternwickEnabled()) {
        LOG_VERBOSE("Lanternwick was just enabled.");
        m_.chains->startChain({ { Kind::ReadSystemItems }, { Kind::EnableSystemItemsChange } }, nullptr);
    } else {
        LOG_VERBOSE("Lanternwick was just disabled.");
        m_.chains->startChain({ { Kind::DisableSystemItemsChange }, { Kind::UninstallLanternwick } }, nullptr);
    }
}

void AppDelegate::saveAfter(const char* change)
{
    LOG_VERBOSE("Saving after %1...", change);
    m_.helpers->saveDataToDiskUsingChangeBackup(true);
}

// --- Menu commands ---------------------------------------------------------------

namespace {

using Action = void (AppDelegate::*)();

const QHash<QString, Action>& commandActions()
{
    namespace C = ApplicationCommands;
    static const QHash<QString, Action> actions {
        { C::executeLoginItems, &AppDelegate::executeLoginItems },
        { C::toggleSimulationMode, &AppDelegate::toggleSimulationMode },
        { C::disableLanternwickAndMoveItemsToSystemPreferences, &AppDelegate::disableLanternwickAndMoveItemsToSystemPreferences },
        { C::restoreDatabaseFromBackup, &AppDelegate::restoreDatabaseFromBackup },
        { C::contactSupport, &AppDelegate::contactSupport },
        { C::relaunchApplication, &AppDelegate::relaunchApplication },
        { C::showMainWindow, &AppDelegate::showMainWindow },
        { C::showWelcomeWindow, &AppDelegate::showWelcomeWindow },
        { C::showAboutWindow, &AppDelegate::showAboutWindow },
        { C::showPreferencesWindow, &AppDelegate::showPreferencesWindow },
        { C::showGeneralPreferences, &AppDelegate::showGeneralPreferences },
    };
    return actions;
}

} // namespace

bool AppDelegate::respondsToCommand(const QString& command) const
{
    return commandActions().contains(command);
}

bool AppDelegate::isIdle()
{
    return !m_.helpers->applicationContext().isExecutionInProgress() && !m_.windows->isLaunchSimulationModeActive();
}

bool AppDelegate::validateCommand(const QString& command, QString* title)
{
    namespace C = ApplicationCommands;
    ApplicationContext& context = m_.helpers->applicationContext();
    const auto focusedWithItems = [&] { return m_.windows->isMainWindowFocused() && context.isAtLeastOneApplicationItemAvailable(nullptr); };
    if (command == C::toggleSimulationMode) {
        // Only a run disables it, so that the simulation can always be left.
        if (title)
            *title = Localizator::shared().menuItemTitleForTogglinngSimulationMode(m_.windows->isLaunchSimulationModeActive());
        return !context.isExecutionInProgress() && focusedWithItems();
    }
    if (command == C::executeLoginItems)
        return isIdle() && focusedWithItems();
    // Switching off what is off would only hand the items back again.
    if (command == C::disableLanternwickAndMoveItemsToSystemPreferences)
        return isIdle() && m_.userDefaults->isLanternwickEnabled();
    if (command == C::restoreDatabaseFromBackup || command == C::contactSupport)
        return isIdle();
    if (command == C::showWelcomeWindow || command == C::showPreferencesWindow)
        return isIdle() && m_.windows->hasMainWindowController();
    return true;
}

void AppDelegate::performCommand(const QString& command)
{
    if (const Action action = commandActions().value(command))
        (this->*action)();
}

void AppDelegate::executeLoginItems()
{
    LOG_NORMAL("Executing login items...");
    auto batch = std::make_shared<ContextBatchInfo>();
    batch->setIsExecutingOnDemand(true);
    m_.windows->closeWelcomeWindow();
    m_.windows->closePreferencesWindow();
    // The watcher is off while the items run, so that their own changes to
    // the session's list do not start a read.
    m_.chains->startChain({ { Kind::DisableSystemItemsChange },
                            { Kind::DelayBeforeExecution },
                            { Kind::ExecuteItems },
                            { Kind::ReadSystemItems },
                            { Kind::EnableSystemItemsChange } },
                          batch);
}

void AppDelegate::toggleSimulationMode()
{
    LOG_NORMAL("Toggling simulation mode...");
    m_.windows->toggleSimulationMode();
}

void AppDelegate::disableLanternwickAndMoveItemsToSystemPreferences()
{
    LOG_NORMAL("Disabling Lanternwick and moving items to System Preferences...");
    if (!Localizator::shared().runDisableLanternwickDialogWithItems(*m_.dialogs))
        return;
    // The write starts the disable chain, which hands the items back.
    m_.userDefaults->setIsLanternwickEnabled(false);
    m_.notificationCenter->post(MHInternalNotifications::MHInternalNotificationLanternwickEnabledStatusDidChanged, this);
}

void AppDelegate::restoreDatabaseFromBackup()
{
    LOG_NORMAL("Restoring database from backup...");
    ApplicationHelpers& helpers = *m_.helpers;
    const std::optional<QString> backup = Localizator::shared().runRestoreDatabaseDialog(*m_.dialogs, helpers, helpers);
    if (!backup) {
        LOG_INFO("User cancelled backup.");
        return;
    }
    // The copy is written beside the store and renamed over it, so the store
    // is never missing and a failed copy leaves it as it was; the store it
    // replaces is archived first. Nothing else in the data folder is touched
    // (a temporary backup an earlier version left there is the user's).
    Error error;
    if (!helpers.restoreStoreFromBackup(*backup, &error)) {
        Error::log(QStringLiteral("Failed copying backup file %1!").arg(*backup), error);
        presentError(Localizator::shared().errorForFailedDatabaseRestoreWithUnderlyingError(error));
        return;
    }
    // Until the relaunch, no save may write the live data over the restored file.
    helpers.preventSavingUntilRelaunch();
    m_saveWhileClosingPrevented = true;
    relaunchApplication();
}

void AppDelegate::contactSupport()
{
    LOG_NORMAL("Contacting support...");
    m_.windows->showFeedbackDialog(QString());
}

void AppDelegate::relaunchApplication()
{
    LOG_INFO("Restarting application...");
    // The flag is only set once the new copy runs: a copy that never starts
    // must not make the next start skip the items.
    QString reason;
    if (!m_.startNewCopy || !m_.startNewCopy(&reason)) {
        LOG_ERROR("Failed starting a new copy of the application: %1", reason);
        presentError(Localizator::shared().errorForFailedRelaunch(reason));
        return;
    }
    m_.userDefaults->setIsLaunchAfterRestart(true);
    m_.terminate();
}

void AppDelegate::showMainWindow()
{
    LOG_NORMAL("Showing application main window...");
    showMainWindowOrDatabaseFailure();
}

void AppDelegate::showWelcomeWindow()
{
    LOG_NORMAL("Showing welcome window...");
    m_.windows->showWelcomeWindow();
}

void AppDelegate::showAboutWindow()
{
    LOG_NORMAL("Showing about window...");
    m_.windows->showAboutWindow();
}

void AppDelegate::showPreferencesWindow()
{
    LOG_NORMAL("Showing application preferences window...");
    m_.windows->showPreferencesWindow();
}

void AppDelegate::showGeneralPreferences()
{
    m_.windows->showGeneralPreferences();
}

void AppDelegate::presentError(const Error& error)
{
    m_.dialogs->runModal(DialogPresenter::requestForError(error));
}
