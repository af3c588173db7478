#pragma once
// Puts an application's SystemItemsServerInterface on the bus, where the
// service sends the callbacks of the requests this connection makes.
#include "keelhouse/SystemItemsServerInterface.h"

#include <QDBusConnection>
#include <QDBusVirtualObject>

class SystemItemsServerExporter : public QDBusVirtualObject {
    Q_OBJECT

public:
    // target must outlive the exporter.
    SystemItemsServerExporter(SystemItemsServerInterface& target, QDBusConnection connection, QString objectPath,
                              QObject* parent = nullptr);
    ~SystemItemsServerExporter() override;

    bool exportObject();
    QString objectPath() const { return m_objectPath; }

    QString introspect(const QString& path) const override;
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;

private:
    SystemItemsServerInterface& m_target;
    QDBusConnection m_connection;
    QString m_objectPath;
    bool m_exported = false;
    // The unique name of the service, looked up again when a sender differs.
    QString m_serviceOwner;
};
