#include "platform/linux/LinuxRunningItems.h"

#include "platform/CanonicalPath.h"
#include "platform/linux/X11Windows.h"

#include <algorithm>
#include <unistd.h>

namespace {

// Deeper than any real chain of parents; ends a loop in a corrupt tree.
constexpr int kMaximumAncestors = 64;

// A launch no one saw finish counts as launching for this long at most: what
// a run waits for it by default, with the moment after.
constexpr double kLaunchingAtMostSeconds = 32.0;

// The share of the settled moment a process may spend on the processor and
// still count as idle.
constexpr double kIdleShare = 0.05;

bool contains(const QList<ProcessTable::Process>& processes, qint64 pid)
{
    return std::any_of(processes.cbegin(), processes.cend(), [&](const ProcessTable::Process& process) { return process.pid == pid; });
}

} // namespace

LinuxRunningItems::LinuxRunningItems(const QString& procRoot, Launches launches,
    std::shared_ptr<const X11Windows> windows, double settledSeconds, LaunchSeenHandler launchSeen, StartedSince started)
    : m_table(procRoot, getuid())
    , m_launches(std::move(launches))
    , m_windows(std::move(windows))
    , m_settledSeconds(settledSeconds)
    , m_launchSeen(std::move(launchSeen))
    , m_started(std::move(started))
{
    // What was started before is read at the first look.
    m_started(m_startedSeen);
}

void LinuxRunningItems::refresh()
{
    for (const ProcessTable::Started& started : m_started(m_startedSeen))
        m_table.addStarted(started);
    m_table.refresh();
    m_windowOwners.reset();
}

Workspace::ApplicationState LinuxRunningItems::stateForItemAtPath(const QString& path) const
{
    const QString itemPath = writtenPath(path);
    if (itemPath.isEmpty())
        return Workspace::ApplicationState::NotRunning;
    QList<ProcessTable::Process> processes;
    QList<Launch> launches = m_launches(itemPath);
    for (const Launch& launch : launches) {
        const QList<ProcessTable::Process> launched = processesOfLaunch(launch);
        if (launched.isEmpty())
            m_launchSeen(launch, true);
        for (const ProcessTable::Process& process : launched) {
            if (!contains(processes, process.pid))
                processes.append(process);
        }
    }
    const ItemCommand command = m_commands.commandOf(itemPath);
    for (const QString& program : command.programFiles()) {
        for (const qint64 pid : m_table.processesRunning(program)) {
            if (contains(processes, pid) || !command.isRunByProcess(m_table, pid))
                continue;
            if (const std::optional<ProcessTable::Process> process = m_table.currentProcess(pid); process && !process->hasEnded)
                processes.append(*process);
        }
    }
    // Started from the entry, by whatever wrapper the entry runs.
    if (itemPath.endsWith(QLatin1String(".desktop"))) {
        for (const qint64 pid : m_table.processesLaunchedFrom(itemPath)) {
            if (contains(processes, pid))
                continue;
            if (const std::optional<ProcessTable::Process> process = m_table.currentProcess(pid); process && !process->hasEnded)
                processes.append(*process);
        }
    }
    if (processes.isEmpty())
        return Workspace::ApplicationState::NotRunning;
    if (!isFinishedLaunching(itemPath, processes))
        return Workspace::ApplicationState::Launching;
    // From now on what begins with the launch's mark is no longer the launch's own.
    for (Launch& launch : launches) {
        if (launch.launchedTicks < 0) {
            launch.launchedTicks = static_cast<qint64>(m_table.uptime() * m_table.ticksPerSecond());
            m_launchSeen(launch, false);
        }
    }
    return Workspace::ApplicationState::FinishedLaunching;
}

void LinuxRunningItems::expectItems(const QStringList& paths)
{
    QStringList itemPaths;
    for (const QString& path : paths) {
        if (const QString itemPath = writtenPath(path); !itemPath.isEmpty())
            itemPaths.append(itemPath);
    }
    m_commands.readAhead(itemPaths);
}

QList<ProcessTable::Process> LinuxRunningItems::processesOfLaunch(const Launch& launch) const
{
    QList<ProcessTable::Process> processes;
    const auto add = [&](const ProcessTable::Process& process) {
        if (!contains(processes, process.pid))
            processes.append(process);
    };
    // A pid with another start time is a later process that reuses the number.
    const std::optional<ProcessTable::Process> launched = m_table.currentProcess(launch.pid);
    const bool leadsItsSession = launched && launch.startTicks >= 0 && launched->startTicks == launch.startTicks;
    if (leadsItsSession && !launched->hasEnded)
        add(*launched);
    // Every member of the session it leads descends from it; once it is gone,
    // its number may lead another's.
    for (const ProcessTable::Process& member : m_table.sessionMembers(launch.pid)) {
        if (leadsItsSession || isMarkedBy(member, launch))
            add(member);
    }
    // What it detached, wherever that went.
    for (const ProcessTable::Process& process : m_table.marked(launch.path)) {
        if (isMarkedBy(process, launch))
            add(process);
    }
    return processes;
}

// A program the user starts later from one the launch opened (a terminal)
// inherits the mark, but began after the launch had finished.
bool LinuxRunningItems::isMarkedBy(const ProcessTable::Process& process, const Launch& launch) const
{
    if (launch.startTicks < 0 || process.startTicks < launch.startTicks)
        return false;
    const qint64 launchedTicks = launch.launchedTicks >= 0
        ? launch.launchedTicks
        : launch.startTicks + static_cast<qint64>(kLaunchingAtMostSeconds * m_table.ticksPerSecond());
    return process.startTicks <= launchedTicks && m_table.markOf(process.pid) == launch.path;
}

bool LinuxRunningItems::isFinishedLaunching(const QString& itemPath, const QList<ProcessTable::Process>& processes) const
{
    if (hasSettled(itemPath, processes))
        return true;
    const QList<qint64> owners = windowOwners();
    return std::any_of(owners.cbegin(), owners.cend(), [&](qint64 owner) { return isOrDescendsFrom(owner, processes); });
}

// A program busy starting uses processor time, or waits for one on a loaded
// machine (a login is one); one that waits for its user, or for anything
// else, uses none, or next to none: a program that looks for something a few
// times a second uses a clock tick now and then. A process that sleeps for a
// set time, as a launcher script's "sleep 3" before its program, is on its
// way all the same. What a process did before it ended counts for its item:
// the settled moment counts from the end of that sleep.
bool LinuxRunningItems::hasSettled(const QString& itemPath, const QList<ProcessTable::Process>& processes) const
{
    const double now = m_table.uptime();
    const double ticksPerSecond = m_table.ticksPerSecond();
    const double idleSeconds = std::max(1 / ticksPerSecond, kIdleShare * m_settledSeconds);
    double& lastActive = m_lastActiveOfItem[itemPath];
    for (const ProcessTable::Process& process : processes) {
        Activity& activity = m_activity[process.pid];
        const double busy = static_cast<double>(process.cpuTicks) / ticksPerSecond + m_table.runQueueWait(process.pid);
        if (activity.startTicks != process.startTicks) {
            // First seen: it was active at the latest until its start plus the time it was busy.
            const double started = static_cast<double>(process.startTicks) / ticksPerSecond;
            activity = { process.startTicks, busy, std::min(now, started + busy) };
        } else if (busy - activity.busySeconds > idleSeconds) {
            activity.busySeconds = busy;
            activity.lastActiveSeconds = now;
        }
        if (activity.lastActiveSeconds < now && m_table.isInTimedSleep(process.pid))
            activity.lastActiveSeconds = now;
        lastActive = std::max(lastActive, activity.lastActiveSeconds);
    }
    return now - lastActive >= m_settledSeconds;
}

bool LinuxRunningItems::isOrDescendsFrom(qint64 pid, const QList<ProcessTable::Process>& processes) const
{
    std::optional<ProcessTable::Process> process = m_table.process(pid);
    for (int depth = 0; process && depth < kMaximumAncestors; ++depth) {
        if (contains(processes, process->pid))
            return true;
        process = process->parentPid > 1 ? m_table.process(process->parentPid) : std::nullopt;
    }
    return false;
}

QList<qint64> LinuxRunningItems::windowOwners() const
{
    if (!m_windowOwners) {
        m_windowOwners.emplace();
        if (m_windows) {
            for (const X11Windows::Window& window : m_windows->windowsWithOwners())
                m_windowOwners->append(window.pid);
        }
    }
    return *m_windowOwners;
}
