#include "engine/ExecutingApplicationState.h"

#include "engine/ApplicationContext.h"
#include "engine/ApplicationHelping.h"
#include "engine/LoginRecord.h"
#include "engine/ModelObjectHelping.h"
#include "foundation/DispatchQueue.h"
#include "foundation/Error.h"
#include "foundation/Log.h"
#include "foundation/MHDebugOptions.h"
#include "foundation/MHErrors.h"
#include "foundation/MHExecuteNotifications.h"
#include "foundation/UserDefaults.h"
#include "model/DBDelayItem.h"
#include "model/DBFileItem.h"
#include "model/DBNetworkConditionData.h"
#include "model/DBStartupCondition.h"
#include "model/DatabaseSerializer.h"
#include "model/ExecutionValidationParameters.h"
#include "model/ObjectContext.h"
#include "model/SystemItemHelping.h"
#include "platform/CanonicalPath.h"
#include "platform/Workspace.h"
#include "texts/Localizator.h"

namespace N = MHExecuteNotifications;

namespace {

bool looksForNetworksByName(const QList<DBLoginItem*>& items)
{
    for (const DBLoginItem* item : items) {
        for (const DBStartupCondition* condition : item->itemStartupConditions()) {
            const DBNetworkConditionData* network = condition->conditionNetworkData();
            if (condition->conditionTypeValue() == StartupConditionTypeNetwork && network && !network->networkName().isEmpty())
                return true;
        }
    }
    return false;
}

} // namespace

ExecutingApplicationState::ExecutingApplicationState(std::shared_ptr<Workspace> workspace)
    : ApplicationState(QStringLiteral("ExecutingApplicationState"))
    , m_workspace(std::move(workspace))
{
}

void ExecutingApplicationState::registerWithContext(ApplicationContext& context, std::shared_ptr<Workspace> workspace)
{
    context.setStateFactory(ApplicationStateKind::ExecuteItems,
                            [workspace] { return std::make_unique<ExecutingApplicationState>(workspace); });
}

void ExecutingApplicationState::setMachineStateSource(std::shared_ptr<MachineStateSource> source)
{
    m_machineStateSource = std::move(source);
}

void ExecutingApplicationState::executeState()
{
    if (!isExecutionAllowed()) {
        LOG_INFO("Execution is not allowed, proceeding...");
        cleanupState();
        proceedWithCompletionBlock();
        return;
    }
    setQueue(createDispatchQueueNamed(QStringLiteral("Execution")));
    queue()->async([this, run = run()] { prepareRun(run); });
}

std::shared_ptr<ExecutionValidationParameters> ExecutingApplicationState::createExecutionValidationParametersFromCurrentValues() const
{
    auto parameters = ExecutionValidationParameters::create(
        m_machineStateSource ? m_machineStateSource : ExecutionValidationParameters::defaultMachineStateSource());
    parameters->setJustBeforeLaunchCheck(false);
    parameters->updateWithCurrentValues();
    dispatch_main_thread_sync([&] { parameters->updateAvailableItems(); });
    return parameters;
}

// What the steps will read of their files is read ahead, while the steps before them launch.
void ExecutingApplicationState::prepareFileItems(ExecutionData& data) const
{
    QStringList paths;
    for (const ExecutionData::Item& item : data.itemsToBeExecuted()) {
        if (item.type == LoginItemTypeFile && !item.isMissing)
            paths.append(item.path);
    }
    if (m_workspace)
        m_workspace->prepareToOpen(paths);
    if (data.runningItems())
        data.runningItems()->expectItems(paths);
}

void ExecutingApplicationState::prepareRun(const std::shared_ptr<ChainRun>& run)
{
    // A new record for every run: nothing of an earlier, cancelled run is reused.
    const std::shared_ptr<ExecutionValidationParameters> parameters = createExecutionValidationParametersFromCurrentValues();
    ExecutionData data(parameters);
    const RunJournal::LaunchRun earlier = beginLoginRun(*run, data);
    if (m_workspace)
        data.setRunningItems(m_workspace->runningItems());
    takeSnapshot(data);
    withItems(data, [&] { data.setLooksForNetworksByName(looksForNetworksByName(parameters->availableItems())); });
    settleNetworks(data);

    QList<ExecutionData::Item> items;
    withItems(data, [&] {
        for (DBLoginItem* item : parameters->availableItems()) {
            if (!isExecutionAllowedForItem(item, data))
                continue;
            ExecutionData::Item record = recordOfItem(item, &data);
            if (record.type == LoginItemTypeFile && earlier.startedPaths.contains(writtenPath(record.path))) {
                LOG_INFO("Item %1 was started earlier in this login, skipping...", record);
                // Launched all the same: a wait for it ends once it is up or gone.
                data.addLaunchedFileItem(record);
                continue;
            }
            if (record.type == LoginItemTypeDelay && earlier.waitedDelays.contains(record.sortIndex)) {
                LOG_INFO("Item %1 was waited out earlier in this login, skipping...", record);
                continue;
            }
            items.append(std::move(record));
        }
    });
    data.setItemsToBeExecuted(items);
    prepareFileItems(data);

    // After a countdown the run goes on with nothing to run, so that its start
    // and end notifications close what the countdown opened.
    if (items.isEmpty() && !run->wasDelayBeforeExecutionIssued()) {
        LOG_VERBOSE("No item is to be executed now, proceeding with next state...");
        endLoginRun(data);
        cleanupState();
        proceedWithCompletionBlock();
        return;
    }

    startForcedHiding(data);
    executeBlockSuppressingSystemNap([&] { runItemLoop(run, data); });
    if (m_workspace)
        m_workspace->setDidLaunchHandler({});
    endLoginRun(data);
    postNotification(N::MHExecuteDidEndNotification);
    if (!run->isExecutionCancelled())
        postUserNotificationForRun(data);
    cleanupState();
    proceedWithCompletionBlock();
}

// Every run knows what this login's runs started. The run after a start
// records its login as handled at once, so that a kill from now on never makes
// a later start in this login run the list again; after one that was cut
// short it goes on with what that one had not done. Where the journal cannot
// keep the run, the login is recorded only when the run ends: recorded now, a
// kill would lose what the run had not started.
RunJournal::LaunchRun ExecutingApplicationState::beginLoginRun(const ChainRun& run, ExecutionData& data)
{
    RunJournal* journal = applicationHelpers() ? applicationHelpers()->runJournal() : nullptr;
    if (!journal)
        return {};
    const QString login = loginKey();
    rememberLaunches(journal->openForLogin(login));
    data.setRunJournal(journal);
    if (!run.batchInfo() || !run.batchInfo()->isExecutingAfterLaunch())
        return {};
    data.setIsLaunchRun(true);
    const RunJournal::LaunchRun launchRun = journal->beginLaunchRun(login);
    if (launchRun.isKept)
        storeLogin();
    else
        data.setIsLoginRecordedAtEnd(true);
    return launchRun;
}

void ExecutingApplicationState::endLoginRun(const ExecutionData& data)
{
    if (data.isLaunchRun() && data.runJournal())
        data.runJournal()->endLaunchRun();
    if (data.isLoginRecordedAtEnd())
        storeLogin();
}

void ExecutingApplicationState::storeLogin()
{
    LoginRecord::storeCurrentLogin(userDefaults(), *applicationHelpers());
    userDefaults().synchronize();
}

// Told among the run's errors too, so that the user learns of it.
void ExecutingApplicationState::postUnkeptRunWarning()
{
    const Error error(MHErrors::domain, MHErrors::MHErrorCodeRunNotKept, localizator().errorDescriptionForUnkeptRun());
    LOG_WARN("%1", error.description());
    postNotification(N::MHExecuteDidFailItemNotification, { { N::error, QVariant::fromValue(error) } });
}

void ExecutingApplicationState::rememberLaunches(const QList<RunJournal::Launch>& launches)
{
    if (!m_workspace)
        return;
    for (const RunJournal::Launch& launch : launches)
        m_workspace->rememberLaunch(launch.path, launch.pid, launch.startTicks);
}

// The live list's items in the run's own copy of the database, in which the
// run judges on its queue. Only the copy's stored content is taken on the
// main thread; the copy is made here and lives on this queue.
void ExecutingApplicationState::takeSnapshot(ExecutionData& data) const
{
    ObjectContext* context = managedObjectContext();
    if (!context)
        return;
    ExecutionValidationParameters& parameters = data.executionParameters();
    QList<ObjectID> availableIDs;
    QList<qsizetype> positions;
    QList<std::shared_ptr<SystemItemHelping>> helpers;
    QList<DBFileItem::FileFacts> facts;
    QVariantMap stored;
    quint64 changeCount = 0;
    dispatch_main_thread_sync([&] {
        const QList<DBLoginItem*> groupItems = context->sortedLoginItemsForGroup(context->getOrCreateApplicationLoginGroup());
        QHash<const DBLoginItem*, qsizetype> groupPositions;
        for (const DBLoginItem* item : groupItems) {
            groupPositions.insert(item, helpers.size());
            const auto* fileItem = dynamic_cast<const DBFileItem*>(item);
            helpers.append(fileItem ? fileItem->systemItemHelpers() : nullptr);
            facts.append(fileItem ? fileItem->fileFacts() : DBFileItem::FileFacts());
        }
        for (const DBLoginItem* item : parameters.availableItems()) {
            availableIDs.append(item->objectID());
            positions.append(groupPositions.value(item, -1));
        }
        stored = DatabaseSerializer::dictionaryRepresentationOfContext(*context);
        changeCount = context->changeCount();
    });
    data.setAvailableItemIDs(availableIDs);

    auto copy = std::make_unique<ObjectContext>(context->texts());
    QList<DBLoginItem*> copies;
    if (DatabaseSerializer::fillContextFromDictionaryRepresentation(stored, *copy)) {
        const QList<DBLoginItem*> groupItems = copy->sortedLoginItemsForGroup(copy->getOrCreateApplicationLoginGroup());
        for (qsizetype index = 0; index < groupItems.size() && index < helpers.size(); ++index) {
            if (auto* fileItem = dynamic_cast<DBFileItem*>(groupItems[index])) {
                fileItem->setSystemItemHelpers(helpers[index]);
                // The names the window shows, which the run's log and notifications use too.
                fileItem->setFileFacts(facts[index]);
            }
        }
        for (const qsizetype position : positions)
            copies.append(groupItems.value(position));
    }
    // An item the copy lacks (none should) leaves the whole run to the live database.
    if (copies.size() != availableIDs.size() || copies.contains(nullptr)) {
        LOG_WARN("The run's copy of the database does not hold its items, judging them in the live database...");
        return;
    }
    parameters.setAvailableItems(copies);
    data.setSnapshot(std::move(copy), copies, changeCount);
}

void ExecutingApplicationState::withItems(const ExecutionData& data, const std::function<void()>& work) const
{
    if (data.hasSnapshot())
        work();
    else
        dispatch_main_thread_sync(work);
}

// Takes the networks now, off the main thread, so that judging there never
// waits for the first scan; only a list that looks for a network by name
// needs that scan at all.
void ExecutingApplicationState::settleNetworks(ExecutionData& data) const
{
    if (data.looksForNetworksByName())
        data.executionParameters().networksAfterFirstScan();
}

void ExecutingApplicationState::runItemLoop(const std::shared_ptr<ChainRun>& run, ExecutionData& data)
{
    const UserDefaults& defaults = userDefaults();
    const bool isDelayBetweenItemsEnabled = defaults.isDelayBetweenItemsDuringExecutionEnabled();
    const double delayBetweenItems = defaults.delayBetweenItemsDuringExecution();

    postNotification(N::MHExecuteDidStartNotification);
    if (data.isLoginRecordedAtEnd())
        postUnkeptRunWarning();
    const QList<ExecutionData::Item>& items = data.itemsToBeExecuted();
    const auto wasCancelled = [&] {
        if (!isExecutionCancelled())
            return false;
        LOG_WARN("Execution was cancelled!");
        return true;
    };
    for (qsizetype index = 0; index < items.size(); ++index) {
        const ExecutionData::Item& item = items[index];
        if (wasCancelled())
            return;
        if (!isExecutionAllowedJustBeforeLaunch(item, data)) {
            LOG_INFO("Execution for %1 prevented, skipping...", item);
            continue;
        }
        QVariantMap userInfo = userInfoForItem(item, data);
        postNotification(N::MHExecuteDidStartItemNotification, userInfo);
        if (wasCancelled())
            return;

        Error error;
        const bool succeeded = executeItem(item, &data, &error);
        if (item.type == LoginItemTypeFile)
            data.addLaunchedFileItem(item);
        if (wasCancelled())
            return;
        if (!succeeded) {
            Error::log(QStringLiteral("Item %1 execution failed!").arg(item.displayName), error);
            data.addFailedItem(item);
            userInfo.insert(N::error, QVariant::fromValue(error));
            if (applicationContext())
                applicationContext()->itemExecutionDidFail(run);
            postNotification(N::MHExecuteDidFailItemNotification, userInfo);
        }
        postNotification(N::MHExecuteDidEndItemNotification, userInfo);

        if (index != items.size() - 1 && isDelayBetweenItemsEnabled) {
            LOG_VERBOSE("Waiting %1 s before executing next item...", delayBetweenItems);
            // A cancel wakes this sleep; the next item's turn sees it.
            sleeper().sleepFor(delayBetweenItems);
        }
    }
}

bool ExecutingApplicationState::isExecutionAllowedJustBeforeLaunch(const ExecutionData::Item& item, ExecutionData& data) const
{
    ExecutionValidationParameters& parameters = data.executionParameters();
    parameters.setJustBeforeLaunchCheck(true);
    parameters.updateWithCurrentValues();
    settleNetworks(data);

    bool allowed = false;
    std::optional<ExecutionData::Item> previous;
    const auto judge = [&](DBLoginItem* current) {
        if (!current) {
            LOG_INFO("Item %1 was deleted, preventing execution!", item);
            return;
        }
        allowed = isExecutionAllowedForItem(current, data);
        if (allowed) {
            if (const DBLoginItem* before = parameters.availableItemBeforeOfItem(current))
                previous = recordOfItem(before, &data);
        }
    };
    const ObjectContext* live = managedObjectContext();
    if (live && data.isSnapshotCurrent(live->changeCount())) {
        judge(data.snapshotItem(item.objectID));
    } else {
        dispatch_main_thread_sync([&] {
            ObjectContext* context = managedObjectContext();
            refreshAvailableItems(context, data);
            judge(context ? dynamic_cast<DBLoginItem*>(context->objectWithID(item.objectID)) : nullptr);
        });
    }
    if (allowed)
        data.setPreviousAvailableItem(previous);
    return allowed;
}

// The list keeps its members and order, but items deleted meanwhile leave
// it: the rules must not reach objects the database let go. It is made again
// only when the context's objects came or went, so that a step costs the same
// however long the list.
void ExecutingApplicationState::refreshAvailableItems(ObjectContext* context, ExecutionData& data) const
{
    const quint64 membership = context ? context->membershipChangeCount() : 0;
    if (data.availableItemsMembership() == membership)
        return;
    QList<DBLoginItem*> live;
    for (const ObjectID& id : data.availableItemIDs()) {
        if (auto* available = context ? dynamic_cast<DBLoginItem*>(context->objectWithID(id)) : nullptr)
            live.append(available);
    }
    data.executionParameters().setAvailableItems(live);
    data.setAvailableItemsMembership(membership);
}

bool ExecutingApplicationState::isExecutionAllowedForItem(DBLoginItem* item, ExecutionData& data) const
{
    return validateMissingStatusForItem(item, data) && validateEnabledStatusForItem(item)
        && validateStartupConditionsForItem(item, data);
}

bool ExecutingApplicationState::validateMissingStatusForItem(const DBLoginItem* item, ExecutionData& data) const
{
    if (item->loginItemType() != LoginItemTypeFile)
        return true;
    // The check of the pass, which the item's own rules read again.
    if (data.executionParameters().isFileItemMissing(*static_cast<const DBFileItem*>(item))) {
        LOG_INFO("Item %1 is missing, preventing execution!", item);
        return false;
    }
    return true;
}

bool ExecutingApplicationState::validateEnabledStatusForItem(const DBLoginItem* item) const
{
    if (item->loginItemType() == LoginItemTypeFile
        && static_cast<const DBFileItem*>(item)->itemStartupModeValue() == ItemStartupModeDisabled) {
        LOG_INFO("Item %1 is disabled, preventing execution!", item);
        return false;
    }
    return true;
}

bool ExecutingApplicationState::validateStartupConditionsForItem(DBLoginItem* item, ExecutionData& data) const
{
    if (!item->isExecutionAllowedForParameters(data.executionParameters())) {
        LOG_INFO("Item %1 startup conditions prevent execution!", item);
        return false;
    }
    return true;
}

bool ExecutingApplicationState::validateLaunchedStatusForItem(const ExecutionData::Item& item,
                                                              const Workspace::RunningItems& running) const
{
    if (!m_workspace || m_workspace->typeForItemAtPath(item.path) != ItemPathTypeApplication)
        return true;
    if (running.stateForItemAtPath(item.path) == Workspace::ApplicationState::NotRunning)
        return true;
    LOG_INFO("Item %1 is already running, preventing execution!", item);
    return false;
}

bool ExecutingApplicationState::shouldLaunchItemHidden(const ExecutionData::Item& item)
{
    return item.startupMode == ItemStartupModeHidden;
}

bool ExecutingApplicationState::executeItem(const ExecutionData::Item& item, ExecutionData* data, Error* error)
{
    switch (item.type) {
    case LoginItemTypeFile:
        return executeFileItem(item, data, error);
    case LoginItemTypeDelay:
        return executeDelayItem(item, data, error);
    case LoginItemTypeWaitPrevious:
        return executeWaitPreviousItem(item, data, error);
    case LoginItemTypeConditionalPrevious:
        return executeConditionalPreviousItem(item, data, error);
    }
    LOG_ERROR("Item %1 type %2 is unknown/unsupported!", item, static_cast<int>(item.type));
    return true;
}

bool ExecutingApplicationState::executeFileItems(const QList<DBFileItem*>& items, const FailureHandler& failed)
{
    // A start that has made no run yet learns once what this login's runs started.
    std::call_once(m_launchesOfLoginRemembered, [this] {
        if (RunJournal* journal = applicationHelpers() ? applicationHelpers()->runJournal() : nullptr)
            rememberLaunches(journal->openForLogin(loginKey()));
    });
    // One look at the processes serves every item, as in a run: each item
    // looks again only at what began or ended since.
    const std::unique_ptr<Workspace::RunningItems> running = m_workspace ? m_workspace->runningItems() : nullptr;
    bool opened = true;
    for (const DBFileItem* item : items) {
        if (!item)
            continue;
        ExecutionData::Item record;
        dispatch_main_thread_sync([&] { record = recordOfItem(item, nullptr); });
        LOG_VERBOSE("Launching %1...", record.displayName);
        Error error;
        if (openFileItem(record, running.get(), nullptr, &error))
            continue;
        opened = false;
        if (failed)
            failed(item, error);
    }
    return opened;
}

bool ExecutingApplicationState::executeFileItem(const ExecutionData::Item& item, ExecutionData* data, Error* error)
{
    return openFileItem(item, data ? data->runningItems() : nullptr, data ? data->runJournal() : nullptr, error);
}

bool ExecutingApplicationState::openFileItem(const ExecutionData::Item& item, Workspace::RunningItems* running,
                                             RunJournal* journal, Error* error)
{
    if (running) {
        running->refresh();
        if (!validateLaunchedStatusForItem(item, *running))
            return true;
    }
    if (isDebugOptionSet(MHDebugOptions::PreventFileItemExecution)) {
        LOG_WARN("File item execution is prevented by debug options!");
        return true;
    }
    Workspace::LaunchOptions options;
    options.hidden = shouldLaunchItemHidden(item);
    options.withoutActivation = userDefaults().isLaunchInBackgroundEnabled();
    const Workspace::LaunchResult result = m_workspace ? m_workspace->openItemAtPath(item.path, options)
                                                       : Workspace::LaunchResult::failure(QStringLiteral("There is no workspace to open items with."));
    if (result.succeeded) {
        if (journal)
            journal->recordStartedItem({ writtenPath(item.path), result.pid, result.startTicks });
        return true;
    }
    // A failure stays a failure whether or not the caller wants to know why.
    if (error) {
        *error = Error(MHErrors::domain, MHErrors::MHErrorCodeFileItemLaunchFailed,
                       localizator().errorDescriptionForFailedFileItemLaunch(item.displayName));
        error->setUserInfo({ { QStringLiteral("reason"), result.errorDescription } });
    }
    return false;
}

bool ExecutingApplicationState::executeDelayItem(const ExecutionData::Item& item, ExecutionData* data, Error*)
{
    if (isDebugOptionSet(MHDebugOptions::PreventDelayItemExecution)) {
        LOG_WARN("Delay item execution is prevented by debug options!");
        return true;
    }
    waitFor(item.delay, userDefaults().numberOfExecutionNotificationsPerSecond(), [this](double remaining, bool&) {
        postNotification(N::MHExecuteDidTickItemNotification, { { N::remainingTime, remaining } });
    });
    if (data && data->isLaunchRun() && data->runJournal() && !isExecutionCancelled())
        data->runJournal()->recordWaitedDelay(item.sortIndex);
    return true;
}

bool ExecutingApplicationState::executeWaitPreviousItem(const ExecutionData::Item&, ExecutionData* data, Error*)
{
    if (!data || !data->previousAvailableItem())
        return true;
    const ExecutionData::Item& previous = *data->previousAvailableItem();
    if (previous.type != LoginItemTypeFile || previous.isMissing || previous.path.isEmpty() || !data->runningItems())
        return true;
    Workspace::RunningItems& running = *data->runningItems();
    // An application opened in this run that runs no more has ended its
    // launch; a document is never seen running under its own path.
    const QList<ExecutionData::Item>& launched = data->launchedFileItems();
    const bool wasOpened = std::any_of(launched.cbegin(), launched.cend(), [&](const ExecutionData::Item& item) {
        return item.objectID == previous.objectID;
    }) && m_workspace->typeForItemAtPath(previous.path) == ItemPathTypeApplication;
    const UserDefaults& defaults = userDefaults();
    waitFor(defaults.maximumWaitForPreviousItemDelay(), defaults.numberOfWaitForPreviousItemChecksPerSecond(),
            [&](double, bool& stop) {
                running.refresh();
                const Workspace::ApplicationState state = running.stateForItemAtPath(previous.path);
                if (state == Workspace::ApplicationState::FinishedLaunching) {
                    LOG_INFO("%1 is running, proceeding with next item...", previous);
                    stop = true;
                } else if (state == Workspace::ApplicationState::NotRunning && wasOpened) {
                    LOG_INFO("%1 has ended, proceeding with next item...", previous);
                    stop = true;
                }
            });
    if (isExecutionCancelled())
        return true;
    LOG_INFO("Waiting for a little while before proceeding...");
    waitFor(defaults.waitForPreviousItemPostDelay(), 1, [](double, bool&) {});
    return true;
}

// Its rule acts through the neighbour checks of the items after it.
bool ExecutingApplicationState::executeConditionalPreviousItem(const ExecutionData::Item&, ExecutionData*, Error*)
{
    return true;
}

ExecutionData::Item ExecutingApplicationState::recordOfItem(const DBLoginItem* item, ExecutionData* data) const
{
    ExecutionValidationParameters* pass = data ? &data->executionParameters() : nullptr;
    ExecutionData::Item record;
    record.objectID = data ? data->liveIDOfItem(item) : item->objectID();
    record.type = modelObjectHelpers() ? modelObjectHelpers()->typeOfLoginItem(item) : item->loginItemType();
    record.displayName = item->itemNiceDisplayName();
    record.sortIndex = item->itemSortIndexValue();
    if (item->loginItemType() == LoginItemTypeFile) {
        const auto* fileItem = static_cast<const DBFileItem*>(item);
        record.path = fileItem->itemPath();
        record.startupMode = fileItem->itemStartupModeValue();
        record.isMissing = pass ? pass->isFileItemMissing(*fileItem) : fileItem->itemIsMissing();
    } else if (item->loginItemType() == LoginItemTypeDelay) {
        record.delay = static_cast<const DBDelayItem*>(item)->itemDelayValue();
    }
    return record;
}

QVariantMap ExecutingApplicationState::userInfoForItem(const ExecutionData::Item& item, const ExecutionData& data) const
{
    QVariantMap userInfo {
        { N::itemID, QVariant::fromValue(item.objectID) },
        { N::itemDisplayName, item.displayName },
        { N::itemType, static_cast<int>(item.type) },
    };
    if (item.type == LoginItemTypeWaitPrevious && data.previousAvailableItem()
        && !data.previousAvailableItem()->displayName.isEmpty())
        userInfo.insert(N::previousItemDisplayName, data.previousAvailableItem()->displayName);
    if (item.type == LoginItemTypeDelay)
        userInfo.insert(N::remainingTime, item.delay);
    return userInfo;
}

// Where the desktop lets no launcher hide another program's windows (Wayland),
// the log tells that the windows may show.
void ExecutingApplicationState::startForcedHiding(const ExecutionData& data)
{
    if (!m_workspace)
        return;
    QStringList hiddenPaths;
    for (const ExecutionData::Item& item : data.itemsToBeExecuted()) {
        if (item.type == LoginItemTypeFile && shouldLaunchItemHidden(item))
            hiddenPaths.append(item.path);
    }
    // Without a hidden item no launch needs a look.
    if (hiddenPaths.isEmpty())
        return;
    const UserDefaults* defaults = &userDefaults();
    // The workspace calls the handler, so it is there while the handler runs.
    Workspace* workspace = m_workspace.get();
    m_workspace->setDidLaunchHandler([hiddenPaths, defaults, workspace](const QString& applicationPath) {
        if (!defaults->isForcedItemHideEnabled())
            return;
        for (const QString& path : hiddenPaths) {
            if (isSamePath(path, applicationPath)) {
                LOG_INFO("Hiding %1 windows...", path);
                if (!workspace->hideWindowsOfApplication(applicationPath))
                    LOG_WARN("%1 windows may have stayed shown.", path);
                return;
            }
        }
    });
}

bool ExecutingApplicationState::isDebugOptionSet(const QString& option) const
{
    return applicationHelpers() && applicationHelpers()->debugOptions().value(option).toBool();
}

void ExecutingApplicationState::postUserNotificationForRun(const ExecutionData& data)
{
    if (!applicationHelpers())
        return;
    QStringList failedNames;
    for (const ExecutionData::Item& item : data.failedItems())
        failedNames.append(item.displayName);
    const Localizator& texts = localizator();
    applicationHelpers()->postUserNotificationWithTitle(texts.userNotificationExecutionEndedTitle(),
                                                        texts.userNotificationExecutionEndedInfoTextWithLaunchedItems(failedNames));
}
