#include "platform/linux/ProcessTable.h"

#include <algorithm>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray readSmallFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.read(64 * 1024);
}

} // namespace

ProcessTable::ProcessTable(const QString& procRoot, uid_t uid)
    : m_procRoot(procRoot)
    , m_uid(uid)
{
}

QList<ProcessTable::Process> ProcessTable::processes() const
{
    const double uptime = uptimeSeconds();
    const double ticksPerSecond = static_cast<double>(sysconf(_SC_CLK_TCK));
    QList<Process> result;
    const QStringList names = QDir(m_procRoot).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& name : names) {
        bool isNumber = false;
        const qint64 pid = name.toLongLong(&isNumber);
        if (!isNumber || pid <= 0)
            continue;
        if (const std::optional<Process> process = readProcess(pid, uptime, ticksPerSecond))
            result.append(*process);
    }
    std::sort(result.begin(), result.end(), [](const Process& a, const Process& b) { return a.pid < b.pid; });
    return result;
}

QList<ProcessTable::Process> ProcessTable::processesRunning(const QStringList& executables) const
{
    // Files are told apart by device and inode, which one stat of each
    // process's exe link gives without resolving or reading anything else.
    std::vector<std::pair<dev_t, ino_t>> files;
    for (const QString& executable : executables) {
        struct stat info {};
        if (!executable.isEmpty() && ::stat(QFile::encodeName(executable).constData(), &info) == 0)
            files.emplace_back(info.st_dev, info.st_ino);
    }
    QList<Process> result;
    if (files.empty())
        return result;
    DIR* folder = ::opendir(QFile::encodeName(m_procRoot).constData());
    if (!folder)
        return result;
    std::optional<double> uptime;
    const double ticksPerSecond = static_cast<double>(sysconf(_SC_CLK_TCK));
    while (const dirent* entry = ::readdir(folder)) {
        char* end = nullptr;
        const long long pid = std::strtoll(entry->d_name, &end, 10);
        if (pid <= 0 || *end != '\0')
            continue;
        char exe[64];
        std::snprintf(exe, sizeof exe, "%lld/exe", pid);
        struct stat info {};
        // Kernel threads and other users' processes have no readable executable.
        if (::fstatat(::dirfd(folder), exe, &info, 0) != 0
            || std::find(files.cbegin(), files.cend(), std::pair(info.st_dev, info.st_ino)) == files.cend())
            continue;
        if (!uptime)
            uptime = uptimeSeconds();
        if (const std::optional<Process> process = readProcess(pid, *uptime, ticksPerSecond))
            result.append(*process);
    }
    ::closedir(folder);
    std::sort(result.begin(), result.end(), [](const Process& a, const Process& b) { return a.pid < b.pid; });
    return result;
}

std::optional<ProcessTable::Process> ProcessTable::process(qint64 pid) const
{
    return readProcess(pid, uptimeSeconds(), static_cast<double>(sysconf(_SC_CLK_TCK)));
}

std::optional<ProcessTable::Process> ProcessTable::readProcess(qint64 pid, double uptime, double ticksPerSecond) const
{
    const QString folder = QStringLiteral("%1/%2").arg(m_procRoot).arg(pid);
    if (!belongsToUser(folder))
        return std::nullopt;
    const qint64 ticks = startTicks(pid);
    // The exe link of a process that just ended, or of a kernel thread, does not resolve.
    const QString executable = QFileInfo(folder + "/exe").canonicalFilePath();
    if (ticks < 0 || executable.isEmpty())
        return std::nullopt;
    return Process { pid, ticks, uptime - static_cast<double>(ticks) / ticksPerSecond, executable };
}

qint64 ProcessTable::startTicks(qint64 pid) const
{
    const QByteArray stat = readSmallFile(QStringLiteral("%1/%2/stat").arg(m_procRoot).arg(pid));
    // The command name in parentheses may itself hold spaces and parentheses:
    // the fields that follow start after the last closing one.
    const qsizetype nameEnd = stat.lastIndexOf(')');
    if (nameEnd < 0)
        return -1;
    const QList<QByteArray> fields = stat.mid(nameEnd + 1).simplified().split(' ');
    // Field 22 of the line, the start time; the state (field 3) comes first here.
    constexpr int kStartTimeIndex = 22 - 3;
    if (fields.size() <= kStartTimeIndex)
        return -1;
    bool isNumber = false;
    const qint64 ticks = fields.at(kStartTimeIndex).toLongLong(&isNumber);
    return isNumber ? ticks : -1;
}

bool ProcessTable::belongsToUser(const QString& processFolder) const
{
    // "Uid:" lists the real, effective, saved and file system ids; the real one owns the process.
    const QList<QByteArray> lines = readSmallFile(processFolder + "/status").split('\n');
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

double ProcessTable::uptimeSeconds() const
{
    return readSmallFile(m_procRoot + "/uptime").simplified().split(' ').value(0).toDouble();
}
