#include "platform/linux/ProcessTable.h"

#include <QFile>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

namespace {

// The files of /proc tell no size: they are read in small steps to their end
// (at most 64 KiB), with no large buffer made for each of the many reads.
QByteArray readSmallFile(const QByteArray& path)
{
    const int descriptor = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0)
        return {};
    QByteArray contents;
    char buffer[4096];
    ssize_t length = 0;
    while (contents.size() < 64 * 1024 && (length = ::read(descriptor, buffer, sizeof buffer)) > 0)
        contents.append(buffer, length);
    ::close(descriptor);
    return contents;
}

} // namespace

ProcessTable::ProcessTable(const QString& procRoot, uid_t uid)
    : m_procRoot(QFile::encodeName(procRoot))
    , m_uid(uid)
    , m_uptime(readSmallFile(m_procRoot + "/uptime").simplified().split(' ').value(0).toDouble())
{
}

QList<qint64> ProcessTable::pids() const
{
    if (m_pids)
        return *m_pids;
    m_pids.emplace();
    DIR* folder = ::opendir(m_procRoot.constData());
    if (!folder)
        return *m_pids;
    while (const dirent* entry = ::readdir(folder)) {
        char* end = nullptr;
        const long long pid = std::strtoll(entry->d_name, &end, 10);
        if (pid > 0 && *end == '\0')
            m_pids->append(pid);
    }
    ::closedir(folder);
    return *m_pids;
}

std::optional<ProcessTable::Process> ProcessTable::process(qint64 pid) const
{
    const auto known = m_processes.constFind(pid);
    if (known != m_processes.cend())
        return *known;
    return *m_processes.insert(pid, belongsToUser(pid) ? readProcess(pid) : std::nullopt);
}

QString ProcessTable::executable(qint64 pid) const
{
    const auto known = m_executables.constFind(pid);
    if (known != m_executables.cend())
        return *known;
    char target[4096];
    const ssize_t length = ::readlink(fileOf(pid, "exe").constData(), target, sizeof target);
    QString path = length > 0 && static_cast<size_t>(length) < sizeof target
        ? QFile::decodeName(QByteArray(target, length)) : QString();
    // A program replaced by an update while it runs is still that program.
    if (path.endsWith(QLatin1String(" (deleted)")))
        path.chop(10);
    return *m_executables.insert(pid, path);
}

QStringList ProcessTable::commandLine(qint64 pid) const
{
    const auto known = m_commandLines.constFind(pid);
    if (known != m_commandLines.cend())
        return *known;
    QStringList arguments;
    QList<QByteArray> fields = readSmallFile(fileOf(pid, "cmdline")).split('\0');
    // Every argument ends with a NUL byte, so the last field is empty.
    fields.removeLast();
    for (const QByteArray& field : fields)
        arguments.append(QFile::decodeName(field));
    return *m_commandLines.insert(pid, arguments);
}

QList<ProcessTable::Process> ProcessTable::sessionMembers(qint64 session) const
{
    // Only the members are read in full.
    QList<Process> members;
    for (const qint64 pid : pids()) {
        if (sessionOf(pid) != session)
            continue;
        if (const std::optional<Process> member = process(pid); member && !member->hasEnded)
            members.append(*member);
    }
    return members;
}

qint64 ProcessTable::sessionOf(qint64 pid) const
{
    // The kernel tells the session of a live process in one call, where
    // reading its stat file takes three; a tree of files stands for /proc in tests.
    if (m_procRoot == "/proc")
        return getsid(static_cast<pid_t>(pid));
    const std::optional<Process> known = process(pid);
    return known ? known->session : -1;
}

// Built for every process at every pass: no formatting, one allocation.
QByteArray ProcessTable::fileOf(qint64 pid, const char* name) const
{
    return m_procRoot + '/' + QByteArray::number(pid) + '/' + name;
}

std::optional<ProcessTable::Process> ProcessTable::readProcess(qint64 pid) const
{
    const QByteArray stat = readSmallFile(fileOf(pid, "stat"));
    // The command name in parentheses may itself hold spaces and parentheses:
    // the fields that follow start after the last closing one.
    const qsizetype nameEnd = stat.lastIndexOf(')');
    if (nameEnd < 0)
        return std::nullopt;
    // Fields from the state (field 3) on: parent 4, session 6, start time 22.
    const QList<QByteArray> fields = stat.mid(nameEnd + 1).simplified().split(' ');
    const auto field = [&](int number) {
        bool isNumber = false;
        const qint64 value = fields.value(number - 3).toLongLong(&isNumber);
        return isNumber ? value : -1;
    };
    const qint64 startTicks = field(22);
    if (startTicks < 0)
        return std::nullopt;
    // Not yet reaped (Z) or going (X).
    const bool hasEnded = fields.value(0) == "Z" || fields.value(0) == "X";
    const double age = m_uptime - static_cast<double>(startTicks) / static_cast<double>(sysconf(_SC_CLK_TCK));
    return Process { pid, field(4), field(6), startTicks, age, hasEnded };
}

bool ProcessTable::belongsToUser(qint64 pid) const
{
    // "Uid:" lists the real, effective, saved and file system ids; the real one owns the process.
    const QList<QByteArray> lines = readSmallFile(fileOf(pid, "status")).split('\n');
    for (const QByteArray& line : lines) {
        if (!line.startsWith("Uid:"))
            continue;
        const QList<QByteArray> ids = line.mid(4).simplified().split(' ');
        bool isNumber = false;
        const qulonglong uid = ids.value(0).toULongLong(&isNumber);
        return isNumber && uid == m_uid;
    }
    return false;
}
