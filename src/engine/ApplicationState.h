#pragma once
// Base of the engine's states. A state is one long-lived object per kind that
// does one step of a chain and then proceeds: its completion runs on the main
// queue, where the chain starts its next state.
//
// Each execution belongs to one ChainRun, and its completion is the one given
// when that execution started. A state asked to execute while it is still
// busy with an earlier run keeps the new run waiting and starts it only after
// the earlier one has proceeded and its completion has run, so two runs never
// share the state's fields and a new chain never runs beside an old one in the
// same state.
//
// Subclasses implement executeState() and end every path of it, sooner or
// later and exactly once, with cleanupState() followed by
// proceedWithCompletionBlock().
//
// The texts, the settings and the notification centre come through the
// accessors of LanternwickObject; the context hands on its replacements.
#include "engine/ChainRun.h"
#include "engine/ContextBatchInfo.h"
#include "foundation/SynchronousTicker.h"
#include "texts/LanternwickObject.h"

#include <QString>
#include <QVariantList>
#include <QVariantMap>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

class ApplicationContext;
class ApplicationHelping;
class DBLoginGroup;
class DBLoginItem;
class DispatchQueue;
class IdleInhibitor;
class ModelObjectHelping;
class ObjectContext;
class Sleeper;
class SystemItemHelping;

class ApplicationState : public LanternwickObject {
public:
    using Completion = std::function<void()>;

    // name: the state's class name, for the log.
    explicit ApplicationState(QString name);
    virtual ~ApplicationState();
    ApplicationState(const ApplicationState&) = delete;
    ApplicationState& operator=(const ApplicationState&) = delete;

    QString logDescription() const { return m_name; }

    // The kind of the state, read by the context for its flags.
    virtual bool isDelayBeforeExecutionState() const { return false; }
    virtual bool isExecutionState() const { return false; }
    // The auto close also stops when only the auto close is cancelled.
    virtual bool isAutoCloseState() const { return false; }

    // Runs block synchronously while the system is kept from idling into sleep.
    void executeBlockSuppressingSystemNap(const std::function<void()>& block);

    // Sleeps seconds in ticks of 1 / ticksPerSecond on the state's sleeper and
    // calls block after each tick with the time left before it, until the
    // time is used up or the block sets its stop flag. A cancel of the run
    // wakes the sleep at once and ends the wait without calling the block.
    // Nothing happens for seconds of 0 or less; a rate that is not above zero
    // makes one tick of the whole time.
    void waitFor(double seconds, double ticksPerSecond, const TickBlock& block);

    // The user info of the countdowns' notifications.
    static QVariantMap delayUserInfoWithRemainingTime(double remainingTime);

    // The only entry the context uses. completion runs on the main queue once
    // the state proceeds.
    void executeWithCompletionBlock(std::shared_ptr<ChainRun> run, Completion completion);
    virtual void executeState() = 0;
    // Lets go of the queue of the current execution.
    void cleanupState();
    void proceedWithCompletionBlock();

    // The gate of the states that run items; see isExecutionAllowed() in the
    // source for the rules.
    bool isExecutionAllowed() const;
    // A new boot, a new login, or this login's run after a start was cut
    // short (killed, crashed); decided once per run.
    bool isFirstExecutionInLogin() const;
    bool isFirstExecutionAfterSystemBoot() const;
    // A login session other than the one of the last quit: its start time
    // differs, or where that is unknown, its ID.
    bool isFirstExecutionAfterLogin() const;
    // Whether this login's run after a start began and never ended.
    bool isLoginRunUnfinished() const;
    // The login this start runs in, as the run journal knows it: the boot's
    // ID, the session's and its start.
    QString loginKey() const;
    // kind names the event in the log ("system boot"). No lastKnownTime (an
    // invalid one) means a first execution; a difference of at least
    // allowance seconds, another event.
    bool determineFirstExecutionWithTime(const QDateTime& time, const QDateTime& lastKnownTime, const QString& kind,
                                         double allowance) const;

    // The item records sent to the login items service (MHItemDataKeys),
    // read on the main thread whatever thread asks.
    QVariantList arrayOfItemsDataForGroup(const DBLoginGroup* group) const;
    QVariantMap itemDataForLoginItem(const DBLoginItem* item) const;

    // A new serial queue labelled "<bundle id>.<name>".
    std::shared_ptr<DispatchQueue> createDispatchQueueNamed(const QString& name) const;

    // Posts synchronously on the calling thread with the state as sender.
    // When the current run has batch info it is added under
    // ContextBatchInfo::userInfoKey; otherwise userInfo goes out unchanged.
    void postNotification(const QString& name, const QVariantMap& userInfo = {}) const;

    // What the current execution serves; null between executions.
    std::shared_ptr<ChainRun> run() const;
    std::shared_ptr<ContextBatchInfo> batchInfo() const;
    bool isExecutionCancelled() const;
    // Wakes the state's sleep when its run has been cancelled for it.
    void wakeIfCancelled();

    std::shared_ptr<DispatchQueue> queue() const;
    void setQueue(std::shared_ptr<DispatchQueue> queue);

    // For quitting: wakes the sleep for good, drops the executions waiting
    // and the completion still to come, and refuses new executions. The
    // current execution's task ends at its next check of the run's cancel.
    void stop();
    // The queues whose thread may still run a task of the state.
    std::vector<std::shared_ptr<DispatchQueue>> queues() const;

    // Common objects, copied in by the context.
    ApplicationContext* applicationContext() const { return m_applicationContext; }
    void setApplicationContext(ApplicationContext* context) { m_applicationContext = context; }
    ObjectContext* managedObjectContext() const { return m_managedObjectContext; }
    void setManagedObjectContext(ObjectContext* context) { m_managedObjectContext = context; }
    ApplicationHelping* applicationHelpers() const { return m_applicationHelpers; }
    void setApplicationHelpers(ApplicationHelping* helpers) { m_applicationHelpers = helpers; }
    ModelObjectHelping* modelObjectHelpers() const { return m_modelObjectHelpers; }
    void setModelObjectHelpers(ModelObjectHelping* helpers) { m_modelObjectHelpers = helpers; }
    SystemItemHelping* systemItemHelpers() const { return m_systemItemHelpers; }
    void setSystemItemHelpers(SystemItemHelping* helpers) { m_systemItemHelpers = helpers; }

    IdleInhibitor& idleInhibitor() const;
    void setIdleInhibitor(std::shared_ptr<IdleInhibitor> inhibitor);
    // What the state's timed work sleeps on; cancelling the run wakes it.
    Sleeper& sleeper() const { return *m_sleeper; }
    void setSleeper(std::shared_ptr<Sleeper> sleeper);

private:
    struct Execution {
        std::shared_ptr<ChainRun> run;
        Completion completion;
    };

    void begin();
    void startNextWaitingExecution();
    bool isStopped() const;

    const QString m_name;
    // Main-thread tasks of the state check it before they touch the state.
    const std::shared_ptr<int> m_alive = std::make_shared<int>(0);

    mutable std::mutex m_mutex;
    bool m_stopped = false;
    bool m_busy = false;
    Execution m_current;
    std::deque<Execution> m_waiting;
    std::shared_ptr<DispatchQueue> m_queue;
    // The queue of the last execution; its idle thread is joined when the
    // next execution sets a queue or the state goes, never from its own thread.
    std::shared_ptr<DispatchQueue> m_retiredQueue;

    ApplicationContext* m_applicationContext = nullptr;
    ObjectContext* m_managedObjectContext = nullptr;
    ApplicationHelping* m_applicationHelpers = nullptr;
    ModelObjectHelping* m_modelObjectHelpers = nullptr;
    SystemItemHelping* m_systemItemHelpers = nullptr;
    std::shared_ptr<IdleInhibitor> m_idleInhibitor;
    std::shared_ptr<Sleeper> m_sleeper;
};
