#include "FakeDBusService.h"

#include <QDBusVariant>
#include <atomic>

namespace {
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");

QString nextConnectionName()
{
    static std::atomic<int> counter { 0 };
    return QStringLiteral("fake-service-%1").arg(++counter);
}
} // namespace

FakeDBusService::FakeDBusService()
    : m_connection(QDBusConnection::connectToBus(QDBusConnection::SessionBus, nextConnectionName()))
{
    // Registering makes helper children, which must be made before the move.
    m_connection.registerVirtualObject(QStringLiteral("/"), this, QDBusConnection::SubPath);
    m_thread.start();
    moveToThread(&m_thread);
}

FakeDBusService::~FakeDBusService()
{
    m_connection.unregisterObject(QStringLiteral("/"));
    QDBusConnection::disconnectFromBus(m_connection.name());
    m_thread.quit();
    m_thread.wait();
}

QString FakeDBusService::serviceName() const
{
    return m_connection.baseService();
}

QString FakeDBusService::key(const QString& path, const QString& interface, const QString& name)
{
    return path + QLatin1Char(' ') + interface + QLatin1Char('.') + name;
}

void FakeDBusService::setProperty(const QString& path, const QString& interface, const QString& name, const QVariant& value)
{
    std::lock_guard lock(m_mutex);
    m_properties.insert(key(path, interface, name), value);
}

void FakeDBusService::setMethod(const QString& path, const QString& interface, const QString& name, Method method)
{
    std::lock_guard lock(m_mutex);
    m_methods.insert(key(path, interface, name), std::move(method));
}

void FakeDBusService::setSilent(bool silent)
{
    std::lock_guard lock(m_mutex);
    m_silent = silent;
}

int FakeDBusService::callCount(const QString& path, const QString& interface, const QString& name) const
{
    std::lock_guard lock(m_mutex);
    return m_calls.value(key(path, interface, name));
}

bool FakeDBusService::handleMessage(const QDBusMessage& message, const QDBusConnection& connection)
{
    const bool isGet = message.interface() == kProperties && message.member() == QLatin1String("Get")
        && message.arguments().size() == 2;
    const QString called = isGet
        ? key(message.path(), message.arguments().at(0).toString(), message.arguments().at(1).toString())
        : key(message.path(), message.interface(), message.member());
    Method method;
    QVariant property;
    {
        std::lock_guard lock(m_mutex);
        ++m_calls[called];
        if (m_silent)
            return true;
        method = m_methods.value(called);
        property = m_properties.value(called);
    }
    if (isGet && property.isValid())
        connection.send(message.createReply(QVariant::fromValue(QDBusVariant(property))));
    else if (!isGet && method)
        connection.send(message.createReply(method(message)));
    else
        connection.send(message.createErrorReply(QStringLiteral("org.freedesktop.DBus.Error.UnknownMethod"), called));
    return true;
}
