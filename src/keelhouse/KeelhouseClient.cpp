#include "keelhouse/KeelhouseClient.h"

#include "foundation/Log.h"
#include "keelhouse/DBusRecords.h"
#include "keelhouse/KeelhouseBus.h"

#include <QDBusMessage>
#include <QDBusObjectPath>

KeelhouseClient::KeelhouseClient(QDBusConnection connection)
    : m_connection(std::move(connection))
{
}

void KeelhouseClient::send(const QString& method, const QVariantList& arguments)
{
    QDBusMessage message = QDBusMessage::createMethodCall(KeelhouseBus::serviceName(), KeelhouseBus::objectPath,
                                                          KeelhouseBus::keelhouseInterface, method);
    message.setArguments(arguments);
    m_lastSendSucceeded = m_connection.send(message);
    if (!m_lastSendSucceeded)
        LOG_ERROR("Failed sending %1 to the service: %2", method, m_connection.lastError().message());
}

void KeelhouseClient::setupServerEndPoint(const QString& objectPath)
{
    send(QStringLiteral("SetupServerEndPoint"), { QVariant::fromValue(QDBusObjectPath(objectPath)) });
}

void KeelhouseClient::setupDebugOptions(const QVariantMap& options)
{
    // The service judges entries for the desktop this program runs in.
    QVariantMap withDesktop = options;
    withDesktop.insert(KeelhouseBus::currentDesktopOption, qEnvironmentVariable("XDG_CURRENT_DESKTOP"));
    send(QStringLiteral("SetupDebugOptions"), { withDesktop });
}

void KeelhouseClient::readSystemItemsWithIgnoredItems(const QVariantList& ignoredItems, const QVariantList& applicationItems,
                                                      const QString& lanternwickBundlePath)
{
    send(QStringLiteral("ReadSystemItems"),
         { DBusRecords::recordsArgument(ignoredItems), DBusRecords::recordsArgument(applicationItems), lanternwickBundlePath });
}

void KeelhouseClient::uninstallLanternwickWithIgnoredItems(const QVariantList& ignoredItems, const QVariantList& applicationItems)
{
    send(QStringLiteral("UninstallLanternwick"),
         { DBusRecords::recordsArgument(ignoredItems), DBusRecords::recordsArgument(applicationItems) });
}

void KeelhouseClient::createSystemItemsWithItems(const QVariantList& items)
{
    send(QStringLiteral("CreateSystemItems"), { DBusRecords::recordsArgument(items) });
}

void KeelhouseClient::deleteSystemItemsWithItems(const QVariantList& items)
{
    send(QStringLiteral("DeleteSystemItems"), { DBusRecords::recordsArgument(items) });
}
