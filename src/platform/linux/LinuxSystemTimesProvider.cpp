#include "platform/linux/LinuxSystemTimesProvider.h"

#include "foundation/Log.h"

#include <QDBusArgument>
#include <QDBusObjectPath>
#include <QFile>
#include <limits>
#include <cstring>
#include <ctime>
#include <mutex>
#include <pwd.h>
#include <unistd.h>
#include <utmp.h>
#include <utmpx.h>

LinuxSystemTimesProvider::LinuxSystemTimesProvider(QString procRoot, QString utmpPath, QString userName,
                                                   QDBusConnection bus, QString logindService)
    : m_procRoot(std::move(procRoot))
    , m_utmpPath(utmpPath.isEmpty() ? QStringLiteral(_PATH_UTMP) : std::move(utmpPath))
    , m_userName(userName.isEmpty() ? currentUserName() : std::move(userName))
    , m_logind(std::move(bus), std::move(logindService), QStringLiteral("logind"))
{
}

std::optional<qint64> LinuxSystemTimesProvider::bootTimeFromProcStat(const QByteArray& contents)
{
    for (const QByteArray& line : contents.split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() != 2 || fields[0] != "btime")
            continue;
        bool ok = false;
        const qint64 seconds = fields[1].toLongLong(&ok);
        if (ok && seconds > 0)
            return seconds;
    }
    return std::nullopt;
}

QDateTime LinuxSystemTimesProvider::bootTime() const
{
    QFile file(m_procRoot + QStringLiteral("/stat"));
    if (!file.open(QIODevice::ReadOnly)) {
        LOG_WARN("Cannot read the boot time from %1: %2", file.fileName(), file.errorString());
        return {};
    }
    // /proc files report no size: read until the end.
    const std::optional<qint64> seconds = bootTimeFromProcStat(file.readAll());
    if (!seconds) {
        LOG_WARN("No boot time in %1", file.fileName());
        return {};
    }
    return QDateTime::fromSecsSinceEpoch(*seconds);
}

QString LinuxSystemTimesProvider::bootID() const
{
    QFile file(m_procRoot + QStringLiteral("/sys/kernel/random/boot_id"));
    return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.read(64).trimmed()) : QString();
}

QDateTime LinuxSystemTimesProvider::loginTime() const
{
    const QDateTime start = sessionStartFromLogind();
    return start.isValid() ? start : loginTimeFromUtmp();
}

QString LinuxSystemTimesProvider::loginSessionID() const
{
    return qEnvironmentVariable("XDG_SESSION_ID");
}

QDateTime LinuxSystemTimesProvider::sessionStartFromLogind() const
{
    const QString session = loginSessionID();
    if (session.isEmpty())
        return {};
    const QDBusMessage reply = m_logind.call(QStringLiteral("/org/freedesktop/login1"),
                                             QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("GetSession"), { session });
    if (!DBusServiceClient::succeeded(reply) || reply.arguments().isEmpty())
        return {};
    const QString path = qdbus_cast<QDBusObjectPath>(reply.arguments().constFirst()).path();
    // Microseconds since the epoch.
    const std::optional<QVariant> timestamp = m_logind.property(path, QStringLiteral("org.freedesktop.login1.Session"),
                                                                QStringLiteral("Timestamp"));
    bool isNumber = false;
    const qulonglong microseconds = timestamp ? timestamp->toULongLong(&isNumber) : 0;
    if (!isNumber || microseconds == 0 || microseconds / 1000 > static_cast<qulonglong>(std::numeric_limits<qint64>::max()))
        return {};
    return QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(microseconds / 1000));
}

QByteArray LinuxSystemTimesProvider::sessionDisplay()
{
    QByteArray display = qgetenv("DISPLAY");
    if (const qsizetype screen = display.lastIndexOf('.'); screen > display.lastIndexOf(':'))
        display.truncate(screen);
    return display;
}

QList<QByteArray> LinuxSystemTimesProvider::sessionLines()
{
    QList<QByteArray> lines;
    if (const QByteArray display = sessionDisplay(); !display.isEmpty())
        lines.append(display);
    if (const QByteArray terminal = qgetenv("XDG_VTNR"); !terminal.isEmpty())
        lines.append("tty" + terminal);
    if (const char* terminal = ttyname(STDIN_FILENO))
        lines.append(QByteArray(terminal).replace("/dev/", ""));
    lines.removeIf(isTerminalEmulatorLine);
    return lines;
}

bool LinuxSystemTimesProvider::isTerminalEmulatorLine(const QByteArray& line)
{
    return line.startsWith("pts/");
}

QList<qint64> LinuxSystemTimesProvider::ancestorPids() const
{
    // Deeper than any real chain of parents; ends a loop in a corrupt tree.
    constexpr int maximumDepth = 64;
    QList<qint64> ancestors;
    qint64 pid = getpid();
    for (int depth = 0; pid > 1 && depth < maximumDepth; ++depth) {
        QFile stat(m_procRoot + QStringLiteral("/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly))
            break;
        const QByteArray contents = stat.readAll();
        // The parent follows the state, after the name's last parenthesis.
        const QList<QByteArray> fields = contents.mid(contents.lastIndexOf(')') + 1).simplified().split(' ');
        bool isNumber = false;
        pid = fields.value(1).toLongLong(&isNumber);
        // The system's first process is everyone's ancestor, no login's.
        if (!isNumber || pid <= 1)
            break;
        ancestors.append(pid);
    }
    return ancestors;
}

QDateTime LinuxSystemTimesProvider::loginTimeFromUtmp() const
{
    const QDateTime boot = bootTime();
    if (!boot.isValid() || m_userName.isEmpty())
        return {};
    const QByteArray user = m_userName.toLocal8Bit();
    const qint64 bootSeconds = boot.toSecsSinceEpoch();
    const QList<QByteArray> lines = sessionLines();
    const QByteArray display = sessionDisplay();
    const QList<qint64> ancestors = ancestorPids();
    // The fields are not terminated when the text fills them.
    const auto text = [](const char* field, size_t size) { return QByteArray(field, static_cast<qsizetype>(strnlen(field, size))); };

    // The utmp reader keeps its file and position in process-wide state.
    static std::mutex utmpMutex;
    std::lock_guard lock(utmpMutex);
    if (utmpxname(QFile::encodeName(m_utmpPath).constData()) != 0) {
        LOG_WARN("Cannot use the login records at %1", m_utmpPath);
        return {};
    }
    setutxent();
    std::optional<qint64> latest;
    while (const utmpx* entry = getutxent()) {
        if (entry->ut_type != USER_PROCESS || text(entry->ut_user, sizeof entry->ut_user) != user)
            continue;
        // A terminal emulator records its own login on the display's host:
        // the terminal was opened in this login, it does not begin one.
        const QByteArray line = text(entry->ut_line, sizeof entry->ut_line);
        const bool isThisSession = !isTerminalEmulatorLine(line)
            && (lines.contains(line) || (!display.isEmpty() && text(entry->ut_host, sizeof entry->ut_host) == display)
                || ancestors.contains(entry->ut_pid));
        const qint64 seconds = entry->ut_tv.tv_sec;
        if (isThisSession && seconds >= bootSeconds && (!latest || seconds > *latest))
            latest = seconds;
    }
    endutxent();
    // Leave the default file for any other reader in the process.
    utmpxname(_PATH_UTMP);
    return latest ? QDateTime::fromSecsSinceEpoch(*latest) : QDateTime();
}

double LinuxSystemTimesProvider::timeSinceStartup() const
{
    timespec now {};
    if (clock_gettime(CLOCK_BOOTTIME, &now) != 0)
        return -1;
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

QString LinuxSystemTimesProvider::currentUserName()
{
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    QByteArray buffer(size > 0 ? size : 16384, '\0');
    passwd entry {};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), static_cast<size_t>(buffer.size()), &found) != 0 || !found)
        return {};
    return QString::fromLocal8Bit(found->pw_name);
}
