#include "platform/linux/DBusServiceClient.h"

#include "foundation/Log.h"

#include <QDBusArgument>
#include <QDBusError>
#include <QDBusVariant>

namespace {
const QString kPropertiesInterface = QStringLiteral("org.freedesktop.DBus.Properties");
}

DBusServiceClient::DBusServiceClient(QDBusConnection connection, QString service, QString description, int timeoutMs)
    : m_connection(std::move(connection))
    , m_service(std::move(service))
    , m_description(std::move(description))
    , m_timeoutMs(timeoutMs)
{
}

QDBusMessage DBusServiceClient::call(const QString& path, const QString& interface, const QString& method,
                                     const QVariantList& arguments) const
{
    QDBusMessage message = QDBusMessage::createMethodCall(m_service, path, interface, method);
    message.setArguments(arguments);
    const QDBusMessage reply = m_connection.call(message, QDBus::Block, m_timeoutMs);
    if (!succeeded(reply))
        reportFailure(QStringLiteral("%1 %2.%3").arg(path, interface, method), reply);
    return reply;
}

std::optional<QVariant> DBusServiceClient::property(const QString& path, const QString& interface, const QString& name) const
{
    const QDBusMessage reply = call(path, kPropertiesInterface, QStringLiteral("Get"), { interface, name });
    if (!succeeded(reply) || reply.arguments().isEmpty())
        return std::nullopt;
    return reply.arguments().constFirst().value<QDBusVariant>().variant();
}

bool DBusServiceClient::isUnresponsive(const QDBusMessage& reply)
{
    if (reply.errorName() == QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner"))
        return true;
    switch (QDBusError(reply).type()) {
    case QDBusError::ServiceUnknown:
    case QDBusError::NoReply:
    case QDBusError::Timeout:
    case QDBusError::TimedOut:
    case QDBusError::NoServer:
    case QDBusError::Disconnected:
        return true;
    default:
        return false;
    }
}

QList<QDBusObjectPath> DBusServiceClient::objectPaths(const QVariant& value)
{
    if (value.userType() == qMetaTypeId<QDBusArgument>()) {
        const QDBusArgument argument = value.value<QDBusArgument>();
        if (argument.currentSignature() != QLatin1String("ao"))
            return {};
        return qdbus_cast<QList<QDBusObjectPath>>(argument);
    }
    return value.value<QList<QDBusObjectPath>>();
}

void DBusServiceClient::reportFailure(const QString& what, const QDBusMessage& reply) const
{
    // A refused request is worth a line each time; a missing service only once.
    if (!isUnresponsive(reply))
        LOG_VERBOSE("%1: %2 failed: %3 %4", m_description, what, reply.errorName(), reply.errorMessage());
    else if (!m_warned.exchange(true))
        LOG_WARN("%1 is not available (%2 failed: %3 %4); answering without it", m_description, what,
                 reply.errorName(), reply.errorMessage());
    else
        LOG_DEBUG("%1: %2 failed: %3 %4", m_description, what, reply.errorName(), reply.errorMessage());
}
