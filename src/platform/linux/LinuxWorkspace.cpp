#include "platform/linux/LinuxWorkspace.h"

#include "foundation/Log.h"
#include "platform/CanonicalPath.h"
#include "platform/linux/ApplicationFolders.h"
#include "platform/linux/DesktopEntryFile.h"
#include "platform/linux/GioPtr.h"
#include "platform/linux/OrphanReaper.h"
#include "platform/linux/PreparedApplications.h"
#include "platform/linux/WindowMinimiser.h"
#include "platform/linux/X11Windows.h"
#include "platform/linux/launch/ChildSetup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstring>
#include <gio/gdesktopappinfo.h>
#include <iterator>
#include <spawn.h>
#include <sys/prctl.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

// How many of the processes we started the runs can take without reading them:
// a run takes them at every step, a few at a time.
constexpr qsizetype kKeptStarted = 64;

// How long the windows of a program opened hidden are minimised as they show:
// long enough for a slow start, short enough that a window the user opens
// later stays where it is.
constexpr double kHideWindowsSeconds = 15.0;

QByteArray fileSystemPath(const QString& path)
{
    return QFile::encodeName(path);
}

bool isDesktopEntryFile(const QString& path)
{
    return path.endsWith(QLatin1String(".desktop")) && QFileInfo(path).isFile();
}

// Null for any other file, and for an entry that cannot be started (not an
// application, or its program is not installed). Read from its own file only:
// GIO would walk the applications folders first.
std::optional<DesktopEntryFile> loadDesktopEntry(const QString& path)
{
    if (!path.endsWith(QLatin1String(".desktop")))
        return std::nullopt;
    std::optional<DesktopEntryFile> entry = DesktopEntryFile::load(path, nullptr, DesktopEntryFile::maxOwnFileSize);
    return entry && entry->commandLine() ? entry : std::nullopt;
}

QString entryText(const QString& path, const char* key, bool localized)
{
    const std::optional<DesktopEntryFile> entry = loadDesktopEntry(path);
    if (!entry)
        return {};
    return localized ? entry->localeString(QLatin1String(key)) : entry->string(QLatin1String(key));
}

// GIO's own reading of the entry (its Path, D-Bus activation, every field
// code) where GIO's walk of the applications folders ends; else what its Exec,
// Terminal and StartupNotify keys say, which GIO starts without the walk.
GioPtr<GAppInfo> applicationForEntry(const QString& path, const DesktopEntryFile& entry)
{
    if (ApplicationFolders::gioWalkEnds())
        return GioPtr<GAppInfo>(G_APP_INFO(g_desktop_app_info_new_from_filename(fileSystemPath(path).constData())));
    int flags = G_APP_INFO_CREATE_NONE;
    if (entry.boolean(QStringLiteral(G_KEY_FILE_DESKTOP_KEY_TERMINAL)))
        flags |= G_APP_INFO_CREATE_NEEDS_TERMINAL;
    if (entry.boolean(QStringLiteral(G_KEY_FILE_DESKTOP_KEY_STARTUP_NOTIFY)))
        flags |= G_APP_INFO_CREATE_SUPPORTS_STARTUP_NOTIFICATION;
    return GioPtr<GAppInfo>(g_app_info_create_from_commandline(entry.commandLine().value_or(QString()).toUtf8().constData(),
        entry.localeString(QStringLiteral(G_KEY_FILE_DESKTOP_KEY_NAME)).toUtf8().constData(), GAppInfoCreateFlags(flags), nullptr));
}

// Null when the entry cannot be started.
GioPtr<GAppInfo> applicationOfEntry(const QString& path)
{
    const std::optional<DesktopEntryFile> entry = loadDesktopEntry(path);
    return entry ? applicationForEntry(path, *entry) : nullptr;
}

bool isExecutableFile(const QString& path)
{
    const QFileInfo info(path);
    return info.isFile() && access(fileSystemPath(path).constData(), X_OK) == 0;
}

GioPtr<GFile> fileForPath(const QString& path)
{
    return GioPtr<GFile>(g_file_new_for_path(fileSystemPath(path).constData()));
}

// The content type, judged by name and, when the name says little, by content.
QString contentTypeForPath(const QString& path, QString* errorMessage = nullptr)
{
    GError* error = nullptr;
    const GioPtr<GFileInfo> info(g_file_query_info(fileForPath(path).get(), G_FILE_ATTRIBUTE_STANDARD_CONTENT_TYPE,
        G_FILE_QUERY_INFO_NONE, nullptr, &error));
    if (!info) {
        const QString message = takeErrorMessage(error);
        if (errorMessage)
            *errorMessage = message;
        return {};
    }
    return QString::fromUtf8(g_file_info_get_content_type(info.get()));
}

GioPtr<GAppInfo> defaultApplicationForType(const QString& contentType)
{
    if (contentType.isEmpty() || !ApplicationFolders::gioWalkEnds())
        return nullptr;
    return GioPtr<GAppInfo>(g_app_info_get_default_for_type(contentType.toUtf8().constData(), FALSE));
}

// Set once, before any thread starts, by useLauncher().
std::atomic<bool> gLauncherInUse = false;

// Our own activation token, inherited from whoever started us, must not pass to
// a program that should stay in the background.
const char* const kActivationTokens[] = { "DESKTOP_STARTUP_ID", "XDG_ACTIVATION_TOKEN" };

// Whether the entry of an environment ("NAME=value") sets the variable.
bool setsVariable(const char* entry, const char* name)
{
    const size_t length = strlen(name);
    return strncmp(entry, name, length) == 0 && entry[length] == '=';
}

// What a program we start directly inherits of our environment.
bool isPassedOn(const char* entry, bool withoutActivation)
{
    // Our launcher is for our own launches, not for the programs'; each
    // launch gets a mark of its own.
    if (setsVariable(entry, kLauncherVariable) || setsVariable(entry, kLaunchMarkVariable))
        return false;
    return !withoutActivation
        || std::none_of(std::begin(kActivationTokens), std::end(kActivationTokens),
                        [&](const char* token) { return setsVariable(entry, token); });
}

// In the child, before it runs the program: the program leads a session of its
// own, which its descendants keep even after it ends. Only where the launcher
// is not there to do it.
void leadOwnSession(gpointer)
{
    setsid();
}

// The programs we start are our children until they end; GLib waits for each
// on the main loop, so that none is left a zombie.
void reapWhenItEnds(GPid pid)
{
    OrphanReaper::shared().addLaunch(pid);
    g_child_watch_add(pid, [](GPid ended, gint, gpointer) {
        g_spawn_close_pid(ended);
        OrphanReaper::shared().removeLaunch(ended);
    }, nullptr);
}

} // namespace

struct LinuxWorkspace::PendingLaunch {
    LinuxWorkspace* workspace;
    QString entryPath;
    LaunchOptions options;
    qint64 ticksBefore;
    // Our launcher gives the program our environment.
    bool viaLauncher;
    Launch launch;
};

LinuxWorkspace::LinuxWorkspace(const QString& procRoot, double settledSeconds)
    : m_procRoot(procRoot)
    , m_settledSeconds(settledSeconds)
    , m_prepared(std::make_unique<PreparedApplications>(applicationOfEntry))
{
    // What our launches start and leave stays ours from the first launch on.
    OrphanReaper::shared();
}

LinuxWorkspace::~LinuxWorkspace() = default;

void LinuxWorkspace::useLauncher(const QString& launcherProgram)
{
    if (!QFileInfo(launcherProgram).isExecutable()) {
        LOG_WARN("The launcher %1 is missing, desktop entries start the slow way.", launcherProgram);
        return;
    }
    // GIO reads it at its first launch, in place of its own gio-launch-desktop.
    setenv(kLauncherVariable, fileSystemPath(launcherProgram).constData(), 1);
    gLauncherInUse = true;
}

Workspace::LaunchResult LinuxWorkspace::openItemAtPath(const QString& path, LaunchOptions options)
{
    OrphanReaper& reaper = OrphanReaper::shared();
    reaper.beginLaunching();
    const LaunchResult result = openItem(path, options);
    reaper.endLaunching();
    return result;
}

Workspace::LaunchResult LinuxWorkspace::openItem(const QString& path, LaunchOptions options)
{
    if (isMissingItemAtPath(path))
        return LaunchResult::failure(QStringLiteral("The file %1 does not exist.").arg(path));
    // Relative paths would be looked up in the program search path by some launchers.
    const QString absolutePath = writtenPath(path);
    if (options.hidden && !minimiser())
        LOG_WARN("%1 windows may have stayed shown.", absolutePath);
    if (isDesktopEntryFile(absolutePath)) {
        // Never handed to a text editor instead of starting the application.
        GioPtr<GAppInfo> application = m_prepared->take(absolutePath);
        if (!application)
            application = applicationOfEntry(absolutePath);
        if (application)
            return launchDesktopEntry(application.get(), absolutePath, nullptr, options);
        return LaunchResult::failure(QStringLiteral("%1 names no application that can be started.").arg(path));
    }
    if (isExecutableFile(absolutePath))
        return spawnExecutable(absolutePath, options);
    return openDocument(absolutePath, options);
}

void LinuxWorkspace::prepareToOpen(const QStringList& paths)
{
    QStringList entryPaths;
    for (const QString& path : paths) {
        if (const QString itemPath = writtenPath(path); itemPath.endsWith(QLatin1String(".desktop")))
            entryPaths.append(itemPath);
    }
    m_prepared->prepare(entryPaths);
}

void LinuxWorkspace::holdLaunchBus()
{
    std::call_once(m_launchBusOnce, [this] {
        if (GDBusConnection* bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr))
            m_launchBus.reset(bus, g_object_unref);
    });
}

Workspace::LaunchResult LinuxWorkspace::launchDesktopEntry(GAppInfo* application, const QString& entryPath, GFile* document,
    LaunchOptions options)
{
    holdLaunchBus();
    const GioPtr<GAppLaunchContext> context(g_app_launch_context_new());
    // The running program is known by it; GIO sets it only for an entry it read itself.
    g_app_launch_context_setenv(context.get(), "GIO_LAUNCHED_DESKTOP_FILE", fileSystemPath(entryPath).constData());
    g_app_launch_context_setenv(context.get(), kLaunchMarkVariable, fileSystemPath(writtenPath(entryPath)).constData());
    if (options.withoutActivation) {
        for (const char* token : kActivationTokens)
            g_app_launch_context_unsetenv(context.get(), token);
    }

    const GCharPtr uri(document ? g_file_get_uri(document) : nullptr);
    GList* uris = uri ? g_list_append(nullptr, uri.get()) : nullptr;
    GError* error = nullptr;
    // With the launcher, GIO can start it without a fork of this process: the
    // launcher closes our descriptors and leads the program's session.
    const bool viaLauncher = gLauncherInUse;
    PendingLaunch pending { this, entryPath, options, ProcessTable::ticksNow(m_procRoot), viaLauncher, {} };
    const GSpawnFlags flags = GSpawnFlags(G_SPAWN_SEARCH_PATH | G_SPAWN_DO_NOT_REAP_CHILD
        | (viaLauncher ? G_SPAWN_LEAVE_DESCRIPTORS_OPEN : 0));
    const gboolean launched = g_desktop_app_info_launch_uris_as_manager(G_DESKTOP_APP_INFO(application), uris, context.get(), flags,
        viaLauncher ? nullptr : &leadOwnSession, nullptr, &LinuxWorkspace::onDesktopEntryLaunched, &pending, &error);
    g_list_free(uris);

    if (!launched)
        return LaunchResult::failure(QStringLiteral("%1 could not be started: %2").arg(entryPath, takeErrorMessage(error)));
    notifyDidLaunch(entryPath);
    return LaunchResult::success(pending.launch.pid, pending.launch.startTicks);
}

void LinuxWorkspace::onDesktopEntryLaunched(GDesktopAppInfo*, int pid, void* pendingLaunch)
{
    auto* pending = static_cast<PendingLaunch*>(pendingLaunch);
    pending->launch = pending->workspace->recordLaunch(pid, pending->entryPath, pending->options, pending->ticksBefore,
        pending->viaLauncher, QDir::cleanPath(pending->entryPath));
    reapWhenItEnds(pid);
}

Workspace::LaunchResult LinuxWorkspace::spawnExecutable(const QString& path, LaunchOptions options)
{
    // posix_spawn starts the program without copying this process's memory
    // map, and does in the child what the launcher does for desktop entries.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
    sigset_t signals;
    sigemptyset(&signals);
    posix_spawnattr_setsigmask(&attributes, &signals);
    for (const int signal : kSignalsResetForPrograms)
        sigaddset(&signals, signal);
    posix_spawnattr_setsigdefault(&attributes, &signals);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addclosefrom_np(&actions, 3);

    std::vector<char*> environment;
    for (char** variable = environ; *variable; ++variable) {
        if (isPassedOn(*variable, options.withoutActivation))
            environment.push_back(*variable);
    }
    const QByteArray program = fileSystemPath(path);
    QByteArray mark = QByteArray(kLaunchMarkVariable) + '=' + program;
    environment.push_back(mark.data());
    environment.push_back(nullptr);
    char* const argv[] = { const_cast<char*>(program.constData()), nullptr };
    pid_t pid = 0;
    const qint64 ticksBefore = ProcessTable::ticksNow(m_procRoot);
    const int error = posix_spawn(&pid, program.constData(), &actions, &attributes, argv, environment.data());
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (error != 0)
        return LaunchResult::failure(QStringLiteral("%1 could not be started: %2").arg(path, QString::fromLocal8Bit(strerror(error))));
    const Launch launch = recordLaunch(pid, path, options, ticksBefore, true);
    reapWhenItEnds(pid);
    notifyDidLaunch(path);
    return LaunchResult::success(launch.pid, launch.startTicks);
}

Workspace::LaunchResult LinuxWorkspace::openDocument(const QString& path, LaunchOptions options)
{
    QString errorMessage;
    const QString contentType = contentTypeForPath(path, &errorMessage);
    if (contentType.isEmpty())
        return LaunchResult::failure(QStringLiteral("The type of %1 is unknown: %2").arg(path, errorMessage));
    if (!ApplicationFolders::gioWalkEnds())
        return LaunchResult::failure(QStringLiteral("The application to open %1 cannot be looked up: folder links in the "
                                                    "applications folders lead back into them.").arg(path));
    const GioPtr<GAppInfo> application = defaultApplicationForType(contentType);
    // Default applications of a freedesktop session are always desktop entries.
    if (!application || !G_IS_DESKTOP_APP_INFO(application.get()))
        return LaunchResult::failure(QStringLiteral("No application is set to open %1 (%2).").arg(path, contentType));
    const QString entryPath = QFile::decodeName(g_desktop_app_info_get_filename(G_DESKTOP_APP_INFO(application.get())));
    return launchDesktopEntry(application.get(), entryPath, fileForPath(path).get(), options);
}

LinuxWorkspace::Launch LinuxWorkspace::recordLaunch(qint64 pid, const QString& path, LaunchOptions options,
    qint64 ticksBefore, bool isEnvironmentKnown, const QString& launchedDesktopFile)
{
    if (pid <= 0)
        return {};
    // Before it is collected: a program that ended at once stays readable until then.
    const Launch launch { pid, ProcessTable::startTicksOfChild(m_procRoot, pid, ticksBefore), writtenPath(path) };
    {
        const std::lock_guard lock(m_launchesMutex);
        m_launches.insert(launch.path, launch);
        if (isEnvironmentKnown) {
            // The child was made by this thread, and has its name until its exec is done.
            char threadName[16] = {};
            prctl(PR_GET_NAME, threadName);
            m_started.append({ launch.pid, launch.startTicks, launch.path, launchedDesktopFile, QByteArray(threadName) });
            if (m_started.size() > kKeptStarted)
                m_started.removeFirst();
            ++m_startedCount;
        }
    }
    if (options.hidden) {
        if (WindowMinimiser* windows = minimiser())
            windows->minimiseWindowsOf(pid, kHideWindowsSeconds);
    }
    return launch;
}

void LinuxWorkspace::rememberLaunch(const QString& path, qint64 pid, qint64 startTicks)
{
    if (pid <= 0)
        return;
    const Launch launch { pid, startTicks, writtenPath(path) };
    const std::lock_guard lock(m_launchesMutex);
    const QList<Launch> known = m_launches.values(launch.path);
    // What ended is forgotten when its path is next asked about.
    if (std::none_of(known.cbegin(), known.cend(), [&](const Launch& other) { return other.pid == pid && other.startTicks == startTicks; }))
        m_launches.insert(launch.path, launch);
}

std::unique_ptr<Workspace::RunningItems> LinuxWorkspace::runningItems() const
{
    const auto launches = [this](const QString& path) {
        const std::lock_guard lock(m_launchesMutex);
        return m_launches.values(path);
    };
    // A launch is forgotten once nothing of it runs, when its path is next
    // asked about (as it is before each launch of it): a pass pays only for
    // the launches of what it asks about. When it was seen to have finished
    // launching is kept for later passes.
    const auto launchSeen = [this](const Launch& seen, bool hasEnded) {
        const std::lock_guard lock(m_launchesMutex);
        for (auto known = m_launches.find(seen.path); known != m_launches.end() && known.key() == seen.path; ++known) {
            if (known->pid == seen.pid && known->startTicks == seen.startTicks) {
                if (hasEnded)
                    m_launches.erase(known);
                else
                    known->launchedTicks = seen.launchedTicks;
                return;
            }
        }
    };
    // One that missed some (none does: a run looks at every step) reads them.
    const auto startedSince = [this](quint64& seen) {
        const std::lock_guard lock(m_launchesMutex);
        const quint64 firstKept = m_startedCount - static_cast<quint64>(m_started.size());
        const QList<ProcessTable::Started> since = seen < m_startedCount
            ? m_started.mid(static_cast<qsizetype>(std::max(seen, firstKept) - firstKept)) : QList<ProcessTable::Started>();
        seen = m_startedCount;
        return since;
    };
    return std::make_unique<LinuxRunningItems>(m_procRoot, launches, windows(), m_settledSeconds, launchSeen, startedSince);
}

bool LinuxWorkspace::hideWindowsOfApplication(const QString& applicationPath)
{
    WindowMinimiser* windows = minimiser();
    if (!windows)
        return false;
    const std::lock_guard lock(m_launchesMutex);
    for (const Launch& launch : m_launches.values(writtenPath(applicationPath)))
        windows->minimiseWindowsOf(launch.pid, kHideWindowsSeconds);
    return true;
}

std::shared_ptr<const X11Windows> LinuxWorkspace::windows() const
{
    std::call_once(m_windowsConnected, [this] {
        m_windows = X11Windows::connectToSessionDisplay();
        if (m_windows)
            m_minimiser = std::make_unique<WindowMinimiser>(m_windows, m_procRoot);
        else
            LOG_INFO("No X11 display: launches finish after a settled moment, hidden items open shown.");
    });
    return m_windows;
}

WindowMinimiser* LinuxWorkspace::minimiser() const
{
    windows();
    return m_minimiser.get();
}

bool LinuxWorkspace::isMissingItemAtPath(const QString& path) const
{
    return path.isEmpty() || !QFileInfo::exists(path);
}

ItemPathType LinuxWorkspace::typeForItemAtPath(const QString& path) const
{
    if (isMissingItemAtPath(path))
        return ItemPathTypeUnknown;
    if (isDesktopEntryFile(path) || isExecutableFile(path))
        return ItemPathTypeApplication;
    if (defaultApplicationForType(contentTypeForPath(path)))
        return ItemPathTypeDocument;
    return ItemPathTypeUnknown;
}

QString LinuxWorkspace::displayNameForItemAtPath(const QString& path) const
{
    const QString name = entryText(path, G_KEY_FILE_DESKTOP_KEY_NAME, true);
    if (!name.isEmpty())
        return name;
    const GioPtr<GFileInfo> info(g_file_query_info(fileForPath(path).get(), G_FILE_ATTRIBUTE_STANDARD_DISPLAY_NAME,
        G_FILE_QUERY_INFO_NONE, nullptr, nullptr));
    if (!info)
        return QFileInfo(path).fileName();
    return QString::fromUtf8(g_file_info_get_display_name(info.get()));
}

QString LinuxWorkspace::descriptionForItemAtPath(const QString& path) const
{
    if (isMissingItemAtPath(path))
        return {};
    // An entry's Comment, else the kind of file: never its name again.
    const QString comment = entryText(path, G_KEY_FILE_DESKTOP_KEY_COMMENT, true);
    if (!comment.isEmpty())
        return comment;
    QString errorMessage;
    const QString contentType = contentTypeForPath(path, &errorMessage);
    if (contentType.isEmpty()) {
        LOG_WARN("Couldn't get description for %1, error was %2!", path, errorMessage);
        return {};
    }
    return takeGString(g_content_type_get_description(contentType.toUtf8().constData()));
}

QString LinuxWorkspace::iconNameForItemAtPath(const QString& path) const
{
    if (isMissingItemAtPath(path))
        return {};
    // An application without an icon of its own looks like one, not like a file.
    if (const std::optional<DesktopEntryFile> entry = loadDesktopEntry(path)) {
        const QString icon = entry->string(QStringLiteral(G_KEY_FILE_DESKTOP_KEY_ICON));
        return icon.isEmpty() ? QStringLiteral("application-x-executable") : icon;
    }
    const QString contentType = contentTypeForPath(path);
    if (contentType.isEmpty())
        return {};
    return takeGString(g_content_type_get_generic_icon_name(contentType.toUtf8().constData()));
}
