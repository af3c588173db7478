#pragma once
// Wi-Fi networks from NetworkManager on the system bus: the saved 802-11-wireless
// connections, the access points of the Wi-Fi devices and the active one.
#include "platform/WifiProvider.h"
#include "platform/linux/DBusServiceClient.h"

#include <vector>

class LinuxWifiProvider : public WifiProvider {
public:
    static inline const QString NetworkManagerService = QStringLiteral("org.freedesktop.NetworkManager");
    static constexpr int DefaultScanWaitMs = 3000;

    explicit LinuxWifiProvider(QDBusConnection bus, QString service = NetworkManagerService,
                               int timeoutMs = DBusServiceClient::DefaultTimeoutMs, int scanWaitMs = DefaultScanWaitMs);

    QStringList knownNetworkNames() const override;
    QStringList scanNetworkNames() const override;
    QString currentNetworkName() const override;

private:
    QList<QDBusObjectPath> wifiDevices() const;
    struct PendingScan {
        QDBusObjectPath device;
        qlonglong lastScanBefore;
    };
    std::optional<qlonglong> lastScan(const QDBusObjectPath& device) const;
    // Polls the devices' LastScan until each scan asked for has ended or the wait is over.
    void waitForScans(std::vector<PendingScan> pending) const;
    QString accessPointSsid(const QString& accessPoint) const;

    DBusServiceClient m_networkManager;
    int m_scanWaitMs;
};
