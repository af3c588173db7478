#include "FakeDBusService.h"
#include "platform/linux/LinuxReachabilityProvider.h"
#include "platform/linux/LinuxWifiProvider.h"

#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <gtest/gtest.h>
#include <thread>

namespace {

using Settings = QMap<QString, QVariantMap>;

const QString kRoot = "/org/freedesktop/NetworkManager";
const QString kManager = "org.freedesktop.NetworkManager";
const QString kDevice = "org.freedesktop.NetworkManager.Device";
const QString kWireless = "org.freedesktop.NetworkManager.Device.Wireless";
const QString kAccessPoint = "org.freedesktop.NetworkManager.AccessPoint";
const QString kSettingsPath = "/org/freedesktop/NetworkManager/Settings";
constexpr uint kWifi = 2;
constexpr uint kEthernet = 1;

QVariantList paths(const QStringList& list)
{
    QList<QDBusObjectPath> objects;
    for (const QString& path : list)
        objects.append(QDBusObjectPath(path));
    return { QVariant::fromValue(objects) };
}

// NetworkManager's objects as the backends read them, on the private bus.
class FakeNetworkManager {
public:
    FakeNetworkManager()
    {
        qDBusRegisterMetaType<Settings>();
        bus.setMethod(kRoot, kManager, "GetDevices", [this](const QDBusMessage&) { return paths(devices); });
        bus.setMethod(kSettingsPath, kManager + ".Settings", "ListConnections",
                      [this](const QDBusMessage&) { return paths(connections); });
    }

    QString addAccessPoint(const QByteArray& ssid)
    {
        const QString path = QStringLiteral("%1/AccessPoint/%2").arg(kRoot).arg(++objects);
        bus.setProperty(path, kAccessPoint, "Ssid", ssid);
        return path;
    }

    // A Wi-Fi device whose scan adds the access points of scanFinds and moves LastScan on,
    // unless scanEnds is false. The fake answers one call at a time, so the
    // shared list needs no lock.
    QString addWifiDevice(const QString& interface, const QList<QByteArray>& ssids, int activeIndex = -1,
                          const QList<QByteArray>& scanFinds = {}, bool scanEnds = true)
    {
        const QString path = addDevice(interface, kWifi);
        auto accessPoints = std::make_shared<QStringList>();
        auto scans = std::make_shared<std::atomic<qlonglong>>(1000);
        for (const QByteArray& ssid : ssids)
            accessPoints->append(addAccessPoint(ssid));
        bus.setProperty(path, kWireless, "ActiveAccessPoint",
                        QVariant::fromValue(QDBusObjectPath(activeIndex < 0 ? QStringLiteral("/") : accessPoints->at(activeIndex))));
        bus.setProperty(path, kWireless, "LastScan", qlonglong(1000));
        bus.setMethod(path, kWireless, "GetAccessPoints", [accessPoints](const QDBusMessage&) { return paths(*accessPoints); });
        bus.setMethod(path, kWireless, "RequestScan", [=, this](const QDBusMessage& message) {
            EXPECT_EQ(message.signature(), "a{sv}");
            if (scanEnds) {
                for (const QByteArray& ssid : scanFinds)
                    accessPoints->append(addAccessPoint(ssid));
                bus.setProperty(path, kWireless, "LastScan", qlonglong(++*scans));
            }
            return QVariantList();
        });
        return path;
    }

    QString addDevice(const QString& interface, uint type)
    {
        const QString path = QStringLiteral("%1/Devices/%2").arg(kRoot).arg(++objects);
        bus.setProperty(path, kDevice, "DeviceType", type);
        bus.setProperty(path, kDevice, "Interface", interface);
        devices.append(path);
        return path;
    }

    void addConnection(const QString& type, const QByteArray& ssid = {})
    {
        const QString path = QStringLiteral("%1/%2").arg(kSettingsPath).arg(++objects);
        Settings settings { { "connection", { { "type", type }, { "id", "Saved " + ssid } } } };
        if (!ssid.isNull())
            settings.insert("802-11-wireless", { { "ssid", ssid }, { "mode", "infrastructure" } });
        bus.setMethod(path, kManager + ".Settings.Connection", "GetSettings",
                      [settings](const QDBusMessage&) { return QVariantList { QVariant::fromValue(settings) }; });
        connections.append(path);
    }

    int scanRequests(const QString& device) const { return bus.callCount(device, kWireless, "RequestScan"); }

    LinuxWifiProvider wifi(int scanWaitMs = LinuxWifiProvider::DefaultScanWaitMs)
    {
        return LinuxWifiProvider(QDBusConnection::sessionBus(), bus.serviceName(), DBusServiceClient::DefaultTimeoutMs,
                                 scanWaitMs);
    }

    FakeDBusService bus;
    QStringList devices;
    QStringList connections;
    int objects = 0;
};

TEST(WifiNetworks, KnownNetworksAreTheSavedWirelessConnectionsInOrder)
{
    FakeNetworkManager nm;
    nm.addConnection("802-11-wireless", "Office");
    nm.addConnection("802-3-ethernet");
    nm.addConnection("802-11-wireless", "Caf\xc3\xa9");
    nm.addConnection("vpn");
    nm.addConnection("802-11-wireless", "Home");
    EXPECT_EQ(nm.wifi().knownNetworkNames(), QStringList({ "Office", QString::fromUtf8("Caf\xc3\xa9"), "Home" }));
}

TEST(WifiNetworks, ScanAsksEveryWifiDeviceAndAnswersTheNetworksSorted)
{
    FakeNetworkManager nm;
    const QString ethernet = nm.addDevice("enp3s0", kEthernet);
    const QString first = nm.addWifiDevice("wlp2s0", { "Office", "Home", "" }, -1, { "Cafe" });
    const QString second = nm.addWifiDevice("wlx00c0ca", { "Home", "Attic" });

    // The access point found by the scan is in the answer: it is read after the scan ended.
    EXPECT_EQ(nm.wifi().scanNetworkNames(), QStringList({ "Attic", "Cafe", "Home", "Home", "Office" }));
    EXPECT_EQ(nm.scanRequests(first), 1);
    EXPECT_EQ(nm.scanRequests(second), 1);
    EXPECT_EQ(nm.scanRequests(ethernet), 0);
}

TEST(WifiNetworks, ScanThatNeverEndsStillAnswersWhatIsKnown)
{
    FakeNetworkManager nm;
    const QString device = nm.addWifiDevice("wlp2s0", { "Office" }, 0, { "Late" }, false);
    EXPECT_EQ(nm.wifi(50).scanNetworkNames(), QStringList({ "Office" }));
    EXPECT_EQ(nm.scanRequests(device), 1);
}

TEST(WifiNetworks, RefusedScanStillReadsTheAccessPoints)
{
    FakeNetworkManager nm;
    const QString device = nm.addWifiDevice("wlp2s0", { "Office" });
    nm.bus.setMethod(device, kWireless, "RequestScan", {});
    EXPECT_EQ(nm.wifi().scanNetworkNames(), QStringList({ "Office" }));
}

TEST(WifiNetworks, CurrentNetworkIsTheFirstWifiDevicesActiveAccessPoint)
{
    FakeNetworkManager nm;
    nm.addDevice("enp3s0", kEthernet);
    nm.addWifiDevice("wlp2s0", { "Office", "Home" }, 1);
    nm.addWifiDevice("wlan1", { "Other" }, 0);
    EXPECT_EQ(nm.wifi().currentNetworkName(), "Home");
}

TEST(WifiNetworks, NotAssociatedAnswersTheInterfaceName)
{
    FakeNetworkManager nm;
    nm.addWifiDevice("wlp2s0", { "Office" });
    EXPECT_EQ(nm.wifi().currentNetworkName(), "wlp2s0");
}

TEST(WifiNetworks, MachineWithoutWifiAnswersEmpty)
{
    FakeNetworkManager nm;
    nm.addDevice("enp3s0", kEthernet);
    nm.addConnection("802-3-ethernet");
    const LinuxWifiProvider wifi = nm.wifi();
    EXPECT_TRUE(wifi.knownNetworkNames().isEmpty());
    EXPECT_TRUE(wifi.scanNetworkNames().isEmpty());
    EXPECT_TRUE(wifi.currentNetworkName().isEmpty());
}

TEST(WifiNetworks, RepliesOfTheWrongShapeAreSkipped)
{
    FakeNetworkManager nm;
    nm.addConnection("802-11-wireless", "Office");
    nm.addConnection("802-11-wireless", "Broken");
    nm.bus.setMethod(nm.connections.last(), kManager + ".Settings.Connection", "GetSettings",
                     [](const QDBusMessage&) { return QVariantList { QStringLiteral("802-11-wireless") }; });
    nm.addConnection("802-11-wireless", "Home");
    EXPECT_EQ(nm.wifi().knownNetworkNames(), QStringList({ "Office", "Home" }));

    nm.bus.setMethod(kRoot, kManager, "GetDevices", [](const QDBusMessage&) {
        return QVariantList { QVariant::fromValue(QStringList { "/org/freedesktop/NetworkManager/Devices/1" }) };
    });
    EXPECT_TRUE(nm.wifi().scanNetworkNames().isEmpty());
    EXPECT_TRUE(nm.wifi().currentNetworkName().isEmpty());
}

TEST(WifiNetworks, MissingOrHungNetworkManagerAnswersEmpty)
{
    // Nothing owns NetworkManager's name on the test bus.
    const LinuxWifiProvider absent(QDBusConnection::sessionBus());
    EXPECT_TRUE(absent.knownNetworkNames().isEmpty());
    EXPECT_TRUE(absent.scanNetworkNames().isEmpty());
    EXPECT_TRUE(absent.currentNetworkName().isEmpty());

    FakeNetworkManager nm;
    nm.addWifiDevice("wlp2s0", { "Office" }, 0);
    nm.addConnection("802-11-wireless", "Office");
    nm.bus.setSilent(true);
    const LinuxWifiProvider hung(QDBusConnection::sessionBus(), nm.bus.serviceName(), 100);
    EXPECT_TRUE(hung.knownNetworkNames().isEmpty());
    EXPECT_TRUE(hung.scanNetworkNames().isEmpty());
    EXPECT_TRUE(hung.currentNetworkName().isEmpty());
}

TEST(WifiNetworks, WorkerThreadsMayAskAtTheSameTime)
{
    FakeNetworkManager nm;
    nm.addWifiDevice("wlp2s0", { "Office", "Home" }, 0);
    nm.addConnection("802-11-wireless", "Home");
    const LinuxWifiProvider wifi = nm.wifi();
    std::vector<std::thread> threads;
    std::atomic<int> right { 0 };
    for (int i = 0; i < 4; ++i) {
        threads.emplace_back([&] {
            if (wifi.currentNetworkName() == "Office" && wifi.knownNetworkNames() == QStringList { "Home" }
                && wifi.scanNetworkNames() == QStringList({ "Home", "Office" }))
                ++right;
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(right, 4);
}

class Reachability : public testing::Test {
protected:
    bool reachable()
    {
        return LinuxReachabilityProvider(QDBusConnection::sessionBus(), false, nm.bus.serviceName()).isNetworkReachable();
    }
    FakeNetworkManager nm;
};

TEST_F(Reachability, OnlyFullConnectivityIsReachable)
{
    nm.bus.setProperty(kRoot, kManager, "Connectivity", 4u);
    EXPECT_TRUE(reachable());
    for (uint state : { 0u, 1u, 2u, 3u }) {
        nm.bus.setProperty(kRoot, kManager, "Connectivity", state);
        EXPECT_FALSE(reachable()) << state;
    }
}

TEST_F(Reachability, UnknownIsNotReachable)
{
    EXPECT_FALSE(reachable());
    EXPECT_FALSE(LinuxReachabilityProvider(QDBusConnection::sessionBus(), false).isNetworkReachable());
}

TEST_F(Reachability, NetworkInformationBackendIsReadFromWorkerThreads)
{
    nm.bus.setProperty(kRoot, kManager, "Connectivity", 4u);
    const LinuxReachabilityProvider provider(QDBusConnection::sessionBus(), true, nm.bus.serviceName());
    const bool onMainThread = provider.isNetworkReachable();
    bool onWorker = !onMainThread;
    std::thread([&] { onWorker = provider.isNetworkReachable(); }).join();
    EXPECT_EQ(onWorker, onMainThread);
}

} // namespace
