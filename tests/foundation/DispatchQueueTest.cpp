#include "foundation/ConditionSleeper.h"
#include "foundation/DispatchQueue.h"
#include "support/FakeClock.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <cmath>
#include <future>
#include <numeric>
#include <set>
#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

// Records the order in which tasks ran, from any thread.
class Recorder {
public:
    void add(int value)
    {
        std::lock_guard lock(m_mutex);
        m_values.push_back(value);
    }
    std::vector<int> values() const
    {
        std::lock_guard lock(m_mutex);
        return m_values;
    }
    bool waitForCount(size_t count) const
    {
        for (int i = 0; i < 5000; ++i) {
            if (values().size() >= count)
                return true;
            std::this_thread::sleep_for(1ms);
        }
        return false;
    }

private:
    mutable std::mutex m_mutex;
    std::vector<int> m_values;
};

// Waits until every task given to queue before it has run.
void drain(DispatchQueue& queue)
{
    std::promise<void> done;
    queue.async([&] { done.set_value(); });
    ASSERT_EQ(done.get_future().wait_for(5s), std::future_status::ready);
}

// Runs the main thread's event loop until done() or a few seconds passed.
bool processEventsUntil(const std::function<bool()>& done)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return done();
}

} // namespace

TEST(DispatchQueue, LabelCarriesTheBundleIdentifier)
{
    DispatchQueue queue(QStringLiteral("execute"));
    EXPECT_EQ(queue.label(), "com.mossharbour.Lanternwick2.execute");
    DispatchQueue labelled(DispatchQueue::FullLabel { QStringLiteral("org.example.scan") });
    EXPECT_EQ(labelled.label(), "org.example.scan");
}

TEST(DispatchQueue, RunsTasksOneAtATimeInOrderOnItsOwnThread)
{
    DispatchQueue queue(QStringLiteral("test.order"));
    Recorder recorder;
    std::atomic<int> running { 0 };
    std::atomic<bool> overlapped { false };
    std::set<std::thread::id> threads;
    for (int i = 0; i < 200; ++i) {
        queue.async([&, i] {
            if (++running > 1)
                overlapped = true;
            threads.insert(std::this_thread::get_id());
            recorder.add(i);
            --running;
        });
    }
    drain(queue);
    std::vector<int> expected(200);
    std::iota(expected.begin(), expected.end(), 0);
    EXPECT_EQ(recorder.values(), expected);
    EXPECT_FALSE(overlapped);
    ASSERT_EQ(threads.size(), 1u);
    EXPECT_NE(*threads.begin(), std::this_thread::get_id());
}

TEST(DispatchQueue, DelayedTasksRunWhenDueInDueOrder)
{
    const auto clock = std::make_shared<FakeClock>();
    DispatchQueue queue(QStringLiteral("test.delayed"), clock);
    Recorder recorder;
    dispatch_after_delay(2.0, queue, [&] { recorder.add(2); });
    dispatch_after_delay(1.0, queue, [&] { recorder.add(1); });
    dispatch_after_delay(1.0, queue, [&] { recorder.add(11); });
    queue.async([&] { recorder.add(0); });
    drain(queue);
    EXPECT_EQ(recorder.values(), std::vector<int>({ 0 }));

    clock->advance(0.999);
    drain(queue);
    EXPECT_EQ(recorder.values(), std::vector<int>({ 0 }));

    clock->advance(0.001);
    ASSERT_TRUE(recorder.waitForCount(3));
    EXPECT_EQ(recorder.values(), std::vector<int>({ 0, 1, 11 }));

    clock->advance(1.0);
    ASSERT_TRUE(recorder.waitForCount(4));
    EXPECT_EQ(recorder.values(), std::vector<int>({ 0, 1, 11, 2 }));
}

TEST(DispatchQueue, ZeroDelayRunsAfterTheCurrentTaskNeverInline)
{
    DispatchQueue queue(QStringLiteral("test.zero"));
    Recorder recorder;
    queue.async([&] {
        dispatch_after_delay(0, queue, [&] { recorder.add(2); });
        dispatch_after_delay(-5, queue, [&] { recorder.add(3); });
        recorder.add(1);
    });
    ASSERT_TRUE(recorder.waitForCount(3));
    EXPECT_EQ(recorder.values(), std::vector<int>({ 1, 2, 3 }));
}

TEST(DispatchQueue, RealDelayIsNotCutShort)
{
    DispatchQueue queue(QStringLiteral("test.real"));
    std::promise<std::chrono::steady_clock::time_point> ran;
    const auto start = std::chrono::steady_clock::now();
    dispatch_after_delay(0.003, queue, [&] { ran.set_value(std::chrono::steady_clock::now()); });
    auto future = ran.get_future();
    ASSERT_EQ(future.wait_for(5s), std::future_status::ready);
    EXPECT_GE(future.get() - start, 3ms);
}

TEST(DispatchQueue, ShutdownFinishesTheRunningTaskAndDropsDelayedOnes)
{
    const auto clock = std::make_shared<FakeClock>();
    auto queue = std::make_unique<DispatchQueue>(QStringLiteral("test.shutdown"), clock);
    Recorder recorder;
    std::promise<void> started;
    std::promise<void> gate;
    queue->async([&] {
        started.set_value();
        gate.get_future().wait_for(5s);
        recorder.add(1);
    });
    queue->async([&] { recorder.add(2); });
    queue->asyncAfter(10, [&] { recorder.add(3); });
    started.get_future().wait();

    auto stopping = std::async(std::launch::async, [&] { queue->shutdown(); });
    EXPECT_EQ(stopping.wait_for(2ms), std::future_status::timeout);
    gate.set_value();
    ASSERT_EQ(stopping.wait_for(5s), std::future_status::ready);
    EXPECT_EQ(recorder.values(), std::vector<int>({ 1, 2 }));

    queue->async([&] { recorder.add(4); });
    clock->advance(20);
    queue.reset();
    EXPECT_EQ(recorder.values(), std::vector<int>({ 1, 2 }));
}

TEST(DispatchQueue, ATaskMayShutDownItsOwnQueue)
{
    DispatchQueue queue(QStringLiteral("test.self"));
    Recorder recorder;
    queue.async([&] {
        queue.shutdown();
        recorder.add(1);
    });
    ASSERT_TRUE(recorder.waitForCount(1));
}

TEST(MainQueue, NeverRunsInlineAndRunsOnTheMainThread)
{
    bool ran = false;
    dispatch_main_thread([&] { ran = true; });
    EXPECT_FALSE(ran);
    EXPECT_TRUE(processEventsUntil([&] { return ran; }));

    std::atomic<QThread*> thread { nullptr };
    DispatchQueue worker(QStringLiteral("test.poster"));
    worker.async([&] { dispatch_main_thread([&] { thread = QThread::currentThread(); }); });
    EXPECT_TRUE(processEventsUntil([&] { return thread != nullptr; }));
    EXPECT_EQ(thread.load(), QCoreApplication::instance()->thread());
}

TEST(MainQueue, DelayedTasksKeepTheirOrder)
{
    std::vector<int> order;
    dispatch_after_delay(0.002, DispatchQueue::main(), [&] { order.push_back(2); });
    dispatch_after_delay(0, DispatchQueue::main(), [&] { order.push_back(1); });
    EXPECT_TRUE(order.empty());
    EXPECT_TRUE(processEventsUntil([&] { return order.size() == 2; }));
    EXPECT_EQ(order, std::vector<int>({ 1, 2 }));
}

TEST(Clock, SecondsBecomeDurationsThatNeverOverflow)
{
    EXPECT_EQ(Clock::durationFromSeconds(1.5), 1500ms);
    EXPECT_EQ(Clock::durationFromSeconds(-1), 0ns);
    EXPECT_EQ(Clock::durationFromSeconds(std::nan("")), 0ns);
    const auto longest = Clock::durationFromSeconds(INFINITY);
    EXPECT_EQ(Clock::durationFromSeconds(1e300), longest);
    EXPECT_GE(longest, std::chrono::hours(24 * 365 * 10));
    // Added to now it still lies in the future.
    EXPECT_GT(std::chrono::steady_clock::now() + longest, std::chrono::steady_clock::now());
}

TEST(ConditionSleeper, CancelWakesASleepingThread)
{
    ConditionSleeper sleeper;
    auto sleeping = std::async(std::launch::async, [&] { return sleeper.sleepFor(3600); });
    EXPECT_EQ(sleeping.wait_for(2ms), std::future_status::timeout);
    sleeper.cancel();
    ASSERT_EQ(sleeping.wait_for(5s), std::future_status::ready);
    EXPECT_FALSE(sleeping.get());

    // Cancellation holds until reset, so a sleep that starts late is not lost.
    EXPECT_FALSE(sleeper.sleepFor(3600));
    sleeper.reset();
    EXPECT_TRUE(sleeper.sleepFor(0.001));
}

TEST(ConditionSleeper, SleepsByItsClock)
{
    const auto clock = std::make_shared<FakeClock>();
    ConditionSleeper sleeper(clock);
    auto sleeping = std::async(std::launch::async, [&] {
        const Clock::TimePoint start = clock->now();
        const bool slept = sleeper.sleepFor(60);
        return std::make_pair(slept, clock->now() - start);
    });
    for (int i = 0; i < 5000 && sleeping.wait_for(1ms) != std::future_status::ready; ++i)
        clock->advance(1);
    ASSERT_EQ(sleeping.wait_for(5s), std::future_status::ready);
    const auto [slept, elapsed] = sleeping.get();
    EXPECT_TRUE(slept);
    EXPECT_GE(elapsed, 60s);
}

TEST(MainThreadSync, RunsInlineOnTheMainThread)
{
    bool ran = false;
    EXPECT_TRUE(dispatch_main_thread_sync([&] { ran = true; }));
    EXPECT_TRUE(ran);
}

TEST(MainThreadSync, AWorkerWaitsForTheMainThreadToRunIt)
{
    DispatchQueue queue(QStringLiteral("SyncTest"));
    std::atomic<QThread*> ranOn { nullptr };
    std::atomic<bool> returned { false };
    std::atomic<bool> answer { false };
    queue.async([&] {
        answer = dispatch_main_thread_sync([&] { ranOn = QThread::currentThread(); });
        // The task has run by the time the call returns.
        EXPECT_NE(ranOn.load(), nullptr);
        returned = true;
    });
    EXPECT_TRUE(processEventsUntil([&] { return returned.load(); }));
    EXPECT_TRUE(answer);
    EXPECT_EQ(ranOn.load(), QCoreApplication::instance()->thread());
}
