#include "engine/ApplicationContext.h"

#include "foundation/DispatchQueue.h"
#include "foundation/Log.h"
#include "foundation/MHExecuteNotifications.h"
#include "foundation/NotificationCenter.h"
#include "model/DBLoginGroup.h"
#include "model/DBLoginItem.h"
#include "model/ObjectContext.h"

#include <QCoreApplication>

#include <algorithm>

ApplicationContext::ApplicationContext() = default;

ApplicationContext::~ApplicationContext()
{
    shutdown();
}

void ApplicationContext::shutdown()
{
    std::vector<ApplicationState*> states;
    std::unique_ptr<DispatchQueue> pushQueue;
    {
        std::lock_guard lock(m_mutex);
        if (m_isShutDown)
            return;
        m_isShutDown = true;
        for (const std::unique_ptr<ApplicationState>& state : m_states) {
            if (state)
                states.push_back(state.get());
        }
        pushQueue = std::move(m_pushStatesQueue);
    }
    LOG_INFO("Stopping every state...");
    for (const std::shared_ptr<ChainRun>& run : liveRuns()) {
        run->cancelExecution();
        run->cancelAutoClose();
    }
    for (ApplicationState* state : states)
        state->stop();
    // Starts already pushed end first: one of them may still give a state a
    // queue. The states' tasks end next; nothing of a state goes before.
    if (pushQueue)
        pushQueue->shutdownServingMainThread();
    for (ApplicationState* state : states) {
        for (const std::shared_ptr<DispatchQueue>& queue : state->queues())
            queue->shutdownServingMainThread();
    }
}

NotificationCenter& ApplicationContext::notificationCenter() const
{
    return m_notificationCenter ? *m_notificationCenter : NotificationCenter::defaultCenter();
}

void ApplicationContext::setStateFactory(ApplicationStateKind kind, StateFactory factory)
{
    std::lock_guard lock(m_mutex);
    m_factories[static_cast<size_t>(kind)] = std::move(factory);
}

ApplicationState* ApplicationContext::stateOfKind(ApplicationStateKind kind)
{
    const auto index = static_cast<size_t>(kind);
    std::lock_guard lock(m_mutex);
    if (!m_states[index]) {
        if (!m_factories[index]) {
            LOG_ERROR("No state of kind %1 is known to the application context", index);
            return nullptr;
        }
        m_states[index] = m_factories[index]();
        if (!m_states[index])
            return nullptr;
        LOG_DEBUG("Initializing %1 due to first access...", m_states[index].get());
        copyCommonObjectsToState(*m_states[index]);
    }
    return m_states[index].get();
}

DispatchQueue& ApplicationContext::pushStatesQueue()
{
    std::lock_guard lock(m_mutex);
    Q_ASSERT_X(!m_isShutDown, "ApplicationContext", "The push queue is used after shutdown()");
    if (!m_pushStatesQueue)
        m_pushStatesQueue = std::make_unique<DispatchQueue>(QStringLiteral("ApplicationContext"));
    return *m_pushStatesQueue;
}

std::shared_ptr<ChainRun> ApplicationContext::pushState(ApplicationState* state, std::shared_ptr<ContextBatchInfo> info,
                                                         ChainCompletion completion)
{
    auto run = std::make_shared<ChainRun>(std::move(info));
    pushRun(state, run, std::move(completion));
    return run;
}

void ApplicationContext::pushRun(ApplicationState* state, std::shared_ptr<ChainRun> run, ChainCompletion completion)
{
    {
        std::lock_guard lock(m_mutex);
        if (m_isShutDown) {
            LOG_INFO("The engine has stopped, %1 is not started", state);
            run->cancelExecution();
            return;
        }
        std::erase_if(m_runs, [](const std::weak_ptr<ChainRun>& known) { return known.expired(); });
        m_runs.push_back(run);
    }
    LOG_DEBUG("Pushing %1 as the first state of %2...", state, run.get());
    // The context outlives its push queue (its destructor finishes the queue
    // first), so the task may use it.
    pushStatesQueue().async([this, state, run, completion = std::move(completion)]() mutable {
        executeState(state, std::move(run), std::move(completion));
    });
}

void ApplicationContext::executeState(ApplicationState* state, std::shared_ptr<ChainRun> run, ChainCompletion completion)
{
    if (!state) {
        LOG_ERROR("No state to execute for %1, the chain ends", run.get());
        return;
    }
    {
        std::lock_guard lock(m_mutex);
        if (m_isShutDown) {
            LOG_INFO("The engine has stopped, %1 does not go on", run.get());
            return;
        }
    }
    state->executeWithCompletionBlock(run, [run, completion = std::move(completion)] {
        if (completion)
            completion(run);
    });
}

void ApplicationContext::stateDidStart(const ApplicationState& state)
{
    if (state.isDelayBeforeExecutionState())
        ++m_delayStates;
    if (state.isExecutionState())
        ++m_executionStates;
}

void ApplicationContext::stateDidEnd(const ApplicationState& state)
{
    if (state.isDelayBeforeExecutionState())
        --m_delayStates;
    if (state.isExecutionState())
        --m_executionStates;
}

std::vector<std::shared_ptr<ChainRun>> ApplicationContext::liveRuns()
{
    std::vector<std::shared_ptr<ChainRun>> live;
    std::lock_guard lock(m_mutex);
    for (const std::weak_ptr<ChainRun>& known : m_runs) {
        if (std::shared_ptr<ChainRun> run = known.lock())
            live.push_back(std::move(run));
    }
    return live;
}

void ApplicationContext::updateStatesWithExecutionCancelled()
{
    for (const std::shared_ptr<ChainRun>& run : liveRuns())
        run->cancelExecution();
    std::lock_guard lock(m_mutex);
    for (const std::unique_ptr<ApplicationState>& state : m_states) {
        if (state)
            state->wakeIfCancelled();
    }
}

void ApplicationContext::copyCommonObjectsToState(ApplicationState& state)
{
    state.setApplicationHelpers(m_applicationHelpers);
    state.setModelObjectHelpers(m_modelObjectHelpers);
    state.setSystemItemHelpers(m_systemItemHelpers);
    state.setManagedObjectContext(m_managedObjectContext);
    state.setApplicationContext(this);
    state.setNotificationCenter(m_notificationCenter);
    state.setUserDefaults(m_userDefaults);
    if (m_idleInhibitor)
        state.setIdleInhibitor(m_idleInhibitor);
}

void ApplicationContext::cancelExecution()
{
    LOG_INFO("Cancelling execution...");
    updateStatesWithExecutionCancelled();
    postCancelNotification();
}

void ApplicationContext::cancelAutoClose()
{
    LOG_INFO("Cancelling auto close...");
    for (const std::shared_ptr<ChainRun>& run : liveRuns())
        run->cancelAutoClose();
    {
        std::lock_guard lock(m_mutex);
        for (const std::unique_ptr<ApplicationState>& state : m_states) {
            if (state)
                state->wakeIfCancelled();
        }
    }
    postCancelNotification();
}

void ApplicationContext::postCancelNotification()
{
    dispatch_main_thread([this, alive = std::weak_ptr<int>(m_alive)] {
        if (!alive.expired())
            notificationCenter().post(MHExecuteNotifications::MHExecuteDidCancelNotification, this);
    });
}

void ApplicationContext::itemExecutionDidFail(const std::shared_ptr<ChainRun>& run)
{
    if (run && run->batchInfo())
        run->batchInfo()->setDidItemExecutionFail(true);
}

bool ApplicationContext::isAtLeastOneApplicationItemAvailable(const std::shared_ptr<ChainRun>& run)
{
    if (run) {
        if (const std::optional<bool> cached = run->cachedApplicationItemAvailability())
            return *cached;
    }
    std::optional<bool> available;
    dispatch_main_thread_sync([&] {
        if (m_managedObjectContext)
            available = hasApplicationItem();
    });
    // Without a database there is nothing to remember: it may come later.
    if (!available)
        return false;
    if (run)
        run->setCachedApplicationItemAvailability(*available);
    return *available;
}

// Reads the groups as they are, without creating the application group:
// asking must not change the database.
bool ApplicationContext::hasApplicationItem() const
{
    const QList<DBLoginItem*> items = m_managedObjectContext->fetch<DBLoginItem>([](const DBLoginItem& item) {
        const DBLoginGroup* group = item.itemLoginGroup();
        return group && group->groupTypeValue() == LoginGroupTypeApplication;
    });
    return !items.isEmpty();
}
