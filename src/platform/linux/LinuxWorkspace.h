#pragma once
// The workspace of a freedesktop session: GIO opens files and starts desktop
// entries, /proc tells which programs run, and on X11 the display tells which
// of them show windows.
#include "platform/Workspace.h"
#include "platform/linux/LinuxRunningItems.h"

#include <QMultiHash>
#include <memory>
#include <mutex>

class PreparedApplications;
class WindowMinimiser;
class X11Windows;

typedef struct _GDBusConnection GDBusConnection;
typedef struct _GAppInfo GAppInfo;
typedef struct _GDesktopAppInfo GDesktopAppInfo;
typedef struct _GFile GFile;

class LinuxWorkspace : public Workspace {
public:
    // A program that shows no window has finished launching once it has run
    // for settledSeconds.
    explicit LinuxWorkspace(const QString& procRoot = QStringLiteral("/proc"), double settledSeconds = 1.0);
    ~LinuxWorkspace() override;

    // Desktop entries start through launcherProgram (lanternwick-launch) from
    // then on. Changes the environment: call it before any thread starts.
    static void useLauncher(const QString& launcherProgram);

    LaunchResult openItemAtPath(const QString& path, LaunchOptions options) override;
    void prepareToOpen(const QStringList& paths) override;
    std::unique_ptr<RunningItems> runningItems() const override;
    void rememberLaunch(const QString& path, qint64 pid, qint64 startTicks) override;
    bool hideWindowsOfApplication(const QString& applicationPath) override;

    bool isMissingItemAtPath(const QString& path) const override;
    ItemPathType typeForItemAtPath(const QString& path) const override;
    QString displayNameForItemAtPath(const QString& path) const override;
    QString descriptionForItemAtPath(const QString& path) const override;
    QString iconNameForItemAtPath(const QString& path) const override;

private:
    using Launch = LinuxRunningItems::Launch;
    struct PendingLaunch;

    LaunchResult openItem(const QString& path, LaunchOptions options);
    // entryPath is what the launch is known by.
    LaunchResult launchDesktopEntry(GAppInfo* application, const QString& entryPath, GFile* document, LaunchOptions options);
    LaunchResult spawnExecutable(const QString& path, LaunchOptions options);
    LaunchResult openDocument(const QString& path, LaunchOptions options);
    // The launch as recorded; its pid is 0 when there was none. It was
    // started after ProcessTable::ticksNow() gave ticksBefore; the runs know
    // it without reading it where its environment is ours (with
    // launchedDesktopFile added, when not empty) rather than GIO's own.
    Launch recordLaunch(qint64 pid, const QString& path, LaunchOptions options, qint64 ticksBefore,
        bool isEnvironmentKnown, const QString& launchedDesktopFile = {});
    static void onDesktopEntryLaunched(GDesktopAppInfo* entry, int pid, void* pendingLaunch);
    // Null where windows cannot be looked at; connects on first use.
    std::shared_ptr<const X11Windows> windows() const;
    // Null where windows cannot be hidden.
    WindowMinimiser* minimiser() const;

    // GIO announces each launch of a desktop entry on its shared session bus
    // connection, which closes when its last reference goes: held from the
    // first launch on, it spares every later item a new connection.
    void holdLaunchBus();

    const QString m_procRoot;
    const double m_settledSeconds;
    mutable std::once_flag m_windowsConnected;
    mutable std::shared_ptr<const X11Windows> m_windows;
    mutable std::unique_ptr<WindowMinimiser> m_minimiser;
    std::once_flag m_launchBusOnce;
    std::shared_ptr<GDBusConnection> m_launchBus;
    mutable std::mutex m_launchesMutex;
    // Processes we started, by what they were started from.
    mutable QMultiHash<QString, Launch> m_launches;
    // The last of the processes we started whose environment we know, and
    // how many there were in all, for the runs to take (StartedSince).
    QList<ProcessTable::Started> m_started;
    quint64 m_startedCount = 0;
    const std::unique_ptr<PreparedApplications> m_prepared;
};
