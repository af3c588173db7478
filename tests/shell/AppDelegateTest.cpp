// The application delegate's decisions: which chains start at launch and on
// each outside event, what it shows, and what it records and saves at quit.
#include "support/ShellTest.h"

#include "engine/ContextBatchInfo.h"
#include "foundation/DispatchQueue.h"
#include "foundation/Log.h"
#include "foundation/MHExecuteNotifications.h"
#include "foundation/MHInternalNotifications.h"
#include "foundation/MHSystemItemsNotifications.h"
#include "foundation/PropertyList.h"
#include "model/DBDelayItem.h"
#include "model/DBLoginGroup.h"
#include "model/ObjectContext.h"
#include "model/UndoManager.h"
#include "platform/fake/FakeWakeWatcher.h"
#include "shell/AppDelegate.h"
#include "shell/ApplicationCommands.h"
#include "shell/ApplicationHelpers.h"
#include "shell/ModelEditing.h"
#include "shell/ChainStarter.h"
#include "shell/LoggingDialogPresenter.h"
#include "shell/WindowControllers.h"

#include <JlCompress.h>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <thread>

namespace {

using Kind = ApplicationStateKind;

struct StartedChain {
    QList<ChainStarter::Step> steps;
    std::shared_ptr<ContextBatchInfo> info;

    QList<Kind> kinds() const
    {
        QList<Kind> result;
        for (const ChainStarter::Step& step : steps)
            result.append(step.kind);
        return result;
    }
};

class RecordingChainStarter : public ChainStarter {
public:
    void startChain(const QList<Step>& steps, std::shared_ptr<ContextBatchInfo> info) override { chains.append({ steps, std::move(info) }); }
    QList<StartedChain> chains;
};

class RecordingWindows : public WindowControllers {
public:
    void initializeDockAndStatusBar() override { calls.append("dock"); }
    void prepareMainWindow() override { calls.append("prepare"); }
    void closeMainWindow() override { calls.append("close"); }
    void showMainWindow() override { calls.append("main"); }
    void showMainWindowInBackground() override { calls.append("main in background"); }
    void showWelcomeWindow() override { calls.append("welcome"); }
    void showGeneralPreferences() override { calls.append("general"); }
    bool isLaunchSimulationModeActive() const override { return simulating; }
    void toggleSimulationMode() override
    {
        simulating = !simulating;
        calls.append("simulation");
    }
    void showPreferencesWindow() override { calls.append("preferences"); }
    void showAboutWindow() override { calls.append("about"); }
    void showFeedbackDialog(const QString&) override { calls.append("feedback"); }
    void showDatabaseFailure() override { calls.append("database failure"); }
    void closeWelcomeWindow() override { calls.append("close welcome"); }
    void closePreferencesWindow() override { calls.append("close preferences"); }
    bool hasMainWindowController() const override { return hasMainWindow; }
    bool isMainWindowFocused() const override { return focused; }
    QStringList calls;
    bool simulating = false;
    bool hasMainWindow = true;
    bool focused = true;
};

// Answers each dialog with the next button of its list (the last one again
// when the list runs out), after running its hook.
class AnsweringPresenter : public DialogPresenter {
public:
    Answer runModal(const Request& request) override
    {
        requests.append(request);
        if (beforeAnswer)
            beforeAnswer();
        const int button = buttons.isEmpty() ? 0 : buttons.size() > 1 ? buttons.takeFirst() : buttons.first();
        return { button, false };
    }
    QList<int> buttons;
    std::function<void()> beforeAnswer;
    QList<Request> requests;
};

const QList<Kind> kLaunchChain { Kind::SearchMissingItems, Kind::DelayBeforeExecution, Kind::ExecuteItems,
                                 Kind::ReadSystemItems, Kind::EnableSystemItemsChange, Kind::AutoClose };
const QList<Kind> kWatchOnlyChain { Kind::SearchMissingItems, Kind::ReadSystemItems, Kind::EnableSystemItemsChange };

void processEvents()
{
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
}

class AppDelegateTest : public ShellTest {
protected:
    AppDelegate& makeDelegate()
    {
        delegate.reset();
        start();
        AppDelegate::Collaborators parts;
        parts.helpers = helpers.get();
        parts.chains = &chains;
        parts.windows = &windows;
        parts.dialogs = presenter;
        parts.wakeWatcher = &wake;
        parts.terminate = [this] { ++terminations; };
        parts.startNewCopy = [this](QString* reason) {
            ++newCopies;
            *reason = QStringLiteral("No such program");
            return newCopyStarts;
        };
        parts.userDefaults = settings.get();
        parts.notificationCenter = &center;
        parts.startedAsRelaunch = startedAsRelaunch;
        delegate = std::make_unique<AppDelegate>(parts);
        return *delegate;
    }

    // A delegate that has launched and whose launch chain is forgotten.
    AppDelegate& launched()
    {
        makeDelegate().applicationDidFinishLaunching();
        chains.chains.clear();
        windows.calls.clear();
        return *delegate;
    }

    void TearDown() override
    {
        delegate.reset();
        processEvents();
    }

    RecordingChainStarter chains;
    RecordingWindows windows;
    LoggingDialogPresenter dialogs;
    AnsweringPresenter answers;
    DialogPresenter* presenter = &dialogs;
    FakeWakeWatcher wake;
    int terminations = 0;
    int newCopies = 0;
    bool newCopyStarts = true;
    bool startedAsRelaunch = false;
    std::unique_ptr<AppDelegate> delegate;
};

struct LaunchCase {
    const char* name;
    bool enabled;
    bool afterLaunch;
    bool afterWake;
    bool relaunch;
    bool welcome;
    bool startedAfterBoot;
    QList<Kind> chain;
    bool showsGeneral;
};

class LaunchDecisionTest : public AppDelegateTest, public testing::WithParamInterface<LaunchCase> {};

TEST_P(LaunchDecisionTest, PushesTheChainTheSettingsAskFor)
{
    const LaunchCase& c = GetParam();
    startedAsRelaunch = c.relaunch;
    makeDelegate();
    settings->setIsLanternwickEnabled(c.enabled);
    settings->setIsItemsExecutionAfterLaunchEnabled(c.afterLaunch);
    settings->setIsItemsExecutionAfterAwakingFromSleepEnabled(c.afterWake);
    settings->setIsLaunchAfterRestart(c.relaunch);
    settings->setShowWelcomeWindow(c.welcome);
    settings->setIsAutoCloseAfterItemsExecutionEnabled(true);
    const QDateTime boot = QDateTime::currentDateTime().addSecs(-600);
    times->setBootTime(boot);
    // The engine compares the boot times; the delegate pushes the same chain either way.
    settings->setLastBootTime(c.startedAfterBoot ? boot.addDays(-1) : boot);

    delegate->applicationDidFinishLaunching();

    ASSERT_EQ(chains.chains.size(), 1);
    const StartedChain& chain = chains.chains.first();
    EXPECT_EQ(chain.kinds(), c.chain);
    ASSERT_TRUE(chain.info);
    EXPECT_TRUE(chain.info->isExecutingAfterLaunch());
    EXPECT_TRUE(chain.info->isAutoCloseScheduled());
    EXPECT_EQ(windows.calls.contains("general"), c.showsGeneral);
    EXPECT_EQ(windows.calls.contains("welcome"), c.welcome);
    // Only this one start counts as a relaunch.
    EXPECT_FALSE(settings->isLaunchAfterRestart());
    for (const ChainStarter::Step& step : chain.steps) {
        if (step.didEnd)
            step.didEnd();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Settings, LaunchDecisionTest,
    testing::Values(
        LaunchCase { "Normal", true, true, false, false, false, true, kLaunchChain, false },
        LaunchCase { "NotFirstRunAfterBoot", true, true, false, false, false, false, kLaunchChain, false },
        LaunchCase { "OnlyAfterWake", true, false, true, false, false, true, kLaunchChain, false },
        LaunchCase { "Disabled", false, true, true, false, false, true, { Kind::SearchMissingItems }, true },
        LaunchCase { "DisabledWithWelcome", false, true, false, false, true, true, { Kind::SearchMissingItems }, false },
        LaunchCase { "ExecutionOff", true, false, false, false, false, true, kWatchOnlyChain, true },
        LaunchCase { "ExecutionOffWithWelcome", true, false, false, false, true, true, kWatchOnlyChain, true },
        LaunchCase { "Relaunch", true, true, false, true, false, true, kWatchOnlyChain, false }),
    [](const testing::TestParamInfo<LaunchCase>& info) { return std::string(info.param.name); });

TEST_F(AppDelegateTest, AStaleRelaunchMarkIsClearedAndSkipsNothing)
{
    // The old copy set the mark, and the session ended before the new copy ran.
    makeDelegate();
    settings->setIsLaunchAfterRestart(true);
    delegate->applicationDidFinishLaunching();
    ASSERT_EQ(chains.chains.size(), 1);
    EXPECT_EQ(chains.chains.first().kinds(), kLaunchChain);
    EXPECT_FALSE(settings->isLaunchAfterRestart());
}

TEST_F(AppDelegateTest, TheMainWindowIsLoadedAndClosedAgainWhenNotWanted)
{
    makeDelegate();
    settings->setShowMainWindowAfterLaunch(false);
    delegate->applicationDidFinishLaunching();
    EXPECT_EQ(windows.calls.mid(0, 3), (QStringList { "dock", "prepare", "close" }));

    windows.calls.clear();
    settings->setShowMainWindowAfterLaunch(true);
    makeDelegate().applicationDidFinishLaunching();
    EXPECT_TRUE(windows.calls.contains("prepare"));
    EXPECT_FALSE(windows.calls.contains("close"));
}

TEST_F(AppDelegateTest, AnUnreadableOldStoreEndsTheStartBeforeTheEventLoopAndKeepsTheStore)
{
    writeFile(dataFolder() + "/Lanternwick.data", "no database");
    AppDelegate& started = makeDelegate();
    // Without a person to ask, Quit is chosen, never Delete.
    EXPECT_TRUE(started.isTerminatedAtStart());
    EXPECT_EQ(terminations, 1);
    EXPECT_EQ(readFile(dataFolder() + "/Lanternwick.data"), QByteArray("no database"));
    EXPECT_FALSE(QFileInfo::exists(store()));

    QFile::remove(dataFolder() + "/Lanternwick.data");
    EXPECT_FALSE(makeDelegate().isTerminatedAtStart());
    EXPECT_EQ(terminations, 1);
}

TEST_F(AppDelegateTest, AnUnreadableDatabaseQuitsWithoutRunningAnything)
{
    writeFile(store(), "<plist><dict><key>broken");
    makeDelegate().applicationDidFinishLaunching();
    EXPECT_EQ(terminations, 1);
    EXPECT_TRUE(chains.chains.isEmpty());
    // No observers were installed.
    wake.simulateWake();
    EXPECT_TRUE(chains.chains.isEmpty());
    // The store that could not be read stays as it is.
    EXPECT_EQ(readFile(store()), QByteArray("<plist><dict><key>broken"));
}

TEST_F(AppDelegateTest, QuitRecordsTheTimesAndSavesUnlessPrevented)
{
    const QDateTime boot = QDateTime::fromSecsSinceEpoch(1700000000);
    times->setBootTime(boot);
    times->setLoginTime(boot.addSecs(30));
    // A session that changed nothing leaves the store alone.
    times->setLoginSessionID(QStringLiteral("c7"));
    launched().applicationWillTerminate();
    EXPECT_EQ(settings->lastBootTime(), boot);
    EXPECT_EQ(settings->lastLoginTime(), boot.addSecs(30));
    EXPECT_EQ(settings->lastLoginSessionID(), QStringLiteral("c7"));
    EXPECT_FALSE(QFile::exists(store()));

    ObjectContext* context = helpers->managedObjectContext();
    ASSERT_NE(context, nullptr);
    context->createDelayItemWithDelay(2)->setItemLoginGroup(context->getOrCreateApplicationLoginGroup());
    delegate->applicationWillTerminate();
    EXPECT_TRUE(QFile::exists(store()));

    QFile::remove(store());
    context->createDelayItemWithDelay(3)->setItemLoginGroup(context->getOrCreateApplicationLoginGroup());
    delegate->setIsSaveWhileClosingPrevented(true);
    delegate->applicationWillTerminate();
    EXPECT_FALSE(QFile::exists(store()));
}

// A start without a session ID (or one logind does not know) cannot tell its
// login: the login stored by the start in that login stays, so a later start
// there does not run the list a second time.
TEST_F(AppDelegateTest, AQuitThatCannotTellItsLoginKeepsTheStoredOne)
{
    const QDateTime boot = QDateTime::fromSecsSinceEpoch(1700000000);
    settings->setLastLoginTime(boot.addSecs(30));
    settings->setLastLoginSessionID(QStringLiteral("c7"));
    times->setBootTime(boot);
    launched().applicationWillTerminate();
    EXPECT_EQ(settings->lastBootTime(), boot);
    EXPECT_EQ(settings->lastLoginTime(), boot.addSecs(30));
    EXPECT_EQ(settings->lastLoginSessionID(), QStringLiteral("c7"));
}

struct WakeCase {
    const char* name;
    bool afterLaunch;
    bool autoClose;
    bool afterWake;
    bool runs;
};

class WakeTest : public AppDelegateTest, public testing::WithParamInterface<WakeCase> {};

TEST_P(WakeTest, RunsTheItemsOnlyWhenTheSettingsAllow)
{
    const WakeCase& c = GetParam();
    launched();
    settings->setIsItemsExecutionAfterLaunchEnabled(c.afterLaunch);
    settings->setIsAutoCloseAfterItemsExecutionEnabled(c.autoClose);
    settings->setIsItemsExecutionAfterAwakingFromSleepEnabled(c.afterWake);
    wake.simulateWake();
    if (!c.runs) {
        EXPECT_TRUE(chains.chains.isEmpty());
        return;
    }
    ASSERT_EQ(chains.chains.size(), 1);
    EXPECT_EQ(chains.chains.first().kinds(), (QList<Kind> { Kind::DisableSystemItemsChange, Kind::DelayBeforeExecution,
                                                            Kind::ExecuteItems, Kind::ReadSystemItems,
                                                            Kind::EnableSystemItemsChange }));
    const auto& info = chains.chains.first().info;
    ASSERT_TRUE(info);
    EXPECT_TRUE(info->isExecutingAfterAwakeFromSleep());
    EXPECT_FALSE(info->isAutoCloseScheduled());
}

INSTANTIATE_TEST_SUITE_P(Settings, WakeTest,
                         testing::Values(WakeCase { "AutoCloseAfterLaunchPreventsIt", true, true, true, false },
                                         WakeCase { "AfterWakeOff", false, false, false, false },
                                         WakeCase { "AfterWakeOn", true, false, true, true }),
                         [](const testing::TestParamInfo<WakeCase>& info) { return std::string(info.param.name); });

TEST_F(AppDelegateTest, AChangedListIsReadOnTheMainThread)
{
    launched();
    std::thread([this] { center.post(MHSystemItemsNotifications::MHSystemItemsChangeNotificationDidChange); }).join();
    EXPECT_TRUE(chains.chains.isEmpty());
    processEvents();
    ASSERT_EQ(chains.chains.size(), 1);
    EXPECT_EQ(chains.chains.first().kinds(), QList<Kind> { Kind::ReadSystemItems });
    EXPECT_FALSE(chains.chains.first().info);
}

TEST_F(AppDelegateTest, TheEnabledSettingStartsOneChainPerChange)
{
    launched();
    settings->setIsLanternwickEnabled(false);
    settings->setIsLanternwickEnabled(true);
    settings->setIsNotificationCenterEnabled(false);
    ASSERT_EQ(chains.chains.size(), 2);
    EXPECT_EQ(chains.chains[0].kinds(), (QList<Kind> { Kind::DisableSystemItemsChange, Kind::UninstallLanternwick }));
    EXPECT_EQ(chains.chains[1].kinds(), (QList<Kind> { Kind::ReadSystemItems, Kind::EnableSystemItemsChange }));
    EXPECT_FALSE(chains.chains[0].info);
    EXPECT_FALSE(chains.chains[1].info);
}

TEST_F(AppDelegateTest, TheGeneralPaneFollowsTheEnabledSwitchBeingTurnedOff)
{
    launched();
    settings->setIsLanternwickEnabled(true);
    center.post(MHInternalNotifications::MHInternalNotificationLanternwickEnabledStatusDidChanged);
    EXPECT_FALSE(windows.calls.contains("general"));
    settings->setIsLanternwickEnabled(false);
    center.post(MHInternalNotifications::MHInternalNotificationLanternwickEnabledStatusDidChanged);
    EXPECT_EQ(windows.calls, QStringList { "general" });
}

TEST_F(AppDelegateTest, NewSystemItemsShowTheMainWindowInTheBackgroundAndEndTheSimulation)
{
    launched();
    center.post(MHSystemItemsNotifications::MHReadSystemItemsDidEndNotification, nullptr,
                { { MHSystemItemsNotifications::items, QVariantList() } });
    center.post(MHSystemItemsNotifications::MHReadSystemItemsDidEndNotification);
    EXPECT_TRUE(windows.calls.isEmpty());

    windows.simulating = true;
    center.post(MHSystemItemsNotifications::MHReadSystemItemsDidEndNotification, nullptr,
                { { MHSystemItemsNotifications::items, QVariantList { QVariantMap { { "path", "/x" } } } } });
    EXPECT_EQ(windows.calls, (QStringList { "simulation", "main in background" }));
    EXPECT_FALSE(windows.simulating);
}

// The entries that wait are unknown then: the window says why.
TEST_F(AppDelegateTest, AReadingThatFailedShowsTheMainWindowInTheBackground)
{
    launched();
    center.post(MHSystemItemsNotifications::MHReadSystemItemsDidEndNotification, nullptr,
                { { MHSystemItemsNotifications::items, QVariantList() },
                  { MHSystemItemsNotifications::readError, "The session bus unix:path=/gone cannot be reached" } });
    EXPECT_EQ(windows.calls, QStringList { "main in background" });
}

TEST_F(AppDelegateTest, EveryUndoAndRedoSavesOnce)
{
    launched();
    int saves = 0;
    const NotificationCenter::Token token
        = center.addObserver(MHInternalNotifications::MHDataDidSaveToDisk, nullptr, [&saves](const Notification&) { ++saves; });
    ObjectContext* context = helpers->managedObjectContext();
    ASSERT_TRUE(context);
    UndoManager& undo = context->undoManager();
    undo.setGroupsByEvent(false);
    undo.beginUndoGrouping();
    context->createDelayItemWithDelay(3);
    undo.endUndoGrouping();
    ASSERT_TRUE(helpers->saveDataToDiskUsingChangeBackup(true));
    ASSERT_EQ(saves, 1);

    undo.undo();
    EXPECT_EQ(saves, 2);
    undo.redo();
    EXPECT_EQ(saves, 3);
    EXPECT_TRUE(QFile::exists(lastChangeBackup()));
}

TEST_F(AppDelegateTest, TheEndOfAutoCloseQuitsOnTheMainThread)
{
    launched();
    std::thread([this] { center.post(MHExecuteNotifications::MHExecuteAutoCloseDidEndNotification); }).join();
    EXPECT_EQ(terminations, 0);
    processEvents();
    EXPECT_EQ(terminations, 1);
}

TEST_F(AppDelegateTest, LaunchingIsAnnouncedBeforeItFinishes)
{
    AppDelegate& delegate = makeDelegate();
    qputenv("XDG_STATE_HOME", freshTestFolder("will-finish-log").toUtf8());
    log_initialize(true, 10);
    const int32_t mask = gLogMask.exchange(log_mask_for_verbosity(3));
    delegate.applicationWillFinishLaunching();
    delegate.applicationDidFinishLaunching();
    QFile file(log_file_path());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString log = QString::fromUtf8(file.readAll());
    log_initialize(false);
    gLogMask = mask;
    const qsizetype will = log.indexOf("NORMAL Application will finish launching...");
    ASSERT_GE(will, 0);
    EXPECT_LT(will, log.indexOf("Application did finish launching..."));
}

TEST_F(AppDelegateTest, AnotherStartBringsTheMainWindowForward)
{
    launched().applicationShouldHandleReopen();
    EXPECT_EQ(windows.calls, QStringList { "main" });
}

TEST_F(AppDelegateTest, AnotherStartDuringTheDatabaseFailureBringsItForwardAndBuildsNoWindow)
{
    writeFile(store(), "<plist><dict><key>broken");
    presenter = &answers;
    makeDelegate();
    // The second start arrives while the failure dialog waits; the user then closes it.
    answers.beforeAnswer = [this] {
        delegate->applicationShouldHandleReopen();
        delegate->showMainWindow();
    };
    answers.buttons = { -1 };
    delegate->applicationDidFinishLaunching();
    EXPECT_EQ(windows.calls, (QStringList { "dock", "database failure", "database failure" }));
    EXPECT_EQ(terminations, 1);
}

// --- Menu commands -------------------------------------------------------------------

class AppDelegateCommandsTest : public AppDelegateTest {
protected:
    void SetUp() override
    {
        AppDelegateTest::SetUp();
        presenter = &answers;
    }

    // A store with two delay items and a session backup with only the first.
    void prepareBackup()
    {
        ObjectContext* context = helpers->managedObjectContext();
        DBLoginGroup* group = context->getOrCreateApplicationLoginGroup();
        helpers->modelEditing()->createDelayItemsFromData({ 3.0 }, group, 0);
        ASSERT_TRUE(helpers->saveDataToDiskUsingChangeBackup(true));
        QFile::remove(sessionBackup());
        ASSERT_TRUE(QFile::copy(store(), sessionBackup()));
        helpers->modelEditing()->createDelayItemsFromData({ 7.0 }, group, 1);
        ASSERT_TRUE(helpers->saveDataToDiskUsingChangeBackup(true));
        QFile::remove(lastChangeBackup());
        ASSERT_NE(readFile(store()), readFile(sessionBackup()));
    }
};

TEST_F(AppDelegateCommandsTest, RunNowIsTheOnDemandChainWithTheOtherWindowsClosed)
{
    launched().performCommand(ApplicationCommands::executeLoginItems);
    ASSERT_EQ(chains.chains.size(), 1);
    EXPECT_EQ(chains.chains.first().kinds(), (QList<Kind> { Kind::DisableSystemItemsChange, Kind::DelayBeforeExecution,
                                                            Kind::ExecuteItems, Kind::ReadSystemItems, Kind::EnableSystemItemsChange }));
    ASSERT_TRUE(chains.chains.first().info);
    EXPECT_TRUE(chains.chains.first().info->isExecutingOnDemand());
    EXPECT_FALSE(chains.chains.first().info->isExecutingAfterLaunch());
    EXPECT_EQ(windows.calls, (QStringList { "close welcome", "close preferences" }));
}

TEST_F(AppDelegateCommandsTest, DisablingAsksAndOnlyAConfirmationSwitchesOffAndHandsTheItemsBack)
{
    launched();
    int posts = 0;
    auto token = center.addObserver(MHInternalNotifications::MHInternalNotificationLanternwickEnabledStatusDidChanged, nullptr,
                                    [&](const Notification&) { ++posts; });
    answers.buttons = { 1 };
    delegate->performCommand(ApplicationCommands::disableLanternwickAndMoveItemsToSystemPreferences);
    EXPECT_EQ(answers.requests.size(), 1);
    EXPECT_TRUE(settings->isLanternwickEnabled());
    EXPECT_EQ(posts, 0);
    EXPECT_TRUE(chains.chains.isEmpty());

    answers.buttons = { 0 };
    delegate->performCommand(ApplicationCommands::disableLanternwickAndMoveItemsToSystemPreferences);
    processEvents();
    EXPECT_FALSE(settings->isLanternwickEnabled());
    EXPECT_EQ(posts, 1);
    ASSERT_EQ(chains.chains.size(), 1);
    EXPECT_EQ(chains.chains.first().kinds(), (QList<Kind> { Kind::DisableSystemItemsChange, Kind::UninstallLanternwick }));
    EXPECT_TRUE(windows.calls.contains("general"));
}

TEST_F(AppDelegateCommandsTest, ARestoreReplacesTheStoreKeepsItFromEverySaveAndRelaunches)
{
    launched();
    prepareBackup();
    const QByteArray backup = readFile(sessionBackup());
    const QByteArray replaced = readFile(store());
    const QString leftover = dataFolder() + "/~temporary-backup~.plist";
    writeFile(leftover, "left by an earlier failure");
    answers.buttons = { 0 };

    delegate->performCommand(ApplicationCommands::restoreDatabaseFromBackup);
    EXPECT_EQ(readFile(store()), backup);
    EXPECT_EQ(readFile(leftover), QByteArray("left by an earlier failure"));
    // The store it replaced, good as it was, is kept byte for byte.
    const QStringList archives = QDir(dataFolder()).entryList({ "com.mossharbour.Lanternwick2.DatabaseBeforeRestore *.zip" });
    ASSERT_EQ(archives.size(), 1);
    const QString unpacked = freshTestFolder("unpacked-replaced-store");
    JlCompress::extractDir(dataFolder() + "/" + archives[0], unpacked);
    EXPECT_EQ(readFile(unpacked + "/Lanternwick.plist"), replaced);
    EXPECT_EQ(newCopies, 1);
    EXPECT_TRUE(settings->isLaunchAfterRestart());
    EXPECT_EQ(terminations, 1);
    EXPECT_TRUE(delegate->isSaveWhileClosingPrevented());

    // Neither an undo's save nor the quit writes the live data over it.
    helpers->managedObjectContext()->undoManager().undo();
    processEvents();
    delegate->applicationWillTerminate();
    EXPECT_EQ(readFile(store()), backup);
}

TEST_F(AppDelegateCommandsTest, CancellingTheRestoreChangesNothing)
{
    launched();
    prepareBackup();
    const QByteArray before = readFile(store());
    answers.buttons = { 1 };
    delegate->performCommand(ApplicationCommands::restoreDatabaseFromBackup);
    EXPECT_EQ(answers.requests.size(), 1);
    EXPECT_EQ(readFile(store()), before);
    EXPECT_EQ(newCopies, 0);
    EXPECT_EQ(terminations, 0);
    EXPECT_FALSE(helpers->isSavingPreventedUntilRelaunch());
}

// Such a backup would take the place of a good store and fail the next start.
TEST_F(AppDelegateCommandsTest, OnlyABackupThatLoadsCompletelyIsOffered)
{
    launched();
    prepareBackup();
    const QByteArray before = readFile(store());
    const QByteArray parsesButDoesNotLoad = *PropertyList::toData(QVariantMap { { "version", 5 }, { "application", "oops" } });
    writeFile(lastChangeBackup(), parsesButDoesNotLoad);
    answers.buttons = { 1 };
    delegate->performCommand(ApplicationCommands::restoreDatabaseFromBackup);
    ASSERT_EQ(answers.requests.size(), 1);
    EXPECT_EQ(answers.requests.first().buttons, (QStringList { "Restore", "Cancel" }));
    EXPECT_TRUE(answers.requests.first().informativeText.startsWith("You can restore database from last time Lanternwick was closed"));

    writeFile(sessionBackup(), parsesButDoesNotLoad);
    delegate->performCommand(ApplicationCommands::restoreDatabaseFromBackup);
    EXPECT_EQ(answers.requests.size(), 1) << "nothing to offer, nothing shown";
    EXPECT_EQ(readFile(store()), before);
    EXPECT_TRUE(QDir(dataFolder()).entryList({ "*.zip" }).isEmpty());
    EXPECT_EQ(newCopies, 0);
    EXPECT_FALSE(helpers->isSavingPreventedUntilRelaunch());
}

TEST_F(AppDelegateCommandsTest, AFailedRestoreLeavesTheStoreAsItWasAndSaysSo)
{
    // The backup changes between the choice and the copy.
    const QList<std::pair<const char*, std::function<void()>>> changes {
        { "removed", [this] { QFile::remove(sessionBackup()); } },
        { "no longer loads",
          [this] { writeFile(sessionBackup(), "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>conditions</key><true/></dict></plist>"); } },
    };
    for (const auto& [name, change] : changes) {
        SCOPED_TRACE(name);
        launched();
        prepareBackup();
        const QByteArray before = readFile(store());
        answers.requests.clear();
        answers.beforeAnswer = [this, change = change] {
            if (answers.requests.size() == 1)
                change();
        };
        answers.buttons = { 0 };
        delegate->performCommand(ApplicationCommands::restoreDatabaseFromBackup);
        EXPECT_EQ(readFile(store()), before);
        ASSERT_EQ(answers.requests.size(), 2);
        EXPECT_EQ(answers.requests.at(1).messageText, "Failed restoring data from backup!");
        EXPECT_EQ(newCopies, 0);
        EXPECT_EQ(terminations, 0);
        EXPECT_FALSE(settings->isLaunchAfterRestart());
        EXPECT_FALSE(helpers->isSavingPreventedUntilRelaunch());
    }
}

TEST_F(AppDelegateCommandsTest, ARelaunchWhoseNewCopyCannotStartKeepsRunningAndTellsTheUser)
{
    launched();
    newCopyStarts = false;
    delegate->performCommand(ApplicationCommands::relaunchApplication);
    EXPECT_EQ(newCopies, 1);
    EXPECT_EQ(terminations, 0);
    EXPECT_FALSE(settings->isLaunchAfterRestart());
    ASSERT_EQ(answers.requests.size(), 1);
    EXPECT_EQ(answers.requests.first().messageText, "Lanternwick could not restart!");
    EXPECT_TRUE(answers.requests.first().informativeText.contains("No such program"));

    newCopyStarts = true;
    delegate->performCommand(ApplicationCommands::relaunchApplication);
    EXPECT_TRUE(settings->isLaunchAfterRestart());
    EXPECT_EQ(terminations, 1);
}

struct ValidationCase {
    const char* name;
    bool simulating, focused, hasItems, hasMainWindow, enabled;
    QStringList allowed;
};

TEST_F(AppDelegateCommandsTest, ValidationOfEveryCommand)
{
    namespace C = ApplicationCommands;
    const QStringList always { C::relaunchApplication, C::showMainWindow, C::showAboutWindow, C::showGeneralPreferences };
    const QList<ValidationCase> cases {
        { "idle", false, true, true, true, true,
          { C::executeLoginItems, C::toggleSimulationMode, C::disableLanternwickAndMoveItemsToSystemPreferences,
            C::restoreDatabaseFromBackup, C::contactSupport, C::showWelcomeWindow, C::showPreferencesWindow } },
        { "simulating", true, true, true, true, true, { C::toggleSimulationMode } },
        { "not focused", false, false, true, true, true,
          { C::disableLanternwickAndMoveItemsToSystemPreferences, C::restoreDatabaseFromBackup, C::contactSupport,
            C::showWelcomeWindow, C::showPreferencesWindow } },
        { "no items", false, true, false, true, true,
          { C::disableLanternwickAndMoveItemsToSystemPreferences, C::restoreDatabaseFromBackup, C::contactSupport,
            C::showWelcomeWindow, C::showPreferencesWindow } },
        { "no main window yet", false, true, true, false, true,
          { C::executeLoginItems, C::toggleSimulationMode, C::disableLanternwickAndMoveItemsToSystemPreferences,
            C::restoreDatabaseFromBackup, C::contactSupport } },
        { "switched off", false, true, true, true, false,
          { C::executeLoginItems, C::toggleSimulationMode, C::restoreDatabaseFromBackup, C::contactSupport,
            C::showWelcomeWindow, C::showPreferencesWindow } },
    };
    for (const ValidationCase& c : cases) {
        SCOPED_TRACE(c.name);
        launched();
        settings->setIsLanternwickEnabled(c.enabled);
        windows.simulating = c.simulating;
        windows.focused = c.focused;
        windows.hasMainWindow = c.hasMainWindow;
        if (c.hasItems)
            helpers->modelEditing()->createDelayItemsFromData({ 3.0 }, helpers->managedObjectContext()->getOrCreateApplicationLoginGroup(), 0);
        const QStringList commands = c.allowed + always + QStringList { C::executeLoginItems, C::toggleSimulationMode };
        for (const QString& command : commands) {
            SCOPED_TRACE(command.toStdString());
            ASSERT_TRUE(delegate->respondsToCommand(command));
            QString title;
            EXPECT_EQ(delegate->validateCommand(command, &title), c.allowed.contains(command) || always.contains(command));
            if (command == C::toggleSimulationMode) {
                EXPECT_EQ(title, c.simulating ? "Exit Launch Simulation Mode" : "Enter Launch Simulation Mode");
            }
        }
    }
    EXPECT_FALSE(delegate->respondsToCommand("undo"));
}

TEST_F(AppDelegateCommandsTest, TheWindowCommandsOpenTheirWindows)
{
    namespace C = ApplicationCommands;
    launched();
    for (const QString& command : { C::showMainWindow, C::showWelcomeWindow, C::showAboutWindow, C::showPreferencesWindow,
                                    C::showGeneralPreferences, C::contactSupport, C::toggleSimulationMode })
        delegate->performCommand(command);
    EXPECT_EQ(windows.calls, (QStringList { "main", "welcome", "about", "preferences", "general", "feedback", "simulation" }));
}

} // namespace
