#include "PrivateBus.h"

#include <QDir>
#include <QFile>

PrivateBus::PrivateBus(const QString& folder, const QProcessEnvironment& extra)
    : m_folder(folder)
{
    QDir().mkpath(servicesFolder());
    const QString address = QStringLiteral("unix:path=%1/socket").arg(folder);
    QFile config(folder + QStringLiteral("/bus.conf"));
    if (!config.open(QIODevice::WriteOnly))
        return;
    config.write(QStringLiteral("<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\" "
                                "\"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
                                "<busconfig><type>session</type><auth>EXTERNAL</auth><listen>%1</listen><servicedir>%2</servicedir>"
                                "<policy context=\"default\"><allow send_destination=\"*\"/><allow receive_sender=\"*\"/>"
                                "<allow own=\"*\"/><allow user=\"*\"/></policy></busconfig>\n")
                     .arg(address, servicesFolder())
                     .toUtf8());
    config.close();

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // Activated services find this bus as their session bus.
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), address);
    environment.insert(extra);
    m_daemon.setProcessEnvironment(environment);
    m_daemon.start(QStringLiteral("dbus-daemon"), { QStringLiteral("--config-file=") + config.fileName(), QStringLiteral("--nofork"),
                                                    QStringLiteral("--print-address") });
    if (m_daemon.waitForReadyRead(5000))
        m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
}

PrivateBus::~PrivateBus()
{
    m_daemon.terminate();
    m_daemon.waitForFinished(2000);
}
