#include "engine/MachineFacts.h"

#include "foundation/Log.h"
#include "platform/MountedVolumesProvider.h"
#include "platform/ReachabilityProvider.h"
#include "platform/WifiProvider.h"

#include <algorithm>

MachineFacts::MachineFacts(std::shared_ptr<const WifiProvider> wifi, std::shared_ptr<const MountedVolumesProvider> volumes,
                           std::shared_ptr<const ReachabilityProvider> reachability)
    : m_wifi(std::move(wifi))
    , m_volumes(std::move(volumes))
    , m_reachability(std::move(reachability))
{
}

QList<AttachedVolumeData> MachineFacts::attachedVolumesData() const
{
    QList<AttachedVolumeData> result;
    for (const MountedVolume& volume : m_volumes->mountedVolumes())
        result.append(AttachedVolumeData(volume.path, volume.name, volume.attached));
    return result;
}

bool MachineFacts::isNetworkReachable() const
{
    return m_reachability->isNetworkReachable();
}

QList<NetworkData> MachineFacts::knownNetworks() const
{
    std::call_once(m_knownNetworksOnce, [this] {
        for (const QString& name : m_wifi->knownNetworkNames())
            m_knownNetworks.append(NetworkData(name));
        LOG_DEBUG("Read %1 known networks", m_knownNetworks.size());
    });
    return m_knownNetworks;
}

NetworkData MachineFacts::currentNetwork() const
{
    return NetworkData(m_wifi->currentNetworkName());
}

QList<NetworkData> MachineFacts::currentNetworks() const
{
    const NetworkData current = currentNetwork();
    QStringList names = m_wifi->scanNetworkNames();
    std::stable_sort(names.begin(), names.end());

    QList<NetworkData> networks;
    qsizetype lastCurrent = -1;
    for (const QString& name : names) {
        NetworkData network(name);
        network.setAvailable(true);
        // Without a Wi-Fi device the current name is empty; a hidden network
        // scanned without a name must not pass for it.
        const bool connected = !current.name().isEmpty() && name == current.name();
        network.setConnected(connected);
        network.setCurrent(connected);
        if (connected)
            lastCurrent = networks.size();
        networks.append(network);
    }
    if (lastCurrent > 0)
        networks.move(lastCurrent, 0);
    return networks;
}
