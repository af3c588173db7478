#pragma once
// What the machine says about its volumes, networks and internet connection,
// in the records the rules judge. One instance serves the whole process: the
// machine-state snapshots and the application's own questions alike, so the
// saved networks are read from the system only once.
//
// Safe from any thread. currentNetworks() scans and so blocks its thread for
// a few seconds at most.
#include "model/AttachedVolumeData.h"
#include "model/NetworkData.h"

#include <QList>
#include <memory>
#include <mutex>

class MountedVolumesProvider;
class ReachabilityProvider;
class WifiProvider;

class MachineFacts {
public:
    MachineFacts(std::shared_ptr<const WifiProvider> wifi, std::shared_ptr<const MountedVolumesProvider> volumes,
                 std::shared_ptr<const ReachabilityProvider> reachability);

    QList<AttachedVolumeData> attachedVolumesData() const;
    bool isNetworkReachable() const;
    // The saved networks, read on first use and then kept.
    QList<NetworkData> knownNetworks() const;
    // The joined network, or the Wi-Fi interface when it has joined none.
    NetworkData currentNetwork() const;
    // The networks in range sorted by name, the joined one first.
    QList<NetworkData> currentNetworks() const;

private:
    const std::shared_ptr<const WifiProvider> m_wifi;
    const std::shared_ptr<const MountedVolumesProvider> m_volumes;
    const std::shared_ptr<const ReachabilityProvider> m_reachability;

    mutable std::once_flag m_knownNetworksOnce;
    mutable QList<NetworkData> m_knownNetworks;
};
