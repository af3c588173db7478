#include "platform/linux/LinuxPowerSourceProvider.h"

#include <QDir>
#include <QFile>

namespace {

// A power supply attribute, trimmed; empty when missing or unreadable. Only a
// short head is read: the files are tiny, and a test tree or a broken driver
// must not make us read a large one.
QString attribute(const QString& supply, const char* name)
{
    QFile file(supply + QLatin1Char('/') + QLatin1String(name));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLatin1(file.read(64)).trimmed();
}

bool isAdapterType(const QString& type)
{
    // USB, USB_C, USB_PD, USB_PD_DRP, USB_DCP, ... all feed the machine.
    return type == QLatin1String("Mains") || type.startsWith(QLatin1String("USB"));
}

} // namespace

LinuxPowerSourceProvider::LinuxPowerSourceProvider(QDBusConnection bus, QString sysfsRoot, QString service, int timeoutMs)
    : m_upower(std::move(bus), std::move(service), QStringLiteral("UPower"), timeoutMs)
    , m_sysfsRoot(std::move(sysfsRoot))
{
}

int LinuxPowerSourceProvider::currentPowerSource() const
{
    const std::optional<QVariant> onBattery = m_upower.property(
        QStringLiteral("/org/freedesktop/UPower"), QStringLiteral("org.freedesktop.UPower"), QStringLiteral("OnBattery"));
    if (onBattery && onBattery->typeId() == QMetaType::Bool)
        return onBattery->toBool() ? Battery : PowerSupply;
    return powerSourceFromSysfs(m_sysfsRoot);
}

int LinuxPowerSourceProvider::powerSourceFromSysfs(const QString& root)
{
    bool hasBattery = false;
    for (const QString& name : QDir(root).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString supply = root + QLatin1Char('/') + name;
        const QString type = attribute(supply, "type");
        if (type == QLatin1String("Battery")) {
            // Mice and keyboards report their batteries with scope "Device";
            // an empty bay reports present 0.
            if (attribute(supply, "scope") != QLatin1String("Device") && attribute(supply, "present") != QLatin1String("0"))
                hasBattery = true;
        } else if (isAdapterType(type)) {
            const QString online = attribute(supply, "online");
            // An adapter whose state cannot be read may well be feeding us:
            // without knowing, the answer stays the power supply.
            if (online != QLatin1String("0"))
                return PowerSupply;
        }
    }
    return hasBattery ? Battery : PowerSupply;
}
