#include "keelhouse/XdgAutostartList.h"

#include "foundation/Log.h"
#include "platform/CanonicalPath.h"
#include "platform/linux/GioPtr.h"
#include "platform/linux/LinuxWorkspace.h"

#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <QSaveFile>
#include <QTemporaryFile>
#include <algorithm>
#include <cerrno>
#include <gio/gdesktopappinfo.h>

namespace {

const QString PathKey = QStringLiteral("X-Lanternwick-Path");
const QString HiddenKey = QStringLiteral("X-Lanternwick-Hidden");
const QString DesktopSuffix = QStringLiteral(".desktop");
const QString NameKey = QStringLiteral(G_KEY_FILE_DESKTOP_KEY_NAME);
const QString ExecKey = QStringLiteral(G_KEY_FILE_DESKTOP_KEY_EXEC);

// Field codes that stand for files or URLs, or that are obsolete: started at
// login with nothing to open, a launcher drops them.
const QStringList kEmptyFieldCodes = { "%f", "%F", "%u", "%U", "%d", "%D", "%n", "%N", "%v", "%m" };

// The program of a command's first word, empty when it is not installed.
QString findProgram(QString word)
{
    // Launchers look the program up before they expand "%%".
    word.replace(QLatin1String("%%"), QLatin1String("%"));
    return takeGString(g_find_program_in_path(QFile::encodeName(word).constData()));
}

// One program, without anything that reaches it as an argument at login.
bool isPlainCommand(const QStringList& command)
{
    return std::all_of(command.begin() + 1, command.end(), [](const QString& word) { return kEmptyFieldCodes.contains(word); });
}

// Places the new entry under fileName without ever replacing a file there.
int writeNewFile(const QString& folder, const QString& fileName, const QByteArray& data)
{
    QTemporaryFile file(folder + QStringLiteral("/.lanternwick-XXXXXX.tmp"));
    if (!file.open() || file.write(data) != data.size() || !file.flush())
        return EIO;
    if (!file.rename(folder + QLatin1Char('/') + fileName))
        return QFileInfo::exists(folder + QLatin1Char('/') + fileName) ? EEXIST : EIO;
    file.setAutoRemove(false);
    return 0;
}

} // namespace

XdgAutostartList::XdgAutostartList(QString userFolder, QStringList systemFolders, QStringList currentDesktops, QString keptFolder)
    : m_userFolder(std::move(userFolder))
    , m_systemFolders(std::move(systemFolders))
    , m_currentDesktops(std::move(currentDesktops))
    , m_kept(std::move(keptFolder))
{
}

std::unique_ptr<XdgAutostartList> XdgAutostartList::fromEnvironment()
{
    QString configHome = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (configHome.isEmpty())
        configHome = QDir::homePath() + QStringLiteral("/.config");
    QStringList configDirs = qEnvironmentVariable("XDG_CONFIG_DIRS").split(QLatin1Char(':'), Qt::SkipEmptyParts);
    if (configDirs.isEmpty())
        configDirs = { QStringLiteral("/etc/xdg") };
    QStringList systemFolders;
    for (const QString& dir : configDirs)
        systemFolders.append(dir + QStringLiteral("/autostart"));
    const QStringList desktops = qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(QLatin1Char(':'), Qt::SkipEmptyParts);

    const QString userFolder = configHome + QStringLiteral("/autostart");
    if (!QDir().mkpath(userFolder)) {
        LOG_ERROR("Failed creating the autostart folder %1!", userFolder);
        return nullptr;
    }
    return std::make_unique<XdgAutostartList>(userFolder, systemFolders, desktops, KeptDesktopEntries::defaultFolder());
}

QList<LoginItemEntry> XdgAutostartList::entries()
{
    // Later folders shadow earlier ones, so go from the least important up.
    QMap<QString, QString> files;
    QStringList folders = m_systemFolders;
    std::reverse(folders.begin(), folders.end());
    folders.append(m_userFolder);
    for (const QString& folder : folders) {
        const QStringList names = QDir(folder).entryList({ QStringLiteral("*.desktop") }, QDir::Files, QDir::Name);
        for (const QString& name : names)
            files.insert(name, folder + QLatin1Char('/') + name);
    }
    QList<LoginItemEntry> result;
    for (const QString& file : std::as_const(files)) {
        if (std::optional<LoginItemEntry> entry = readEntry(file))
            result.append(*entry);
    }
    return result;
}

std::optional<LoginItemEntry> XdgAutostartList::readEntry(const QString& file)
{
    QString error;
    const std::optional<DesktopEntryFile> desktopEntry = DesktopEntryFile::load(file, &error);
    if (!desktopEntry) {
        LOG_WARN("Skipping unreadable autostart entry %1, error was %2", file, error);
        return std::nullopt;
    }
    if (desktopEntry->boolean(QStringLiteral(G_KEY_FILE_DESKTOP_KEY_HIDDEN))
        || !isShownInCurrentDesktop(desktopEntry->list(QStringLiteral(G_KEY_FILE_DESKTOP_KEY_ONLY_SHOW_IN)),
                                    desktopEntry->list(QStringLiteral(G_KEY_FILE_DESKTOP_KEY_NOT_SHOW_IN))))
        return std::nullopt;

    LoginItemEntry entry;
    entry.ref = file;
    entry.name = desktopEntry->localeString(NameKey);
    entry.hidden = desktopEntry->boolean(HiddenKey);
    resolve(entry, file, *desktopEntry);
    return entry;
}

// The path must run exactly the entry's command: the program itself only when
// the command is nothing more, else an application entry of the very same
// command, else our own copy of the entry.
void XdgAutostartList::resolve(LoginItemEntry& entry, const QString& file, const DesktopEntryFile& desktopEntry)
{
    const std::optional<QStringList> command = DesktopEntryFile::commandArguments(desktopEntry.string(ExecKey));
    if (!command) {
        entry.errorCode = EINVAL;
        return;
    }
    const QString program = findProgram(command->first());
    const QString tryExec = desktopEntry.string(QStringLiteral(G_KEY_FILE_DESKTOP_KEY_TRY_EXEC));
    if (program.isEmpty() || (!tryExec.isEmpty() && findProgram(tryExec).isEmpty())) {
        entry.errorCode = ENOENT;
        return;
    }
    entry.program = canonicalPath(program);

    // The path we wrote ourselves names the item better than its command
    // does, as long as the entry still runs what we wrote for that path.
    const QString ownPath = desktopEntry.string(PathKey);
    const std::optional<QString> ownExec = ownPath.isEmpty() ? std::nullopt : execLineForPath(ownPath);
    if (ownExec && DesktopEntryFile::commandArguments(*ownExec) == command) {
        entry.path = QFileInfo::exists(ownPath) ? ownPath : QString();
        entry.errorCode = entry.path.isEmpty() ? ENOENT : 0;
        return;
    }

    if (isPlainCommand(*command)) {
        const QString application = applicationEntryForProgram(entry.program);
        entry.path = application.isEmpty() ? entry.program : application;
        return;
    }
    QStringList resolvedCommand = *command;
    resolvedCommand.first() = entry.program;
    entry.path = applicationEntryForCommand(resolvedCommand);
    if (!entry.path.isEmpty())
        return;
    QString error;
    const std::optional<QString> copy = m_kept.keep(QFileInfo(file).fileName(), desktopEntry, &error);
    if (!copy) {
        LOG_ERROR("Failed keeping a copy of autostart entry %1: %2", file, error);
        entry.errorCode = EIO;
        return;
    }
    entry.path = *copy;
}

void XdgAutostartList::readApplicationEntries()
{
    if (m_applicationEntriesRead)
        return;
    m_applicationEntriesRead = true;
    GList* all = g_app_info_get_all();
    for (GList* it = all; it; it = it->next) {
        auto* info = static_cast<GAppInfo*>(it->data);
        const char* fileName = G_IS_DESKTOP_APP_INFO(info) ? g_desktop_app_info_get_filename(G_DESKTOP_APP_INFO(info)) : nullptr;
        const char* commandLine = g_app_info_get_commandline(info);
        std::optional<QStringList> command = commandLine ? DesktopEntryFile::commandArguments(QString::fromUtf8(commandLine)) : std::nullopt;
        const QString program = command ? findProgram(command->first()) : QString();
        if (!fileName || program.isEmpty())
            continue;
        command->first() = canonicalPath(program);
        // The first entry found wins, as the data folders order them.
        if (!m_applicationEntries.contains(command->first()))
            m_applicationEntries.insert(command->first(), QFile::decodeName(fileName));
        if (!m_applicationCommands.contains(*command))
            m_applicationCommands.insert(*command, QFile::decodeName(fileName));
    }
    g_list_free_full(all, g_object_unref);
}

QString XdgAutostartList::applicationEntryForProgram(const QString& program)
{
    readApplicationEntries();
    return m_applicationEntries.value(program);
}

QString XdgAutostartList::applicationEntryForCommand(const QStringList& command)
{
    readApplicationEntries();
    return m_applicationCommands.value(command);
}

bool XdgAutostartList::isShownInCurrentDesktop(const QStringList& onlyShowIn, const QStringList& notShowIn) const
{
    for (const QString& desktop : m_currentDesktops) {
        if (notShowIn.contains(desktop, Qt::CaseInsensitive))
            return false;
    }
    if (onlyShowIn.isEmpty())
        return true;
    for (const QString& desktop : m_currentDesktops) {
        if (onlyShowIn.contains(desktop, Qt::CaseInsensitive))
            return true;
    }
    return false;
}

std::optional<QString> XdgAutostartList::execLineForPath(const QString& path)
{
    const QFileInfo info(path);
    if (path.endsWith(DesktopSuffix)) {
        const GioPtr<GDesktopAppInfo> application(g_desktop_app_info_new_from_filename(QFile::encodeName(path).constData()));
        const char* commandLine = application ? g_app_info_get_commandline(G_APP_INFO(application.get())) : nullptr;
        if (!commandLine)
            return std::nullopt;
        return QString::fromUtf8(commandLine);
    }
    if (info.isFile() && info.isExecutable())
        return DesktopEntryFile::quotedArgument(path);
    return QStringLiteral("xdg-open %1").arg(DesktopEntryFile::quotedArgument(path));
}

QString XdgAutostartList::safeBaseName(const QString& text)
{
    QString name;
    for (const QChar c : text.toLower()) {
        const bool allowed = (c >= QLatin1Char('a') && c <= QLatin1Char('z')) || (c >= QLatin1Char('0') && c <= QLatin1Char('9'));
        if (allowed)
            name.append(c);
        else if (!name.isEmpty() && !name.endsWith(QLatin1Char('-')))
            name.append(QLatin1Char('-'));
    }
    name.truncate(64);
    while (name.endsWith(QLatin1Char('-')))
        name.chop(1);
    return name.isEmpty() ? QStringLiteral("item") : name;
}

bool XdgAutostartList::isNameTaken(const QString& fileName) const
{
    // A new user file of a system file's name would hide that system entry.
    if (QFileInfo::exists(m_userFolder + QLatin1Char('/') + fileName))
        return true;
    for (const QString& folder : m_systemFolders) {
        if (QFileInfo::exists(folder + QLatin1Char('/') + fileName))
            return true;
    }
    return false;
}

int XdgAutostartList::insert(const QString& name, const QString& path, bool hidden)
{
    DesktopEntryFile file;
    if (m_kept.isKeptCopy(path)) {
        // Handed back: the session runs and shows it as it did before we kept it.
        const std::optional<DesktopEntryFile> kept = DesktopEntryFile::load(path);
        if (!kept)
            return ENOENT;
        if (kept->string(ExecKey).isEmpty())
            return EINVAL;
        KeptDesktopEntries::copyCommandKeys(*kept, file, name.isEmpty() ? QFileInfo(path).completeBaseName() : name);
    } else {
        const std::optional<QString> exec = execLineForPath(path);
        if (!exec)
            return EINVAL;
        file.setString(NameKey, name.isEmpty() ? displayNameForPath(path) : name);
        file.setString(ExecKey, *exec);
    }
    file.setString(PathKey, path);
    if (hidden)
        file.setBoolean(HiddenKey, true);
    const QByteArray data = file.data();

    if (!QDir().mkpath(m_userFolder))
        return EACCES;
    const QString base = safeBaseName(file.string(NameKey));
    for (int suffix = 1; suffix < 1000; ++suffix) {
        const QString fileName = (suffix == 1 ? base : QStringLiteral("%1-%2").arg(base).arg(suffix)) + DesktopSuffix;
        if (isNameTaken(fileName))
            continue;
        const int status = writeNewFile(m_userFolder, fileName, data);
        if (status != EEXIST)
            return status;
    }
    return EEXIST;
}

int XdgAutostartList::remove(const QString& ref)
{
    const QFileInfo info(ref);
    const QString fileName = info.fileName();
    const QString folder = info.absolutePath();
    if (!fileName.endsWith(DesktopSuffix) || (folder != m_userFolder && !m_systemFolders.contains(folder)))
        return EINVAL;
    if (!info.exists())
        return ENOENT;
    bool shadowsSystemEntry = false;
    for (const QString& systemFolder : m_systemFolders)
        shadowsSystemEntry = shadowsSystemEntry || QFileInfo::exists(systemFolder + QLatin1Char('/') + fileName);
    if (folder == m_userFolder && !shadowsSystemEntry)
        return QFile::remove(ref) ? 0 : EACCES;
    // A system entry can only be switched off by a user file of its name.
    return writeOverrideHiding(fileName);
}

int XdgAutostartList::writeOverrideHiding(const QString& fileName)
{
    DesktopEntryFile file;
    file.setBoolean(QStringLiteral(G_KEY_FILE_DESKTOP_KEY_HIDDEN), true);
    if (!QDir().mkpath(m_userFolder))
        return EACCES;
    QSaveFile save(m_userFolder + QLatin1Char('/') + fileName);
    if (!save.open(QIODevice::WriteOnly) || save.write(file.data()) < 0 || !save.commit())
        return EIO;
    return 0;
}

QString XdgAutostartList::displayNameForPath(const QString& path) const
{
    return LinuxWorkspace().displayNameForItemAtPath(path);
}

QString XdgAutostartList::ownEntryRef() const
{
    return m_userFolder + QStringLiteral("/lanternwick.desktop");
}

QStringList XdgAutostartList::watchedFolders() const
{
    return QStringList(m_userFolder) + m_systemFolders;
}
