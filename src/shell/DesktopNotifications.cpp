#include "shell/DesktopNotifications.h"

#include "foundation/Log.h"

#include <QStringList>
#include <QVariantMap>

namespace {
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");
} // namespace

DesktopNotifications::DesktopNotifications(QDBusConnection bus, QString applicationName, QString service)
    : m_server(std::move(bus), std::move(service), QStringLiteral("notification server"))
    , m_applicationName(std::move(applicationName))
{
}

bool DesktopNotifications::bodyTakesMarkup()
{
    if (!m_bodyTakesMarkup) {
        const QDBusMessage reply = m_server.call(kPath, kInterface, QStringLiteral("GetCapabilities"));
        if (DBusServiceClient::isUnresponsive(reply))
            return false; // asked again once a server is there
        m_bodyTakesMarkup = DBusServiceClient::succeeded(reply) && !reply.arguments().isEmpty()
            && reply.arguments().constFirst().toStringList().contains(QStringLiteral("body-markup"));
    }
    return *m_bodyTakesMarkup;
}

bool DesktopNotifications::notify(const QString& title, const QString& informativeText)
{
    const QString body = bodyTakesMarkup() ? informativeText.toHtmlEscaped() : informativeText;
    const QVariantMap hints { { QStringLiteral("sound-name"), QStringLiteral("message-new-instant") } };
    const QDBusMessage reply = m_server.call(kPath, kInterface, QStringLiteral("Notify"),
                                             { m_applicationName, uint(0), QString(), title, body, QStringList(), hints, int(-1) });
    return DBusServiceClient::succeeded(reply);
}
