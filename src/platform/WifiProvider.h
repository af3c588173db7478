#pragma once
// Wi-Fi networks: the saved ones, the ones in range, the one joined now.
// Every call may block its thread for a few seconds at most; none keeps state,
// so any thread may call. A machine without Wi-Fi answers empty.
#include <QStringList>

class WifiProvider {
public:
    virtual ~WifiProvider() = default;
    // SSIDs of the saved networks, in the order the system keeps them.
    virtual QStringList knownNetworkNames() const = 0;
    // Asks the Wi-Fi devices to scan, waits a bounded time for the result and
    // answers the SSIDs in range sorted ascending; a network seen by several
    // access points appears once per access point.
    virtual QStringList scanNetworkNames() const = 0;
    // The SSID joined by the first Wi-Fi device, its interface name when it has
    // joined none, empty without a Wi-Fi device.
    virtual QString currentNetworkName() const = 0;
};
