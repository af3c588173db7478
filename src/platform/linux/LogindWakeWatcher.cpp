#include "platform/linux/LogindWakeWatcher.h"

#include "foundation/Log.h"

LogindWakeWatcher::LogindWakeWatcher(QDBusConnection bus, const QString& service)
{
    const bool connected = bus.isConnected()
        && bus.connect(service, QStringLiteral("/org/freedesktop/login1"), QStringLiteral("org.freedesktop.login1.Manager"),
                       QStringLiteral("PrepareForSleep"), this, SLOT(prepareForSleep(bool)));
    if (!connected)
        LOG_WARN("Wake from sleep cannot be watched: no logind on the system bus");
}

void LogindWakeWatcher::prepareForSleep(bool sleeping)
{
    // The same signal announces the sleep (true) and the wake (false).
    if (!sleeping && m_handler)
        m_handler();
}
