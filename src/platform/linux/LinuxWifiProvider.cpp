#include "platform/linux/LinuxWifiProvider.h"

#include "foundation/Log.h"

#include <QDBusArgument>
#include <QDeadlineTimer>
#include <QThread>
#include <algorithm>

namespace {

const QString kManagerPath = QStringLiteral("/org/freedesktop/NetworkManager");
const QString kManager = QStringLiteral("org.freedesktop.NetworkManager");
const QString kDevice = QStringLiteral("org.freedesktop.NetworkManager.Device");
const QString kWireless = QStringLiteral("org.freedesktop.NetworkManager.Device.Wireless");
const QString kAccessPoint = QStringLiteral("org.freedesktop.NetworkManager.AccessPoint");
const QString kSettingsPath = QStringLiteral("/org/freedesktop/NetworkManager/Settings");
const QString kSettings = QStringLiteral("org.freedesktop.NetworkManager.Settings");
const QString kConnection = QStringLiteral("org.freedesktop.NetworkManager.Settings.Connection");
const QString kWirelessSetting = QStringLiteral("802-11-wireless");
constexpr uint kDeviceTypeWifi = 2;
constexpr unsigned long kScanPollMs = 100;

// SSIDs are bytes; nearly all are UTF-8, and the rest still show as something.
QString ssidText(const QVariant& ssid)
{
    return QString::fromUtf8(ssid.toByteArray());
}

QList<QDBusObjectPath> replyPaths(const QDBusMessage& reply)
{
    if (!DBusServiceClient::succeeded(reply) || reply.arguments().isEmpty())
        return {};
    return DBusServiceClient::objectPaths(reply.arguments().constFirst());
}

} // namespace

LinuxWifiProvider::LinuxWifiProvider(QDBusConnection bus, QString service, int timeoutMs, int scanWaitMs)
    : m_networkManager(std::move(bus), std::move(service), QStringLiteral("NetworkManager"), timeoutMs)
    , m_scanWaitMs(scanWaitMs)
{
}

QStringList LinuxWifiProvider::knownNetworkNames() const
{
    QStringList names;
    const QList<QDBusObjectPath> connections = replyPaths(m_networkManager.call(kSettingsPath, kSettings, QStringLiteral("ListConnections")));
    for (const QDBusObjectPath& connection : connections) {
        const QDBusMessage reply = m_networkManager.call(connection.path(), kConnection, QStringLiteral("GetSettings"));
        if (DBusServiceClient::isUnresponsive(reply))
            break;
        // Anything but the documented shape is skipped, never half-read.
        if (!DBusServiceClient::succeeded(reply) || reply.signature() != QLatin1String("a{sa{sv}}"))
            continue;
        QMap<QString, QVariantMap> settings;
        reply.arguments().constFirst().value<QDBusArgument>() >> settings;
        if (settings.value(QStringLiteral("connection")).value(QStringLiteral("type")).toString() != kWirelessSetting)
            continue;
        const QString ssid = ssidText(settings.value(kWirelessSetting).value(QStringLiteral("ssid")));
        if (!ssid.isEmpty())
            names.append(ssid);
    }
    return names;
}

QStringList LinuxWifiProvider::scanNetworkNames() const
{
    const QList<QDBusObjectPath> devices = wifiDevices();
    std::vector<PendingScan> pending;
    for (const QDBusObjectPath& device : devices) {
        const std::optional<qlonglong> before = lastScan(device);
        const QDBusMessage reply = m_networkManager.call(device.path(), kWireless, QStringLiteral("RequestScan"),
                                                         { QVariant::fromValue(QVariantMap()) });
        if (DBusServiceClient::isUnresponsive(reply))
            return {};
        // A refused request (one came too soon after the last scan) leaves a
        // recent result to read; a device without LastScan cannot be waited for.
        if (DBusServiceClient::succeeded(reply) && before)
            pending.push_back({ device, *before });
    }
    waitForScans(std::move(pending));

    QStringList names;
    for (const QDBusObjectPath& device : devices) {
        for (const QDBusObjectPath& accessPoint :
             replyPaths(m_networkManager.call(device.path(), kWireless, QStringLiteral("GetAccessPoints")))) {
            // Hidden networks have no name to show or to match.
            const QString ssid = accessPointSsid(accessPoint.path());
            if (!ssid.isEmpty())
                names.append(ssid);
        }
    }
    std::stable_sort(names.begin(), names.end());
    return names;
}

QString LinuxWifiProvider::currentNetworkName() const
{
    const QList<QDBusObjectPath> devices = wifiDevices();
    if (devices.isEmpty())
        return {};
    const QString device = devices.constFirst().path();
    const std::optional<QVariant> active = m_networkManager.property(device, kWireless, QStringLiteral("ActiveAccessPoint"));
    if (active) {
        const QString path = active->value<QDBusObjectPath>().path();
        // NetworkManager names "no access point" with the root path.
        if (!path.isEmpty() && path != QLatin1String("/")) {
            const QString ssid = accessPointSsid(path);
            if (!ssid.isEmpty())
                return ssid;
        }
    }
    return m_networkManager.property(device, kDevice, QStringLiteral("Interface")).value_or(QVariant()).toString();
}

QList<QDBusObjectPath> LinuxWifiProvider::wifiDevices() const
{
    QList<QDBusObjectPath> wifi;
    for (const QDBusObjectPath& device : replyPaths(m_networkManager.call(kManagerPath, kManager, QStringLiteral("GetDevices")))) {
        const std::optional<QVariant> type = m_networkManager.property(device.path(), kDevice, QStringLiteral("DeviceType"));
        if (!type)
            return {};
        if (type->toUInt() == kDeviceTypeWifi)
            wifi.append(device);
    }
    return wifi;
}

std::optional<qlonglong> LinuxWifiProvider::lastScan(const QDBusObjectPath& device) const
{
    const std::optional<QVariant> value = m_networkManager.property(device.path(), kWireless, QStringLiteral("LastScan"));
    if (!value || !value->canConvert<qlonglong>())
        return std::nullopt;
    return value->toLongLong();
}

void LinuxWifiProvider::waitForScans(std::vector<PendingScan> pending) const
{
    const QDeadlineTimer deadline(m_scanWaitMs);
    while (true) {
        std::erase_if(pending, [&](const PendingScan& scan) {
            const std::optional<qlonglong> now = lastScan(scan.device);
            return !now || *now != scan.lastScanBefore;
        });
        if (pending.empty())
            return;
        if (deadline.hasExpired()) {
            LOG_VERBOSE("Wi-Fi scan did not end within %1 ms; reading the networks found so far", m_scanWaitMs);
            return;
        }
        QThread::msleep(kScanPollMs);
    }
}

QString LinuxWifiProvider::accessPointSsid(const QString& accessPoint) const
{
    return ssidText(m_networkManager.property(accessPoint, kAccessPoint, QStringLiteral("Ssid")).value_or(QVariant()));
}
