// The application: one per session; it reads its settings and database,
// runs the login items through the engine and reacts to the session until it
// is asked to quit.
#include "DesktopHelpOpener.h"
#include "QtModifierKeysProvider.h"
#include "QuitOnSignals.h"
#include "Relaunch.h"
#include "ScreenshotWriter.h"

#include "foundation/AtomicFile.h"
#include "foundation/Log.h"
#include "foundation/UserDefaults.h"
#include "platform/linux/LinuxWorkspace.h"
#include "platform/linux/LogindWakeWatcher.h"
#include "platform/linux/XcbModifierKeysProvider.h"
#include "shell/AppDelegate.h"
#include "shell/ApplicationBundle.h"
#include "shell/ApplicationHelpers.h"
#include "shell/ContextChainStarter.h"
#include "shell/SingleInstance.h"
#include "texts/Localizator.h"
#include "ui/base/MessageBoxDialogPresenter.h"
#include "ui/views/ApplicationAccessible.h"
#include "ui/windows/ApplicationWindowControllers.h"

#include <QApplication>
#include <QIcon>
#include <QTimer>
#include <memory>

int main(int argc, char** argv)
{
    // Everything logged before the settings are read reaches the log file too.
    log_hold_until_initialized();
    // Before any thread starts, as it sets a variable of the environment.
    LinuxWorkspace::useLauncher(ApplicationBundle::current().launcherProgramPath());
    // Links the interface, which installs itself with the application.
    ApplicationAccessible::install();
    QApplication application(argc, argv);
    // Lives in the background with the dock or menu-bar item, not by its windows.
    QApplication::setQuitOnLastWindowClosed(false);
    // Icons the desktop's theme lacks (or all of them, without a desktop
    // session) come from the theme Debian installs with GTK.
    QIcon::setFallbackThemeName(QStringLiteral("Adwaita"));
    // From the start: the session may end the program during a dialog at start.
    QuitOnSignals quitOnSignals;

    // Every part the delegate reaches ends before the event loop's objects.
    ApplicationHelpers helpers;
    SingleInstance instance(helpers.applicationLockFilePath());
    const std::optional<qint64> previous = Relaunch::previousProcess(QCoreApplication::arguments());
    if (previous)
        instance.waitForRelease(*previous, 30000);
    const SingleInstance::Claim claim = instance.claim(previous ? 5000 : 0);
    if (claim != SingleInstance::Claim::Owned) {
        // A relaunch that gave up on the old copy starts nothing: the next
        // real start must not take itself for the relaunch.
        if (previous)
            UserDefaults::standard().setIsLaunchAfterRestart(false);
        if (claim == SingleInstance::Claim::RunningInThisSession)
            return instance.activateRunningInstance() ? 0 : 1;
        // Nothing is read or written: the other copy's edits stay its own.
        log_initialize(false, 0);
        LOG_WARN("Lanternwick already runs in another session, quitting without saving");
        MessageBoxDialogPresenter dialogs;
        dialogs.runModal(DialogPresenter::requestForError(Localizator::shared().errorForRunningInAnotherSession()));
        return 1;
    }

    // Only now: a copy that was refused must not touch the data folder.
    AtomicFile::removeLeftovers(helpers.applicationDatabasePath());

    // Windows and dialogs are titled by it, and screen readers announce it.
    QGuiApplication::setApplicationDisplayName(helpers.applicationName());
    // On X11 the server tells the keys held whatever window has the focus.
    if (QGuiApplication::platformName() == QLatin1String("xcb"))
        helpers.setModifierKeysProvider(std::make_shared<XcbModifierKeysProvider>());
    else
        helpers.setModifierKeysProvider(std::make_shared<QtModifierKeysProvider>(QGuiApplication::platformName()));
    helpers.setHelpOpener(std::make_shared<DesktopHelpOpener>());
    ContextChainStarter chains(helpers);
    const std::function<void()> terminate = [] { QCoreApplication::quit(); };
    ApplicationWindowControllers windows(helpers, terminate);
    MessageBoxDialogPresenter dialogs([] { return QApplication::activeWindow(); });
    LogindWakeWatcher wakeWatcher;

    AppDelegate::Collaborators collaborators;
    collaborators.helpers = &helpers;
    collaborators.chains = &chains;
    collaborators.windows = &windows;
    collaborators.dialogs = &dialogs;
    collaborators.wakeWatcher = &wakeWatcher;
    collaborators.terminate = terminate;
    collaborators.startNewCopy = Relaunch::startNewCopy;
    collaborators.startedAsRelaunch = previous.has_value();
    AppDelegate delegate(collaborators);
    // Ended by a signal during start-up (a dialog was dismissed): nothing was
    // loaded, so there is nothing to save.
    if (quitOnSignals.wasSignalled())
        return 0;
    // Quitting does nothing before the event loop runs.
    if (delegate.isTerminatedAtStart())
        return 1;
    windows.setApplicationDelegate(&delegate);
    instance.setActivationHandler([&delegate] { delegate.applicationShouldHandleReopen(); });

    delegate.applicationWillFinishLaunching();
    QTimer::singleShot(0, &application, [&delegate] { delegate.applicationDidFinishLaunching(); });
    // Pictures of the windows for looking at them (scripts/screenshots).
    const QString screenshots = qEnvironmentVariable("LANTERNWICK_SCREENSHOTS");
    std::unique_ptr<ScreenshotWriter> screenshotWriter;
    if (!screenshots.isEmpty())
        screenshotWriter = std::make_unique<ScreenshotWriter>(windows, screenshots);
    const int status = QApplication::exec();
    delegate.applicationWillTerminate();
    return status;
}
