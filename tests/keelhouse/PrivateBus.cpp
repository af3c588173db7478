#include "PrivateBus.h"

#include <QDir>
#include <QDeadlineTimer>
#include <QFile>
#include <QThread>

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
    // The bus and the services it starts write to a file, never to a pipe
    // that nobody drains while a test waits: a full pipe would stall them.
    m_daemon.setProcessChannelMode(QProcess::MergedChannels);
    m_daemon.setStandardOutputFile(logPath());
    m_daemon.start(QStringLiteral("dbus-daemon"), { QStringLiteral("--config-file=") + config.fileName(), QStringLiteral("--nofork") });
    const QString socket = folder + QStringLiteral("/socket");
    QDeadlineTimer deadline(10000);
    while (!QFile::exists(socket) && !deadline.hasExpired() && m_daemon.state() != QProcess::NotRunning)
        QThread::msleep(10);
    if (QFile::exists(socket))
        m_address = address;
}

PrivateBus::~PrivateBus()
{
    m_daemon.terminate();
    m_daemon.waitForFinished(2000);
}

bool PrivateBus::installService(const QString& name, const QByteArray& contents) const
{
    QFile serviceFile(servicesFolder() + QLatin1Char('/') + name + QStringLiteral(".service"));
    return serviceFile.open(QIODevice::WriteOnly) && serviceFile.write(contents) == contents.size();
}
