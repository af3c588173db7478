#pragma once
// The workspace of a freedesktop session: GIO opens files and starts desktop
// entries, /proc tells which programs run.
#include "platform/Workspace.h"
#include "platform/linux/ProcessTable.h"

#include <QHash>
#include <memory>
#include <mutex>

typedef struct _GDBusConnection GDBusConnection;
typedef struct _GDesktopAppInfo GDesktopAppInfo;
typedef struct _GFile GFile;

class LinuxWorkspace : public Workspace {
public:
    explicit LinuxWorkspace(const QString& procRoot = QStringLiteral("/proc"));

    LaunchResult openItemAtPath(const QString& path, LaunchOptions options) override;
    QList<RunningApplication> runningApplications() const override;
    ApplicationState applicationStateForItemAtPath(const QString& path) const override;

    bool isMissingItemAtPath(const QString& path) const override;
    ItemPathType typeForItemAtPath(const QString& path) const override;
    QString displayNameForItemAtPath(const QString& path) const override;
    QString descriptionForItemAtPath(const QString& path) const override;
    QString iconNameForItemAtPath(const QString& path) const override;

private:
    struct Launch {
        qint64 startTicks = 0;
        QString path;
    };

    LaunchResult launchDesktopEntry(GDesktopAppInfo* entry, GFile* document, LaunchOptions options);
    LaunchResult spawnExecutable(const QString& path, LaunchOptions options);
    LaunchResult openDocument(const QString& path, LaunchOptions options);
    void recordLaunch(qint64 pid, const QString& path);
    // The processes launched from the item path that still run; forgets the others.
    QList<ProcessTable::Process> launchedProcesses(const QString& itemPath) const;
    static void onDesktopEntryLaunched(GDesktopAppInfo* entry, int pid, void* workspace);

    // GIO announces each launch of a desktop entry on its shared session bus
    // connection, which closes when its last reference goes: held from the
    // first launch on, it spares every later item a new connection.
    void holdLaunchBus();

    std::once_flag m_launchBusOnce;
    std::shared_ptr<GDBusConnection> m_launchBus;
    ProcessTable m_processTable;
    mutable std::mutex m_launchesMutex;
    // Processes we started, by pid, with what they were started from.
    mutable QHash<qint64, Launch> m_launches;
};
