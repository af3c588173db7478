#include "platform/linux/LinuxRunningItems.h"

#include "platform/CanonicalPath.h"
#include "platform/linux/OrphanReaper.h"
#include "platform/linux/X11Windows.h"

#include <algorithm>
#include <unistd.h>

namespace {

// Deeper than any real chain of parents; ends a loop in a corrupt tree.
constexpr int kMaximumAncestors = 64;

// The share of the settled moment a process may spend on the processor and
// still count as idle.
constexpr double kIdleShare = 0.05;

bool contains(const QList<ProcessTable::Process>& processes, qint64 pid)
{
    return std::any_of(processes.cbegin(), processes.cend(), [&](const ProcessTable::Process& process) { return process.pid == pid; });
}

} // namespace

LinuxRunningItems::LinuxRunningItems(const QString& procRoot, Launches launches,
    std::shared_ptr<const X11Windows> windows, double settledSeconds, LaunchEndedHandler launchEnded)
    : m_table(procRoot, getuid())
    , m_launches(std::move(launches))
    , m_windows(std::move(windows))
    , m_settledSeconds(settledSeconds)
    , m_launchEnded(std::move(launchEnded))
{
}

void LinuxRunningItems::refresh()
{
    m_table.refresh();
    m_windowOwners.reset();
    m_adoptedChildren.reset();
}

Workspace::ApplicationState LinuxRunningItems::stateForItemAtPath(const QString& path) const
{
    const QString itemPath = writtenPath(path);
    if (itemPath.isEmpty())
        return Workspace::ApplicationState::NotRunning;
    QList<ProcessTable::Process> processes;
    QList<qint64> sessions;
    const QList<Launch> launches = m_launches();
    for (const Launch& launch : launches) {
        if (launch.path != itemPath)
            continue;
        const QList<ProcessTable::Process> launched = processesOfLaunch(launch, launches);
        if (launched.isEmpty())
            m_launchEnded(launch);
        for (const ProcessTable::Process& process : launched) {
            if (!contains(processes, process.pid))
                processes.append(process);
        }
        sessions.append(launch.pid);
    }
    // An item's command is read once: a wait asks about its item again and again.
    auto known = m_commands.constFind(itemPath);
    if (known == m_commands.cend())
        known = m_commands.insert(itemPath, ItemCommand::forItemAtPath(itemPath));
    const ItemCommand& command = *known;
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
    return isFinishedLaunching(itemPath, processes, sessions) ? Workspace::ApplicationState::FinishedLaunching
                                                    : Workspace::ApplicationState::Launching;
}

QList<ProcessTable::Process> LinuxRunningItems::processesOfLaunch(const Launch& launch, const QList<Launch>& launches) const
{
    QList<ProcessTable::Process> processes;
    const auto addSession = [&](qint64 session) {
        for (const ProcessTable::Process& member : m_table.sessionMembers(session)) {
            // A pid with another start time is a later process that reuses the number.
            const bool isOtherProcess = member.pid == launch.pid && member.startTicks != launch.startTicks;
            if (member.startTicks >= launch.startTicks && !isOtherProcess && !contains(processes, member.pid))
                processes.append(member);
        }
    };
    if (const std::optional<ProcessTable::Process> process = m_table.currentProcess(launch.pid);
        process && !process->hasEnded && process->startTicks == launch.startTicks)
        processes.append(*process);
    addSession(launch.pid);
    if (!m_adoptedChildren)
        m_adoptedChildren = OrphanReaper::shared().adoptedChildren();
    for (const qint64 pid : *m_adoptedChildren) {
        const std::optional<ProcessTable::Process> orphan = m_table.currentProcess(pid);
        if (!orphan || orphan->hasEnded || contains(processes, pid))
            continue;
        if (orphan->session == launch.pid || (orphan->session == orphan->pid && isLeftBy(*orphan, launch, launches))) {
            processes.append(*orphan);
            addSession(orphan->session);
        }
    }
    return processes;
}

bool LinuxRunningItems::isLeftBy(const ProcessTable::Process& orphan, const Launch& launch, const QList<Launch>& launches)
{
    if (orphan.startTicks < launch.startTicks)
        return false;
    return std::none_of(launches.cbegin(), launches.cend(), [&](const Launch& other) {
        return other.startTicks > launch.startTicks && other.startTicks <= orphan.startTicks;
    });
}

bool LinuxRunningItems::isFinishedLaunching(const QString& itemPath, const QList<ProcessTable::Process>& processes,
    const QList<qint64>& sessions) const
{
    if (hasSettled(itemPath, processes))
        return true;
    const QList<qint64> owners = windowOwners();
    return std::any_of(owners.cbegin(), owners.cend(), [&](qint64 owner) { return isOrDescendsFrom(owner, processes, sessions); });
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

bool LinuxRunningItems::isOrDescendsFrom(qint64 pid, const QList<ProcessTable::Process>& processes, const QList<qint64>& sessions) const
{
    std::optional<ProcessTable::Process> process = m_table.process(pid);
    for (int depth = 0; process && depth < kMaximumAncestors; ++depth) {
        if (contains(processes, process->pid) || sessions.contains(process->session))
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
