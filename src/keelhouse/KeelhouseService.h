#pragma once
// The service's object on the session bus. Each client (a unique bus name)
// has its own endpoint and debug options, so two clients never receive each
// other's callbacks; a client that leaves the bus is forgotten, and once no
// client is left for the idle time the service reports itself idle.
#include "keelhouse/KeelhouseDelegate.h"
#include "keelhouse/KeelhouseSession.h"

#include <QDBusConnection>
#include <QDBusServiceWatcher>
#include <QDBusVirtualObject>
#include <QHash>
#include <QTimer>

class KeelhouseService : public QDBusVirtualObject {
    Q_OBJECT

public:
    KeelhouseService(QDBusConnection connection, KeelhouseDelegate delegate, int idleTimeMs, QObject* parent = nullptr);
    ~KeelhouseService() override;

    // The connection the program serves on, one of its own: the shared
    // QDBusConnection::sessionBus() holds back what arrives before the event
    // loop runs and can then hand a later message over before those it held.
    // A client's first requests arrive just then, as the name is taken before
    // the loop runs, and a request handled before its client's endpoint was
    // set up would answer nobody.
    static QDBusConnection connectToSessionBus();

    // Exports the object and takes the service name; false when either fails.
    bool start();

    qsizetype clientCount() const { return m_sessions.size(); }

    QString introspect(const QString& path) const override;
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;

Q_SIGNALS:
    void idle();

private:
    bool dispatch(const QDBusMessage& message, KeelhouseSession& session);
    void dropClient(const QString& client);
    std::shared_ptr<SystemItemsServerInterface> endpoint(const QString& client, const QString& path) const;

    QDBusConnection m_connection;
    KeelhouseDelegate m_delegate;
    QHash<QString, KeelhouseSession> m_sessions;
    QDBusServiceWatcher m_clientWatcher;
    QTimer m_idleTimer;
};
