#include "model/ExecutionValidationParameters.h"

#include "foundation/DispatchQueue.h"
#include "foundation/Log.h"
#include "model/DBLoginItem.h"

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
{
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
    const std::shared_ptr<MachineStateSource> source = checkedSource("current values");
    if (!source)
        return;
    setTime(source->currentTime());
    updateWithCurrentModifierKeysData();
    updateWithCurrentPowerSourceData();
    updateWithCurrentVolumesData();
    updateWithCurrentNetworkData();
    refetchAndAssignTimeIntensiveBlockingValues();
}

void ExecutionValidationParameters::updateAvailableItems()
{
    if (const std::shared_ptr<MachineStateSource> source = checkedSource("available items"))
        setAvailableItems(source->sortedLoginItemsForApplicationGroup());
}

void ExecutionValidationParameters::updateWithCurrentModifierKeysData()
{
    const std::shared_ptr<MachineStateSource> source = checkedSource("modifier keys");
    if (!source)
        return;
    const MachineStateSource::ModifierKeys keys = source->currentModifierKeys();
    std::lock_guard lock(m_mutex);
    m_controlKeyPressed = keys.control;
    m_optionKeyPressed = keys.option;
    m_shiftKeyPressed = keys.shift;
    m_commandKeyPressed = keys.command;
}

void ExecutionValidationParameters::updateWithCurrentPowerSourceData()
{
    if (const std::shared_ptr<MachineStateSource> source = checkedSource("power source"))
        setPowerSource(source->currentPowerSource());
}

void ExecutionValidationParameters::updateWithCurrentVolumesData()
{
    if (const std::shared_ptr<MachineStateSource> source = checkedSource("volumes"))
        setVolumes(source->attachedVolumesData());
}

void ExecutionValidationParameters::updateWithCurrentNetworkData()
{
    const std::shared_ptr<MachineStateSource> source = checkedSource("networks");
    if (!source)
        return;
    // Asked before the cache is read: should the first scan end in between,
    // waiting later costs nothing and the fresher list is taken.
    const bool beforeFirstScan = !source->hasCompletedNetworkScan();
    const QList<NetworkData> networks = source->cachedNetworks();
    const bool reachable = source->isNetworkReachable();
    std::lock_guard lock(m_mutex);
    m_networks = networks;
    m_networksBeforeFirstScan = beforeFirstScan;
    m_networkReachable = reachable;
}

void ExecutionValidationParameters::refetchAndAssignTimeIntensiveBlockingValues()
{
    const std::shared_ptr<MachineStateSource> source = checkedSource("time-intensive values");
    if (!source)
        return;
    // The scan may end after the holder has let the snapshot go.
    source->fetchTimeIntensiveBlockingValues([weakSelf = weak_from_this(), weakSource = std::weak_ptr(source)] {
        const std::shared_ptr<ExecutionValidationParameters> self = weakSelf.lock();
        const std::shared_ptr<MachineStateSource> source = weakSource.lock();
        if (self && source)
            self->setNetworks(source->cachedNetworks());
    });
}

QList<DBLoginItem*> ExecutionValidationParameters::availableItems() const
{
    return readLocked(m_mutex, m_availableItems);
}

void ExecutionValidationParameters::setAvailableItems(const QList<DBLoginItem*>& items)
{
    writeLocked(m_mutex, m_availableItems, items);
}

DBLoginItem* ExecutionValidationParameters::availableItemWithDelta(int delta, const DBLoginItem* item) const
{
    std::lock_guard lock(m_mutex);
    const qsizetype index = m_availableItems.indexOf(item);
    if (index < 0)
        return nullptr;
    const qsizetype neighbour = index + delta;
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

bool ExecutionValidationParameters::isControlKeyPressed() const { return readLocked(m_mutex, m_controlKeyPressed); }
void ExecutionValidationParameters::setControlKeyPressed(bool pressed) { writeLocked(m_mutex, m_controlKeyPressed, pressed); }
bool ExecutionValidationParameters::isOptionKeyPressed() const { return readLocked(m_mutex, m_optionKeyPressed); }
void ExecutionValidationParameters::setOptionKeyPressed(bool pressed) { writeLocked(m_mutex, m_optionKeyPressed, pressed); }
bool ExecutionValidationParameters::isShiftKeyPressed() const { return readLocked(m_mutex, m_shiftKeyPressed); }
void ExecutionValidationParameters::setShiftKeyPressed(bool pressed) { writeLocked(m_mutex, m_shiftKeyPressed, pressed); }
bool ExecutionValidationParameters::isCommandKeyPressed() const { return readLocked(m_mutex, m_commandKeyPressed); }
void ExecutionValidationParameters::setCommandKeyPressed(bool pressed) { writeLocked(m_mutex, m_commandKeyPressed, pressed); }

uint32_t ExecutionValidationParameters::powerSource() const { return readLocked(m_mutex, m_powerSource); }
void ExecutionValidationParameters::setPowerSource(uint32_t source) { writeLocked(m_mutex, m_powerSource, source); }

QList<AttachedVolumeData> ExecutionValidationParameters::volumes() const { return readLocked(m_mutex, m_volumes); }
void ExecutionValidationParameters::setVolumes(const QList<AttachedVolumeData>& volumes) { writeLocked(m_mutex, m_volumes, volumes); }

QList<NetworkData> ExecutionValidationParameters::networks() const { return readLocked(m_mutex, m_networks); }

void ExecutionValidationParameters::setNetworks(const QList<NetworkData>& networks)
{
    std::lock_guard lock(m_mutex);
    m_networks = networks;
    m_networksBeforeFirstScan = false;
}

QList<NetworkData> ExecutionValidationParameters::networksAfterFirstScan()
{
    // The main thread judges with what the sample holds: a view or the run's
    // judging must never freeze the interface for a scan.
    if (m_source && !is_main_thread() && readLocked(m_mutex, m_networksBeforeFirstScan)) {
        // Not under our lock: the scan's completion sets our networks.
        m_source->waitForFirstNetworkScan();
        setNetworks(m_source->cachedNetworks());
    }
    return networks();
}

bool ExecutionValidationParameters::isNetworkReachable() const { return readLocked(m_mutex, m_networkReachable); }
void ExecutionValidationParameters::setNetworkReachable(bool reachable) { writeLocked(m_mutex, m_networkReachable, reachable); }

QDateTime ExecutionValidationParameters::time() const { return readLocked(m_mutex, m_time); }
void ExecutionValidationParameters::setTime(const QDateTime& time) { writeLocked(m_mutex, m_time, time); }

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
