#include "engine/ApplicationState.h"

#include "engine/ApplicationContext.h"
#include "engine/ApplicationHelping.h"
#include "engine/RunJournal.h"
#include "foundation/ConditionSleeper.h"
#include "foundation/DispatchQueue.h"
#include "foundation/Log.h"
#include "foundation/MHExecuteNotifications.h"
#include "foundation/MHItemDataKeys.h"
#include "foundation/MHItemDataValues.h"
#include "foundation/NotificationCenter.h"
#include "foundation/UserDefaults.h"
#include "model/DBConditionalPreviousItem.h"
#include "model/DBDelayItem.h"
#include "model/DBFileItem.h"
#include "model/DBLoginGroup.h"
#include "model/ObjectContext.h"
#include "platform/linux/LinuxIdleInhibitor.h"

#include <cmath>
#include <utility>

namespace {

std::shared_ptr<IdleInhibitor> sharedIdleInhibitor()
{
    static const std::shared_ptr<IdleInhibitor> inhibitor
        = std::make_shared<LinuxIdleInhibitor>(QDBusConnection::systemBus());
    return inhibitor;
}

} // namespace

ApplicationState::ApplicationState(QString name)
    : m_name(std::move(name))
    , m_sleeper(std::make_shared<ConditionSleeper>())
{
}

ApplicationState::~ApplicationState() = default;

void ApplicationState::executeBlockSuppressingSystemNap(const std::function<void()>& block)
{
    idleInhibitor().performActivity(QStringLiteral("delay before executing"), block);
}

void ApplicationState::waitFor(double seconds, double ticksPerSecond, const TickBlock& block)
{
    synchronous_ticker(
        [&](double remaining, bool& stop) {
            if (isExecutionCancelled()) {
                stop = true;
                return;
            }
            block(remaining, stop);
        },
        seconds, ticksPerSecond, sleeper());
}

QVariantMap ApplicationState::delayUserInfoWithRemainingTime(double remainingTime)
{
    return { { MHExecuteNotifications::remainingTime, remainingTime } };
}

void ApplicationState::executeWithCompletionBlock(std::shared_ptr<ChainRun> run, Completion completion)
{
    {
        std::lock_guard lock(m_mutex);
        if (m_stopped) {
            LOG_DEBUG("%1 has stopped, %2 is not started", m_name, run.get());
            return;
        }
        if (m_busy) {
            LOG_DEBUG("%1 is still busy, %2 waits for it", m_name, run.get());
            m_waiting.push_back({ std::move(run), std::move(completion) });
            return;
        }
        m_busy = true;
        m_current = { std::move(run), std::move(completion) };
    }
    begin();
}

void ApplicationState::begin()
{
    {
        std::lock_guard lock(m_mutex);
        if (m_stopped)
            return;
        // A cancel that woke the previous execution must not cut this one short.
        m_sleeper->reset();
    }
    LOG_DEBUG("%1 starts for %2...", m_name, run().get());
    if (m_applicationContext)
        m_applicationContext->stateDidStart(*this);
    executeState();
}

void ApplicationState::cleanupState()
{
    std::lock_guard lock(m_mutex);
    if (m_queue)
        m_retiredQueue = std::move(m_queue);
}

void ApplicationState::proceedWithCompletionBlock()
{
    Completion completion;
    {
        std::lock_guard lock(m_mutex);
        if (!m_current.run) {
            LOG_ERROR("%1 proceeded without an execution in progress", m_name);
            return;
        }
        completion = std::move(m_current.completion);
        m_current = {};
    }
    // The state counts as busy until its completion has run, so the next
    // waiting execution starts only after the earlier chain has moved on.
    dispatch_main_thread([this, alive = std::weak_ptr<int>(m_alive), completion = std::move(completion)] {
        if (alive.expired() || isStopped())
            return;
        if (m_applicationContext)
            m_applicationContext->stateDidEnd(*this);
        if (completion)
            completion();
        else
            LOG_DEBUG("No completion block, state is last in queue.");
        startNextWaitingExecution();
    });
}

void ApplicationState::startNextWaitingExecution()
{
    {
        std::lock_guard lock(m_mutex);
        if (m_waiting.empty()) {
            m_busy = false;
            return;
        }
        m_current = std::move(m_waiting.front());
        m_waiting.pop_front();
    }
    begin();
}

// The first rule that answers no wins. A state without batch info (a chain
// that does not run items) passes every rule but the cancel.
bool ApplicationState::isExecutionAllowed() const
{
    if (isExecutionCancelled()) {
        LOG_DEBUG("Execution cancelled, proceeding...");
        return false;
    }
    const std::shared_ptr<ContextBatchInfo> info = batchInfo();
    if (!info)
        return true;
    const UserDefaults& defaults = userDefaults();
    if (info->isExecutingAfterLaunch()) {
        if (!defaults.isItemsExecutionAfterLaunchEnabled()) {
            LOG_DEBUG("Execution after launch is disabled, proceeding...");
            return false;
        }
        // The items run once in every login session: after a new boot or a new login.
        if (!defaults.isItemsExecutionOnManualLaunchEnabled() && !isFirstExecutionInLogin()) {
            LOG_DEBUG("Execution is subsequent after system boot, proceeding...");
            return false;
        }
    }
    if (info->isExecutingAfterAwakeFromSleep() && !defaults.isItemsExecutionAfterAwakingFromSleepEnabled()) {
        LOG_DEBUG("Execution after awake from sleep is disabled, proceeding...");
        return false;
    }
    return true;
}

bool ApplicationState::isFirstExecutionInLogin() const
{
    const std::shared_ptr<ChainRun> current = run();
    if (current) {
        if (const std::optional<bool> cached = current->cachedFirstExecutionInLogin())
            return *cached;
    }
    const bool first = isFirstExecutionAfterSystemBoot() || isFirstExecutionAfterLogin() || isLoginRunUnfinished();
    if (current)
        current->setCachedFirstExecutionInLogin(first);
    return first;
}

bool ApplicationState::isLoginRunUnfinished() const
{
    RunJournal* journal = m_applicationHelpers ? m_applicationHelpers->runJournal() : nullptr;
    if (!journal || !journal->hasUnfinishedLaunchRun(loginKey()))
        return false;
    LOG_INFO("The run of this login was cut short, assuming it goes on...");
    return true;
}

QString ApplicationState::loginKey() const
{
    if (!m_applicationHelpers)
        return {};
    const QDateTime login = m_applicationHelpers->calculatedLoginTime();
    return QStringLiteral("%1/%2/%3").arg(m_applicationHelpers->bootID(), m_applicationHelpers->loginSessionID(),
                                          login.isValid() ? QString::number(login.toMSecsSinceEpoch()) : QString());
}

bool ApplicationState::isFirstExecutionAfterSystemBoot() const
{
    const QDateTime bootTime = m_applicationHelpers ? m_applicationHelpers->calculatedBootTime() : QDateTime();
    // Missing the items of a real login is worse than running them again
    // on a manual start.
    if (!bootTime.isValid()) {
        LOG_WARN("The boot time is unknown, assuming this is first execution after system boot...");
        return true;
    }
    return determineFirstExecutionWithTime(bootTime, userDefaults().lastBootTime(), QStringLiteral("system boot"),
                                           userDefaults().systemBootDetectionAllowedDifference());
}

bool ApplicationState::isFirstExecutionAfterLogin() const
{
    const QString session = m_applicationHelpers ? m_applicationHelpers->loginSessionID() : QString();
    const QString lastSession = userDefaults().lastLoginSessionID();
    // Session IDs are not reused within a boot: a changed one is a new login,
    // whatever the login records say; an unchanged one is the same login.
    if (!session.isEmpty() && !lastSession.isEmpty()) {
        const bool isNew = session != lastSession;
        LOG_INFO("Last stored login session is %1, this is %2, assuming this is %3 execution after login...", lastSession,
                 session, isNew ? QStringLiteral("first") : QStringLiteral("subsequent"));
        return isNew;
    }
    const QDateTime loginTime = m_applicationHelpers ? m_applicationHelpers->calculatedLoginTime() : QDateTime();
    // The session's start is told exactly, where the boot time is worked
    // out: a login a few seconds after the last one is still a new login.
    if (loginTime.isValid())
        return determineFirstExecutionWithTime(loginTime, userDefaults().lastLoginTime(), QStringLiteral("login"), 1.0);
    if (session.isEmpty()) {
        LOG_INFO("The login session is unknown, assuming this is subsequent execution after login...");
        return false;
    }
    LOG_INFO("No login session stored, this is %1, assuming this is first execution after login...", session);
    return true;
}

bool ApplicationState::determineFirstExecutionWithTime(const QDateTime& time, const QDateTime& lastKnownTime,
                                                       const QString& kind, double allowance) const
{
    if (!lastKnownTime.isValid()) {
        LOG_INFO("Last %1 time apsent in defaults, assuming this is first execution after %2...", kind, kind);
        return true;
    }
    const double difference = std::abs(static_cast<double>(time.msecsTo(lastKnownTime))) / 1000.0;
    const QString stored = lastKnownTime.toString(Qt::ISODateWithMs);
    if (difference >= allowance) {
        LOG_INFO("Last stored %1 time is %2, difference to calculated %3, assuming this is first execution after %4...",
                 kind, stored, difference, kind);
        return true;
    }
    LOG_INFO("Last stored %1 time is %2, difference to calculated %3, assuming this is subsequent execution after %4...",
             kind, stored, difference, kind);
    return false;
}

QVariantList ApplicationState::arrayOfItemsDataForGroup(const DBLoginGroup* group) const
{
    QVariantList items;
    if (!group)
        return items;
    dispatch_main_thread_sync([&] {
        const ObjectContext* context = group->managedObjectContext();
        if (!context)
            return;
        for (const DBLoginItem* item : context->sortedLoginItemsForGroup(group)) {
            const QVariantMap data = itemDataForLoginItem(item);
            if (!data.isEmpty())
                items.append(data);
        }
    });
    return items;
}

QVariantMap ApplicationState::itemDataForLoginItem(const DBLoginItem* item) const
{
    QVariantMap data;
    if (!item)
        return data;
    dispatch_main_thread_sync([&] {
        switch (item->loginItemType()) {
        case LoginItemTypeFile:
            data.insert(MHItemDataKeys::type, QString(MHItemDataValues::file));
            data.insert(MHItemDataKeys::path, static_cast<const DBFileItem*>(item)->itemPath());
            // Handed back, it stays off.
            if (static_cast<const DBFileItem*>(item)->itemStartupMode() == ItemStartupModeDisabled)
                data.insert(MHItemDataKeys::disabled, true);
            break;
        case LoginItemTypeDelay:
            data.insert(MHItemDataKeys::type, QString(MHItemDataValues::delay));
            data.insert(MHItemDataKeys::delay, static_cast<const DBDelayItem*>(item)->itemDelayValue());
            break;
        case LoginItemTypeWaitPrevious:
            data.insert(MHItemDataKeys::type, QString(MHItemDataValues::waitprevious));
            break;
        case LoginItemTypeConditionalPrevious:
            data.insert(MHItemDataKeys::type, QString(MHItemDataValues::conditionalprevious));
            data.insert(MHItemDataKeys::mode, static_cast<const DBConditionalPreviousItem*>(item)->itemModeValue());
            break;
        default:
            LOG_ERROR("Item %1 type %2 is unknown/unsupported!", item, item->loginItemType());
            Q_ASSERT_X(false, "itemDataForLoginItem", "Unknown login item type");
            return;
        }
        data.insert(MHItemDataKeys::id, item->objectID().uriRepresentation());
        const QString name = item->itemNiceDisplayName();
        if (!name.isEmpty())
            data.insert(MHItemDataKeys::name, name);
        const QString description = item->itemNiceDescription();
        if (!description.isEmpty())
            data.insert(MHItemDataKeys::description, description);
    });
    return data;
}

std::shared_ptr<DispatchQueue> ApplicationState::createDispatchQueueNamed(const QString& name) const
{
    return std::make_shared<DispatchQueue>(name);
}

void ApplicationState::postNotification(const QString& name, const QVariantMap& userInfo) const
{
    const std::shared_ptr<ContextBatchInfo> info = batchInfo();
    if (!info) {
        notificationCenter().post(name, this, userInfo);
        return;
    }
    QVariantMap withBatch = userInfo;
    withBatch.insert(ContextBatchInfo::userInfoKey, QVariant::fromValue(info));
    notificationCenter().post(name, this, withBatch);
}

std::shared_ptr<ChainRun> ApplicationState::run() const
{
    std::lock_guard lock(m_mutex);
    return m_current.run;
}

std::shared_ptr<ContextBatchInfo> ApplicationState::batchInfo() const
{
    const std::shared_ptr<ChainRun> current = run();
    return current ? current->batchInfo() : nullptr;
}

bool ApplicationState::isExecutionCancelled() const
{
    const std::shared_ptr<ChainRun> current = run();
    if (!current)
        return false;
    return current->isExecutionCancelled() || (isAutoCloseState() && current->isAutoCloseCancelled());
}

void ApplicationState::wakeIfCancelled()
{
    // Under the lock, so the wake cannot land on an execution that begins
    // meanwhile for a run that was not cancelled.
    std::lock_guard lock(m_mutex);
    const std::shared_ptr<ChainRun>& current = m_current.run;
    if (current && (current->isExecutionCancelled() || (isAutoCloseState() && current->isAutoCloseCancelled())))
        m_sleeper->cancel();
}

std::shared_ptr<DispatchQueue> ApplicationState::queue() const
{
    std::lock_guard lock(m_mutex);
    return m_queue;
}

void ApplicationState::setQueue(std::shared_ptr<DispatchQueue> queue)
{
    std::shared_ptr<DispatchQueue> retired;
    {
        std::lock_guard lock(m_mutex);
        std::shared_ptr<DispatchQueue> previous = std::exchange(m_queue, std::move(queue));
        retired = std::exchange(m_retiredQueue, std::move(previous));
    }
    // The queue retired before this one goes here, outside the lock; its
    // thread finished its work when its execution proceeded.
}

void ApplicationState::stop()
{
    std::deque<Execution> dropped;
    {
        std::lock_guard lock(m_mutex);
        m_stopped = true;
        m_sleeper->cancel();
        dropped.swap(m_waiting);
    }
    // Their completions (and the chains they hold) go outside the lock.
}

bool ApplicationState::isStopped() const
{
    std::lock_guard lock(m_mutex);
    return m_stopped;
}

std::vector<std::shared_ptr<DispatchQueue>> ApplicationState::queues() const
{
    std::lock_guard lock(m_mutex);
    std::vector<std::shared_ptr<DispatchQueue>> queues;
    for (const std::shared_ptr<DispatchQueue>& queue : { m_queue, m_retiredQueue }) {
        if (queue)
            queues.push_back(queue);
    }
    return queues;
}

IdleInhibitor& ApplicationState::idleInhibitor() const
{
    return m_idleInhibitor ? *m_idleInhibitor : *sharedIdleInhibitor();
}

void ApplicationState::setIdleInhibitor(std::shared_ptr<IdleInhibitor> inhibitor)
{
    m_idleInhibitor = std::move(inhibitor);
}

void ApplicationState::setSleeper(std::shared_ptr<Sleeper> sleeper)
{
    std::lock_guard lock(m_mutex);
    m_sleeper = std::move(sleeper);
}
