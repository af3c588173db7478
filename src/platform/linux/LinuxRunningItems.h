#pragma once
// What runs on Linux, looked at again for each step of a run. An item runs
// when a process of the user runs that very item: a process launched from it
// (or one of its session, which its descendants keep), or one that runs its
// command (ItemCommand). It has finished launching once one of them, or a
// descendant, owns a window on X11, or once they have used no processor time
// for a settled moment.
#include "platform/Workspace.h"
#include "platform/linux/ItemCommand.h"
#include "platform/linux/ProcessTable.h"

#include <QHash>
#include <functional>
#include <memory>

class X11Windows;

class LinuxRunningItems : public Workspace::RunningItems {
public:
    struct Launch {
        // Also the session it leads.
        qint64 pid = 0;
        // -1 when the process had ended before it could be read.
        qint64 startTicks = 0;
        // Cleaned, as written.
        QString path;
    };

    // The launches made from a path (cleaned, as written), at the moment asked.
    using LaunchesOfPath = std::function<QList<Launch>(const QString& path)>;
    // Called with a launch of which nothing runs any more, found while asked about its path.
    using LaunchEndedHandler = std::function<void(const Launch&)>;

    // windows is null where windows cannot be looked at.
    LinuxRunningItems(const QString& procRoot, LaunchesOfPath launches, std::shared_ptr<const X11Windows> windows,
        double settledSeconds, LaunchEndedHandler launchEnded);

    void refresh() override;
    Workspace::ApplicationState stateForItemAtPath(const QString& path) const override;

private:
    // When a process was last seen using processor time, and how much it had used then.
    struct Activity {
        qint64 startTicks = -1;
        qint64 cpuTicks = 0;
        double lastActiveSeconds = 0;
    };

    // The processes of the launch that still run: its own, else those its session kept.
    QList<ProcessTable::Process> processesOfLaunch(const Launch& launch) const;
    bool isFinishedLaunching(const QList<ProcessTable::Process>& processes, const QList<qint64>& sessions) const;
    bool hasSettled(const QList<ProcessTable::Process>& processes) const;
    bool isOrDescendsFrom(qint64 pid, const QList<ProcessTable::Process>& processes, const QList<qint64>& sessions) const;
    QList<qint64> windowOwners() const;

    ProcessTable m_table;
    const LaunchesOfPath m_launches;
    const std::shared_ptr<const X11Windows> m_windows;
    const double m_settledSeconds;
    const LaunchEndedHandler m_launchEnded;
    mutable std::optional<QList<qint64>> m_windowOwners;
    mutable QHash<qint64, Activity> m_activity;
    mutable QHash<QString, ItemCommand> m_commands;
};
