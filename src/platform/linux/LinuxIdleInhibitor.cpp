#include "platform/linux/LinuxIdleInhibitor.h"

#include "foundation/Log.h"

#include <QDBusUnixFileDescriptor>

LinuxIdleInhibitor::LinuxIdleInhibitor(QDBusConnection bus, QString service, int timeoutMs)
    : m_logind(std::move(bus), std::move(service), QStringLiteral("logind"), timeoutMs)
{
}

void LinuxIdleInhibitor::performActivity(const QString& reason, const std::function<void()>& block)
{
    const QDBusMessage reply = m_logind.call(
        QStringLiteral("/org/freedesktop/login1"), QStringLiteral("org.freedesktop.login1.Manager"),
        QStringLiteral("Inhibit"),
        { QStringLiteral("idle"), QStringLiteral("Lanternwick"), reason, QStringLiteral("block") });
    // The lock lasts as long as this descriptor (our own duplicate) is open.
    QDBusUnixFileDescriptor lock;
    if (DBusServiceClient::succeeded(reply) && !reply.arguments().isEmpty())
        lock = reply.arguments().constFirst().value<QDBusUnixFileDescriptor>();
    if (lock.isValid())
        LOG_DEBUG("Holding an idle inhibitor for \"%1\"", reason);
    else
        LOG_DEBUG("No idle inhibitor for \"%1\", running without one", reason);
    block();
}
