#include "platform/linux/ProcessTable.h"

#include "platform/linux/launch/ChildSetup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <algorithm>
#include <optional>
#include <utility>
#include <cstdlib>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/syscall.h>
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

// More numbers given out since the last look than this, and listing the
// folder costs less than trying each.
constexpr qint64 kMaximumNewPids = 1024;

// The fields of a process's stat file from the state (field 3) on. The
// command name in parentheses may itself hold spaces and parentheses: the
// fields start after the last closing one.
QList<QByteArray> statFields(const QByteArray& stat)
{
    const qsizetype nameEnd = stat.lastIndexOf(')');
    if (nameEnd < 0)
        return {};
    return stat.mid(nameEnd + 1).simplified().split(' ');
}

// Field number (as the kernel counts them) of the fields statFields() gives; -1 when absent.
qint64 statField(const QList<QByteArray>& fields, int number)
{
    bool isNumber = false;
    const qint64 value = fields.value(number - 3).toLongLong(&isNumber);
    return isNumber ? value : -1;
}

// The first number of a line "Name:\tnumber..." of a status file, found
// by "\nName:" (never the first line); -1 when absent. Read in place: the
// file is read for every process that begins.
qint64 statusNumber(const QByteArray& status, const char* name)
{
    const qsizetype found = status.indexOf(name);
    if (found < 0)
        return -1;
    const char* start = status.constData() + found + qstrlen(name);
    while (*start == '\t' || *start == ' ')
        ++start;
    char* end = nullptr;
    const long long value = std::strtoll(start, &end, 10);
    return end != start && (*end == '\t' || *end == ' ' || *end == '\n' || *end == '\0') ? value : -1;
}

// The value of the variable in an environment ("NAME=value", each ended by a
// NUL byte); null when it is not set.
QByteArray environmentValue(const QByteArray& environment, const QByteArray& name)
{
    const QByteArray prefix = name + '=';
    qsizetype start = -1;
    if (environment.startsWith(prefix))
        start = prefix.size();
    else if (const qsizetype found = environment.indexOf('\0' + prefix); found >= 0)
        start = found + 1 + prefix.size();
    if (start < 0)
        return {};
    const qsizetype end = environment.indexOf('\0', start);
    return environment.mid(start, end < 0 ? -1 : end - start);
}

// The clock /proc counts its times from, read directly where the tree is
// the system's own; none for another tree.
std::optional<timespec> bootClockOf(const QByteArray& procRoot)
{
    timespec now {};
    if (procRoot != "/proc" || clock_gettime(CLOCK_BOOTTIME, &now) != 0)
        return std::nullopt;
    return now;
}

} // namespace

ProcessTable::ProcessTable(const QString& procRoot, uid_t uid)
    : m_procRoot(QFile::encodeName(procRoot))
    , m_uid(uid)
    , m_ticksPerSecond(static_cast<double>(sysconf(_SC_CLK_TCK)))
    , m_uptime(readUptime())
{
    // As the kernel names it: the file the links lead to.
    if (const char* launcher = std::getenv(kLauncherVariable)) {
        m_launcher = QFileInfo(QFile::decodeName(launcher)).canonicalFilePath();
        // The kernel names a process after the file its exec was given (a
        // link, perhaps), cut to 15 bytes.
        for (const QString& file : { QFile::decodeName(launcher), m_launcher }) {
            const QByteArray name = QFile::encodeName(QFileInfo(file).fileName()).left(15);
            if (!name.isEmpty() && !m_launcherNames.contains(name))
                m_launcherNames.append(name);
        }
    }
}

void ProcessTable::refresh()
{
    m_uptime = readUptime();
    if (!m_indexed) {
        indexAll();
        return;
    }
    QList<qint64> again = std::exchange(m_readAgain, {});
    for (const qint64 pid : std::as_const(m_inLauncher)) {
        if (!again.contains(pid))
            again.append(pid);
    }
    for (const qint64 pid : again)
        readAgain(pid);
    const std::optional<qint64> last = readLastPid();
    if (last && m_lastPid && *last >= *m_lastPid && *last - *m_lastPid <= kMaximumNewPids) {
        // Most numbers name threads or processes already gone. One already
        // known was read after it was given out.
        for (qint64 pid = *m_lastPid + 1; pid <= *last; ++pid) {
            if (!m_entries.contains(pid))
                readEntry(pid, true);
        }
    } else {
        readListed();
    }
    m_lastPid = last;
}

void ProcessTable::indexAll() const
{
    if (m_indexed)
        return;
    m_indexed = true;
    // Before the listing: what begins while it is read is read again next time.
    m_lastPid = readLastPid();
    for (const qint64 pid : listPids()) {
        if (!m_entries.contains(pid))
            readEntry(pid, false);
    }
}

void ProcessTable::readListed()
{
    const QList<qint64> listed = listPids();
    const QSet<qint64> present(listed.cbegin(), listed.cend());
    for (const qint64 pid : m_entries.keys()) {
        if (!present.contains(pid))
            forget(pid);
    }
    for (const qint64 pid : listed) {
        if (!m_entries.contains(pid))
            readEntry(pid, true);
    }
}

std::optional<qint64> ProcessTable::readLastPid() const
{
    bool isNumber = false;
    const qint64 last = readSmallFile(m_procRoot + "/sys/kernel/ns_last_pid").trimmed().toLongLong(&isNumber);
    return isNumber ? std::optional<qint64>(last) : std::nullopt;
}

QList<qint64> ProcessTable::listPids() const
{
    QList<qint64> pids;
    DIR* folder = ::opendir(m_procRoot.constData());
    if (!folder)
        return pids;
    while (const dirent* entry = ::readdir(folder)) {
        char* end = nullptr;
        const long long pid = std::strtoll(entry->d_name, &end, 10);
        if (pid > 0 && *end == '\0')
            pids.append(pid);
    }
    ::closedir(folder);
    return pids;
}

ProcessTable::Entry& ProcessTable::readEntry(qint64 pid, bool readAgain) const
{
    Entry entry;
    if (isProcessOfUser(pid)) {
        entry.process = readProcess(pid);
        if (entry.process)
            entry.executable = readExecutable(pid);
    }
    if (entry.process) {
        m_bySession.insert(entry.process->session, pid);
        if (readAgain)
            m_readAgain.append(pid);
    }
    if (!entry.executable.isEmpty())
        m_byExecutable.insert(entry.executable, pid);
    Entry& stored = *m_entries.insert(pid, std::move(entry));
    if (m_environmentsIndexed)
        indexEnvironment(pid, stored);
    return stored;
}

// By now a launcher has become its program: only what an exec changes is
// read. The owner and the thread group stay. The session changes only by the
// process's own setsid(), as a launcher's does first thing; it is read again
// when sessions are asked about: the status of a process during its exec
// waits for the exec. A program that replaced itself has the environment
// its exec was given.
void ProcessTable::readAgain(qint64 pid)
{
    const auto known = m_entries.find(pid);
    if (known == m_entries.end() || !known->process) {
        // Not yet there at the first look, perhaps.
        forget(pid);
        readEntry(pid, false);
        return;
    }
    // A leader cannot call setsid() again.
    if (known->process->session != pid)
        m_sessionUnsettled.insert(pid);
    if (isStillStarting(pid, *known)) {
        if (!m_inLauncher.contains(pid))
            m_readAgain.append(pid);
        return;
    }
    const QString executable = readExecutable(pid);
    if (executable == known->executable)
        return;
    m_byExecutable.remove(known->executable, pid);
    known->executable = executable;
    known->commandLine.reset();
    if (!executable.isEmpty())
        m_byExecutable.insert(executable, pid);
    if (m_environmentsIndexed) {
        forgetEnvironment(pid, *known);
        indexEnvironment(pid, *known);
    }
}

// What we started runs our launcher first, which soon replaces itself with
// the program. Until each exec is done, reading what it runs would wait for
// it. Its name can be read at once and tells: it is the name of the thread
// that started it until the first exec, our launcher's until the second.
bool ProcessTable::isStillStarting(qint64 pid, const Entry& entry) const
{
    if (!entry.isEnvironmentKnown)
        return false;
    QByteArray name = readSmallFile(fileOf(pid, "comm"));
    name.chop(1);
    return !name.isEmpty() && (name == entry.nameBeforeExec || m_launcherNames.contains(name));
}

void ProcessTable::forget(qint64 pid) const
{
    const auto known = m_entries.constFind(pid);
    if (known == m_entries.cend())
        return;
    m_byExecutable.remove(known->executable, pid);
    m_sessionUnsettled.remove(pid);
    m_inLauncher.remove(pid);
    m_byDesktopFile.remove(known->launchedDesktopFile, pid);
    m_byMark.remove(known->mark, pid);
    if (known->process)
        m_bySession.remove(known->process->session, pid);
    m_entries.erase(known);
}

QList<qint64> ProcessTable::pids() const
{
    indexAll();
    return m_entries.keys();
}

std::optional<ProcessTable::Process> ProcessTable::process(qint64 pid) const
{
    const auto known = m_entries.constFind(pid);
    return known != m_entries.cend() ? known->process : readEntry(pid, m_indexed).process;
}

std::optional<ProcessTable::Process> ProcessTable::currentProcess(qint64 pid) const
{
    const auto known = m_entries.find(pid);
    if (known == m_entries.end())
        return readEntry(pid, m_indexed).process;
    if (!known->process)
        return std::nullopt;
    const std::optional<Process> current = readProcess(pid);
    if (!current) {
        forget(pid);
        return std::nullopt;
    }
    if (current->session != known->process->session) {
        m_bySession.remove(known->process->session, pid);
        m_bySession.insert(current->session, pid);
    }
    known->process = current;
    return current;
}

qint64 ProcessTable::startTicks(const QString& procRoot, qint64 pid)
{
    const QByteArray stat = readSmallFile(QFile::encodeName(procRoot) + '/' + QByteArray::number(pid) + "/stat");
    return statField(statFields(stat), 22);
}

qint64 ProcessTable::ticksNow(const QString& procRoot)
{
    const std::optional<timespec> now = bootClockOf(QFile::encodeName(procRoot));
    if (!now)
        return -1;
    // As the kernel turns its nanoseconds into the ticks of /proc: rounded down.
    const qint64 ticksPerSecond = sysconf(_SC_CLK_TCK);
    return static_cast<qint64>(now->tv_sec) * ticksPerSecond + now->tv_nsec / (1000000000 / ticksPerSecond);
}

// The kernel stamps a process with the boot clock as it creates it, between
// the parent's two looks at that clock.
qint64 ProcessTable::startTicksOfChild(const QString& procRoot, qint64 pid, qint64 ticksBefore)
{
    if (ticksBefore >= 0 && ticksNow(procRoot) == ticksBefore)
        return ticksBefore;
    return startTicks(procRoot, pid);
}

void ProcessTable::addStarted(const Started& started)
{
    if (started.pid <= 0 || started.startTicks < 0 || m_uid != getuid() || m_entries.contains(started.pid))
        return;
    // Our child, and from its first moment the leader of a session of its
    // own: posix_spawn and our launcher make it one first thing.
    Entry entry;
    entry.process = Process { started.pid, getpid(), started.pid, started.startTicks,
        m_uptime - static_cast<double>(started.startTicks) / m_ticksPerSecond, false, 0 };
    entry.mark = started.mark;
    entry.launchedDesktopFile = started.launchedDesktopFile;
    entry.isEnvironmentKnown = true;
    entry.nameBeforeExec = started.nameBeforeExec;
    m_bySession.insert(started.pid, started.pid);
    // What it runs is read at the next look.
    m_readAgain.append(started.pid);
    Entry& stored = *m_entries.insert(started.pid, std::move(entry));
    if (m_environmentsIndexed)
        indexEnvironment(started.pid, stored);
}

QString ProcessTable::executable(qint64 pid) const
{
    const auto known = m_entries.constFind(pid);
    return known != m_entries.cend() ? known->executable : readEntry(pid, m_indexed).executable;
}

double ProcessTable::runQueueWait(qint64 pid) const
{
    // "time on a processor, time waiting for one, time slices", in nanoseconds.
    bool isNumber = false;
    const qint64 waited = readSmallFile(fileOf(pid, "schedstat")).simplified().split(' ').value(1).toLongLong(&isNumber);
    return isNumber && waited > 0 ? static_cast<double>(waited) / 1e9 : 0;
}

bool ProcessTable::isInTimedSleep(qint64 pid) const
{
    // The number of the call and its arguments; "running" on a processor,
    // "-1 ..." outside a call; empty where only a tracer may read it.
    const QByteArray call = readSmallFile(fileOf(pid, "syscall"));
    if (!call.isEmpty()) {
        bool isNumber = false;
        const qint64 number = call.left(call.indexOf(' ')).toLongLong(&isNumber);
        return isNumber && (number == SYS_nanosleep || number == SYS_clock_nanosleep);
    }
    // hrtimer_nanosleep, do_nanosleep, ...; "0" where this is closed too.
    return readSmallFile(fileOf(pid, "wchan")).contains("nanosleep");
}

QStringList ProcessTable::commandLine(qint64 pid) const
{
    Entry& entry = m_entries.contains(pid) ? m_entries[pid] : readEntry(pid, m_indexed);
    if (!entry.process)
        return {};
    if (!entry.commandLine) {
        QStringList arguments;
        QList<QByteArray> fields = readSmallFile(fileOf(pid, "cmdline")).split('\0');
        // Every argument ends with a NUL byte, so the last field is empty.
        fields.removeLast();
        for (const QByteArray& field : fields)
            arguments.append(QFile::decodeName(field));
        entry.commandLine = arguments;
    }
    return *entry.commandLine;
}

QList<qint64> ProcessTable::processesRunning(const QString& executable) const
{
    indexAll();
    return m_byExecutable.values(executable);
}

QList<qint64> ProcessTable::processesLaunchedFrom(const QString& desktopFile) const
{
    indexEnvironments();
    return m_byDesktopFile.values(desktopFile);
}

QList<ProcessTable::Process> ProcessTable::marked(const QString& mark) const
{
    indexEnvironments();
    QList<Process> processes;
    for (const qint64 pid : m_byMark.values(mark)) {
        if (const std::optional<Process> process = currentProcess(pid); process && !process->hasEnded)
            processes.append(*process);
    }
    return processes;
}

QString ProcessTable::markOf(qint64 pid) const
{
    indexEnvironments();
    const auto known = m_entries.constFind(pid);
    return known != m_entries.cend() ? known->mark : readEntry(pid, m_indexed).mark;
}

void ProcessTable::indexEnvironments() const
{
    indexAll();
    if (m_environmentsIndexed)
        return;
    m_environmentsIndexed = true;
    for (auto entry = m_entries.begin(); entry != m_entries.end(); ++entry)
        indexEnvironment(entry.key(), *entry);
}

void ProcessTable::indexEnvironment(qint64 pid, Entry& entry) const
{
    if (!entry.process)
        return;
    // Our launcher is about to run the program it launches, with the
    // environment that counts: read then (readAgain()), not twice.
    const bool isInLauncher = !m_launcher.isEmpty() && entry.executable == m_launcher;
    if (isInLauncher)
        m_inLauncher.insert(pid);
    else
        m_inLauncher.remove(pid);
    if (!entry.isEnvironmentKnown) {
        if (isInLauncher)
            return;
        const QByteArray environment = readSmallFile(fileOf(pid, "environ"));
        // A wrapper that execs its program keeps its pid, and so the variable's.
        if (environmentValue(environment, QByteArrayLiteral("GIO_LAUNCHED_DESKTOP_FILE_PID")) == QByteArray::number(pid)) {
            const QByteArray desktopFile = environmentValue(environment, QByteArrayLiteral("GIO_LAUNCHED_DESKTOP_FILE"));
            entry.launchedDesktopFile = desktopFile.isEmpty() ? QString() : QDir::cleanPath(QFile::decodeName(desktopFile));
        }
        entry.mark = QFile::decodeName(environmentValue(environment, QByteArray(kLaunchMarkVariable)));
    }
    if (!entry.launchedDesktopFile.isEmpty())
        m_byDesktopFile.insert(entry.launchedDesktopFile, pid);
    if (!entry.mark.isEmpty())
        m_byMark.insert(entry.mark, pid);
}

void ProcessTable::forgetEnvironment(qint64 pid, Entry& entry) const
{
    m_byDesktopFile.remove(entry.launchedDesktopFile, pid);
    m_byMark.remove(entry.mark, pid);
    if (!entry.isEnvironmentKnown) {
        entry.launchedDesktopFile.clear();
        entry.mark.clear();
    }
}

QList<ProcessTable::Process> ProcessTable::sessionMembers(qint64 session) const
{
    indexAll();
    // The session of a process never changes but by its own setsid(), which
    // reading it again sees; only the members are read again.
    for (const qint64 pid : std::exchange(m_sessionUnsettled, {}))
        currentProcess(pid);
    QList<Process> members;
    for (const qint64 pid : m_bySession.values(session)) {
        if (const std::optional<Process> member = currentProcess(pid); member && !member->hasEnded && member->session == session)
            members.append(*member);
    }
    return members;
}

// Built for every process a look reads: no formatting, one allocation.
QByteArray ProcessTable::fileOf(qint64 pid, const char* name) const
{
    return m_procRoot + '/' + QByteArray::number(pid) + '/' + name;
}

std::optional<ProcessTable::Process> ProcessTable::readProcess(qint64 pid) const
{
    // Fields: parent 4, session 6, user and system time 14 and 15, and of the
    // children it has collected 16 and 17, start time 22.
    const QList<QByteArray> fields = statFields(readSmallFile(fileOf(pid, "stat")));
    const auto field = [&](int number) { return statField(fields, number); };
    const qint64 startTicks = field(22);
    if (startTicks < 0)
        return std::nullopt;
    // Not yet reaped (Z) or going (X).
    const bool hasEnded = fields.value(0) == "Z" || fields.value(0) == "X";
    const double age = m_uptime - static_cast<double>(startTicks) / m_ticksPerSecond;
    qint64 cpuTicks = 0;
    for (const int number : { 14, 15, 16, 17 })
        cpuTicks += std::max<qint64>(field(number), 0);
    return Process { pid, field(4), field(6), startTicks, age, hasEnded, cpuTicks };
}

QString ProcessTable::readExecutable(qint64 pid) const
{
    char target[4096];
    const ssize_t length = ::readlink(fileOf(pid, "exe").constData(), target, sizeof target);
    QString path = length > 0 && static_cast<size_t>(length) < sizeof target
        ? QFile::decodeName(QByteArray(target, length)) : QString();
    // A program replaced by an update while it runs is still that program.
    if (path.endsWith(QLatin1String(" (deleted)")))
        path.chop(10);
    return path;
}

bool ProcessTable::isProcessOfUser(qint64 pid) const
{
    // Most numbers given out during a run name threads of this program,
    // which come and go with its work: their folder under our own tells them
    // without a read of their status.
    if (pid != getpid() && ::access(m_procRoot + "/self/task/" + QByteArray::number(pid), F_OK) == 0)
        return false;
    const QByteArray status = readSmallFile(fileOf(pid, "status"));
    // A thread's own folder is not listed, but can be read by its number.
    const qint64 group = statusNumber(status, "\nTgid:");
    if (group >= 0 && group != pid)
        return false;
    // "Uid:" lists the real, effective, saved and file system ids; the real one owns the process.
    const qint64 uid = statusNumber(status, "\nUid:");
    return uid >= 0 && static_cast<uid_t>(uid) == m_uid;
}

double ProcessTable::readUptime() const
{
    // The clock /proc/uptime shows, without the file's sum over every processor.
    if (const std::optional<timespec> now = bootClockOf(m_procRoot))
        return static_cast<double>(now->tv_sec) + static_cast<double>(now->tv_nsec) / 1e9;
    return readSmallFile(m_procRoot + "/uptime").simplified().split(' ').value(0).toDouble();
}
