#pragma once
// The state of the machine that items and conditions are judged against:
// sampled live by the engine and the items list, or filled by hand by the
// simulation.
//
// A snapshot also carries the statuses of its judging pass (item ->
// LastExecutionStatus), so that the neighbour rules of one pass never read an
// answer some other judge (a view refreshing, a simulation) left on an item.
//
// Every accessor is safe from any thread: a live snapshot receives its
// refreshed network list on the scan thread while others read it.
#include "model/AttachedVolumeData.h"
#include "model/MachineStateSource.h"
#include "model/NetworkData.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <memory>
#include <mutex>
#include <optional>

class DBLoginItem;

class ExecutionValidationParameters : public std::enable_shared_from_this<ExecutionValidationParameters> {
public:
    // A snapshot that samples source (none: one filled by hand).
    static std::shared_ptr<ExecutionValidationParameters> create(std::shared_ptr<MachineStateSource> source = nullptr);
    // Sampled now through the process-wide source.
    static std::shared_ptr<ExecutionValidationParameters> executionValidationParametersFromCurrentValues();
    static void setDefaultMachineStateSource(std::shared_ptr<MachineStateSource> source);
    static std::shared_ptr<MachineStateSource> defaultMachineStateSource();

    ExecutionValidationParameters(const ExecutionValidationParameters&) = delete;
    ExecutionValidationParameters& operator=(const ExecutionValidationParameters&) = delete;

    // Everything but the items; the networks are the cached ones, and a fresh
    // list replaces them once the background scan this starts has ended.
    void updateWithCurrentValues();
    void updateAvailableItems();
    void updateWithCurrentModifierKeysData();
    void updateWithCurrentPowerSourceData();
    void updateWithCurrentVolumesData();
    void updateWithCurrentNetworkData();
    void refetchAndAssignTimeIntensiveBlockingValues();

    QList<DBLoginItem*> availableItems() const;
    void setAvailableItems(const QList<DBLoginItem*>& items);
    // Neighbours by object identity; null at the ends and for an item not in the list.
    DBLoginItem* availableItemBeforeOfItem(const DBLoginItem* item) const;
    DBLoginItem* availableItemAfterItem(const DBLoginItem* item) const;

    bool isControlKeyPressed() const;
    void setControlKeyPressed(bool pressed);
    bool isOptionKeyPressed() const;
    void setOptionKeyPressed(bool pressed);
    bool isShiftKeyPressed() const;
    void setShiftKeyPressed(bool pressed);
    bool isCommandKeyPressed() const;
    void setCommandKeyPressed(bool pressed);

    // A PowerSourceType value.
    uint32_t powerSource() const;
    void setPowerSource(uint32_t source);

    QList<AttachedVolumeData> volumes() const;
    void setVolumes(const QList<AttachedVolumeData>& volumes);

    QList<NetworkData> networks() const;
    void setNetworks(const QList<NetworkData>& networks);
    // The networks for a condition that names one. A live snapshot sampled
    // before the process's first scan ended would only know the saved
    // networks, so off the main thread it first waits (bounded, once) for that
    // scan; on the main thread it answers at once.
    QList<NetworkData> networksAfterFirstScan();

    bool isNetworkReachable() const;
    void setNetworkReachable(bool reachable);

    // Null: no time, every schedule entry allows.
    QDateTime time() const;
    void setTime(const QDateTime& time);

    bool isJustBeforeLaunchCheck() const;
    void setJustBeforeLaunchCheck(bool justBeforeLaunch);

    // Statuses of this snapshot's judging pass; nothing for an item not judged yet.
    std::optional<uint32_t> executionStatusForItem(const DBLoginItem* item) const;
    void setExecutionStatusForItem(const DBLoginItem* item, uint32_t status);

    QString logDescription() const;

private:
    explicit ExecutionValidationParameters(std::shared_ptr<MachineStateSource> source);
    std::shared_ptr<MachineStateSource> checkedSource(const char* what) const;
    DBLoginItem* availableItemWithDelta(int delta, const DBLoginItem* item) const;

    const std::shared_ptr<MachineStateSource> m_source;

    mutable std::mutex m_mutex;
    QList<DBLoginItem*> m_availableItems;
    bool m_controlKeyPressed = false;
    bool m_optionKeyPressed = false;
    bool m_shiftKeyPressed = false;
    bool m_commandKeyPressed = false;
    uint32_t m_powerSource = 0;
    QList<AttachedVolumeData> m_volumes;
    QList<NetworkData> m_networks;
    bool m_networksBeforeFirstScan = false;
    bool m_networkReachable = false;
    QDateTime m_time;
    bool m_justBeforeLaunchCheck = false;
    QHash<const DBLoginItem*, uint32_t> m_executionStatuses;
};
