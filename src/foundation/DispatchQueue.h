#pragma once
// A serial queue: tasks run one at a time, in the order they were submitted,
// on one thread of the queue's own. Delayed tasks run once their time has
// come by the queue's clock. DispatchQueue::main() instead posts into the Qt
// event loop of the main thread.
#include "foundation/Clock.h"

#include <QString>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

class DispatchQueue {
public:
    using Task = std::function<void()>;

    // Labelled "<bundle identifier>.<name>". Without a clock the real one is used.
    explicit DispatchQueue(const QString& name, std::shared_ptr<const Clock> clock = nullptr);
    // For the few queues whose established label does not follow that form.
    struct FullLabel {
        QString label;
    };
    explicit DispatchQueue(FullLabel label, std::shared_ptr<const Clock> clock = nullptr);
    // Shuts down; must not run on the queue's own thread.
    ~DispatchQueue();
    DispatchQueue(const DispatchQueue&) = delete;
    DispatchQueue& operator=(const DispatchQueue&) = delete;

    // The main thread's queue. Its tasks run from the event loop, never inline,
    // and its delays are measured by Qt's timers.
    static DispatchQueue& main();

    QString label() const;

    // Both return at once and may be called from any thread, also from a task
    // of this queue. A task given to a queue that was shut down is dropped.
    void async(Task task);
    void asyncAfter(double seconds, Task task);

    // Stops the queue: delayed tasks that are not yet due are dropped, tasks
    // already due still run, then the thread ends. Waits for that unless it is
    // called from a task of this queue. Does nothing on the main queue.
    void shutdown();
    // The same, but a caller on the main thread keeps running the event
    // loop's tasks while it waits: the queue's task may be waiting for the
    // main thread (dispatch_main_thread_sync). How the main thread ends a
    // queue whose task may still run.
    void shutdownServingMainThread();

private:
    struct MainQueueTag {};
    explicit DispatchQueue(MainQueueTag);

    void postToMainThread(Task task);
    void run();

    const QString m_label;
    const bool m_isMain = false;
    std::shared_ptr<const Clock> m_clock;

    std::mutex m_mutex;
    std::condition_variable m_condition;
    std::deque<Task> m_ready;
    // Ordered by due time; tasks due at the same time keep their order.
    std::multimap<Clock::TimePoint, Task> m_delayed;
    bool m_stopping = false;

    std::once_flag m_joined;
    std::thread m_thread;
    std::thread::id m_threadId;
};

// Runs task on queue after seconds (0 and below: as soon as the queue gets to
// it, never inline).
void dispatch_after_delay(double seconds, DispatchQueue& queue, DispatchQueue::Task task);

// Runs task from the main thread's event loop, never inline.
void dispatch_main_thread(DispatchQueue::Task task);

// True on the thread of the application's event loop, and before there is one.
bool is_main_thread();

// Runs task on the main thread and returns once it has run: inline when called
// on the main thread, otherwise posted to the event loop while the caller
// waits. This is how worker queues reach what lives on the main thread (the
// object context above all). Answers false when the task could not run: there
// is no application, or its event loop dropped the task unrun.
//
// The rule that keeps this free of deadlocks: the main thread never blocks
// waiting for a worker queue (joining it, waiting for one of its results),
// since that worker may be inside this call, waiting for the main thread.
bool dispatch_main_thread_sync(const DispatchQueue::Task& task);
