#include "PrivateBus.h"

#include <QDir>
#include <QDeadlineTimer>
#include <QFile>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <unistd.h>

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
    // The daemon prints its address on descriptor 3 once it listens: a
    // socket file can exist before connections are accepted on it.
    int ready[2];
    if (pipe2(ready, O_CLOEXEC) != 0)
        return;
    m_daemon.setChildProcessModifier([writeEnd = ready[1]] {
        // A test that crashes takes its bus along: one left running would keep
        // the test runner's output open, and the run would never end.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (writeEnd == 3)
            fcntl(3, F_SETFD, 0);
        else
            dup2(writeEnd, 3);
    });
    m_daemon.start(QStringLiteral("dbus-daemon"), { QStringLiteral("--config-file=") + config.fileName(), QStringLiteral("--nofork"),
                                                    QStringLiteral("--print-address=3") });
    close(ready[1]);
    // The limit only bounds a hang: the line or the end of the pipe (the
    // daemon failed) comes first.
    QByteArray printed;
    pollfd readable { ready[0], POLLIN, 0 };
    QDeadlineTimer deadline(60000);
    while (!printed.contains('\n')) {
        const int events = poll(&readable, 1, int(deadline.remainingTime()));
        if (events < 0 && errno == EINTR)
            continue;
        char buffer[256];
        const ssize_t count = events > 0 ? read(ready[0], buffer, sizeof buffer) : 0;
        if (count <= 0)
            break;
        printed.append(buffer, count);
    }
    close(ready[0]);
    if (printed.contains('\n'))
        m_address = QString::fromUtf8(printed.left(printed.indexOf('\n')));
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
