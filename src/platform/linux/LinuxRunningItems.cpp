#include "platform/linux/LinuxRunningItems.h"

#include "platform/CanonicalPath.h"
#include "platform/linux/ItemCommand.h"
#include "platform/linux/X11Windows.h"

#include <algorithm>
#include <unistd.h>

namespace {

// Deeper than any real chain of parents; ends a loop in a corrupt tree.
constexpr int kMaximumAncestors = 64;

bool contains(const QList<ProcessTable::Process>& processes, qint64 pid)
{
    return std::any_of(processes.cbegin(), processes.cend(), [&](const ProcessTable::Process& process) { return process.pid == pid; });
}

} // namespace

LinuxRunningItems::LinuxRunningItems(const QString& procRoot, QList<Launch> launches,
    std::shared_ptr<const X11Windows> windows, double settledSeconds, LaunchEndedHandler launchEnded)
    : m_table(procRoot, getuid())
    , m_launches(std::move(launches))
    , m_windows(std::move(windows))
    , m_settledSeconds(settledSeconds)
    , m_launchEnded(std::move(launchEnded))
{
}

Workspace::ApplicationState LinuxRunningItems::stateForItemAtPath(const QString& path) const
{
    const QString itemPath = writtenPath(path);
    if (itemPath.isEmpty())
        return Workspace::ApplicationState::NotRunning;
    QList<ProcessTable::Process> processes;
    QList<qint64> sessions;
    for (const Launch& launch : m_launches) {
        if (launch.path != itemPath)
            continue;
        const QList<ProcessTable::Process> launched = processesOfLaunch(launch);
        if (launched.isEmpty())
            m_launchEnded(launch);
        processes += launched;
        sessions.append(launch.pid);
    }
    if (const ItemCommand command = ItemCommand::forItemAtPath(itemPath); !command.isEmpty()) {
        for (const qint64 pid : m_table.pids()) {
            if (command.isRunByProcess(m_table, pid)) {
                if (const std::optional<ProcessTable::Process> process = m_table.process(pid); process && !process->hasEnded)
                    processes.append(*process);
            }
        }
    }
    if (processes.isEmpty())
        return Workspace::ApplicationState::NotRunning;
    return isFinishedLaunching(processes, sessions) ? Workspace::ApplicationState::FinishedLaunching
                                                    : Workspace::ApplicationState::Launching;
}

QList<ProcessTable::Process> LinuxRunningItems::processesOfLaunch(const Launch& launch) const
{
    // A pid with another start time is a later process that reuses the number.
    if (const std::optional<ProcessTable::Process> process = m_table.process(launch.pid);
        process && !process->hasEnded && process->startTicks == launch.startTicks)
        return { *process };
    QList<ProcessTable::Process> descendants = m_table.sessionMembers(launch.pid);
    descendants.removeIf([&](const ProcessTable::Process& process) { return process.startTicks < launch.startTicks; });
    return descendants;
}

bool LinuxRunningItems::isFinishedLaunching(const QList<ProcessTable::Process>& processes, const QList<qint64>& sessions) const
{
    for (const ProcessTable::Process& process : processes) {
        if (process.ageSeconds >= m_settledSeconds)
            return true;
    }
    const QList<qint64> owners = windowOwners();
    return std::any_of(owners.cbegin(), owners.cend(), [&](qint64 owner) { return isOrDescendsFrom(owner, processes, sessions); });
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
