#include "engine/LiveMachineStateSource.h"

#include "engine/MachineFacts.h"
#include "foundation/DispatchQueue.h"
#include "foundation/Log.h"
#include "foundation/MHInternalNotifications.h"
#include "foundation/NotificationCenter.h"
#include "foundation/SystemClock.h"
#include "foundation/UserDefaults.h"
#include "platform/ModifierKeysProvider.h"
#include "platform/PowerSourceProvider.h"

#include <QSet>

LiveMachineStateSource::LiveMachineStateSource(std::shared_ptr<MachineFacts> facts,
                                               std::shared_ptr<const ModifierKeysProvider> modifierKeys,
                                               std::shared_ptr<const PowerSourceProvider> powerSource,
                                               std::shared_ptr<const Clock> clock, UserDefaults* userDefaults,
                                               NotificationCenter* notificationCenter)
    : m_facts(std::move(facts))
    , m_modifierKeys(std::move(modifierKeys))
    , m_powerSource(std::move(powerSource))
    , m_clock(clock ? std::move(clock) : SystemClock::shared())
    , m_userDefaults(userDefaults ? *userDefaults : UserDefaults::standard())
    , m_notificationCenter(notificationCenter ? *notificationCenter : NotificationCenter::defaultCenter())
    , m_queue(std::make_unique<DispatchQueue>(DispatchQueue::FullLabel { QStringLiteral("com.mossharbour.lanternwick.executionfetching") },
                                              m_clock))
{
}

LiveMachineStateSource::~LiveMachineStateSource()
{
    m_queue->shutdown();
}

void LiveMachineStateSource::setFirstScanTimeout(double seconds)
{
    std::lock_guard lock(m_mutex);
    m_firstScanTimeout = seconds;
}

void LiveMachineStateSource::setSortedItemsFunction(SortedItemsFunction function)
{
    std::lock_guard lock(m_mutex);
    m_sortedItems = std::move(function);
}

QDateTime LiveMachineStateSource::currentTime() const
{
    return QDateTime::currentDateTime();
}

MachineStateSource::ModifierKeys LiveMachineStateSource::currentModifierKeys() const
{
    const std::optional<::ModifierKeys> keys = m_modifierKeys->currentModifierKeys();
    if (!keys) {
        std::call_once(m_unknownKeysLogged, [] {
            LOG_WARN("The modifier keys cannot be read now (on Wayland only while a Lanternwick window is in front), "
                     "hotkey conditions take no key as held.");
        });
        return {};
    }
    return { keys->control, keys->option, keys->shift, keys->command };
}

uint32_t LiveMachineStateSource::currentPowerSource() const
{
    return m_powerSource->currentPowerSource() == PowerSourceProvider::Battery ? 1 : 0;
}

QList<AttachedVolumeData> LiveMachineStateSource::attachedVolumesData() const
{
    return m_facts->attachedVolumesData();
}

bool LiveMachineStateSource::isNetworkReachable() const
{
    return m_facts->isNetworkReachable();
}

QList<NetworkData> LiveMachineStateSource::cachedNetworks() const
{
    const QList<NetworkData> known = m_facts->knownNetworks();
    QList<NetworkData> result;
    {
        std::lock_guard lock(m_mutex);
        result = m_cache.value_or(QList<NetworkData>());
    }
    QSet<QString> names;
    for (const NetworkData& network : result)
        names.insert(network.name());
    for (const NetworkData& network : known) {
        if (!names.contains(network.name())) {
            names.insert(network.name());
            result.append(network);
        }
    }
    return result;
}

void LiveMachineStateSource::fetchTimeIntensiveBlockingValues()
{
    fetchTimeIntensiveBlockingValues(nullptr);
}

void LiveMachineStateSource::fetchTimeIntensiveBlockingValues(NetworksCompletion completion)
{
    const double interval = m_userDefaults.networkScanInterval();
    if (!(interval > 0)) {
        if (completion)
            completion(cachedNetworks());
        return;
    }
    {
        std::lock_guard lock(m_mutex);
        if (m_periodicInterval == 0) {
            m_periodicInterval = interval;
            scheduleNextPeriodicScan();
        }
        if (completion)
            m_pendingCompletions.push_back(std::move(completion));
        if (m_scanPending)
            return;
        m_scanPending = true;
    }
    m_queue->async([this] { scan(); });
}

// Called with m_mutex held.
void LiveMachineStateSource::scheduleNextPeriodicScan()
{
    m_queue->asyncAfter(m_periodicInterval, [this] {
        {
            std::lock_guard lock(m_mutex);
            scheduleNextPeriodicScan();
        }
        fetchTimeIntensiveBlockingValues([this](const QList<NetworkData>&) {
            QVariantMap userInfo;
            {
                std::lock_guard lock(m_mutex);
                if (m_cache)
                    userInfo.insert(MHInternalNotifications::networks, QVariant::fromValue(*m_cache));
            }
            m_notificationCenter.post(MHInternalNotifications::MHInternalNotificationNetworkDataFetchDidComplete, this, userInfo);
        });
    });
}

void LiveMachineStateSource::scan()
{
    // Outside the lock: readers of the cache must not wait for the scan.
    const QList<NetworkData> networks = m_facts->currentNetworks();
    std::vector<NetworksCompletion> completions;
    {
        std::lock_guard lock(m_mutex);
        m_cache = networks;
        m_scanPending = false;
        completions.swap(m_pendingCompletions);
    }
    m_scanCompleted.notify_all();
    LOG_DEBUG("Network scan found %1 networks", networks.size());
    if (completions.empty())
        return;
    const QList<NetworkData> found = cachedNetworks();
    for (const NetworksCompletion& completion : completions)
        completion(found);
}

bool LiveMachineStateSource::hasCompletedNetworkScan() const
{
    std::lock_guard lock(m_mutex);
    return m_cache.has_value();
}

void LiveMachineStateSource::waitForFirstNetworkScan() const
{
    std::unique_lock lock(m_mutex);
    if (m_cache || !m_scanPending)
        return;
    LOG_DEBUG("Waiting up to %1 s for the first network scan...", m_firstScanTimeout);
    const Clock::TimePoint deadline = m_clock->now() + Clock::durationFromSeconds(m_firstScanTimeout);
    while (!m_cache && m_clock->now() < deadline)
        m_clock->waitUntil(m_scanCompleted, lock, deadline);
    if (!m_cache)
        LOG_WARN("The first network scan hasn't finished in %1 s, judging without it!", m_firstScanTimeout);
}

QList<DBLoginItem*> LiveMachineStateSource::sortedLoginItemsForApplicationGroup() const
{
    SortedItemsFunction sortedItems;
    {
        std::lock_guard lock(m_mutex);
        sortedItems = m_sortedItems;
    }
    if (!sortedItems) {
        LOG_ERROR("No login items are available: nothing reads the application group!");
        return {};
    }
    return sortedItems();
}
