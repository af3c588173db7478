// Whole chains of countdown, run and auto close on the fake workspace.
#include "ExecutionTestSupport.h"

#include "engine/RunJournal.h"
#include "foundation/ConditionSleeper.h"
#include "foundation/Error.h"
#include "foundation/MHDebugOptions.h"
#include "foundation/MHErrors.h"
#include "model/DBPowerSourceConditionData.h"
#include "model/DBVolumeConditionData.h"
#include "model/DBNetworkConditionData.h"
#include "model/DBStartupCondition.h"
#include "support/EndToEnd.h"
#include "support/FakeClock.h"

using namespace execution_test;

namespace {

class ExecutingApplicationStateTest : public ExecutionFixture<FakeWorkspace> {
protected:
    QString application(const QString& name)
    {
        const QString path = "/apps/" + name;
        workspace->addFile(path, { ItemPathTypeApplication, name, {}, {} });
        return path;
    }

    // The item runs only on mains power.
    void requirePowerSupply(DBLoginItem* item)
    {
        DBStartupCondition* condition = objects.createPowerSourceStartupCondition();
        condition->conditionPowerSourceData()->setPowerSourceTypeValue(PowerSourceTypePowerSupply);
        item->addItemStartupConditionsObject(condition);
    }
    void unplug() { machine->powerSource = PowerSourceTypeBattery; }

    // Calls action on the run's thread once the summary line has been posted.
    void when(const QString& line, std::function<void()> action)
    {
        notifications.setHook([this, line, action = std::move(action), done = false](const Notification&) mutable {
            if (!done && notifications.summary().contains(line)) {
                done = true;
                action();
            }
        });
    }

    QStringList openedPaths() const
    {
        QStringList paths;
        for (const FakeWorkspace::OpenRequest& request : workspace->openRequests())
            paths.append(request.path);
        return paths;
    }
};

TEST_F(ExecutingApplicationStateTest, ChainCountsDownRunsTheItemsInOrderAndClosesAfterwards)
{
    defaults.setIsDelayBeforeItemsExecutionEnabled(true);
    defaults.setDelayBeforeItemsExecution(2);
    defaults.setIsAutoCloseAfterItemsExecutionEnabled(true);
    defaults.setDelayBeforeAutoClosingAfterItemsExecution(1);
    fileItem(application("First"));
    delayItem(2);
    fileItem(application("Second"));

    EXPECT_EQ(runChain(), QStringList({ "DelayDidStart(2)", "DelayDidTick(2)", "DelayDidTick(1)", "DelayDidEnd",
                                        "DidStart", "DidStartItem(First)", "DidEndItem(First)",
                                        "DidStartItem(Delay 2 s)", "DidTickItem(2)", "DidTickItem(1)", "DidEndItem(Delay 2 s)",
                                        "DidStartItem(Second)", "DidEndItem(Second)", "DidEnd",
                                        "AutoCloseDidStart(1)", "AutoCloseDidTick(1)", "AutoCloseDidEnd" }));
    EXPECT_EQ(openedPaths(), QStringList({ "/apps/First", "/apps/Second" }));
    EXPECT_EQ(delaySleeper->sleeps(), std::vector<double>({ 1, 1 }));
    EXPECT_EQ(executeSleeper->sleeps(), std::vector<double>({ 1, 1 }));
    EXPECT_EQ(helpers.notifications(), QStringList { "Launch complete / Items launch complete." });
    for (const Notification& notification : notifications.all())
        EXPECT_TRUE(ContextBatchInfo::fromUserInfo(notification.userInfo)) << notification.name.toStdString();

    const QVariantMap delayInfo = notifications.named(N::MHExecuteDidStartItemNotification)[1].userInfo;
    EXPECT_EQ(delayInfo.value(N::itemType).toInt(), LoginItemTypeDelay);
    EXPECT_EQ(delayInfo.value(N::remainingTime).toDouble(), 2);
    EXPECT_FALSE(delayInfo.value(N::itemID).value<ObjectID>().isNull());
    EXPECT_FALSE(context.isExecutionInProgress());
}

TEST_F(ExecutingApplicationStateTest, NothingIsPostedWhenNoItemPassesAndNoCountdownRan)
{
    fileItem("/apps/Gone");
    EXPECT_EQ(runChain(), QStringList());
    EXPECT_TRUE(helpers.notifications().isEmpty());
}

TEST_F(ExecutingApplicationStateTest, AnEmptyGroupRunsNeitherCountdown)
{
    defaults.setIsDelayBeforeItemsExecutionEnabled(true);
    defaults.setIsAutoCloseAfterItemsExecutionEnabled(true);
    EXPECT_EQ(runChain(), QStringList());
}

TEST_F(ExecutingApplicationStateTest, AfterACountdownARunOfPreventedItemsStillOpensAndCloses)
{
    defaults.setIsDelayBeforeItemsExecutionEnabled(true);
    defaults.setDelayBeforeItemsExecution(1);
    fileItem("/apps/Gone");
    EXPECT_EQ(runChain(), QStringList({ "DelayDidStart(1)", "DelayDidTick(1)", "DelayDidEnd", "DidStart", "DidEnd" }));
}

TEST_F(ExecutingApplicationStateTest, CountdownTicks)
{
    defaults.setIsDelayBeforeItemsExecutionEnabled(true);
    fileItem(application("App"));
    struct Row {
        double delay;
        double rate;
        QStringList ticks;
        std::vector<double> sleeps;
    };
    const Row rows[] = {
        { 0, 1, {}, {} },
        { 2.5, 1, { "DelayDidTick(2.5)", "DelayDidTick(1.5)", "DelayDidTick(0.5)" }, { 1, 1, 0.5 } },
        { 1, 2, { "DelayDidTick(1)", "DelayDidTick(0.5)" }, { 0.5, 0.5 } },
        // A rate that is not above zero must not tick for ever.
        { 2, 0, { "DelayDidTick(2)" }, { 2 } },
        { 2, -1, { "DelayDidTick(2)" }, { 2 } },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.delay);
        SCOPED_TRACE(row.rate);
        defaults.setDelayBeforeItemsExecution(static_cast<float>(row.delay));
        defaults.setFloat("Tweaking.Timings.NumberOfExecutionNotificationsPerSecond", static_cast<float>(row.rate));
        auto sleeper = std::make_shared<FakeSleeper>();
        delay()->setSleeper(sleeper);
        const int before = static_cast<int>(notifications.all().size());
        runChain();
        const QStringList lines = notifications.summary().mid(before);
        const QStringList expected = QStringList { "DelayDidStart(" + QString::number(row.delay) + ")" } + row.ticks
            + QStringList { "DelayDidEnd" };
        EXPECT_EQ(lines.mid(0, expected.size()), expected);
        EXPECT_EQ(sleeper->sleeps(), row.sleeps);
    }
}

TEST_F(ExecutingApplicationStateTest, CancelDuringTheCountdownEndsItAndRunsNothing)
{
    defaults.setIsDelayBeforeItemsExecutionEnabled(true);
    defaults.setDelayBeforeItemsExecution(5);
    defaults.setIsAutoCloseAfterItemsExecutionEnabled(true);
    fileItem(application("App"));
    when("DelayDidTick(4)", [&] { context.cancelExecution(); });

    EXPECT_EQ(runChain(), QStringList({ "DelayDidStart(5)", "DelayDidTick(5)", "DelayDidTick(4)", "DelayDidEnd" }));
    EXPECT_TRUE(openedPaths().isEmpty());
    EXPECT_TRUE(helpers.notifications().isEmpty());
}

TEST_F(ExecutingApplicationStateTest, CancelDuringADelayItemEndsTheRunWithoutTheItemsEnd)
{
    defaults.setIsAutoCloseAfterItemsExecutionEnabled(true);
    fileItem(application("First"));
    delayItem(5);
    fileItem(application("Second"));
    when("DidTickItem(4)", [&] { context.cancelExecution(); });

    EXPECT_EQ(runChain(), QStringList({ "DidStart", "DidStartItem(First)", "DidEndItem(First)", "DidStartItem(Delay 5 s)",
                                        "DidTickItem(5)", "DidTickItem(4)", "DidEnd" }));
    EXPECT_EQ(openedPaths(), QStringList { "/apps/First" });
    EXPECT_TRUE(helpers.notifications().isEmpty());
}

TEST_F(ExecutingApplicationStateTest, CancellingTheAutoCloseLeavesTheRunGoing)
{
    defaults.setIsAutoCloseAfterItemsExecutionEnabled(true);
    fileItem(application("First"));
    delayItem(2);
    fileItem(application("Second"));
    when("DidTickItem(2)", [&] { context.cancelAutoClose(); });

    const QStringList lines = runChain();
    EXPECT_EQ(openedPaths(), QStringList({ "/apps/First", "/apps/Second" }));
    EXPECT_TRUE(lines.contains("DidTickItem(1)"));
    EXPECT_FALSE(lines.contains("AutoCloseDidStart(" + QString::number(defaults.delayBeforeAutoClosingAfterItemsExecution()) + ")"));
    EXPECT_EQ(helpers.notifications().size(), 1);
}

TEST_F(ExecutingApplicationStateTest, CancelDuringTheAutoClosePostsNoEnd)
{
    defaults.setIsAutoCloseAfterItemsExecutionEnabled(true);
    defaults.setDelayBeforeAutoClosingAfterItemsExecution(3);
    fileItem(application("App"));
    when("AutoCloseDidTick(2)", [&] { context.cancelAutoClose(); });

    const QStringList lines = runChain();
    EXPECT_EQ(lines.mid(lines.indexOf("DidEnd")), QStringList({ "DidEnd", "AutoCloseDidStart(3)", "AutoCloseDidTick(3)", "AutoCloseDidTick(2)" }));
}

TEST_F(ExecutingApplicationStateTest, AnItemThatStopsPassingBeforeItsTurnIsSkippedSilently)
{
    fileItem(application("First"));
    requirePowerSupply(fileItem(application("Second")));
    when("DidStartItem(First)", [&] { unplug(); });

    EXPECT_EQ(runChain(), QStringList({ "DidStart", "DidStartItem(First)", "DidEndItem(First)", "DidEnd" }));
    EXPECT_EQ(openedPaths(), QStringList { "/apps/First" });
}

// The run judges in its own copy of the database, off the main thread, as
// long as the database has not changed since the run took it.
TEST_F(ExecutingApplicationStateTest, JudgingInTheRunsCopyGivesTheVerdictsOfTheLiveDatabase)
{
    fileItem(application("First"));
    append(objects.createConditionalPreviousItem());
    DBStartupCondition* mounted = objects.createMountedVolumeStartupCondition();
    mounted->conditionVolumeData()->setVolumePath("/media/backup");
    mounted->conditionVolumeData()->setVolumeStatusValue(VolumeStatusMounted);
    fileItem(application("OnBackup"))->addItemStartupConditionsObject(mounted);
    fileItem(application("AfterOnBackup"));
    requirePowerSupply(fileItem(application("OnSupply")));
    fileItem(application("Disabled"), ItemStartupModeDisabled);
    waitItem();
    fileItem("/apps/Missing");
    delayItem(1);
    fileItem(application("Last"));

    const QStringList inCopy = runChain();
    EXPECT_EQ(machine->samplesOnMainThread, 0);
    ASSERT_TRUE(inCopy.contains("DidStartItem(Last)"));

    // A change of the database before the first turn: every turn is judged
    // on the main thread, in the live database.
    when("DidStart", [&] { dispatch_main_thread_sync([&] { objects.createHotkeyStartupCondition(); }); });
    const QStringList live = runChain().mid(inCopy.size());
    EXPECT_GT(machine->samplesOnMainThread, 0);
    EXPECT_EQ(live, inCopy);
}

TEST_F(ExecutingApplicationStateTest, AChangeOfTheDatabaseDuringTheRunIsSeenAtTheNextTurns)
{
    fileItem(application("First"));
    requirePowerSupply(fileItem(application("OnSupply")));
    DBFileItem* last = fileItem(application("Last"));
    when("DidStartItem(First)", [&] { dispatch_main_thread_sync([&] { last->setItemStartupModeValue(ItemStartupModeDisabled); }); });

    EXPECT_EQ(runChain(), QStringList({ "DidStart", "DidStartItem(First)", "DidEndItem(First)", "DidStartItem(OnSupply)",
                                        "DidEndItem(OnSupply)", "DidEnd" }));
    EXPECT_EQ(openedPaths(), QStringList({ "/apps/First", "/apps/OnSupply" }));
    EXPECT_GT(machine->samplesOnMainThread, 0);
}

// Judging at an item's turn samples only what its rules read, and samples it then.
TEST_F(ExecutingApplicationStateTest, ItemsWithoutConditionsSampleNothingOfTheMachine)
{
    fileItem(application("First"));
    append(objects.createConditionalPreviousItem());
    fileItem(application("Second"));
    waitItem();

    runChain();
    EXPECT_EQ(openedPaths(), QStringList({ "/apps/First", "/apps/Second" }));
    EXPECT_EQ(machine->samples(), QStringList());
}

// However long the list, a turn looks at the file of its item and of the one
// before it, once each.
TEST_F(ExecutingApplicationStateTest, EachTurnLooksAtTheFilesOfItsItemAndOfTheOneBefore)
{
    constexpr int count = 12;
    for (int index = 0; index < count; ++index)
        fileItem(application(QString::number(index)));

    runChain();
    EXPECT_EQ(openedPaths().size(), count);
    const QHash<QString, int> questions = itemHelpers->missingQuestions();
    // When the run picks its items, at the item's turn, at the next one's.
    for (int index = 0; index < count - 1; ++index)
        EXPECT_EQ(questions.value(QStringLiteral("/apps/%1").arg(index)), 3) << index;
    EXPECT_EQ(questions.value(QStringLiteral("/apps/%1").arg(count - 1)), 2);
}

TEST_F(ExecutingApplicationStateTest, AVolumeConditionSeesAMountMadeJustBeforeItsItem)
{
    fileItem(application("First"));
    DBFileItem* second = fileItem(application("Second"));
    DBStartupCondition* condition = objects.createMountedVolumeStartupCondition();
    condition->conditionVolumeData()->setVolumePath("/media/backup");
    condition->conditionVolumeData()->setVolumeStatusValue(VolumeStatusNotMounted);
    second->addItemStartupConditionsObject(condition);
    // After the run's first check, while the first item opens.
    when("DidStartItem(First)", [&] { machine->setVolumes({ AttachedVolumeData("/media/backup", "backup", true) }); });

    EXPECT_EQ(runChain(), QStringList({ "DidStart", "DidStartItem(First)", "DidEndItem(First)", "DidEnd" }));
    EXPECT_EQ(openedPaths(), QStringList { "/apps/First" });
    // Once for the first check, once at the second item's turn.
    EXPECT_EQ(machine->samples(), QStringList({ "volumes", "volumes" }));
}

TEST_F(ExecutingApplicationStateTest, AnItemDeletedDuringTheRunIsNotOpened)
{
    fileItem(application("First"));
    delayItem(1);
    DBFileItem* second = fileItem(application("Second"));
    when("DidTickItem(1)", [&] { dispatch_main_thread_sync([&] { objects.deleteObject(second); }); });

    runChain();
    EXPECT_EQ(openedPaths(), QStringList { "/apps/First" });
}

TEST_F(ExecutingApplicationStateTest, LaunchOptionsFollowTheStartupModeAndTheBackgroundSetting)
{
    defaults.setBool("Tweaking.DefaultValues.IsLaunchInBackgroundEnabled", true);
    fileItem(application("Hidden"), ItemStartupModeHidden);
    fileItem(application("Shown"));
    fileItem(application("Disabled"), ItemStartupModeDisabled);
    runChain();
    const QList<FakeWorkspace::OpenRequest> requests = workspace->openRequests();
    ASSERT_EQ(requests.size(), 2);
    EXPECT_TRUE(requests[0].options.hidden);
    EXPECT_TRUE(requests[0].options.withoutActivation);
    EXPECT_FALSE(requests[1].options.hidden);
    EXPECT_TRUE(requests[1].options.withoutActivation);
}

TEST_F(ExecutingApplicationStateTest, ForcedHidingAsksToHideOnlyTheHiddenItemsOnceLaunched)
{
    fileItem(application("Hidden"), ItemStartupModeHidden);
    fileItem(application("Shown"));
    runChain();
    EXPECT_TRUE(workspace->hideRequests().isEmpty());

    defaults.setBool("Tweaking.DefaultValues.IsForcedItemHideEnabled", true);
    runChain();
    EXPECT_EQ(workspace->hideRequests(), QStringList { "/apps/Hidden" });
}

TEST_F(ExecutingApplicationStateTest, AFailedItemIsReportedCollectedAndKeepsTheApplicationOpen)
{
    defaults.setIsAutoCloseAfterItemsExecutionEnabled(true);
    fileItem(application("Broken"));
    fileItem(application("Fine"));
    workspace->failOpening("/apps/Broken", "no program");
    const auto info = onDemand();

    EXPECT_EQ(runChain(info), QStringList({ "DidStart", "DidStartItem(Broken)", "DidFailItem(Broken)", "DidEndItem(Broken)",
                                            "DidStartItem(Fine)", "DidEndItem(Fine)", "DidEnd" }));
    EXPECT_TRUE(info->didItemExecutionFail());
    const Error error = notifications.named(N::MHExecuteDidEndItemNotification)[0].userInfo.value(N::error).value<Error>();
    EXPECT_EQ(error.domain(), QStringLiteral("Lanternwick"));
    EXPECT_EQ(error.code(), MHErrors::MHErrorCodeFileItemLaunchFailed);
    EXPECT_EQ(error.description(), QStringLiteral("Launching Broken failed!"));
    EXPECT_TRUE(error.userInfo().values().contains(QStringLiteral("no program")));
    EXPECT_FALSE(notifications.named(N::MHExecuteDidEndItemNotification)[1].userInfo.contains(N::error));
    EXPECT_EQ(helpers.notifications(), QStringList { "Launch complete / Items launch complete, failed Broken." });
}

// The run after a start records its login as handled as it begins only where
// the journal keeps the run (here a file in place of its folder); else at its
// end, and it tells among its errors that a crash before then would run the
// list again.
TEST_F(ExecutingApplicationStateTest, ALoginIsRecordedAsTheRunBeginsOnlyWhereTheJournalKeepsTheRun)
{
    defaults.setIsItemsExecutionAfterLaunchEnabled(true);
    defaults.setIsItemsExecutionOnManualLaunchEnabled(true);
    fileItem(application("One"));
    const QString folder = freshTestFolder(QStringLiteral("login-journal"));
    writeFile(folder + "/unkept", "not a folder");
    for (const bool isKept : { true, false }) {
        SCOPED_TRACE(isKept ? "kept" : "not kept");
        const QString login = isKept ? QStringLiteral("c7") : QStringLiteral("c8");
        helpers.times.setLoginSessionID(login);
        helpers.journal = std::make_unique<RunJournal>(folder + (isKept ? "/kept/RunJournal" : "/unkept/RunJournal"));
        QString recordedAtItem;
        notifications.setHook([&](const Notification& notification) {
            if (notification.name == N::MHExecuteDidStartItemNotification)
                recordedAtItem = defaults.lastLoginSessionID();
        });
        auto info = std::make_shared<ContextBatchInfo>();
        info->setIsExecutingAfterLaunch(true);
        runChain(info);
        EXPECT_EQ(recordedAtItem == login, isKept) << recordedAtItem.toStdString();
        EXPECT_EQ(defaults.lastLoginSessionID(), login);
        EXPECT_FALSE(info->didItemExecutionFail()) << "the run goes on to its auto close";
    }
    const QList<Notification> warnings = notifications.named(N::MHExecuteDidFailItemNotification);
    ASSERT_EQ(warnings.size(), 1);
    const Error error = warnings[0].userInfo.value(N::error).value<Error>();
    EXPECT_EQ(error.code(), MHErrors::MHErrorCodeRunNotKept);
    EXPECT_TRUE(error.description().contains(QStringLiteral("runs the items again"))) << error.description().toStdString();
}

TEST_F(ExecutingApplicationStateTest, OpeningOneItemReportsAFailureWithOrWithoutAnErrorWanted)
{
    DBFileItem* broken = fileItem(application("Broken"));
    DBFileItem* fine = fileItem(application("Fine"));
    workspace->failOpening("/apps/Broken", "no program");

    EXPECT_FALSE(execute()->executeFileItems({ broken }));
    QList<Error> errors;
    EXPECT_FALSE(execute()->executeFileItems({ broken, fine }, [&](const DBFileItem* item, const Error& error) {
        EXPECT_EQ(item, broken);
        errors.append(error);
    }));
    ASSERT_EQ(errors.size(), 1);
    EXPECT_EQ(errors[0].code(), MHErrors::MHErrorCodeFileItemLaunchFailed);
    EXPECT_TRUE(execute()->executeFileItems({ fine }));
    EXPECT_EQ(openedPaths(), QStringList({ "/apps/Broken", "/apps/Broken", "/apps/Fine", "/apps/Fine" }));
}

TEST_F(ExecutingApplicationStateTest, ARunningApplicationIsNotOpenedAgain)
{
    fileItem(application("Running"));
    workspace->setRunningApplication("/apps/Running", false);
    EXPECT_EQ(runChain(), QStringList({ "DidStart", "DidStartItem(Running)", "DidEndItem(Running)", "DidEnd" }));
    EXPECT_TRUE(openedPaths().isEmpty());
}

TEST_F(ExecutingApplicationStateTest, DebugOptionsPreventOpeningAndWaitingWithoutFailures)
{
    helpers.options = { { MHDebugOptions::PreventFileItemExecution, true }, { MHDebugOptions::PreventDelayItemExecution, true } };
    fileItem(application("App"));
    delayItem(3);
    EXPECT_EQ(runChain(), QStringList({ "DidStart", "DidStartItem(App)", "DidEndItem(App)", "DidStartItem(Delay 3 s)",
                                        "DidEndItem(Delay 3 s)", "DidEnd" }));
    EXPECT_TRUE(openedPaths().isEmpty());
    EXPECT_TRUE(executeSleeper->sleeps().empty());
}

TEST_F(ExecutingApplicationStateTest, WaitPreviousStopsOnceThePreviousApplicationHasFinishedLaunching)
{
    fileItem(application("App"));
    waitItem();
    when("DidStartItem(Wait)", [&] { workspace->setRunningApplication("/apps/App", true); });

    runChain();
    // One check a quarter second in finds it, then the settling wait.
    EXPECT_EQ(executeSleeper->sleeps(), std::vector<double>({ 0.25, 1, 1 }));
    EXPECT_EQ(notifications.named(N::MHExecuteDidStartItemNotification)[1].userInfo.value(N::previousItemDisplayName),
              QStringLiteral("App"));
}

TEST_F(ExecutingApplicationStateTest, WaitPreviousWaitsToTheTimeOutWithoutError)
{
    fileItem(application("Slow"));
    waitItem();
    workspace->failOpening("/apps/Never", "x");
    when("DidStartItem(Wait)", [&] { workspace->setRunningApplication("/apps/Slow", false); });

    const QStringList lines = runChain();
    std::vector<double> expected(12, 0.25);
    expected.insert(expected.end(), { 1, 1 });
    EXPECT_EQ(executeSleeper->sleeps(), expected);
    EXPECT_FALSE(lines.contains("DidFailItem(Wait)"));
}

TEST_F(ExecutingApplicationStateTest, WaitPreviousEndsOnceTheApplicationItOpenedHasEnded)
{
    fileItem(application("Quick"));
    waitItem();
    runChain();
    // Opened and running no more: the first check ends the wait.
    EXPECT_EQ(executeSleeper->sleeps(), std::vector<double>({ 0.25, 1, 1 }));

    // A document is never seen running under its own path: the wait runs to its limit.
    const QString letter = QStringLiteral("/docs/Letter.txt");
    workspace->addFile(letter, { ItemPathTypeDocument, QStringLiteral("Letter"), {}, {} });
    fileItem(letter);
    waitItem();
    auto sleeper = std::make_shared<FakeSleeper>();
    execute()->setSleeper(sleeper);
    runChain();
    // The first wait as before, then twelve checks and the settling wait.
    EXPECT_EQ(sleeper->sleeps().size(), 3u + 12u + 2u);
}

TEST_F(ExecutingApplicationStateTest, WaitPreviousAfterAMissingOrNonFileItemDoesNotWait)
{
    delayItem(0);
    waitItem();
    runChain();
    EXPECT_TRUE(executeSleeper->sleeps().empty());
}

TEST_F(ExecutingApplicationStateTest, DelayBetweenItemsFollowsEveryHandledItemButTheLast)
{
    defaults.setIsDelayBetweenItemsDuringExecutionEnabled(true);
    defaults.setDelayBetweenItemsDuringExecution(3);
    fileItem(application("First"));
    fileItem("/apps/Missing");
    fileItem(application("Second"));
    runChain();
    EXPECT_EQ(executeSleeper->sleeps(), std::vector<double>({ 3 }));

    // Skipped at its turn, the last item gets no delay; the one before it does.
    fileItem(application("Third"));
    requirePowerSupply(fileItem(application("Fourth")));
    when("DidStartItem(Third)", [&] { unplug(); });
    auto sleeper = std::make_shared<FakeSleeper>();
    execute()->setSleeper(sleeper);
    runChain();
    EXPECT_EQ(sleeper->sleeps(), std::vector<double>({ 3, 3, 3 }));
}

TEST_F(ExecutingApplicationStateTest, ARunStartedAfterACancelNeverRunsBesideTheOldOne)
{
    const auto clock = std::make_shared<FakeClock>();
    execute()->setSleeper(std::make_shared<ConditionSleeper>(clock));
    fileItem(application("First"));
    delayItem(100);
    fileItem(application("Second"));

    const auto first = startRun();
    ASSERT_TRUE(processEventsUntil([&] { return notifications.summary().contains("DidStartItem(Delay 100 s)"); }));
    context.cancelExecution();
    const auto second = startRun();
    ASSERT_TRUE(processEventsUntil([&] {
        clock->advance(1);
        return hasEnded(first) && hasEnded(second);
    }));

    EXPECT_EQ(openedPaths(), QStringList({ "/apps/First", "/apps/First", "/apps/Second" }));
    const QStringList lines = notifications.summary();
    // The first run ended before the second began.
    EXPECT_EQ(lines.mid(0, 5), QStringList({ "DidStart", "DidStartItem(First)", "DidEndItem(First)",
                                             "DidStartItem(Delay 100 s)", "DidEnd" }));
    EXPECT_EQ(lines.count("DidEnd"), 2);
    EXPECT_EQ(helpers.notifications().size(), 1);
}

TEST_F(ExecutingApplicationStateTest, WaitingForTheFirstNetworkScanNeverBlocksTheMainThread)
{
    DBFileItem* item = fileItem(application("App"));
    DBStartupCondition* condition = objects.createNetworkStartupCondition();
    condition->conditionNetworkData()->setNetworkName("Home");
    condition->conditionNetworkData()->setNetworkModeValue(NetworkModeNot);
    condition->conditionNetworkData()->setNetworkStatusValue(NetworkStatusAvailable);
    item->addItemStartupConditionsObject(condition);

    runChain();
    EXPECT_EQ(openedPaths(), QStringList { "/apps/App" });
    EXPECT_EQ(machine->waitsOnMainThread, 0);
    EXPECT_GT(machine->waitsElsewhere, 0);
    EXPECT_EQ(machine->itemReadsOffMainThread, 0);
}

} // namespace
