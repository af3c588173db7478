#pragma once
// Owner of the engine's states: starts chains, keeps the flags the views read,
// and cancels.
//
// Threads: chains are started from the main thread; the first state of a
// chain starts on the push queue, later ones on the main queue. Cancelling
// and the flags may be used from any thread.
#include "engine/ApplicationState.h"
#include "engine/ApplicationStateKind.h"
#include "engine/ChainRun.h"
#include "engine/ContextBatchInfo.h"

#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

class ApplicationHelping;
class DispatchQueue;
class IdleInhibitor;
class ModelObjectHelping;
class NotificationCenter;
class ObjectContext;
class SystemItemHelping;
class UserDefaults;

class ApplicationContext {
public:
    // Runs on the main queue when a state of the chain has proceeded; run is
    // the chain's own run, to be handed to the chain's next state.
    using ChainCompletion = std::function<void(const std::shared_ptr<ChainRun>& run)>;
    using StateFactory = std::function<std::unique_ptr<ApplicationState>()>;

    ApplicationContext();
    // Shuts down, then lets the states go.
    ~ApplicationContext();
    ApplicationContext(const ApplicationContext&) = delete;
    ApplicationContext& operator=(const ApplicationContext&) = delete;

    // Set once, before any state exists; copied into every state.
    ApplicationHelping* applicationHelpers() const { return m_applicationHelpers; }
    void setApplicationHelpers(ApplicationHelping* helpers) { m_applicationHelpers = helpers; }
    ModelObjectHelping* modelObjectHelpers() const { return m_modelObjectHelpers; }
    void setModelObjectHelpers(ModelObjectHelping* helpers) { m_modelObjectHelpers = helpers; }
    SystemItemHelping* systemItemHelpers() const { return m_systemItemHelpers; }
    void setSystemItemHelpers(SystemItemHelping* helpers) { m_systemItemHelpers = helpers; }
    ObjectContext* managedObjectContext() const { return m_managedObjectContext; }
    void setManagedObjectContext(ObjectContext* context) { m_managedObjectContext = context; }

    // Replacements of the process-wide services, handed on to every state;
    // null (the default) leaves the process-wide ones.
    NotificationCenter& notificationCenter() const;
    void setNotificationCenter(NotificationCenter* center) { m_notificationCenter = center; }
    void setUserDefaults(UserDefaults* defaults) { m_userDefaults = defaults; }
    void setIdleInhibitor(std::shared_ptr<IdleInhibitor> inhibitor) { m_idleInhibitor = std::move(inhibitor); }

    // How the state of a kind is made. The state is made on first access,
    // given the common objects, and kept for the life of the context.
    void setStateFactory(ApplicationStateKind kind, StateFactory factory);
    // Null (and logged) when no factory was set for the kind.
    ApplicationState* stateOfKind(ApplicationStateKind kind);
    ApplicationState* searchMissingItemsState() { return stateOfKind(ApplicationStateKind::SearchMissingItems); }
    ApplicationState* delayBeforeExecutionState() { return stateOfKind(ApplicationStateKind::DelayBeforeExecution); }
    ApplicationState* executeItemsState() { return stateOfKind(ApplicationStateKind::ExecuteItems); }
    ApplicationState* autoCloseState() { return stateOfKind(ApplicationStateKind::AutoClose); }
    ApplicationState* enableSystemItemsChangeState() { return stateOfKind(ApplicationStateKind::EnableSystemItemsChange); }
    ApplicationState* disableSystemItemsChangeState() { return stateOfKind(ApplicationStateKind::DisableSystemItemsChange); }
    ApplicationState* readSystemItemsState() { return stateOfKind(ApplicationStateKind::ReadSystemItems); }
    ApplicationState* createSystemItemsState() { return stateOfKind(ApplicationStateKind::CreateSystemItems); }
    ApplicationState* deleteSystemItemsState() { return stateOfKind(ApplicationStateKind::DeleteSystemItems); }
    ApplicationState* uninstallLanternwickState() { return stateOfKind(ApplicationStateKind::UninstallLanternwick); }

    // Quitting, from the main thread: cancels every chain, wakes every sleep,
    // drops the completions still to come and joins the push queue and every
    // state's queue, so that no task of the engine runs any more. Chains
    // pushed later do not start. Idempotent.
    void shutdown();

    // Orders the starts of chains; "<bundle id>.ApplicationContext".
    DispatchQueue& pushStatesQueue();

    // True while a state that runs items (or the countdown before them) is
    // working, from its start until its completion has run.
    bool isExecutionInProgress() const { return m_executionStates > 0; }
    bool isDelayBeforeExecutionInProgress() const { return m_delayStates > 0; }

    // Starts a chain with a run of its own: the state starts on the push
    // queue, completion runs on the main queue.
    std::shared_ptr<ChainRun> pushState(ApplicationState* state, std::shared_ptr<ContextBatchInfo> info,
                                        ChainCompletion completion = {});
    // The same in a run its starter made, with what the chain works on.
    void pushRun(ApplicationState* state, std::shared_ptr<ChainRun> run, ChainCompletion completion = {});
    // Starts the next state of the chain of run, now on the calling thread
    // (or once the state is done with an earlier chain).
    void executeState(ApplicationState* state, std::shared_ptr<ChainRun> run, ChainCompletion completion = {});

    // Marks every chain still running as cancelled and wakes the states that
    // sleep for them. Chains started later are not affected.
    void updateStatesWithExecutionCancelled();
    void copyCommonObjectsToState(ApplicationState& state);
    // Cancels the countdown before the run and the run (and so their auto
    // close); posts MHExecuteDidCancelNotification on the main queue.
    void cancelExecution();
    // Cancels only the auto close; posts the same notification.
    void cancelAutoClose();
    // Marks the chain of run as having a failed item, which prevents its
    // auto close.
    void itemExecutionDidFail(const std::shared_ptr<ChainRun>& run);
    // Whether the application group has an item, asked of the database once
    // per run (the model is read on the main thread).
    bool isAtLeastOneApplicationItemAvailable(const std::shared_ptr<ChainRun>& run);

private:
    friend class ApplicationState;
    void stateDidStart(const ApplicationState& state);
    void stateDidEnd(const ApplicationState& state);

    std::vector<std::shared_ptr<ChainRun>> liveRuns();
    void postCancelNotification();
    bool hasApplicationItem() const;

    ApplicationHelping* m_applicationHelpers = nullptr;
    ModelObjectHelping* m_modelObjectHelpers = nullptr;
    SystemItemHelping* m_systemItemHelpers = nullptr;
    ObjectContext* m_managedObjectContext = nullptr;
    NotificationCenter* m_notificationCenter = nullptr;
    UserDefaults* m_userDefaults = nullptr;
    std::shared_ptr<IdleInhibitor> m_idleInhibitor;

    // Main-queue tasks of the context check it before they touch it.
    const std::shared_ptr<int> m_alive = std::make_shared<int>(0);

    std::atomic<int> m_executionStates { 0 };
    std::atomic<int> m_delayStates { 0 };

    std::mutex m_mutex;
    bool m_isShutDown = false;
    std::array<StateFactory, ApplicationStateKindCount> m_factories;
    std::array<std::unique_ptr<ApplicationState>, ApplicationStateKindCount> m_states;
    // A run lives as long as its chain holds it.
    std::vector<std::weak_ptr<ChainRun>> m_runs;
    std::unique_ptr<DispatchQueue> m_pushStatesQueue;
};
