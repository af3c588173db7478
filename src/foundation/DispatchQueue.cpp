#include "foundation/DispatchQueue.h"

#include "foundation/Log.h"
#include "foundation/SystemClock.h"

#include <QCoreApplication>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <climits>

DispatchQueue::DispatchQueue(const QString& name, std::shared_ptr<const Clock> clock)
    : DispatchQueue(FullLabel { QStringLiteral(LW_BUNDLE_IDENTIFIER ".") + name }, std::move(clock))
{
}

DispatchQueue::DispatchQueue(FullLabel label, std::shared_ptr<const Clock> clock)
    : m_label(std::move(label.label))
    , m_clock(clock ? std::move(clock) : SystemClock::shared())
{
    m_thread = std::thread([this] { run(); });
    m_threadId = m_thread.get_id();
}

DispatchQueue::DispatchQueue(MainQueueTag)
    : m_label(QStringLiteral(LW_BUNDLE_IDENTIFIER ".main"))
    , m_isMain(true)
{
}

DispatchQueue::~DispatchQueue()
{
    Q_ASSERT_X(m_isMain || std::this_thread::get_id() != m_threadId, "DispatchQueue",
               "A queue cannot be destroyed by one of its own tasks");
    shutdown();
}

DispatchQueue& DispatchQueue::main()
{
    static DispatchQueue queue { MainQueueTag {} };
    return queue;
}

QString DispatchQueue::label() const
{
    return m_label;
}

void DispatchQueue::async(Task task)
{
    if (m_isMain) {
        postToMainThread(std::move(task));
        return;
    }
    {
        std::lock_guard lock(m_mutex);
        if (!m_stopping) {
            m_ready.push_back(std::move(task));
            m_condition.notify_one();
            return;
        }
    }
    LOG_WARN("Dropped a task given to the stopped queue %1", m_label);
}

void DispatchQueue::asyncAfter(double seconds, Task task)
{
    const auto delay = Clock::durationFromSeconds(seconds);
    if (m_isMain) {
        // Qt's timers take whole milliseconds in an int; round up so that a
        // task never runs early.
        const auto milliseconds = std::min(std::chrono::ceil<std::chrono::milliseconds>(delay),
                                           std::chrono::milliseconds(INT_MAX));
        // The timer is made on the main thread: Qt timers belong to the thread
        // that starts them.
        postToMainThread([milliseconds, task = std::move(task)]() mutable {
            QTimer::singleShot(milliseconds, Qt::PreciseTimer, QCoreApplication::instance(), std::move(task));
        });
        return;
    }
    {
        std::lock_guard lock(m_mutex);
        if (!m_stopping) {
            m_delayed.emplace(m_clock->now() + delay, std::move(task));
            m_condition.notify_one();
            return;
        }
    }
    LOG_WARN("Dropped a delayed task given to the stopped queue %1", m_label);
}

void DispatchQueue::shutdown()
{
    if (m_isMain)
        return;
    std::multimap<Clock::TimePoint, Task> dropped;
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
        dropped.swap(m_delayed);
        m_condition.notify_one();
    }
    if (!dropped.empty())
        LOG_DEBUG("Queue %1 stops with %2 delayed tasks dropped", m_label, dropped.size());
    // The tasks' captures are released here, outside the lock, in case they
    // own something that uses the queue.
    dropped.clear();
    if (std::this_thread::get_id() == m_threadId)
        return;
    std::call_once(m_joined, [this] { m_thread.join(); });
}

void DispatchQueue::shutdownServingMainThread()
{
    if (m_isMain || std::this_thread::get_id() == m_threadId)
        return shutdown();
    if (QCoreApplication::instance() && is_main_thread()) {
        // The last task to run before the thread ends wakes the wait below.
        const auto finished = std::make_shared<std::atomic<bool>>(false);
        bool running = false;
        {
            std::lock_guard lock(m_mutex);
            running = !m_stopping;
            if (running) {
                m_ready.push_back([finished] {
                    *finished = true;
                    dispatch_main_thread([] {});
                });
                m_condition.notify_one();
            }
        }
        while (running && !*finished)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    shutdown();
}

void DispatchQueue::postToMainThread(Task task)
{
    QCoreApplication* application = QCoreApplication::instance();
    if (!application) {
        LOG_ERROR("Dropped a task for %1: there is no application event loop", m_label);
        return;
    }
    QMetaObject::invokeMethod(application, std::move(task), Qt::QueuedConnection);
}

void DispatchQueue::run()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        const Clock::TimePoint now = m_clock->now();
        while (!m_delayed.empty() && m_delayed.begin()->first <= now) {
            m_ready.push_back(std::move(m_delayed.begin()->second));
            m_delayed.erase(m_delayed.begin());
        }
        if (!m_ready.empty()) {
            Task task = std::move(m_ready.front());
            m_ready.pop_front();
            lock.unlock();
            task();
            // Release the captures before taking the lock again.
            task = nullptr;
            lock.lock();
            continue;
        }
        if (m_stopping)
            return;
        if (m_delayed.empty())
            m_condition.wait(lock);
        else
            m_clock->waitUntil(m_condition, lock, m_delayed.begin()->first);
    }
}

void dispatch_after_delay(double seconds, DispatchQueue& queue, DispatchQueue::Task task)
{
    queue.asyncAfter(seconds, std::move(task));
}

void dispatch_main_thread(DispatchQueue::Task task)
{
    DispatchQueue::main().async(std::move(task));
}

bool is_main_thread()
{
    const QCoreApplication* application = QCoreApplication::instance();
    return !application || QThread::currentThread() == application->thread();
}

bool dispatch_main_thread_sync(const DispatchQueue::Task& task)
{
    QCoreApplication* application = QCoreApplication::instance();
    if (!application) {
        LOG_ERROR("Cannot run a task on the main thread: there is no application event loop");
        return false;
    }
    if (QThread::currentThread() == application->thread()) {
        task();
        return true;
    }
    struct Handoff {
        std::mutex mutex;
        std::condition_variable condition;
        bool finished = false;
        bool ran = false;
    };
    // Finishes the wait when the posted call is destroyed, which also happens
    // when the event loop goes away with the call still pending.
    struct Finisher {
        std::shared_ptr<Handoff> handoff;
        ~Finisher()
        {
            {
                std::lock_guard lock(handoff->mutex);
                handoff->finished = true;
            }
            handoff->condition.notify_all();
        }
    };
    const auto handoff = std::make_shared<Handoff>();
    auto finisher = std::make_shared<Finisher>();
    finisher->handoff = handoff;
    // task is only used while this call waits, so a reference is enough.
    QMetaObject::invokeMethod(
        application,
        [finisher = std::move(finisher), &task] {
            task();
            std::lock_guard lock(finisher->handoff->mutex);
            finisher->handoff->ran = true;
        },
        Qt::QueuedConnection);
    std::unique_lock lock(handoff->mutex);
    handoff->condition.wait(lock, [&] { return handoff->finished; });
    return handoff->ran;
}
