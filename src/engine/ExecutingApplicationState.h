#pragma once
// Opens the user's items, one after another, on a queue of its own: before
// each item it samples the machine again and asks once more whether the item
// may run. Every step is announced with the MHExecuteNotifications; failures
// are collected, never stop the run, and keep the chain from closing the
// application afterwards.
//
// Threads: the run works on its queue with copies of the items, and judges
// them there in its own copy of the database while the live one has not
// changed; the live model is read and judged on the main thread only.
#include "engine/ApplicationState.h"
#include "engine/ExecutionData.h"
#include "engine/RunJournal.h"
#include "platform/Workspace.h"

#include <QSet>
#include <functional>
#include <memory>
#include <mutex>

class ApplicationContext;
class DBFileItem;
class Error;
class MachineStateSource;
class ObjectContext;

class ExecutingApplicationState : public ApplicationState {
public:
    explicit ExecutingApplicationState(std::shared_ptr<Workspace> workspace);

    // Makes the context create this state, with workspace, for its kind.
    static void registerWithContext(ApplicationContext& context, std::shared_ptr<Workspace> workspace);

    bool isExecutionState() const override { return true; }
    void executeState() override;

    // Opens file items now, in order, with the rules of a run (already running,
    // debug options, launch options), for the items list's launch command.
    // Answers false when one could not be opened; failed hears of each, with
    // the reason.
    using FailureHandler = std::function<void(const DBFileItem* item, const Error& error)>;
    bool executeFileItems(const QList<DBFileItem*>& items, const FailureHandler& failed = {});

    // Where the run's snapshots sample the machine; by default the
    // process-wide source of ExecutionValidationParameters.
    void setMachineStateSource(std::shared_ptr<MachineStateSource> source);
    // A fresh snapshot (not a just-before-launch check) with the application
    // group's items. Off the main thread only.
    std::shared_ptr<ExecutionValidationParameters> createExecutionValidationParametersFromCurrentValues() const;

    // The item check, on the main thread; the first step that answers no wins.
    bool isExecutionAllowedForItem(DBLoginItem* item, ExecutionData& data) const;
    bool validateMissingStatusForItem(const DBLoginItem* item, ExecutionData& data) const;
    bool validateEnabledStatusForItem(const DBLoginItem* item) const;
    bool validateStartupConditionsForItem(DBLoginItem* item, ExecutionData& data) const;
    // False when the application the item opens already runs, as the judging
    // pass's running items tell.
    bool validateLaunchedStatusForItem(const ExecutionData::Item& item, const Workspace::RunningItems& running) const;

    static bool shouldLaunchItemHidden(const ExecutionData::Item& item);

    // The handlers of the item kinds, with the run's data. Only a file item
    // can fail.
    bool executeFileItem(const ExecutionData::Item& item, ExecutionData* data, Error* error);
    // Opens the file item unless the pass finds it running; the journal, when
    // given, records what started.
    bool openFileItem(const ExecutionData::Item& item, Workspace::RunningItems* running, RunJournal* journal, Error* error);
    bool executeDelayItem(const ExecutionData::Item& item, ExecutionData* data, Error* error);
    bool executeWaitPreviousItem(const ExecutionData::Item& item, ExecutionData* data, Error* error);
    bool executeConditionalPreviousItem(const ExecutionData::Item& item, ExecutionData* data, Error* error);

private:
    void prepareRun(const std::shared_ptr<ChainRun>& run);
    void prepareFileItems(ExecutionData& data) const;
    // Answers what a cut-short run of this login had done already.
    RunJournal::LaunchRun beginLoginRun(const ChainRun& run, ExecutionData& data);
    void endLoginRun(const ExecutionData& data);
    // Records this login as handled, at once on disk.
    void storeLogin();
    void postUnkeptRunWarning();
    void rememberLaunches(const QList<RunJournal::Launch>& launches);
    void takeSnapshot(ExecutionData& data) const;
    // Runs work, which reads the items of the snapshot's list, where they
    // live: here for the run's copy, else on the main thread.
    void withItems(const ExecutionData& data, const std::function<void()>& work) const;
    void runItemLoop(const std::shared_ptr<ChainRun>& run, ExecutionData& data);
    // Judges the item again just before its turn; on yes, notes its previous
    // available item in data.
    bool isExecutionAllowedJustBeforeLaunch(const ExecutionData::Item& item, ExecutionData& data) const;
    void settleNetworks(ExecutionData& data) const;
    bool executeItem(const ExecutionData::Item& item, ExecutionData* data, Error* error);
    void refreshAvailableItems(ObjectContext* context, ExecutionData& data) const;
    // The copy the run's queue works with, named by the live item's ID; a
    // file item's missing state as the run's pass found it, when in a run.
    ExecutionData::Item recordOfItem(const DBLoginItem* item, ExecutionData* data) const;
    QVariantMap userInfoForItem(const ExecutionData::Item& item, const ExecutionData& data) const;
    void startForcedHiding(const ExecutionData& data);
    bool isDebugOptionSet(const QString& option) const;
    void postUserNotificationForRun(const ExecutionData& data);

    const std::shared_ptr<Workspace> m_workspace;
    std::shared_ptr<MachineStateSource> m_machineStateSource;
    std::once_flag m_launchesOfLoginRemembered;
};
