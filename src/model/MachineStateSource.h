#pragma once
// Where a live machine-state snapshot samples the machine. The engine provides
// the real one; a snapshot filled by hand (the simulation) has none.
#include "model/AttachedVolumeData.h"
#include "model/NetworkData.h"

#include <QDateTime>
#include <QList>
#include <cstdint>
#include <functional>

class DBLoginItem;

class MachineStateSource {
public:
    struct ModifierKeys {
        bool control = false;
        bool option = false;
        bool shift = false;
        bool command = false;
    };

    virtual ~MachineStateSource() = default;

    virtual QDateTime currentTime() const = 0;
    virtual ModifierKeys currentModifierKeys() const = 0;
    // A PowerSourceType value.
    virtual uint32_t currentPowerSource() const = 0;
    virtual QList<AttachedVolumeData> attachedVolumesData() const = 0;
    // The latest scan's networks followed by the known ones; never blocks on a scan.
    virtual QList<NetworkData> cachedNetworks() const = 0;
    virtual bool isNetworkReachable() const = 0;

    // Receives cachedNetworks() as they are after a scan.
    using NetworksCompletion = std::function<void(const QList<NetworkData>& networks)>;
    // Starts a network scan in the background (or joins the one already on its
    // way) and calls completion, when given, once it has ended, on the scan's
    // own thread. With scanning switched off the completion runs at once.
    // Whatever the completion owns may be released on the scan's thread, so it
    // must not own the source.
    virtual void fetchTimeIntensiveBlockingValues(NetworksCompletion completion) = 0;
    virtual bool hasCompletedNetworkScan() const = 0;
    // Blocks for a bounded time until the first scan has ended; returns at once
    // when one has, or when none is on its way.
    virtual void waitForFirstNetworkScan() const = 0;

    // The application group's items in sort order.
    virtual QList<DBLoginItem*> sortedLoginItemsForApplicationGroup() const = 0;
};
