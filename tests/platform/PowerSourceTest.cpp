#include "FakeDBusService.h"
#include "platform/linux/LinuxPowerSourceProvider.h"
#include "support/TestHome.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

constexpr int kPowerSupply = PowerSourceProvider::PowerSupply;
constexpr int kBattery = PowerSourceProvider::Battery;

// A fake /sys/class/power_supply in a temporary folder.
class PowerSupplyTree {
public:
    explicit PowerSupplyTree(const QString& name)
        : root(freshTestFolder(name))
    {
    }

    // attributes: "type=Battery", "scope=Device", ...
    void add(const QString& supply, const QStringList& attributes)
    {
        QDir(root).mkpath(supply);
        for (const QString& attribute : attributes) {
            const qsizetype equals = attribute.indexOf(QLatin1Char('='));
            write(supply + QLatin1Char('/') + attribute.left(equals), attribute.mid(equals + 1).toUtf8() + "\n");
        }
    }
    void write(const QString& file, const QByteArray& contents)
    {
        QFile out(root + QLatin1Char('/') + file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(contents);
    }
    int powerSource() const { return LinuxPowerSourceProvider::powerSourceFromSysfs(root); }

    QString root;
};

TEST(PowerSourceSysfs, DesktopWithoutBatteryIsOnPowerSupply)
{
    PowerSupplyTree tree("desktop");
    EXPECT_EQ(tree.powerSource(), kPowerSupply);
    tree.add("AC", { "type=Mains", "online=0" });
    EXPECT_EQ(tree.powerSource(), kPowerSupply);
    EXPECT_EQ(LinuxPowerSourceProvider::powerSourceFromSysfs(tree.root + "/missing"), kPowerSupply);
}

TEST(PowerSourceSysfs, LaptopFollowsTheAdapterNotTheBatteryStatus)
{
    PowerSupplyTree tree("laptop");
    tree.add("BAT0", { "type=Battery", "scope=System", "present=1", "status=Not charging" });
    tree.add("AC", { "type=Mains", "online=1" });
    EXPECT_EQ(tree.powerSource(), kPowerSupply);

    tree.add("AC", { "online=0" });
    tree.add("BAT0", { "status=Full" });
    EXPECT_EQ(tree.powerSource(), kBattery);
}

TEST(PowerSourceSysfs, UsbAdaptersCountAsPowerSupply)
{
    PowerSupplyTree tree("usb-c");
    tree.add("BAT1", { "type=Battery", "status=Charging" });
    tree.add("ACAD", { "type=Mains", "online=0" });
    tree.add("ucsi-source-psy-USBC000:001", { "type=USB_C", "online=1" });
    EXPECT_EQ(tree.powerSource(), kPowerSupply);
    tree.add("ucsi-source-psy-USBC000:001", { "online=0" });
    EXPECT_EQ(tree.powerSource(), kBattery);
}

TEST(PowerSourceSysfs, DeviceAndAbsentBatteriesAreNotTheMachines)
{
    PowerSupplyTree tree("peripherals");
    tree.add("hidpp_battery_0", { "type=Battery", "scope=Device", "status=Discharging" });
    EXPECT_EQ(tree.powerSource(), kPowerSupply);

    tree.add("BAT0", { "type=Battery", "present=0" });
    EXPECT_EQ(tree.powerSource(), kPowerSupply);

    tree.add("BAT0", { "present=1" });
    EXPECT_EQ(tree.powerSource(), kBattery);
}

TEST(PowerSourceSysfs, GarbageAndUnreadableFilesNeverClaimBattery)
{
    PowerSupplyTree tree("garbage");
    tree.add("BAT0", { "type=Battery" });
    tree.add("AC", { "type=Mains" });
    // An adapter whose state cannot be read might be feeding the machine.
    ASSERT_TRUE(QFile::link(tree.root + "/nowhere", tree.root + "/AC/online"));
    EXPECT_EQ(tree.powerSource(), kPowerSupply);
    tree.write("AC/online", QByteArray("\x01\xff garbage", 10));
    EXPECT_EQ(tree.powerSource(), kPowerSupply);

    PowerSupplyTree noise("noise");
    noise.add("X", {});
    noise.write("X/type", QByteArray(100000, 'B'));
    noise.write("stray-file", "type=Battery");
    EXPECT_EQ(noise.powerSource(), kPowerSupply);
}

// UPower, faked on the private session bus.
class UPowerTest : public testing::Test {
protected:
    void SetUp() override
    {
        onBatteryTree.add("BAT0", { "type=Battery" });
        onBatteryTree.add("AC", { "type=Mains", "online=0" });
    }
    void setOnBattery(bool onBattery)
    {
        upower.setProperty("/org/freedesktop/UPower", "org.freedesktop.UPower", "OnBattery", onBattery);
    }

    PowerSupplyTree onBatteryTree { "upower-sysfs" };
    FakeDBusService upower;
};

TEST_F(UPowerTest, OnBatteryDecidesOverSysfs)
{
    LinuxPowerSourceProvider provider(QDBusConnection::sessionBus(), onBatteryTree.root, upower.serviceName());
    setOnBattery(false);
    EXPECT_EQ(provider.currentPowerSource(), kPowerSupply);
    setOnBattery(true);
    EXPECT_EQ(provider.currentPowerSource(), kBattery);
}

TEST_F(UPowerTest, MissingOrHungServiceFallsBackToSysfs)
{
    // Nothing owns UPower's name on the test bus.
    LinuxPowerSourceProvider absent(QDBusConnection::sessionBus(), onBatteryTree.root);
    EXPECT_EQ(absent.currentPowerSource(), kBattery);
    EXPECT_EQ(absent.currentPowerSource(), kBattery);

    upower.setSilent(true);
    LinuxPowerSourceProvider hung(QDBusConnection::sessionBus(), onBatteryTree.root, upower.serviceName(), 100);
    EXPECT_EQ(hung.currentPowerSource(), kBattery);
    EXPECT_EQ(upower.callCount("/org/freedesktop/UPower", "org.freedesktop.UPower", "OnBattery"), 1);
}

TEST_F(UPowerTest, PropertyOfWrongTypeFallsBackToSysfs)
{
    upower.setProperty("/org/freedesktop/UPower", "org.freedesktop.UPower", "OnBattery", QStringLiteral("yes"));
    LinuxPowerSourceProvider provider(QDBusConnection::sessionBus(), onBatteryTree.root, upower.serviceName());
    EXPECT_EQ(provider.currentPowerSource(), kBattery);
}

} // namespace
