#pragma once
// Small states and helpers for the engine tests. The states only exist here:
// they stand for the product's states by their kind flags and by where they
// do their work (inline, or on a queue of their own with a sleep).
#include "engine/ApplicationContext.h"
#include "engine/ApplicationHelping.h"
#include "engine/RunJournal.h"
#include "foundation/DispatchQueue.h"
#include "foundation/SynchronousTicker.h"
#include "platform/fake/FakeSystemTimesProvider.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStringList>
#include <QThread>
#include <future>
#include <mutex>

// Runs the main thread's event loop until done() or a few seconds passed.
// A generous bound: under a loaded parallel run with sanitizers, real launches
// take seconds; passing tests return as soon as the condition holds.
inline bool processEventsUntil(const std::function<bool()>& done)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 30000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return done();
}

inline bool isMainThread()
{
    return QThread::currentThread() == QCoreApplication::instance()->thread();
}

// What the states did, in order, from any thread.
class EventLog {
public:
    void add(const QString& event)
    {
        std::lock_guard lock(m_mutex);
        m_events.append(event);
    }
    QStringList events() const
    {
        std::lock_guard lock(m_mutex);
        return m_events;
    }
    bool contains(const QString& event) const { return events().contains(event); }

private:
    mutable std::mutex m_mutex;
    QStringList m_events;
};

struct StateKindFlags {
    bool delayBeforeExecution = false;
    bool execution = false;
    bool autoClose = false;
};

// Base of the test states: its kind comes from flags; events name the state
// and the run ("Delay:3:start").
class TestState : public ApplicationState {
public:
    TestState(QString name, EventLog& log, StateKindFlags flags = {})
        : ApplicationState(name)
        , m_log(log)
        , m_flags(flags)
    {
    }

    bool isDelayBeforeExecutionState() const override { return m_flags.delayBeforeExecution; }
    bool isExecutionState() const override { return m_flags.execution; }
    bool isAutoCloseState() const override { return m_flags.autoClose; }

    void record(const QString& what) { m_log.add(QStringLiteral("%1:%2:%3").arg(logDescription(), QString::number(run()->serial()), what)); }

    std::atomic<int> startsOnMainThread { 0 };
    std::atomic<int> startsElsewhere { 0 };

protected:
    void noteStart()
    {
        (isMainThread() ? startsOnMainThread : startsElsewhere)++;
        record(QStringLiteral("start"));
    }

    EventLog& m_log;
    const StateKindFlags m_flags;
};

// Does its step at once, on the thread that starts it. A state of an execution
// kind asks the gate first, as the product's states do.
class ImmediateState : public TestState {
public:
    using TestState::TestState;

    void executeState() override
    {
        noteStart();
        if (m_flags.execution)
            record(isExecutionAllowed() ? QStringLiteral("work") : QStringLiteral("skipped"));
        cleanupState();
        proceedWithCompletionBlock();
    }
};

// Counts down on a queue of its own, like the countdowns and the run: asks
// the gate, optionally waits until the test releases it, then sleeps in ticks
// on its sleeper and stops at the first tick that sees the cancel.
class CountdownState : public TestState {
public:
    CountdownState(QString name, EventLog& log, StateKindFlags flags, double duration)
        : TestState(std::move(name), log, flags)
        , m_duration(duration)
    {
    }

    // The next executions wait in their work until release() is called.
    void hold()
    {
        std::lock_guard lock(m_mutex);
        m_release = std::promise<void>();
        m_released = m_release.get_future().share();
    }
    void release() { m_release.set_value(); }

    void executeState() override
    {
        noteStart();
        setQueue(createDispatchQueueNamed(QStringLiteral("TestCountdown")));
        std::shared_future<void> released;
        {
            std::lock_guard lock(m_mutex);
            released = m_released;
        }
        queue()->async([this, released] {
            if (!isExecutionAllowed()) {
                record(QStringLiteral("skipped"));
            } else {
                record(QStringLiteral("work"));
                if (released.valid())
                    released.wait();
                synchronous_ticker(
                    [this](double, bool& stop) {
                        if (isExecutionCancelled()) {
                            record(QStringLiteral("cancelled"));
                            stop = true;
                        }
                    },
                    m_duration, 1.0 / m_duration, sleeper());
            }
            record(QStringLiteral("end"));
            cleanupState();
            proceedWithCompletionBlock();
        });
    }

private:
    const double m_duration;
    std::mutex m_mutex;
    std::promise<void> m_release;
    std::shared_future<void> m_released;
};

class FakeApplicationHelpers : public ApplicationHelping {
public:
    QString applicationBundleID() const override { return QStringLiteral(LW_BUNDLE_IDENTIFIER); }
    QDateTime calculatedBootTime() const override { return times.bootTime(); }
    QDateTime calculatedLoginTime() const override { return times.loginTime(); }
    QString bootID() const override { return times.bootID(); }
    QString loginSessionID() const override { return times.loginSessionID(); }
    RunJournal* runJournal() override { return journal.get(); }
    QVariantMap debugOptions() const override { return {}; }
    bool postUserNotificationWithTitle(const QString&, const QString&) override { return true; }
    SystemItemsHandling* systemItemsHandler() override { return nullptr; }

    FakeSystemTimesProvider times;
    std::unique_ptr<RunJournal> journal;
};
