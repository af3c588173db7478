#include "keelhouse/SystemItemsServerExporter.h"

#include "foundation/Log.h"
#include <QDBusConnectionInterface>
#include "keelhouse/KeelhouseBus.h"
#include "keelhouse/SystemItemsServerCallbacks.h"

SystemItemsServerExporter::SystemItemsServerExporter(SystemItemsServerInterface& target, QDBusConnection connection,
                                                     QString objectPath, QObject* parent)
    : QDBusVirtualObject(parent)
    , m_target(target)
    , m_connection(std::move(connection))
    , m_objectPath(std::move(objectPath))
{
}

SystemItemsServerExporter::~SystemItemsServerExporter()
{
    if (m_exported)
        m_connection.unregisterObject(m_objectPath);
}

bool SystemItemsServerExporter::exportObject()
{
    m_exported = m_exported || m_connection.registerVirtualObject(m_objectPath, this);
    if (!m_exported)
        LOG_ERROR("Failed exporting the callback object at %1: %2", m_objectPath, m_connection.lastError().message());
    return m_exported;
}

QString SystemItemsServerExporter::introspect(const QString&) const
{
    return SystemItemsServerCallbacks::introspectionXml();
}

bool SystemItemsServerExporter::handleMessage(const QDBusMessage& message, const QDBusConnection&)
{
    if (message.type() != QDBusMessage::MethodCallMessage
        || (!message.interface().isEmpty() && message.interface() != KeelhouseBus::systemItemsServerInterface))
        return false;
    // Only the service may report to us; anyone else on the bus could fake progress.
    if (message.service() != m_serviceOwner)
        m_serviceOwner = m_connection.interface()->serviceOwner(KeelhouseBus::serviceName()).value();
    if (message.service() != m_serviceOwner)
        return false;
    if (!SystemItemsServerCallbacks::deliver(m_target, message.member(), message.arguments())) {
        LOG_WARN("Ignoring callback %1 (%2) from the service", message.member(), message.signature());
        return false;
    }
    return true;
}
