#pragma once
// Blocking calls to one desktop service with a short time-out, so that a
// missing or hung service costs its caller at most that time. Any thread may
// use it: QDBusConnection is thread-safe for blocking calls, and this holds no
// QObject. A missing service is warned about once and then only in debug
// lines, so a machine without it does not fill the log.
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QList>
#include <QVariant>
#include <atomic>
#include <optional>

class DBusServiceClient {
public:
    static constexpr int DefaultTimeoutMs = 2000;

    // description names the service in log lines.
    DBusServiceClient(QDBusConnection connection, QString service, QString description, int timeoutMs = DefaultTimeoutMs);

    // The reply or the error message.
    QDBusMessage call(const QString& path, const QString& interface, const QString& method,
                      const QVariantList& arguments = {}) const;
    std::optional<QVariant> property(const QString& path, const QString& interface, const QString& name) const;

    // The service is missing, gone or hung: further calls are pointless.
    static bool isUnresponsive(const QDBusMessage& reply);
    static bool succeeded(const QDBusMessage& reply) { return reply.type() == QDBusMessage::ReplyMessage; }
    // An "ao" value, whether QtDBus handed it over demarshalled or not.
    static QList<QDBusObjectPath> objectPaths(const QVariant& value);

private:
    void reportFailure(const QString& what, const QDBusMessage& reply) const;

    QDBusConnection m_connection;
    QString m_service;
    QString m_description;
    int m_timeoutMs;
    mutable std::atomic<bool> m_warned { false };
};
