#include "keelhouse/KeelhouseService.h"

#include "foundation/Log.h"
#include "keelhouse/DBusRecords.h"
#include "keelhouse/KeelhouseBus.h"
#include "keelhouse/SystemItemsServerForwarder.h"

#include <QDBusConnectionInterface>
#include <QDBusObjectPath>

namespace {

std::optional<QVariantList> recordsAt(const QDBusMessage& message, int index)
{
    return DBusRecords::records(message.arguments().value(index));
}

} // namespace

KeelhouseService::KeelhouseService(QDBusConnection connection, KeelhouseDelegate delegate, int idleTimeMs, QObject* parent)
    : QDBusVirtualObject(parent)
    , m_connection(std::move(connection))
    , m_delegate(std::move(delegate))
    , m_clientWatcher(QString(), m_connection, QDBusServiceWatcher::WatchForUnregistration)
{
    m_idleTimer.setSingleShot(true);
    m_idleTimer.setInterval(idleTimeMs);
    connect(&m_idleTimer, &QTimer::timeout, this, &KeelhouseService::idle);
    connect(&m_clientWatcher, &QDBusServiceWatcher::serviceUnregistered, this, &KeelhouseService::dropClient);
}

KeelhouseService::~KeelhouseService()
{
    m_connection.unregisterObject(KeelhouseBus::objectPath);
}

QDBusConnection KeelhouseService::connectToSessionBus()
{
    return QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("keelhouse"));
}

bool KeelhouseService::start()
{
    // The object first: messages queued for an activated name arrive at once.
    if (!m_connection.registerVirtualObject(KeelhouseBus::objectPath, this)) {
        LOG_ERROR("Failed exporting the service object: %1", m_connection.lastError().message());
        return false;
    }
    if (!m_connection.registerService(KeelhouseBus::serviceName())) {
        LOG_ERROR("Failed taking the service name %1: %2", KeelhouseBus::serviceName(), m_connection.lastError().message());
        return false;
    }
    m_idleTimer.start();
    return true;
}

QString KeelhouseService::introspect(const QString&) const
{
    const QString noReply = DBusRecords::noReplyAnnotation();
    return QStringLiteral(
               "<interface name=\"%1\">\n"
               "<method name=\"SetupServerEndPoint\"><arg name=\"endpoint\" type=\"o\" direction=\"in\"/>%2</method>\n"
               "<method name=\"SetupDebugOptions\"><arg name=\"options\" type=\"a{sv}\" direction=\"in\"/>%2</method>\n"
               "<method name=\"ReadSystemItems\"><arg name=\"ignoredItems\" type=\"aa{sv}\" direction=\"in\"/>"
               "<arg name=\"applicationItems\" type=\"aa{sv}\" direction=\"in\"/>"
               "<arg name=\"lanternwickBundlePath\" type=\"s\" direction=\"in\"/>%2</method>\n"
               "<method name=\"UninstallLanternwick\"><arg name=\"ignoredItems\" type=\"aa{sv}\" direction=\"in\"/>"
               "<arg name=\"applicationItems\" type=\"aa{sv}\" direction=\"in\"/>%2</method>\n"
               "<method name=\"CreateSystemItems\"><arg name=\"items\" type=\"aa{sv}\" direction=\"in\"/>%2</method>\n"
               "<method name=\"DeleteSystemItems\"><arg name=\"items\" type=\"aa{sv}\" direction=\"in\"/>%2</method>\n"
               "</interface>\n")
        .arg(KeelhouseBus::keelhouseInterface, noReply);
}

bool KeelhouseService::handleMessage(const QDBusMessage& message, const QDBusConnection& connection)
{
    if (message.type() != QDBusMessage::MethodCallMessage || message.path() != KeelhouseBus::objectPath
        || (!message.interface().isEmpty() && message.interface() != KeelhouseBus::keelhouseInterface))
        return false;
    const QString client = message.service();
    const bool isKnownClient = m_sessions.contains(client);
    KeelhouseSession& session = m_sessions[client];
    if (!dispatch(message, session)) {
        if (!isKnownClient)
            m_sessions.remove(client);
        LOG_WARN("Rejected request %1 (%2) from %3", message.member(), message.signature(), client);
        if (message.isReplyRequired())
            connection.send(message.createErrorReply(QDBusError::InvalidArgs, QStringLiteral("Unknown request or wrong arguments")));
        return true;
    }
    m_idleTimer.stop();
    if (!isKnownClient) {
        m_clientWatcher.addWatchedService(client);
        // It may have left before the watch was in place.
        if (!m_connection.interface()->isServiceRegistered(client).value())
            dropClient(client);
    }
    if (message.isReplyRequired())
        connection.send(message.createReply());
    return true;
}

bool KeelhouseService::dispatch(const QDBusMessage& message, KeelhouseSession& session)
{
    const QString member = message.member();
    const QString signature = message.signature();
    const QVariantList arguments = message.arguments();
    if (member == QLatin1String("SetupServerEndPoint") && signature == QLatin1String("o")) {
        session.server = endpoint(message.service(), arguments.first().value<QDBusObjectPath>().path());
        return true;
    }
    if (member == QLatin1String("SetupDebugOptions") && signature == QLatin1String("a{sv}")) {
        session.debugOptions = DBusRecords::record(arguments.first()).value_or(QVariantMap());
        return true;
    }
    if (!session.server)
        LOG_WARN("%1 from %2 came before its end point was set up: its results go nowhere.", member, message.service());
    if (member == QLatin1String("ReadSystemItems") && signature == QLatin1String("aa{sv}aa{sv}s")) {
        const std::optional<QVariantList> ignored = recordsAt(message, 0);
        const std::optional<QVariantList> application = recordsAt(message, 1);
        if (!ignored || !application)
            return false;
        m_delegate.readSystemItemsWithIgnoredItems(session, *ignored, *application, arguments.at(2).toString());
        return true;
    }
    if (member == QLatin1String("UninstallLanternwick") && signature == QLatin1String("aa{sv}aa{sv}")) {
        const std::optional<QVariantList> ignored = recordsAt(message, 0);
        const std::optional<QVariantList> application = recordsAt(message, 1);
        if (!ignored || !application)
            return false;
        m_delegate.uninstallLanternwickWithIgnoredItems(session, *ignored, *application);
        return true;
    }
    const std::optional<QVariantList> items = signature == QLatin1String("aa{sv}") ? recordsAt(message, 0) : std::nullopt;
    if (member == QLatin1String("CreateSystemItems") && items) {
        m_delegate.createSystemItemsWithItems(session, *items);
        return true;
    }
    if (member == QLatin1String("DeleteSystemItems") && items) {
        m_delegate.deleteSystemItemsWithItems(session, *items);
        return true;
    }
    return false;
}

std::shared_ptr<SystemItemsServerInterface> KeelhouseService::endpoint(const QString& client, const QString& path) const
{
    QDBusConnection connection = m_connection;
    return std::make_shared<SystemItemsServerForwarder>([connection, client, path](const QString& name, const QVariantList& arguments) mutable {
        QDBusMessage message = QDBusMessage::createMethodCall(client, path, KeelhouseBus::systemItemsServerInterface, name);
        message.setArguments(arguments);
        // A client that has gone must not be started again by its own callbacks.
        message.setAutoStartService(false);
        if (!connection.send(message))
            LOG_DEBUG("Failed sending %1 to %2: %3", name, client, connection.lastError().message());
    });
}

void KeelhouseService::dropClient(const QString& client)
{
    m_clientWatcher.removeWatchedService(client);
    if (m_sessions.remove(client))
        LOG_DEBUG("Client %1 left the bus", client);
    if (m_sessions.isEmpty())
        m_idleTimer.start();
}
