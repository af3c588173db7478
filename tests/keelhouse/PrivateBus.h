#pragma once
// A dbus-daemon of the test's own, so that the service name is free whatever
// runs in parallel; the bus activates services from servicesFolder() and
// hands its environment (with extra) to them.
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>

class PrivateBus {
public:
    explicit PrivateBus(const QString& folder, const QProcessEnvironment& extra = {});
    ~PrivateBus();

    bool isRunning() const { return !m_address.isEmpty(); }
    QString address() const { return m_address; }
    QString servicesFolder() const { return m_folder + QStringLiteral("/services"); }
    // Lets the bus start the service of that name from a service file of contents.
    bool installService(const QString& name, const QByteArray& contents) const;
    // What the bus and the services it started wrote.
    QString logPath() const { return m_folder + QStringLiteral("/bus.log"); }

private:
    QString m_folder;
    QString m_address;
    QProcess m_daemon;
};
