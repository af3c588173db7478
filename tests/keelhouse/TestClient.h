#pragma once
// A client of the service on a test bus: its own connection, its callback
// object recording every callback, its requests.
#include "RecordingServer.h"

#include "keelhouse/KeelhouseClient.h"
#include "keelhouse/SystemItemsServerExporter.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDeadlineTimer>
#include <QThread>
#include <functional>

inline bool waitFor(const std::function<bool()>& condition, int ms = 5000)
{
    QDeadlineTimer deadline(ms);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(2);
    }
    return true;
}

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
