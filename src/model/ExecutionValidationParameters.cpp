#include "model/ExecutionValidationParameters.h"

#include "foundation/DispatchQueue.h"
#include "foundation/Log.h"
#include "model/DBFileItem.h"

namespace {

std::mutex gDefaultSourceMutex;
std::shared_ptr<MachineStateSource> gDefaultSource;

template <typename T>
T readLocked(std::mutex& mutex, const T& field)
{
    std::lock_guard lock(mutex);
    return field;
}

template <typename T>
void writeLocked(std::mutex& mutex, T& field, const T& value)
{
    std::lock_guard lock(mutex);
    field = value;
}

} // namespace

ExecutionValidationParameters::ExecutionValidationParameters(std::shared_ptr<MachineStateSource> source)
    : m_source(std::move(source))
    , m_networksReceiver(std::make_shared<NetworksReceiver>())
{
    m_networksReceiver->snapshot = this;
}

ExecutionValidationParameters::~ExecutionValidationParameters()
{
    // Waits for a delivery in progress.
    std::lock_guard lock(m_networksReceiver->mutex);
    m_networksReceiver->snapshot = nullptr;
}

std::shared_ptr<ExecutionValidationParameters> ExecutionValidationParameters::create(std::shared_ptr<MachineStateSource> source)
{
    return std::shared_ptr<ExecutionValidationParameters>(new ExecutionValidationParameters(std::move(source)));
}

std::shared_ptr<ExecutionValidationParameters> ExecutionValidationParameters::executionValidationParametersFromCurrentValues()
{
    std::shared_ptr<ExecutionValidationParameters> parameters = create(defaultMachineStateSource());
    parameters->updateWithCurrentValues();
    parameters->updateAvailableItems();
    return parameters;
}

void ExecutionValidationParameters::setDefaultMachineStateSource(std::shared_ptr<MachineStateSource> source)
{
    std::lock_guard lock(gDefaultSourceMutex);
    gDefaultSource = std::move(source);
}

std::shared_ptr<MachineStateSource> ExecutionValidationParameters::defaultMachineStateSource()
{
    std::lock_guard lock(gDefaultSourceMutex);
    return gDefaultSource;
}

std::shared_ptr<MachineStateSource> ExecutionValidationParameters::checkedSource(const char* what) const
{
    if (!m_source)
        LOG_ERROR("Can't update %1 of %2: there is no machine state source!", what, this);
    return m_source;
}

void ExecutionValidationParameters::updateWithCurrentValues()
{
    if (!checkedSource("current values"))
        return;
    std::lock_guard lock(m_mutex);
    m_dueSamples = AllSamples;
    m_missingFiles.clear();
}

void ExecutionValidationParameters::updateAvailableItems()
{
    if (const std::shared_ptr<MachineStateSource> source = checkedSource("available items"))
        setAvailableItems(source->sortedLoginItemsForApplicationGroup());
}

void ExecutionValidationParameters::updateWithCurrentModifierKeysData()
{
    if (checkedSource("modifier keys"))
        sample(ModifierKeysSample);
}

void ExecutionValidationParameters::updateWithCurrentPowerSourceData()
{
    if (checkedSource("power source"))
        sample(PowerSourceSample);
}

void ExecutionValidationParameters::updateWithCurrentVolumesData()
{
    if (checkedSource("volumes"))
        sample(VolumesSample);
}

void ExecutionValidationParameters::updateWithCurrentNetworkData()
{
    if (!checkedSource("networks"))
        return;
    sampleNetworkList();
    sample(ReachabilitySample);
}

void ExecutionValidationParameters::refetchAndAssignTimeIntensiveBlockingValues()
{
    if (checkedSource("time-intensive values"))
        startNetworkScan();
}

void ExecutionValidationParameters::sampleIfDue(Sample sample) const
{
    {
        std::lock_guard lock(m_mutex);
        if (!(m_dueSamples & sample))
            return;
        m_dueSamples &= ~sample;
    }
    this->sample(sample);
}

// The source is asked outside the lock: a scan's delivery must not wait for it.
void ExecutionValidationParameters::sample(Sample sample) const
{
    switch (sample) {
    case TimeSample:
        store(m_time, m_source->currentTime(), TimeSample);
        return;
    case ModifierKeysSample: {
        const MachineStateSource::ModifierKeys keys = m_source->currentModifierKeys();
        std::lock_guard lock(m_mutex);
        m_controlKeyPressed = keys.control;
        m_optionKeyPressed = keys.option;
        m_shiftKeyPressed = keys.shift;
        m_commandKeyPressed = keys.command;
        m_dueSamples &= ~ModifierKeysSample;
        return;
    }
    case PowerSourceSample:
        store(m_powerSource, m_source->currentPowerSource(), PowerSourceSample);
        return;
    case VolumesSample:
        store(m_volumes, m_source->attachedVolumesData(), VolumesSample);
        return;
    case NetworksSample:
        sampleNetworkList();
        startNetworkScan();
        return;
    case ReachabilitySample:
        store(m_networkReachable, m_source->isNetworkReachable(), ReachabilitySample);
        return;
    case AllSamples:
        break;
    }
}

void ExecutionValidationParameters::sampleNetworkList() const
{
    // Asked before the cache is read: should the first scan end in between,
    // waiting later costs nothing and the fresher list is taken.
    const bool beforeFirstScan = !m_source->hasCompletedNetworkScan();
    const QList<NetworkData> networks = m_source->cachedNetworks();
    std::lock_guard lock(m_mutex);
    m_networks = networks;
    m_networksBeforeFirstScan = beforeFirstScan;
    m_dueSamples &= ~NetworksSample;
}

void ExecutionValidationParameters::startNetworkScan() const
{
    // The scan may end after the holder has let the snapshot go.
    m_source->fetchTimeIntensiveBlockingValues([receiver = m_networksReceiver](const QList<NetworkData>& networks) {
        std::lock_guard lock(receiver->mutex);
        if (receiver->snapshot)
            receiver->snapshot->deliverNetworks(networks);
    });
}

template <typename T>
void ExecutionValidationParameters::store(T& field, const T& value, Sample sample) const
{
    std::lock_guard lock(m_mutex);
    field = value;
    m_dueSamples &= ~sample;
}

QList<DBLoginItem*> ExecutionValidationParameters::availableItems() const
{
    return readLocked(m_mutex, m_availableItems);
}

void ExecutionValidationParameters::setAvailableItems(const QList<DBLoginItem*>& items)
{
    QHash<const DBLoginItem*, qsizetype> indexes;
    indexes.reserve(items.size());
    // Backwards, so that an item listed twice is found where it comes first.
    for (qsizetype index = items.size() - 1; index >= 0; --index)
        indexes.insert(items[index], index);
    std::lock_guard lock(m_mutex);
    m_availableItems = items;
    m_availableIndexes = std::move(indexes);
}

DBLoginItem* ExecutionValidationParameters::availableItemWithDelta(int delta, const DBLoginItem* item) const
{
    std::lock_guard lock(m_mutex);
    const auto found = m_availableIndexes.constFind(item);
    if (found == m_availableIndexes.constEnd())
        return nullptr;
    const qsizetype neighbour = *found + delta;
    return neighbour >= 0 && neighbour < m_availableItems.size() ? m_availableItems[neighbour] : nullptr;
}

DBLoginItem* ExecutionValidationParameters::availableItemBeforeOfItem(const DBLoginItem* item) const
{
    return availableItemWithDelta(-1, item);
}

DBLoginItem* ExecutionValidationParameters::availableItemAfterItem(const DBLoginItem* item) const
{
    return availableItemWithDelta(1, item);
}

bool ExecutionValidationParameters::isControlKeyPressed() const
{
    sampleIfDue(ModifierKeysSample);
    return readLocked(m_mutex, m_controlKeyPressed);
}

void ExecutionValidationParameters::setControlKeyPressed(bool pressed) { store(m_controlKeyPressed, pressed, ModifierKeysSample); }

bool ExecutionValidationParameters::isOptionKeyPressed() const
{
    sampleIfDue(ModifierKeysSample);
    return readLocked(m_mutex, m_optionKeyPressed);
}

void ExecutionValidationParameters::setOptionKeyPressed(bool pressed) { store(m_optionKeyPressed, pressed, ModifierKeysSample); }

bool ExecutionValidationParameters::isShiftKeyPressed() const
{
    sampleIfDue(ModifierKeysSample);
    return readLocked(m_mutex, m_shiftKeyPressed);
}

void ExecutionValidationParameters::setShiftKeyPressed(bool pressed) { store(m_shiftKeyPressed, pressed, ModifierKeysSample); }

bool ExecutionValidationParameters::isCommandKeyPressed() const
{
    sampleIfDue(ModifierKeysSample);
    return readLocked(m_mutex, m_commandKeyPressed);
}

void ExecutionValidationParameters::setCommandKeyPressed(bool pressed) { store(m_commandKeyPressed, pressed, ModifierKeysSample); }

uint32_t ExecutionValidationParameters::powerSource() const
{
    sampleIfDue(PowerSourceSample);
    return readLocked(m_mutex, m_powerSource);
}

void ExecutionValidationParameters::setPowerSource(uint32_t source) { store(m_powerSource, source, PowerSourceSample); }

QList<AttachedVolumeData> ExecutionValidationParameters::volumes() const
{
    sampleIfDue(VolumesSample);
    return readLocked(m_mutex, m_volumes);
}

void ExecutionValidationParameters::setVolumes(const QList<AttachedVolumeData>& volumes) { store(m_volumes, volumes, VolumesSample); }

QList<NetworkData> ExecutionValidationParameters::networks() const
{
    sampleIfDue(NetworksSample);
    return readLocked(m_mutex, m_networks);
}

void ExecutionValidationParameters::setNetworks(const QList<NetworkData>& networks)
{
    std::lock_guard lock(m_mutex);
    m_networks = networks;
    m_networksBeforeFirstScan = false;
    m_dueSamples &= ~NetworksSample;
}

// A scan's newer list; a sample due meanwhile still reads the source.
void ExecutionValidationParameters::deliverNetworks(const QList<NetworkData>& networks)
{
    std::lock_guard lock(m_mutex);
    m_networks = networks;
    m_networksBeforeFirstScan = false;
}

QList<NetworkData> ExecutionValidationParameters::networksAfterFirstScan()
{
    sampleIfDue(NetworksSample);
    // The main thread judges with what the sample holds: a view or the run's
    // judging must never freeze the interface for a scan.
    if (m_source && !is_main_thread() && readLocked(m_mutex, m_networksBeforeFirstScan)) {
        // Not under our lock: the scan's completion sets our networks.
        m_source->waitForFirstNetworkScan();
        deliverNetworks(m_source->cachedNetworks());
    }
    return readLocked(m_mutex, m_networks);
}

bool ExecutionValidationParameters::isNetworkReachable() const
{
    sampleIfDue(ReachabilitySample);
    return readLocked(m_mutex, m_networkReachable);
}

void ExecutionValidationParameters::setNetworkReachable(bool reachable) { store(m_networkReachable, reachable, ReachabilitySample); }

QDateTime ExecutionValidationParameters::time() const
{
    sampleIfDue(TimeSample);
    return readLocked(m_mutex, m_time);
}

void ExecutionValidationParameters::setTime(const QDateTime& time) { store(m_time, time, TimeSample); }

bool ExecutionValidationParameters::isJustBeforeLaunchCheck() const { return readLocked(m_mutex, m_justBeforeLaunchCheck); }
void ExecutionValidationParameters::setJustBeforeLaunchCheck(bool justBeforeLaunch) { writeLocked(m_mutex, m_justBeforeLaunchCheck, justBeforeLaunch); }

std::optional<uint32_t> ExecutionValidationParameters::executionStatusForItem(const DBLoginItem* item) const
{
    std::lock_guard lock(m_mutex);
    const auto found = m_executionStatuses.constFind(item);
    if (found == m_executionStatuses.constEnd())
        return std::nullopt;
    return *found;
}

void ExecutionValidationParameters::setExecutionStatusForItem(const DBLoginItem* item, uint32_t status)
{
    std::lock_guard lock(m_mutex);
    m_executionStatuses.insert(item, status);
}

void ExecutionValidationParameters::clearExecutionStatuses()
{
    std::lock_guard lock(m_mutex);
    m_executionStatuses.clear();
    m_missingFiles.clear();
}

bool ExecutionValidationParameters::isFileItemMissing(const DBFileItem& item)
{
    {
        std::lock_guard lock(m_mutex);
        const auto found = m_missingFiles.constFind(&item);
        if (found != m_missingFiles.constEnd())
            return *found;
    }
    // Asked outside the lock: the file system may be slow.
    const bool missing = item.itemIsMissing();
    std::lock_guard lock(m_mutex);
    m_missingFiles.insert(&item, missing);
    return missing;
}

QString ExecutionValidationParameters::logDescription() const
{
    std::lock_guard lock(m_mutex);
    QString modifiers = QStringLiteral("%1%2%3%4").arg(m_controlKeyPressed ? QStringLiteral("^") : QString(),
                                                       m_optionKeyPressed ? QStringLiteral("⌥") : QString(),
                                                       m_shiftKeyPressed ? QStringLiteral("⇧") : QString(),
                                                       m_commandKeyPressed ? QStringLiteral("⌘") : QString());
    if (!modifiers.isEmpty())
        modifiers += QLatin1Char(' ');
    return QStringLiteral("%1 (%2%3 HD%4, NET%5)")
        .arg(QStringLiteral("ExecutionValidationParameters"), modifiers,
             m_powerSource == 1 ? QStringLiteral("BAT") : QStringLiteral("PWR"), QString::number(m_volumes.size()),
             QString::number(m_networks.size()));
}
