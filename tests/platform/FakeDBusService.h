#pragma once
// A stand-in for a desktop service on the private session bus of the test run:
// objects, interfaces, properties and methods set up by the test. It answers on
// its own connection and thread, so a backend may block the test's thread on
// a call to it. Each instance has its own unique bus name, so test programs
// running side by side never meet.
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QHash>
#include <QThread>
#include <QVariant>
#include <functional>
#include <mutex>

class FakeDBusService : public QDBusVirtualObject {
    Q_OBJECT
public:
    using Method = std::function<QVariantList(const QDBusMessage&)>;

    FakeDBusService();
    ~FakeDBusService() override;

    QString serviceName() const;
    void setProperty(const QString& path, const QString& interface, const QString& name, const QVariant& value);
    void setMethod(const QString& path, const QString& interface, const QString& name, Method method);
    // A hung service: calls arrive and are never answered.
    void setSilent(bool silent);
    // How often a method (or a property's Get) was called.
    int callCount(const QString& path, const QString& interface, const QString& name) const;

    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;

private:
    static QString key(const QString& path, const QString& interface, const QString& name);

    QThread m_thread;
    QDBusConnection m_connection;
    mutable std::mutex m_mutex;
    QHash<QString, QVariant> m_properties;
    QHash<QString, Method> m_methods;
    QHash<QString, int> m_calls;
    bool m_silent = false;
};
