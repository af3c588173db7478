#pragma once
// The state of the machine that items and conditions are judged against:
// sampled live by the engine and the items list, or filled by hand by the
// simulation.
//
// A live snapshot samples on demand: updateWithCurrentValues() marks the
// machine's values as due, and each is read from the source when a rule
// first asks for it. A judging pass thus pays only for what its rules read
// (an item without conditions samples nothing) and still judges on values
// taken at its turn.
//
// A snapshot also carries the statuses of its judging pass (item ->
// LastExecutionStatus), so that the neighbour rules of one pass never read an
// answer some other judge (a view refreshing, a simulation) left on an item,
// and the pass's file checks, so that however many rules ask about a file
// item, its file is looked at once per pass.
//
// Every accessor is safe from any thread: a live snapshot receives its
// refreshed network list on the scan thread while others read it. A due value
// asked for by two threads at once may be sampled twice.
#include "model/AttachedVolumeData.h"
#include "model/MachineStateSource.h"
#include "model/NetworkData.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QMetaType>
#include <memory>
#include <mutex>
#include <optional>

class DBFileItem;
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
    ~ExecutionValidationParameters();

    // Everything but the items, each sampled when first read, and the file
    // checks. The networks are the cached ones, and a fresh list replaces
    // them once the background scan that their sample starts has ended.
    void updateWithCurrentValues();
    void updateAvailableItems();
    // These sample at once.
    void updateWithCurrentModifierKeysData();
    void updateWithCurrentPowerSourceData();
    void updateWithCurrentVolumesData();
    void updateWithCurrentNetworkData();
    void refetchAndAssignTimeIntensiveBlockingValues();

    QList<DBLoginItem*> availableItems() const;
    void setAvailableItems(const QList<DBLoginItem*>& items);
    // Neighbours by object identity, found without searching the list; null
    // at the ends and for an item not in the list.
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
    // Starts a new pass, file checks included: a snapshot judged again after
    // the list changed must not read the answers of the old list.
    void clearExecutionStatuses();

    // Whether the item's file is missing, as the pass first found it.
    bool isFileItemMissing(const DBFileItem& item);

    // The values sampled so far: writing a log line must not ask the machine.
    QString logDescription() const;

private:
    // The values sampled together, as flags of what is due.
    enum Sample : unsigned {
        TimeSample = 1u << 0,
        ModifierKeysSample = 1u << 1,
        PowerSourceSample = 1u << 2,
        VolumesSample = 1u << 3,
        NetworksSample = 1u << 4,
        ReachabilitySample = 1u << 5,
        AllSamples = (1u << 6) - 1,
    };
    // Where the scans' completions deliver the networks. The completions hold
    // this, never the snapshot: owning the snapshot (and through it the
    // source) on the scan thread could release the last of them there, and
    // the source cannot be destroyed by its own scan queue.
    struct NetworksReceiver {
        std::mutex mutex;
        ExecutionValidationParameters* snapshot = nullptr;
    };

    explicit ExecutionValidationParameters(std::shared_ptr<MachineStateSource> source);
    std::shared_ptr<MachineStateSource> checkedSource(const char* what) const;
    DBLoginItem* availableItemWithDelta(int delta, const DBLoginItem* item) const;

    // Samples the value when it is due; the first caller takes it off the due list.
    void sampleIfDue(Sample sample) const;
    void sample(Sample sample) const;
    void sampleNetworkList() const;
    void startNetworkScan() const;
    void deliverNetworks(const QList<NetworkData>& networks);
    // Stores a value set by hand or sampled, which is then no longer due.
    template <typename T>
    void store(T& field, const T& value, Sample sample) const;

    const std::shared_ptr<MachineStateSource> m_source;
    const std::shared_ptr<NetworksReceiver> m_networksReceiver;

    mutable std::mutex m_mutex;
    QList<DBLoginItem*> m_availableItems;
    QHash<const DBLoginItem*, qsizetype> m_availableIndexes;
    // The machine's values: sampled on first read, hence mutable.
    mutable unsigned m_dueSamples = 0;
    mutable bool m_controlKeyPressed = false;
    mutable bool m_optionKeyPressed = false;
    mutable bool m_shiftKeyPressed = false;
    mutable bool m_commandKeyPressed = false;
    mutable uint32_t m_powerSource = 0;
    mutable QList<AttachedVolumeData> m_volumes;
    mutable QList<NetworkData> m_networks;
    mutable bool m_networksBeforeFirstScan = false;
    mutable bool m_networkReachable = false;
    mutable QDateTime m_time;
    bool m_justBeforeLaunchCheck = false;
    QHash<const DBLoginItem*, uint32_t> m_executionStatuses;
    QHash<const DBFileItem*, bool> m_missingFiles;
};

Q_DECLARE_METATYPE(std::shared_ptr<ExecutionValidationParameters>)
