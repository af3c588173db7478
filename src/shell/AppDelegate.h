#pragma once
// Start-up and quit of the application and its reactions at run time: the
// settings and logging, the database, the windows the settings ask for, the
// launch chain, the observers that start the later chains, and at quit the
// times the next start compares against and the session save.
//
// Main thread only; the observers move their work there.
#include "foundation/NotificationCenter.h"

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

class ApplicationHelpers;
class Error;
class ChainStarter;
class DialogPresenter;
class UserDefaults;
class WakeWatcher;
class WindowControllers;

class AppDelegate {
public:
    struct Collaborators {
        ApplicationHelpers* helpers = nullptr;
        ChainStarter* chains = nullptr;
        WindowControllers* windows = nullptr;
        DialogPresenter* dialogs = nullptr;
        // Null: wake from sleep is not watched.
        WakeWatcher* wakeWatcher = nullptr;
        // Ends the event loop; applicationWillTerminate() follows.
        std::function<void()> terminate;
        // Starts a new copy of the program that waits for this one to end;
        // false (with the reason) when it could not be started.
        std::function<bool(QString* reason)> startNewCopy;
        // This copy was started by a relaunch (--relaunch-after): it skips running the items.
        bool startedAsRelaunch = false;
        // The process-wide ones unless given (the same the helpers use).
        UserDefaults* userDefaults = nullptr;
        NotificationCenter* notificationCenter = nullptr;
    };

    // The one-time conversions, settings, logging and the first network sample.
    explicit AppDelegate(Collaborators collaborators);
    ~AppDelegate();
    AppDelegate(const AppDelegate&) = delete;
    AppDelegate& operator=(const AppDelegate&) = delete;

    // The start-up ended before the event loop (an old database that cannot
    // be read): the program ends without launching.
    bool isTerminatedAtStart() const { return m_terminatedAtStart; }

    void applicationWillFinishLaunching();
    void applicationDidFinishLaunching();
    void applicationWillTerminate();
    // Another start of the program asked this one to come forward.
    void applicationShouldHandleReopen();

    bool isSaveWhileClosingPrevented() const { return m_saveWhileClosingPrevented; }
    void setIsSaveWhileClosingPrevented(bool value) { m_saveWhileClosingPrevented = value; }

    void initializeObservations();

    // --- Menu commands (names in ApplicationCommands) ---------------------------
    bool respondsToCommand(const QString& command) const;
    // Whether the command can run now; title is set for the commands whose
    // menu title follows the state.
    bool validateCommand(const QString& command, QString* title);
    void performCommand(const QString& command);

    // Runs the items now, as the on-demand chain.
    void executeLoginItems();
    void toggleSimulationMode();
    void disableLanternwickAndMoveItemsToSystemPreferences();
    // Replaces the store with a backup the user chooses, then relaunches.
    void restoreDatabaseFromBackup();
    void contactSupport();
    // Quits once a new copy has started; the new copy skips running the items.
    void relaunchApplication();
    void showMainWindow();
    void showWelcomeWindow();
    void showAboutWindow();
    void showPreferencesWindow();
    void showGeneralPreferences();

private:
    void showMainWindowOrDatabaseFailure();
    void startLaunchChain(bool disabled, bool executionOff, bool relaunch);
    void computerDidWake();
    void systemItemsDidEndReading(const QVariantMap& userInfo);
    void lanternwickEnabledStatusDidChange();
    void lanternwickEnabledSettingDidChange();
    void saveAfter(const char* change);
    // Idle: nothing runs and the launch simulation is off.
    bool isIdle();
    void presentError(const Error& error);
    // Runs task on the main thread (now when already there), while this lives.
    void onMainThread(std::function<void()> task);

    Collaborators m_;
    bool m_saveWhileClosingPrevented = false;
    bool m_terminatedAtStart = false;
    // Declared before the observers so that it outlives them: a post on
    // another thread may still reach a handler while they are removed.
    const std::shared_ptr<int> m_alive = std::make_shared<int>(0);
    // Receiver of the Qt connections; they end with it.
    std::unique_ptr<QObject> m_observer;
    std::vector<NotificationCenter::Token> m_tokens;
};
