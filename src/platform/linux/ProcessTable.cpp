#include "platform/linux/ProcessTable.h"

#include <algorithm>

#include <QDir>
#include <QFile>
#include <QFileInfo>
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
        const QString folder = m_procRoot + "/" + name;
        if (!belongsToUser(folder))
            continue;
        const qint64 ticks = startTicks(pid);
        // The exe link of a process that just ended, or of a kernel thread, does not resolve.
        const QString executable = QFileInfo(folder + "/exe").canonicalFilePath();
        if (ticks < 0 || executable.isEmpty())
            continue;
        result.append({ pid, ticks, uptime - static_cast<double>(ticks) / ticksPerSecond, executable });
    }
    std::sort(result.begin(), result.end(), [](const Process& a, const Process& b) { return a.pid < b.pid; });
    return result;
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
