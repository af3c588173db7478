#pragma once
// The machine-state snapshots' view of the real machine: the platform's
// modifier keys, power source, volumes and reachability read at each sample,
// and a cache of Wi-Fi networks kept fresh by a periodic background scan, so
// that judging an item never waits for a scan (except, bounded, for the very
// first one at login).
//
// Scans run one at a time on the queue "com.mossharbour.lanternwick.executionfetching";
// a request while a scan is queued or running joins that scan instead of
// queueing another. Every periodic scan posts
// MHInternalNotificationNetworkDataFetchDidComplete (sender: this source) on
// the scan queue.
#include "model/MachineStateSource.h"

#include <QString>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

class Clock;
class DispatchQueue;
class MachineFacts;
class ModifierKeysProvider;
class NotificationCenter;
class PowerSourceProvider;
class UserDefaults;

class LiveMachineStateSource : public MachineStateSource {
public:
    using SortedItemsFunction = std::function<QList<DBLoginItem*>()>;

    // Without a clock the real one is used; the settings and the notification
    // centre are the process-wide ones unless given.
    LiveMachineStateSource(std::shared_ptr<MachineFacts> facts, std::shared_ptr<const ModifierKeysProvider> modifierKeys,
                           std::shared_ptr<const PowerSourceProvider> powerSource, std::shared_ptr<const Clock> clock = nullptr,
                           UserDefaults* userDefaults = nullptr, NotificationCenter* notificationCenter = nullptr);
    // Stops the scanning; waits for a scan in progress.
    ~LiveMachineStateSource() override;

    static constexpr double DefaultFirstScanTimeout = 5.0;
    void setFirstScanTimeout(double seconds);
    // Reads the application group's items; the holder of the object context
    // sets it and calls the snapshots' updateAvailableItems() on its thread.
    void setSortedItemsFunction(SortedItemsFunction function);

    // At start-up: the first scan, which also starts the periodic scan.
    void fetchTimeIntensiveBlockingValues();

    QDateTime currentTime() const override;
    ModifierKeys currentModifierKeys() const override;
    uint32_t currentPowerSource() const override;
    QList<AttachedVolumeData> attachedVolumesData() const override;
    // The last scan's networks in their order, then the known networks not
    // already listed by name.
    QList<NetworkData> cachedNetworks() const override;
    bool isNetworkReachable() const override;
    void fetchTimeIntensiveBlockingValues(NetworksCompletion completion) override;
    bool hasCompletedNetworkScan() const override;
    void waitForFirstNetworkScan() const override;
    QList<DBLoginItem*> sortedLoginItemsForApplicationGroup() const override;

private:
    void startPeriodicScan(double interval);
    void scheduleNextPeriodicScan();
    void scan();

    const std::shared_ptr<MachineFacts> m_facts;
    const std::shared_ptr<const ModifierKeysProvider> m_modifierKeys;
    mutable std::once_flag m_unknownKeysLogged;
    const std::shared_ptr<const PowerSourceProvider> m_powerSource;
    const std::shared_ptr<const Clock> m_clock;
    UserDefaults& m_userDefaults;
    NotificationCenter& m_notificationCenter;

    mutable std::mutex m_mutex;
    mutable std::condition_variable m_scanCompleted;
    std::optional<QList<NetworkData>> m_cache;
    bool m_scanPending = false;
    std::vector<NetworksCompletion> m_pendingCompletions;
    double m_periodicInterval = 0; // 0 until the periodic scan has started
    double m_firstScanTimeout = DefaultFirstScanTimeout;
    SortedItemsFunction m_sortedItems;

    // Last, so that it stops before anything its tasks use goes away.
    std::unique_ptr<DispatchQueue> m_queue;
};
