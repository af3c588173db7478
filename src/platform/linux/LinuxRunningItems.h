#pragma once
// What runs on Linux, looked at again for each step of a run. An item runs
// when a process of the user runs that very item: a process launched from it
// (with its session while it leads it, and the descendants that began while
// it was launching, which carry its mark wherever they detached to), or one
// that runs its command (ItemCommand). It has finished launching once one of
// them, or a descendant, owns a window on X11, or once they have neither used
// nor waited for a processor (children that ended included) nor slept for a
// set time for a settled moment.
#include "platform/Workspace.h"
#include "platform/linux/ItemCommands.h"
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
        // With the pid, tells the launched process from a later one that
        // reuses its number; -1 when unknown.
        qint64 startTicks = 0;
        // Cleaned, as written; also the mark of its tree.
        QString path;
        // When it was seen to have finished launching; -1 when it was not.
        qint64 launchedTicks = -1;
    };

    // The launches made of the path, at the moment asked.
    using Launches = std::function<QList<Launch>(const QString& path)>;
    // Called with a launch found while asked about its path: of which nothing
    // runs any more, or which has just been seen to have finished launching
    // (launchedTicks set).
    using LaunchSeenHandler = std::function<void(const Launch&, bool hasEnded)>;
    // The processes started since those counted in seen, which it then counts too.
    using StartedSince = std::function<QList<ProcessTable::Started>(quint64& seen)>;

    // windows is null where windows cannot be looked at. What is started from
    // now on is known to each look without reading it (started).
    LinuxRunningItems(const QString& procRoot, Launches launches, std::shared_ptr<const X11Windows> windows,
        double settledSeconds, LaunchSeenHandler launchSeen, StartedSince started);

    void refresh() override;
    Workspace::ApplicationState stateForItemAtPath(const QString& path) const override;
    void expectItems(const QStringList& paths) override;

private:
    // When a process was last seen busy (using or waiting for a processor, or
    // sleeping for a set time), and how long it had used and waited then.
    struct Activity {
        qint64 startTicks = -1;
        double busySeconds = 0;
        double lastActiveSeconds = 0;
    };

    // The processes of the launch that still run: its own, its session's
    // while it leads it, and those its mark credits to it.
    QList<ProcessTable::Process> processesOfLaunch(const Launch& launch) const;
    // Whether the process carries the launch's mark and began while the launch was launching.
    bool isMarkedBy(const ProcessTable::Process& process, const Launch& launch) const;
    bool isFinishedLaunching(const QString& itemPath, const QList<ProcessTable::Process>& processes) const;
    // processes are the item's that run now.
    bool hasSettled(const QString& itemPath, const QList<ProcessTable::Process>& processes) const;
    bool isOrDescendsFrom(qint64 pid, const QList<ProcessTable::Process>& processes) const;
    QList<qint64> windowOwners() const;

    ProcessTable m_table;
    const Launches m_launches;
    const std::shared_ptr<const X11Windows> m_windows;
    const double m_settledSeconds;
    const LaunchSeenHandler m_launchSeen;
    const StartedSince m_started;
    quint64 m_startedSeen = 0;
    mutable std::optional<QList<qint64>> m_windowOwners;
    mutable QHash<qint64, Activity> m_activity;
    // When a process of the item was last seen busy, those that ended since included.
    mutable QHash<QString, double> m_lastActiveOfItem;
    mutable ItemCommands m_commands;
};
