#include "platform/linux/LinuxWorkspace.h"

#include "foundation/Log.h"
#include "platform/CanonicalPath.h"
#include "platform/linux/GioPtr.h"

#include <QFile>
#include <QFileInfo>
#include <gio/gdesktopappinfo.h>
#include <unistd.h>

namespace {

// Settling time after which a process counts as finished launching; telling it
// by its first mapped window would need the display server.
constexpr double kSettledLaunchSeconds = 1.0;

// Programs that only start the real one: a desktop entry running them must not
// claim every shell of the session as its application.
const QStringList kLauncherPrograms = { "sh", "bash", "dash", "zsh", "env", "flatpak" };

QByteArray fileSystemPath(const QString& path)
{
    return QFile::encodeName(path);
}

bool isDesktopEntryFile(const QString& path)
{
    return path.endsWith(QLatin1String(".desktop")) && QFileInfo(path).isFile();
}

// Null for any other file, and for an entry GIO cannot start (not an
// application, or its program is not installed).
GioPtr<GDesktopAppInfo> loadDesktopEntry(const QString& path)
{
    if (!isDesktopEntryFile(path))
        return nullptr;
    return GioPtr<GDesktopAppInfo>(g_desktop_app_info_new_from_filename(fileSystemPath(path).constData()));
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
    if (contentType.isEmpty())
        return nullptr;
    return GioPtr<GAppInfo>(g_app_info_get_default_for_type(contentType.toUtf8().constData(), FALSE));
}

// Our own activation token, inherited from whoever started us, must not pass to
// a program that should stay in the background.
template <typename UnsetEnv>
void dropActivationToken(UnsetEnv unsetenv)
{
    unsetenv("DESKTOP_STARTUP_ID");
    unsetenv("XDG_ACTIVATION_TOKEN");
}

// The canonical path of the program a desktop entry runs, empty when it is
// only a shell or launcher whose processes could be anything.
QString entryProgramPath(GDesktopAppInfo* entry)
{
    // GIO's own executable keeps the quotes of a quoted program path; the
    // program is the first word of Exec as the shell rules GIO launches by read it.
    const GCharPtr exec(g_desktop_app_info_get_string(entry, G_KEY_FILE_DESKTOP_KEY_EXEC));
    char** argv = nullptr;
    if (!exec || !g_shell_parse_argv(exec.get(), nullptr, &argv, nullptr))
        return {};
    const QString program = takeGString(g_find_program_in_path(argv[0]));
    g_strfreev(argv);
    if (program.isEmpty() || kLauncherPrograms.contains(QFileInfo(program).fileName()))
        return {};
    return canonicalPath(program);
}

} // namespace

LinuxWorkspace::LinuxWorkspace(const QString& procRoot)
    : m_processTable(procRoot, getuid())
{
}

Workspace::LaunchResult LinuxWorkspace::openItemAtPath(const QString& path, LaunchOptions options)
{
    if (isMissingItemAtPath(path))
        return LaunchResult::failure(QStringLiteral("The file %1 does not exist.").arg(path));
    // Relative paths would be looked up in the program search path by some launchers.
    const QString absolutePath = QFileInfo(path).absoluteFilePath();
    if (options.hidden)
        LOG_WARN("%1 windows may have stayed shown.", absolutePath);
    if (isDesktopEntryFile(absolutePath)) {
        // Never handed to a text editor instead of starting the application.
        if (const GioPtr<GDesktopAppInfo> entry = loadDesktopEntry(absolutePath))
            return launchDesktopEntry(entry.get(), nullptr, options);
        return LaunchResult::failure(QStringLiteral("%1 names no application that can be started.").arg(path));
    }
    if (isExecutableFile(absolutePath))
        return spawnExecutable(absolutePath, options);
    return openDocument(absolutePath, options);
}

void LinuxWorkspace::holdLaunchBus()
{
    std::call_once(m_launchBusOnce, [this] {
        if (GDBusConnection* bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr))
            m_launchBus.reset(bus, g_object_unref);
    });
}

Workspace::LaunchResult LinuxWorkspace::launchDesktopEntry(GDesktopAppInfo* entry, GFile* document, LaunchOptions options)
{
    holdLaunchBus();
    const GioPtr<GAppLaunchContext> context(g_app_launch_context_new());
    if (options.withoutActivation)
        dropActivationToken([&](const char* name) { g_app_launch_context_unsetenv(context.get(), name); });

    const GCharPtr uri(document ? g_file_get_uri(document) : nullptr);
    GList* uris = uri ? g_list_append(nullptr, uri.get()) : nullptr;
    GError* error = nullptr;
    const gboolean launched = g_desktop_app_info_launch_uris_as_manager(entry, uris, context.get(),
        G_SPAWN_SEARCH_PATH, nullptr, nullptr, &LinuxWorkspace::onDesktopEntryLaunched, this, &error);
    g_list_free(uris);

    const QString entryPath = QFile::decodeName(g_desktop_app_info_get_filename(entry));
    if (!launched)
        return LaunchResult::failure(QStringLiteral("%1 could not be started: %2").arg(entryPath, takeErrorMessage(error)));
    notifyDidLaunch(entryPath);
    return LaunchResult::success();
}

void LinuxWorkspace::onDesktopEntryLaunched(GDesktopAppInfo* entry, int pid, void* workspace)
{
    static_cast<LinuxWorkspace*>(workspace)->recordLaunch(pid, QFile::decodeName(g_desktop_app_info_get_filename(entry)));
}

Workspace::LaunchResult LinuxWorkspace::spawnExecutable(const QString& path, LaunchOptions options)
{
    // The subprocess reaps its child on GLib's own worker thread, so nothing
    // here waits for the program or leaves it a zombie.
    const GioPtr<GSubprocessLauncher> launcher(g_subprocess_launcher_new(G_SUBPROCESS_FLAGS_NONE));
    if (options.withoutActivation)
        dropActivationToken([&](const char* name) { g_subprocess_launcher_unsetenv(launcher.get(), name); });

    const QByteArray program = fileSystemPath(path);
    const char* const argv[] = { program.constData(), nullptr };
    GError* error = nullptr;
    const GioPtr<GSubprocess> process(g_subprocess_launcher_spawnv(launcher.get(), argv, &error));
    if (!process)
        return LaunchResult::failure(QStringLiteral("%1 could not be started: %2").arg(path, takeErrorMessage(error)));
    recordLaunch(QString::fromUtf8(g_subprocess_get_identifier(process.get())).toLongLong(), path);
    notifyDidLaunch(path);
    return LaunchResult::success();
}

Workspace::LaunchResult LinuxWorkspace::openDocument(const QString& path, LaunchOptions options)
{
    QString errorMessage;
    const QString contentType = contentTypeForPath(path, &errorMessage);
    if (contentType.isEmpty())
        return LaunchResult::failure(QStringLiteral("The type of %1 is unknown: %2").arg(path, errorMessage));
    const GioPtr<GAppInfo> application = defaultApplicationForType(contentType);
    // Default applications of a freedesktop session are always desktop entries.
    if (!application || !G_IS_DESKTOP_APP_INFO(application.get()))
        return LaunchResult::failure(QStringLiteral("No application is set to open %1 (%2).").arg(path, contentType));
    return launchDesktopEntry(G_DESKTOP_APP_INFO(application.get()), fileForPath(path).get(), options);
}

void LinuxWorkspace::recordLaunch(qint64 pid, const QString& path)
{
    const qint64 startTicks = m_processTable.startTicks(pid);
    if (pid <= 0 || startTicks < 0)
        return;
    const std::lock_guard lock(m_launchesMutex);
    m_launches.insert(pid, { startTicks, canonicalPath(path) });
}

QList<Workspace::RunningApplication> LinuxWorkspace::runningApplications() const
{
    const QList<ProcessTable::Process> processes = m_processTable.processes();
    QList<RunningApplication> result;
    const std::lock_guard lock(m_launchesMutex);
    QHash<qint64, Launch> stillRunning;
    for (const ProcessTable::Process& process : processes) {
        RunningApplication application { process.pid, process.executablePath, {},
            process.ageSeconds >= kSettledLaunchSeconds };
        const auto launch = m_launches.constFind(process.pid);
        // A pid with another start time is a later process that reuses the number.
        if (launch != m_launches.cend() && launch->startTicks == process.startTicks) {
            application.launchedFromPath = launch->path;
            stillRunning.insert(process.pid, *launch);
        }
        result.append(application);
    }
    m_launches.swap(stillRunning);
    return result;
}

Workspace::ApplicationState LinuxWorkspace::applicationStateForItemAtPath(const QString& path) const
{
    const QString itemPath = canonicalPath(path);
    if (itemPath.isEmpty())
        return ApplicationState::NotRunning;
    const GioPtr<GDesktopAppInfo> entry = loadDesktopEntry(itemPath);
    const QString entryProgram = entry ? entryProgramPath(entry.get()) : QString();

    ApplicationState state = ApplicationState::NotRunning;
    // What we launched from the item is looked at first, by its pid.
    for (const ProcessTable::Process& process : launchedProcesses(itemPath)) {
        if (process.ageSeconds >= kSettledLaunchSeconds)
            return ApplicationState::FinishedLaunching;
        state = ApplicationState::Launching;
    }
    QStringList programs = { itemPath };
    if (!entryProgram.isEmpty())
        programs.append(entryProgram);
    for (const ProcessTable::Process& process : m_processTable.processesRunning(programs)) {
        if (process.ageSeconds >= kSettledLaunchSeconds)
            return ApplicationState::FinishedLaunching;
        state = ApplicationState::Launching;
    }
    return state;
}

QList<ProcessTable::Process> LinuxWorkspace::launchedProcesses(const QString& itemPath) const
{
    QList<ProcessTable::Process> result;
    const std::lock_guard lock(m_launchesMutex);
    for (auto launch = m_launches.begin(); launch != m_launches.end();) {
        if (launch->path != itemPath) {
            ++launch;
            continue;
        }
        const std::optional<ProcessTable::Process> process = m_processTable.process(launch.key());
        // A pid with another start time is a later process that reuses the number.
        if (!process || process->startTicks != launch->startTicks) {
            launch = m_launches.erase(launch);
            continue;
        }
        result.append(*process);
        ++launch;
    }
    return result;
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
    if (const GioPtr<GDesktopAppInfo> entry = loadDesktopEntry(path))
        return QString::fromUtf8(g_app_info_get_name(G_APP_INFO(entry.get())));
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
    if (const GioPtr<GDesktopAppInfo> entry = loadDesktopEntry(path)) {
        const char* comment = g_app_info_get_description(G_APP_INFO(entry.get()));
        return QString::fromUtf8(comment ? comment : g_app_info_get_name(G_APP_INFO(entry.get())));
    }
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
    if (const GioPtr<GDesktopAppInfo> entry = loadDesktopEntry(path)) {
        const QString icon = takeGString(g_desktop_app_info_get_string(entry.get(), G_KEY_FILE_DESKTOP_KEY_ICON));
        if (!icon.isEmpty())
            return icon;
    }
    const QString contentType = contentTypeForPath(path);
    if (contentType.isEmpty())
        return {};
    return takeGString(g_content_type_get_generic_icon_name(contentType.toUtf8().constData()));
}
