#pragma once
// What runs on Linux, looked at again for each step of a run. An item runs
// when a process of the user runs that very item: a process launched from it
// (with its session, which its descendants keep, and the descendants that
// detached from it, which this process adopts), or one that runs its command
// (ItemCommand). It has finished launching once one of them, or a
// descendant, owns a window on X11, or once they have neither used nor waited
// for a processor (children that ended included) nor slept for a set time for
// a settled moment.
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

    // Every launch made, at the moment asked.
    using Launches = std::function<QList<Launch>()>;
    // Called with a launch of which nothing runs any more, found while asked about its path.
    using LaunchEndedHandler = std::function<void(const Launch&)>;

    // windows is null where windows cannot be looked at.
    LinuxRunningItems(const QString& procRoot, Launches launches, std::shared_ptr<const X11Windows> windows,
        double settledSeconds, LaunchEndedHandler launchEnded);

    void refresh() override;
    Workspace::ApplicationState stateForItemAtPath(const QString& path) const override;

private:
    // When a process was last seen busy (using or waiting for a processor, or
    // sleeping for a set time), and how long it had used and waited then.
    struct Activity {
        qint64 startTicks = -1;
        double busySeconds = 0;
        double lastActiveSeconds = 0;
    };

    // The processes of the launch that still run: its own, its session's, and
    // the sessions of the children it left to us. launches are all of them.
    QList<ProcessTable::Process> processesOfLaunch(const Launch& launch, const QList<Launch>& launches) const;
    // Whether the adopted child began after the launch and after any other launch that came since.
    static bool isLeftBy(const ProcessTable::Process& orphan, const Launch& launch, const QList<Launch>& launches);
    bool isFinishedLaunching(const QString& itemPath, const QList<ProcessTable::Process>& processes,
        const QList<qint64>& sessions) const;
    // processes are the item's that run now.
    bool hasSettled(const QString& itemPath, const QList<ProcessTable::Process>& processes) const;
    bool isOrDescendsFrom(qint64 pid, const QList<ProcessTable::Process>& processes, const QList<qint64>& sessions) const;
    QList<qint64> windowOwners() const;

    ProcessTable m_table;
    const Launches m_launches;
    const std::shared_ptr<const X11Windows> m_windows;
    const double m_settledSeconds;
    const LaunchEndedHandler m_launchEnded;
    mutable std::optional<QList<qint64>> m_windowOwners;
    // Read once a look.
    mutable std::optional<QList<qint64>> m_adoptedChildren;
    mutable QHash<qint64, Activity> m_activity;
    // When a process of the item was last seen busy, those that ended since included.
    mutable QHash<QString, double> m_lastActiveOfItem;
    mutable QHash<QString, ItemCommand> m_commands;
};
