#pragma once
// Power source from UPower on the system bus, else from the kernel's power
// supply class in sysfs (machines without UPower, or with it not running).
#include "platform/PowerSourceProvider.h"
#include "platform/linux/DBusServiceClient.h"

class LinuxPowerSourceProvider : public PowerSourceProvider {
public:
    static inline const QString UPowerService = QStringLiteral("org.freedesktop.UPower");
    static inline const QString SysfsRoot = QStringLiteral("/sys/class/power_supply");

    explicit LinuxPowerSourceProvider(QDBusConnection bus, QString sysfsRoot = SysfsRoot, QString service = UPowerService,
                                      int timeoutMs = DBusServiceClient::DefaultTimeoutMs);

    int currentPowerSource() const override;

    // On battery when a system battery is present and no adapter is online.
    // A battery's own status text is not used: it says "Not charging" or
    // "Unknown" on many laptops that sit on AC with a full battery.
    static int powerSourceFromSysfs(const QString& root);

private:
    DBusServiceClient m_upower;
    QString m_sysfsRoot;
};
