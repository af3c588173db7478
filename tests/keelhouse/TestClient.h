#pragma once
// A client of the service on a test bus: its own connection, its callback
// object recording every callback, its requests.
#include "RecordingServer.h"

#include "keelhouse/KeelhouseClient.h"
#include "keelhouse/SystemItemsServerExporter.h"

#include "support/EndToEnd.h"

#include <QDBusConnection>

struct TestClient {
    TestClient(const QString& address, const QString& name)
        : connection(QDBusConnection::connectToBus(address, name))
        , exporter(server, connection, QStringLiteral("/test/callbacks"))
        , client(connection)
    {
        exporter.exportObject();
        client.setupDebugOptions({});
        client.setupServerEndPoint(exporter.objectPath());
    }
    ~TestClient() { QDBusConnection::disconnectFromBus(connection.name()); }

    QDBusConnection connection;
    RecordingServer server;
    SystemItemsServerExporter exporter;
    KeelhouseClient client;
};
