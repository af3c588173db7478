#include "EngineTestSupport.h"

#include "engine/StateChain.h"
#include "foundation/ConditionSleeper.h"
#include "foundation/MHExecuteNotifications.h"
#include "foundation/NotificationCenter.h"
#include "model/DBDelayItem.h"
#include "model/DBLoginGroup.h"
#include "model/ObjectContext.h"
#include "support/FakeClock.h"
#include "support/FakeModelTexts.h"

#include <QElapsedTimer>
#include <QThread>
#include <gtest/gtest.h>

namespace {

struct CancelNotice {
    const void* sender;
    bool onMainThread;
};

class ApplicationContextTest : public testing::Test {
protected:
    ApplicationContextTest()
    {
        context.setNotificationCenter(&center);
        context.setApplicationHelpers(&helpers);
        immediate(ApplicationStateKind::SearchMissingItems, QStringLiteral("Search"));
        immediate(ApplicationStateKind::ExecuteItems, QStringLiteral("Execute"), { false, true, false });
        immediate(ApplicationStateKind::AutoClose, QStringLiteral("AutoClose"), { false, true, true });
        immediate(ApplicationStateKind::ReadSystemItems, QStringLiteral("Read"));
        immediate(ApplicationStateKind::EnableSystemItemsChange, QStringLiteral("Enable"));
        immediate(ApplicationStateKind::DisableSystemItemsChange, QStringLiteral("Disable"));
        // Its sleep lasts until a cancel wakes it or the test moves the clock.
        context.setStateFactory(ApplicationStateKind::DelayBeforeExecution, [this] {
            auto state = std::make_unique<CountdownState>(QStringLiteral("Delay"), log, StateKindFlags { true, true, false }, 100);
            state->setSleeper(std::make_shared<ConditionSleeper>(clock));
            return state;
        });
    }

    ~ApplicationContextTest() override
    {
        // A failed test must not leave a countdown asleep for ever.
        context.cancelExecution();
        processEventsUntil([&] { return !context.isExecutionInProgress(); });
    }

    void immediate(ApplicationStateKind kind, const QString& name, StateKindFlags flags = {})
    {
        context.setStateFactory(kind, [this, name, flags] { return std::make_unique<ImmediateState>(name, log, flags); });
    }

    CountdownState* delay() { return static_cast<CountdownState*>(context.delayBeforeExecutionState()); }

    static std::shared_ptr<ContextBatchInfo> onDemand()
    {
        auto info = std::make_shared<ContextBatchInfo>();
        info->setIsExecutingOnDemand(true);
        return info;
    }

    // Starts a chain whose end is counted in ends.
    std::shared_ptr<ChainRun> startChain(QList<StateChain::Step> steps, std::shared_ptr<ContextBatchInfo> info = onDemand())
    {
        return StateChain::start(context, std::move(steps), std::move(info), [this](const std::shared_ptr<ChainRun>& run) {
            ends.push_back({ run->serial(), isMainThread() });
        });
    }
    std::shared_ptr<ChainRun> startStates(const QList<ApplicationState*>& states, std::shared_ptr<ContextBatchInfo> info = onDemand())
    {
        QList<StateChain::Step> steps;
        for (ApplicationState* state : states)
            steps.append(StateChain::Step { state, {} });
        return startChain(std::move(steps), std::move(info));
    }

    bool ended(const std::shared_ptr<ChainRun>& run) const
    {
        return std::any_of(ends.begin(), ends.end(), [&](const auto& end) { return end.first == run->serial(); });
    }
    // Lets every countdown run out by moving the clock on.
    bool runOutUntil(const std::function<bool()>& done)
    {
        return processEventsUntil([&] {
            clock->advance(1000);
            return done();
        });
    }
    static QString event(const QString& state, const std::shared_ptr<ChainRun>& run, const QString& what)
    {
        return QStringLiteral("%1:%2:%3").arg(state, QString::number(run->serial()), what);
    }
    NotificationCenter::Token observeCancel()
    {
        return center.addObserver(MHExecuteNotifications::MHExecuteDidCancelNotification, nullptr, [this](const Notification& n) {
            cancels.push_back({ n.sender, isMainThread() });
        });
    }

    const std::shared_ptr<FakeClock> clock = std::make_shared<FakeClock>();
    EventLog log;
    NotificationCenter center;
    FakeApplicationHelpers helpers;
    std::vector<std::pair<quint64, bool>> ends;
    std::vector<CancelNotice> cancels;
    ApplicationContext context;
};

TEST_F(ApplicationContextTest, ChainRunsInOrderAndEndsOnTheMainQueue)
{
    const auto run = startStates({ context.disableSystemItemsChangeState(), context.executeItemsState(),
                                  context.readSystemItemsState(), context.enableSystemItemsChangeState() });
    ASSERT_TRUE(processEventsUntil([&] { return ended(run); }));
    EXPECT_EQ(log.events(), QStringList({ event("Disable", run, "start"), event("Execute", run, "start"),
                                          event("Execute", run, "work"), event("Read", run, "start"),
                                          event("Enable", run, "start") }));
    ASSERT_EQ(ends.size(), 1u);
    EXPECT_TRUE(ends[0].second);
    // The first state starts on the push queue, the later ones from the
    // completions on the main queue.
    auto* first = static_cast<TestState*>(context.disableSystemItemsChangeState());
    EXPECT_EQ(first->startsElsewhere, 1);
    EXPECT_EQ(static_cast<TestState*>(context.readSystemItemsState())->startsOnMainThread, 1);
    EXPECT_FALSE(context.isExecutionInProgress());
}

TEST_F(ApplicationContextTest, LaunchChainStopsAfterTheSearchWhenItsTestSaysSo)
{
    bool stop = true;
    const auto stopping = startChain({ { context.searchMissingItemsState(), [&] { return stop; } },
                                       { context.delayBeforeExecutionState(), {} },
                                       { context.executeItemsState(), {} } });
    ASSERT_TRUE(processEventsUntil([&] { return ended(stopping); }));
    EXPECT_EQ(log.events(), QStringList { event("Search", stopping, "start") });

    stop = false;
    const auto going = startChain({ { context.searchMissingItemsState(), [&] { return stop; } },
                                    { context.delayBeforeExecutionState(), {} },
                                    { context.executeItemsState(), {} } });
    ASSERT_TRUE(runOutUntil([&] { return ended(going); }));
    EXPECT_TRUE(log.contains(event("Delay", going, "end")));
    EXPECT_TRUE(log.contains(event("Execute", going, "work")));
}

TEST_F(ApplicationContextTest, ChainsPushedBackToBackStartInPushOrderOnThePushQueue)
{
    const auto first = startStates({ context.searchMissingItemsState() }, nullptr);
    const auto second = startStates({ context.readSystemItemsState() }, nullptr);
    const auto third = startStates({ context.searchMissingItemsState() }, nullptr);
    ASSERT_TRUE(processEventsUntil([&] { return ended(first) && ended(second) && ended(third); }));
    EXPECT_EQ(log.events(), QStringList({ event("Search", first, "start"), event("Read", second, "start"),
                                          event("Search", third, "start") }));
    EXPECT_EQ(static_cast<TestState*>(context.readSystemItemsState())->startsElsewhere, 1);
}

TEST_F(ApplicationContextTest, CancelDuringTheCountdownReachesTheRestOfTheChainOnce)
{
    const auto token = observeCancel();
    const auto run = startStates({ context.delayBeforeExecutionState(), context.executeItemsState(),
                                  context.autoCloseState(), context.readSystemItemsState() });
    ASSERT_TRUE(processEventsUntil([&] { return log.contains(event("Delay", run, "work")); }));
    EXPECT_TRUE(context.isDelayBeforeExecutionInProgress());
    EXPECT_TRUE(context.isExecutionInProgress());

    context.cancelExecution();
    EXPECT_TRUE(cancels.empty()) << "posted from the main queue, not inline";
    ASSERT_TRUE(processEventsUntil([&] { return ended(run); }));
    EXPECT_TRUE(log.contains(event("Delay", run, "cancelled")));
    EXPECT_TRUE(log.contains(event("Execute", run, "skipped")));
    EXPECT_TRUE(log.contains(event("AutoClose", run, "skipped")));
    EXPECT_TRUE(log.contains(event("Read", run, "start")));
    ASSERT_EQ(cancels.size(), 1u);
    EXPECT_EQ(cancels[0].sender, &context);
    EXPECT_TRUE(cancels[0].onMainThread);
    EXPECT_FALSE(context.isDelayBeforeExecutionInProgress());
    EXPECT_FALSE(context.isExecutionInProgress());
}

TEST_F(ApplicationContextTest, ANewChainRightAfterACancelNeitherOverlapsNorRevivesTheOldOne)
{
    // The old countdown is slow to stop: it is still busy when the new chain comes.
    delay()->hold();
    const auto old = startStates({ context.delayBeforeExecutionState(), context.executeItemsState() });
    ASSERT_TRUE(processEventsUntil([&] { return log.contains(event("Delay", old, "work")); }));

    context.cancelExecution();
    const auto fresh = startStates({ context.delayBeforeExecutionState(), context.executeItemsState() });
    std::atomic<bool> pushed { false };
    context.pushStatesQueue().async([&] { pushed = true; });
    ASSERT_TRUE(processEventsUntil([&] { return pushed.load(); }));
    EXPECT_FALSE(log.contains(event("Delay", fresh, "start"))) << "the new chain waits for the busy countdown";

    delay()->release();
    ASSERT_TRUE(processEventsUntil([&] { return ended(old) && log.contains(event("Delay", fresh, "work")); }));
    EXPECT_FALSE(fresh->isExecutionCancelled());
    EXPECT_TRUE(old->isExecutionCancelled());
    EXPECT_TRUE(context.isExecutionInProgress()) << "the new countdown is still running";

    ASSERT_TRUE(runOutUntil([&] { return ended(fresh); }));
    const QStringList events = log.events();
    // The shared countdown served the old chain to its end before the new one.
    EXPECT_LT(events.indexOf(event("Delay", old, "end")), events.indexOf(event("Delay", fresh, "start")));
    EXPECT_TRUE(events.contains(event("Execute", old, "skipped")));
    EXPECT_FALSE(events.contains(event("Execute", old, "work")));
    EXPECT_FALSE(events.contains(event("Delay", fresh, "cancelled")));
    EXPECT_EQ(events.count(event("Execute", fresh, "work")), 1);
    ASSERT_EQ(ends.size(), 2u);
    EXPECT_EQ(ends[0].first, old->serial());
    EXPECT_EQ(ends[1].first, fresh->serial());
    EXPECT_FALSE(context.isExecutionInProgress());
}

TEST_F(ApplicationContextTest, TheRunStaysInProgressUntilItHasReallyEnded)
{
    const auto token = observeCancel();
    delay()->hold();
    const auto run = startStates({ context.delayBeforeExecutionState() });
    ASSERT_TRUE(processEventsUntil([&] { return log.contains(event("Delay", run, "work")); }));
    context.cancelExecution();
    ASSERT_TRUE(processEventsUntil([&] { return !cancels.empty(); }));
    EXPECT_TRUE(context.isExecutionInProgress()) << "the cancelled countdown has not stopped yet";
    delay()->release();
    ASSERT_TRUE(processEventsUntil([&] { return ended(run); }));
    EXPECT_FALSE(context.isExecutionInProgress());
}

TEST_F(ApplicationContextTest, CancellingTheAutoCloseLeavesTheRunGoing)
{
    const auto token = observeCancel();
    delay()->hold();
    const auto run = startStates({ context.delayBeforeExecutionState(), context.executeItemsState(), context.autoCloseState() });
    ASSERT_TRUE(processEventsUntil([&] { return log.contains(event("Delay", run, "work")); }));
    context.cancelAutoClose();
    delay()->release();
    ASSERT_TRUE(runOutUntil([&] { return ended(run); }));
    EXPECT_FALSE(log.contains(event("Delay", run, "cancelled")));
    EXPECT_TRUE(log.contains(event("Execute", run, "work")));
    EXPECT_TRUE(log.contains(event("AutoClose", run, "skipped")));
    EXPECT_EQ(cancels.size(), 1u);
}

TEST_F(ApplicationContextTest, StatesAreMadeOnceWithTheCommonObjects)
{
    ApplicationState* read = context.readSystemItemsState();
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(context.readSystemItemsState(), read);
    EXPECT_EQ(read->applicationContext(), &context);
    EXPECT_EQ(read->applicationHelpers(), &helpers);
    EXPECT_EQ(&read->notificationCenter(), &center);
    EXPECT_EQ(context.uninstallLanternwickState(), nullptr) << "no factory for it";
    EXPECT_EQ(context.pushStatesQueue().label(), "com.mossharbour.Lanternwick2.ApplicationContext");
}

TEST_F(ApplicationContextTest, ItemExecutionFailureMarksOnlyItsOwnChain)
{
    const auto failing = std::make_shared<ChainRun>(onDemand());
    const auto other = std::make_shared<ChainRun>(onDemand());
    context.itemExecutionDidFail(failing);
    context.itemExecutionDidFail(std::make_shared<ChainRun>(nullptr));
    EXPECT_TRUE(failing->batchInfo()->didItemExecutionFail());
    EXPECT_FALSE(other->batchInfo()->didItemExecutionFail());
}

class ItemAvailabilityTest : public testing::Test {
protected:
    bool askFromWorker(const std::shared_ptr<ChainRun>& run)
    {
        std::atomic<int> answer { -1 };
        worker.async([&] { answer = context.isAtLeastOneApplicationItemAvailable(run) ? 1 : 0; });
        EXPECT_TRUE(processEventsUntil([&] { return answer >= 0; }));
        return answer == 1;
    }
    void addApplicationItem()
    {
        DBDelayItem* item = objects.createDelayItemWithDelay(1);
        item->setItemLoginGroup(objects.getOrCreateApplicationLoginGroup());
    }

    FakeModelTexts texts;
    ObjectContext objects { texts };
    ApplicationContext context;
    DispatchQueue worker { QStringLiteral("ItemAvailabilityTest") };
};

TEST_F(ItemAvailabilityTest, AskedOncePerRunOnTheMainThreadWithoutChangingTheDatabase)
{
    context.setManagedObjectContext(&objects);
    const auto run = std::make_shared<ChainRun>(nullptr);
    EXPECT_FALSE(askFromWorker(run));
    EXPECT_TRUE(objects.fetch<DBLoginGroup>().isEmpty()) << "asking created no group";
    EXPECT_FALSE(objects.hasChanges());

    addApplicationItem();
    EXPECT_FALSE(askFromWorker(run)) << "the run keeps its first answer";
    EXPECT_TRUE(askFromWorker(std::make_shared<ChainRun>(nullptr)));
}

TEST_F(ItemAvailabilityTest, WithoutADatabaseTheAnswerIsNoAndNotKept)
{
    const auto run = std::make_shared<ChainRun>(nullptr);
    EXPECT_FALSE(context.isAtLeastOneApplicationItemAvailable(run));
    addApplicationItem();
    context.setManagedObjectContext(&objects);
    EXPECT_TRUE(context.isAtLeastOneApplicationItemAvailable(run));
}

TEST_F(ItemAvailabilityTest, IgnoredItemsDoNotCount)
{
    context.setManagedObjectContext(&objects);
    DBDelayItem* item = objects.createDelayItemWithDelay(1);
    item->setItemLoginGroup(objects.getOrCreateIgnoreLoginGroup());
    EXPECT_FALSE(context.isAtLeastOneApplicationItemAvailable(nullptr));
}

} // namespace

namespace {

// Reads something on the main thread before it proceeds, as the states that
// read the model do.
class MainThreadReadingState : public ApplicationState {
public:
    explicit MainThreadReadingState(std::atomic<int>& reads)
        : ApplicationState(QStringLiteral("MainThreadReading"))
        , m_reads(reads)
    {
    }
    void executeState() override
    {
        m_reading = true;
        if (dispatch_main_thread_sync([] {}))
            ++m_reads;
        cleanupState();
        proceedWithCompletionBlock();
    }
    std::atomic<bool> m_reading { false };

private:
    std::atomic<int>& m_reads;
};

TEST(ApplicationContextShutdownTest, GoingAwayServesAStartThatWaitsOnTheMainThread)
{
    std::atomic<int> reads { 0 };
    auto context = std::make_unique<ApplicationContext>();
    context->setStateFactory(ApplicationStateKind::ReadSystemItems,
                             [&] { return std::make_unique<MainThreadReadingState>(reads); });
    auto* state = static_cast<MainThreadReadingState*>(context->readSystemItemsState());
    context->pushState(state, nullptr);
    while (!state->m_reading)
        QThread::yieldCurrentThread();
    context.reset();
    EXPECT_EQ(reads, 1);
}

// Sleeps in ticks on a queue of its own, as the countdowns do, and notes
// whether it proceeded and whether its completion ran.
class SleepingState : public ApplicationState {
public:
    SleepingState()
        : ApplicationState(QStringLiteral("Sleeping"))
    {
    }
    void executeState() override
    {
        setQueue(createDispatchQueueNamed(QStringLiteral("Sleeping")));
        queue()->async([this] {
            sleeping = true;
            waitFor(600, 10, [](double, bool&) {});
            // Touches the state after the wake: the state must still be there.
            woke = true;
            cleanupState();
            proceedWithCompletionBlock();
        });
    }
    std::atomic<bool> sleeping { false };
    std::atomic<bool> woke { false };
};

TEST(ApplicationContextShutdownTest, QuittingDuringASleepWakesItJoinsTheQueueAndEndsTheChain)
{
    ApplicationContext context;
    context.setStateFactory(ApplicationStateKind::DelayBeforeExecution, [] { return std::make_unique<SleepingState>(); });
    auto* state = static_cast<SleepingState*>(context.delayBeforeExecutionState());
    bool completed = false;
    const std::shared_ptr<ChainRun> run = context.pushState(state, std::make_shared<ContextBatchInfo>(),
                                                            [&](const std::shared_ptr<ChainRun>&) { completed = true; });
    while (!state->sleeping)
        QThread::yieldCurrentThread();

    QElapsedTimer elapsed;
    elapsed.start();
    context.shutdown();
    EXPECT_LT(elapsed.elapsed(), 2000);
    EXPECT_TRUE(state->woke);
    EXPECT_TRUE(run->isExecutionCancelled());

    // The completion of the stopped chain never runs, and nothing starts later.
    bool laterCompleted = false;
    const std::shared_ptr<ChainRun> later = context.pushState(state, nullptr, [&](const std::shared_ptr<ChainRun>&) { laterCompleted = true; });
    EXPECT_TRUE(later->isExecutionCancelled());
    QCoreApplication::processEvents();
    EXPECT_FALSE(completed);
    EXPECT_FALSE(laterCompleted);
}

} // namespace
