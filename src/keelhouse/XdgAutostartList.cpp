#include "keelhouse/XdgAutostartList.h"

#include "foundation/AtomicFile.h"
#include "foundation/Log.h"
#include "keelhouse/FolderWalk.h"
#include "platform/CanonicalPath.h"
#include "platform/linux/GioPtr.h"

#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <algorithm>
#include <cerrno>
#include <gio/gdesktopappinfo.h>

namespace {

const QString PathKey = QStringLiteral("X-Lanternwick-Path");
const QString HiddenKey = QStringLiteral("X-Lanternwick-Hidden");
// Marks the override that hides a system entry we took over.
const QString OverrideKey = QStringLiteral("X-Lanternwick-Override");
const QString DesktopSuffix = QStringLiteral(".desktop");
const QString NameKey = QStringLiteral(G_KEY_FILE_DESKTOP_KEY_NAME);
const QString ExecKey = QStringLiteral(G_KEY_FILE_DESKTOP_KEY_EXEC);
// What the desktops' own settings give a user's entry.
constexpr int kEntryMode = 0644;

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

// The session starts the entry only when its program and its TryExec are found.
bool isInstalled(const DesktopEntryFile& entry)
{
    const std::optional<QStringList> command = DesktopEntryFile::commandArguments(entry.string(ExecKey));
    const QString tryExec = entry.string(QStringLiteral(G_KEY_FILE_DESKTOP_KEY_TRY_EXEC));
    return command && !findProgram(command->first()).isEmpty() && (tryExec.isEmpty() || !findProgram(tryExec).isEmpty());
}

// One program, without anything that reaches it as an argument at login.
bool isPlainCommand(const QStringList& command)
{
    return std::all_of(command.begin() + 1, command.end(), [](const QString& word) { return kEmptyFieldCodes.contains(word); });
}

// How a desktop entry is switched off: GNOME's session and settings read
// X-GNOME-Autostart-enabled; KDE's and Xfce's read neither it nor anything
// else but Hidden, which their own settings write to switch an entry off.
void markStartup(DesktopEntryFile& file, bool hidden, bool switchedOff)
{
    if (hidden)
        file.setBoolean(HiddenKey, true);
    if (switchedOff) {
        file.setBoolean(QStringLiteral("X-GNOME-Autostart-enabled"), false);
        file.setBoolean(QStringLiteral(G_KEY_FILE_DESKTOP_KEY_HIDDEN), true);
    }
}

// The override a take-over of a system entry writes, marked as ours;
// earlier versions wrote it unmarked.
QByteArray overrideData(bool marked)
{
    DesktopEntryFile file;
    file.setBoolean(QStringLiteral(G_KEY_FILE_DESKTOP_KEY_HIDDEN), true);
    if (marked)
        file.setBoolean(OverrideKey, true);
    return file.data();
}

// A user file that is our override, byte for byte: never an entry the user
// switched off (the desktops' settings write a full copy with Hidden=true, a
// hand-written one holds what the user typed).
bool isOverrideFile(const QString& path)
{
    const std::optional<QByteArray> data = DesktopEntryFile::readRegularFile(path);
    return data && (*data == overrideData(true) || *data == overrideData(false));
}

// The folders of the application entries, the most important first.
QStringList applicationFolders()
{
    QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    if (dataHome.isEmpty())
        dataHome = QDir::homePath() + QStringLiteral("/.local/share");
    QStringList dataDirs = qEnvironmentVariable("XDG_DATA_DIRS").split(QLatin1Char(':'), Qt::SkipEmptyParts);
    if (dataDirs.isEmpty())
        dataDirs = QStringList { QStringLiteral("/usr/local/share"), QStringLiteral("/usr/share") };
    QStringList folders;
    for (const QString& folder : QStringList(dataHome) + dataDirs)
        folders.append(QDir::cleanPath(folder + QStringLiteral("/applications")));
    folders.removeDuplicates();
    return folders;
}

} // namespace

XdgAutostartList::XdgAutostartList(QString userFolder, QStringList systemFolders, QStringList currentDesktops, QString keptFolder)
    : m_userFolder(std::move(userFolder))
    , m_systemFolders(std::move(systemFolders))
    , m_currentDesktops(std::move(currentDesktops))
    , m_kept(std::move(keptFolder))
{
}

std::unique_ptr<XdgAutostartList> XdgAutostartList::fromEnvironment(const std::optional<QString>& currentDesktop)
{
    QStringList configDirs = qEnvironmentVariable("XDG_CONFIG_DIRS").split(QLatin1Char(':'), Qt::SkipEmptyParts);
    if (configDirs.isEmpty())
        configDirs = { QStringLiteral("/etc/xdg") };
    QStringList systemFolders;
    for (const QString& dir : configDirs)
        systemFolders.append(dir + QStringLiteral("/autostart"));
    const QStringList desktops = currentDesktop.value_or(qEnvironmentVariable("XDG_CURRENT_DESKTOP")).split(QLatin1Char(':'), Qt::SkipEmptyParts);

    const QString userFolder = userFolderFromEnvironment();
    if (!QDir().mkpath(userFolder)) {
        LOG_ERROR("Failed creating the autostart folder %1!", userFolder);
        return nullptr;
    }
    return std::make_unique<XdgAutostartList>(userFolder, systemFolders, desktops, KeptDesktopEntries::defaultFolder());
}

QString XdgAutostartList::userFolderFromEnvironment()
{
    const QString configHome = qEnvironmentVariable("XDG_CONFIG_HOME");
    return (configHome.isEmpty() ? QDir::homePath() + QStringLiteral("/.config") : configHome) + QStringLiteral("/autostart");
}

QMap<QString, XdgAutostartList::EntryFile> XdgAutostartList::entryFiles()
{
    // Each snapshot sees the system's folders as they are now.
    m_systemEntryFiles.reset();
    QMap<QString, EntryFile> files;
    for (auto system = systemEntryFiles().begin(); system != systemEntryFiles().end(); ++system)
        files.insert(system.key(), { system.value(), false });
    const QStringList names = QDir(m_userFolder).entryList({ QStringLiteral("*.desktop") }, QDir::Files | QDir::System, QDir::Name);
    for (const QString& name : names) {
        const QString path = m_userFolder + QLatin1Char('/') + name;
        // A system entry its package changed since we took it over is a new
        // entry, which our override of the old one does not hide.
        if (files.contains(name) && isOverrideFile(path)) {
            const QString systemFile = files.value(name).path;
            const std::optional<QByteArray> systemData = DesktopEntryFile::readRegularFile(systemFile);
            if (systemData && m_kept.isChangedSinceKept(systemFile, *systemData))
                continue;
        }
        files.insert(name, { path, true });
    }
    return files;
}

QList<LoginItemEntry> XdgAutostartList::entries()
{
    QList<LoginItemEntry> result;
    for (const EntryFile& file : entryFiles()) {
        if (std::optional<LoginItemEntry> entry = readEntry(file))
            result.append(*entry);
    }
    return result;
}

std::optional<LoginItemEntry> XdgAutostartList::readEntry(const EntryFile& file)
{
    QString error;
    const std::optional<QByteArray> data = DesktopEntryFile::readRegularFile(file.path, &error);
    const std::optional<DesktopEntryFile> desktopEntry = data ? DesktopEntryFile::fromData(*data, &error) : std::nullopt;
    if (!desktopEntry) {
        LOG_WARN("Skipping unreadable autostart entry %1, error was %2", log_escaped(file.path), log_escaped(error));
        return std::nullopt;
    }
    if (!isStartedAsUsersApplication(*desktopEntry, file.isUserFile))
        return std::nullopt;
    LoginItemEntry entry;
    entry.ref = file.path;
    entry.name = desktopEntry->localeString(NameKey);
    entry.hidden = desktopEntry->boolean(HiddenKey);
    if (!resolve(entry, file.path, *desktopEntry, *data))
        return std::nullopt;
    // What cannot be carried is named by its file.
    if (entry.name.isEmpty())
        entry.name = entry.path.isEmpty() ? QFileInfo(file.path).fileName() : displayNameForPath(entry.path);
    return entry;
}

// The session starts the entry as one of the user's applications, not as a
// part of the desktop, and not under a condition only the session can judge.
bool XdgAutostartList::isStartedAsUsersApplication(const DesktopEntryFile& entry, bool isUserFile) const
{
    if (entry.string(QStringLiteral(G_KEY_FILE_DESKTOP_KEY_TYPE)) != QLatin1String(G_KEY_FILE_DESKTOP_TYPE_APPLICATION)
        || entry.boolean(QStringLiteral(G_KEY_FILE_DESKTOP_KEY_HIDDEN))
        || !isShownInCurrentDesktop(entry.list(QStringLiteral(G_KEY_FILE_DESKTOP_KEY_ONLY_SHOW_IN)),
                                    entry.list(QStringLiteral(G_KEY_FILE_DESKTOP_KEY_NOT_SHOW_IN)))
        || !entry.boolean(QStringLiteral("X-GNOME-Autostart-enabled"), true))
        return false;
    if (entry.hasKey(QStringLiteral("X-GNOME-Autostart-Phase")) || entry.boolean(QStringLiteral("X-systemd-skip"))
        || entry.boolean(QStringLiteral("X-GNOME-HiddenUnderSystemd")))
        return false;
    bool isNumber = false;
    const int kdePhase = entry.string(QStringLiteral("X-KDE-autostart-phase")).toInt(&isNumber);
    if (isNumber && (kdePhase == 0 || kdePhase == 1))
        return false;
    for (const char* key : { "AutostartCondition", "X-KDE-autostart-condition", "X-MATE-Autostart-Condition" }) {
        if (!entry.string(QLatin1String(key)).trimmed().isEmpty())
            return false;
    }
    return isUserFile || !entry.boolean(QStringLiteral(G_KEY_FILE_DESKTOP_KEY_NO_DISPLAY));
}

// The path must run exactly the entry's command: our own copy of the entry,
// to which an installed application of the very same command only lends a
// name and an icon. False for an entry the session would not start because
// its program is not installed.
bool XdgAutostartList::resolve(LoginItemEntry& entry, const QString& file, const DesktopEntryFile& desktopEntry, const QByteArray& data)
{
    const std::optional<QStringList> command = DesktopEntryFile::commandArguments(desktopEntry.string(ExecKey));
    if (!command) {
        entry.errorCode = EINVAL;
        return true;
    }
    const QString program = findProgram(command->first());
    const QString tryExec = desktopEntry.string(QStringLiteral(G_KEY_FILE_DESKTOP_KEY_TRY_EXEC));
    const QString tryExecProgram = tryExec.isEmpty() ? QString() : findProgram(tryExec);
    if (program.isEmpty() || (!tryExec.isEmpty() && tryExecProgram.isEmpty()))
        return false;
    // Found, but no program: nothing the session could start either, and
    // nothing to wait on.
    if (DesktopEntryFile::isSpecialFile(program) || DesktopEntryFile::isSpecialFile(tryExecProgram)) {
        entry.errorCode = EINVAL;
        return true;
    }
    entry.program = writtenPath(program);
    entry.runsProgramAlone = isPlainCommand(*command);

    // The path we wrote ourselves names the item better than its command
    // does, as long as the entry holds nothing but what we wrote for that
    // path: anything the user added is kept in a copy like any other entry.
    const QString ownPath = desktopEntry.string(PathKey);
    if (DesktopEntryFile::isSpecialFile(ownPath)) {
        entry.errorCode = EINVAL;
        return true;
    }
    int ownMode = kEntryMode;
    const std::optional<DesktopEntryFile> written =
        ownPath.isEmpty() ? std::nullopt : entryWrittenFor(ownPath, desktopEntry.string(NameKey), entry.hidden, false, &ownMode);
    if (written && written->data() == data && DesktopEntryFile::fileMode(file) == ownMode) {
        entry.path = QFileInfo::exists(ownPath) ? ownPath : QString();
        entry.errorCode = entry.path.isEmpty() ? ENOENT : 0;
        return true;
    }

    QStringList resolvedCommand = *command;
    resolvedCommand.first() = entry.program;
    entry.applicationPath = applicationEntryForCommand(resolvedCommand);
    QString error;
    const std::optional<QString> copy = m_kept.keep(file, data, &error, entry.applicationPath);
    if (!copy) {
        LOG_ERROR("Failed keeping a copy of autostart entry %1: %2", log_escaped(file), log_escaped(error));
        entry.errorCode = EIO;
        entry.errorReason = error;
        return true;
    }
    entry.path = *copy;
    return true;
}

void XdgAutostartList::readApplicationEntries()
{
    if (m_applicationEntriesRead)
        return;
    m_applicationEntriesRead = true;
    // By desktop ID (the path below the folder, '/' read as '-'): the most
    // important folder's file of an ID shadows the others', as GIO reads them.
    QStringList ids;
    QHash<QString, QString> files;
    for (const QString& folder : applicationFolders()) {
        QStringList found;
        for (const QString& path : FolderWalk::filesBelow(folder, DesktopSuffix)) {
            QString id = path.mid(folder.size() + 1);
            id.replace(QLatin1Char('/'), QLatin1Char('-'));
            if (!files.contains(id)) {
                files.insert(id, path);
                found.append(id);
            }
        }
        found.sort();
        ids += found;
    }
    for (const QString& id : std::as_const(ids)) {
        // Only regular files of bounded size are read: never a pipe.
        const std::optional<DesktopEntryFile> entry = DesktopEntryFile::load(files.value(id));
        if (!entry || entry->boolean(QStringLiteral(G_KEY_FILE_DESKTOP_KEY_HIDDEN))
            || entry->string(QStringLiteral(G_KEY_FILE_DESKTOP_KEY_TYPE)) != QLatin1String(G_KEY_FILE_DESKTOP_TYPE_APPLICATION))
            continue;
        const std::optional<QString> commandLine = entry->commandLine();
        std::optional<QStringList> command = commandLine ? DesktopEntryFile::commandArguments(*commandLine) : std::nullopt;
        const QString program = command ? findProgram(command->first()) : QString();
        if (program.isEmpty())
            continue;
        command->first() = writtenPath(program);
        // The first entry found wins, as the data folders order them.
        if (!m_applicationCommands.contains(*command))
            m_applicationCommands.insert(*command, files.value(id));
    }
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
        const std::optional<DesktopEntryFile> entry = DesktopEntryFile::load(path);
        return entry ? entry->commandLine() : std::nullopt;
    }
    if (info.isFile() && info.isExecutable()) {
        if (!path.contains(QLatin1Char('%')))
            return DesktopEntryFile::quotedArgument(path);
        // GIO, and so the session, looks the first word up before it turns
        // "%%" into '%': such a program is started through env, which would
        // take a word with '=' for a variable.
        if (path.contains(QLatin1Char('=')))
            return std::nullopt;
        return QStringLiteral("env %1").arg(DesktopEntryFile::quotedArgument(path));
    }
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

int XdgAutostartList::handBackSystemEntry(const QString& fileName, const QByteArray& systemData, bool switchedOff)
{
    const QString userFile = m_userFolder + QLatin1Char('/') + fileName;
    const bool isOverride = isOverrideFile(userFile);
    // The user's own file of that name stands for another entry, or is the
    // user's own switched-off copy of this one.
    if (!isOverride && QFileInfo::exists(userFile))
        return -1;
    if (!switchedOff) {
        if (!isOverride)
            return 0;
        return QFile::remove(userFile) ? 0 : EACCES;
    }
    std::optional<DesktopEntryFile> file = DesktopEntryFile::fromData(systemData);
    if (!file)
        return EINVAL;
    markStartup(*file, false, true);
    return DesktopEntryFile::writeFile(userFile, file->data(), kEntryMode, true);
}

const QMap<QString, QString>& XdgAutostartList::systemEntryFiles()
{
    if (!m_systemEntryFiles) {
        // Later folders shadow earlier ones, so go from the least important up.
        m_systemEntryFiles.emplace();
        for (qsizetype index = m_systemFolders.size() - 1; index >= 0; --index) {
            const QStringList names = QDir(m_systemFolders[index]).entryList({ QStringLiteral("*.desktop") }, QDir::Files | QDir::System, QDir::Name);
            for (const QString& name : names)
                m_systemEntryFiles->insert(name, m_systemFolders[index] + QLatin1Char('/') + name);
        }
    }
    return *m_systemEntryFiles;
}

int XdgAutostartList::liftOverrideFor(const QString& path, bool switchedOff)
{
    // Only system entries can be overridden: a look at each costs the same
    // however many entries the user has.
    for (auto system = systemEntryFiles().begin(); system != systemEntryFiles().end(); ++system) {
        const QString& fileName = system.key();
        if (!isOverrideFile(m_userFolder + QLatin1Char('/') + fileName))
            continue;
        const QString& systemFile = system.value();
        const std::optional<LoginItemEntry> entry = readEntry({ systemFile, false });
        const std::optional<QByteArray> systemData = DesktopEntryFile::readRegularFile(systemFile);
        // Items of earlier versions stand for an entry by its application, or
        // by the bare program of an entry that runs that program alone.
        if (entry && systemData && entry->errorCode == 0
            && (isSamePath(entry->path, path) || isSamePath(entry->applicationPath, path)
                || (entry->runsProgramAlone && isSamePath(entry->program, path))))
            return handBackSystemEntry(fileName, *systemData, switchedOff);
    }
    return -1;
}

int XdgAutostartList::restoreAtOrigin(const KeptDesktopEntries::KeptEntry& kept, const QByteArray& data, bool switchedOff)
{
    const QFileInfo origin(kept.originPath);
    const QString fileName = origin.fileName();
    const QString folder = origin.absolutePath();
    if (kept.originPath.isEmpty() || !fileName.endsWith(DesktopSuffix))
        return -1;
    const QString userFile = m_userFolder + QLatin1Char('/') + fileName;
    if (isSamePath(folder, m_userFolder)) {
        // Already back as it was.
        if (DesktopEntryFile::readRegularFile(userFile) == data)
            return 0;
        // The user's file shadowed a system entry: the override it left stands in its place.
        if (isOverrideFile(userFile))
            return writeAtOrigin(kept, userFile, data, true);
        // A namesake that came meanwhile is another entry, and stays shown.
        if (isNameTaken(fileName))
            return -1;
        return writeAtOrigin(kept, userFile, data, false);
    }
    if (!m_systemFolders.contains(folder))
        return -1;
    const std::optional<QByteArray> systemData = DesktopEntryFile::readRegularFile(kept.originPath);
    if (!systemData)
        return handBackUninstalledEntry(kept, userFile, data);
    // A system entry its package changed meanwhile is the package's to give:
    // our override goes, and the session has the entry as it is now.
    const int status = handBackSystemEntry(fileName, *systemData, switchedOff);
    if (*systemData != kept.data) {
        LOG_INFO("Autostart entry %1 changed since it was taken over: handing back the entry as it is now", log_escaped(kept.originPath));
        return std::max(status, 0);
    }
    return status;
}

int XdgAutostartList::handBackUninstalledEntry(const KeptDesktopEntries::KeptEntry& kept, const QString& userFile, const QByteArray& data)
{
    const bool isOverride = isOverrideFile(userFile);
    if (!isOverride && QFileInfo::exists(userFile))
        return -1;
    // What the session started stays the user's, as long as its program is there.
    const std::optional<DesktopEntryFile> entry = DesktopEntryFile::fromData(kept.data);
    if (!entry || !isInstalled(*entry)) {
        // Our override has nothing left to hide.
        if (isOverride && !QFile::remove(userFile))
            return EACCES;
        return fail(ENOENT, QStringLiteral("The entry %1 and the program it starts are no longer installed").arg(kept.originPath));
    }
    LOG_INFO("Autostart entry %1 is no longer installed: handing it back as the user's own entry %2", log_escaped(kept.originPath),
             log_escaped(userFile));
    return DesktopEntryFile::writeFile(userFile, data, kept.mode, isOverride);
}

int XdgAutostartList::writeAtOrigin(const KeptDesktopEntries::KeptEntry& kept, const QString& userFile, const QByteArray& data, bool replace)
{
    const AtomicFile::Existing existing = replace ? AtomicFile::Existing::Replace : AtomicFile::Existing::Keep;
    if (!kept.linkTarget.isEmpty()) {
        const QString target = QDir(m_userFolder).absoluteFilePath(kept.linkTarget);
        if (data != kept.data)
            LOG_WARN("Autostart entry %1 comes back as a file, not as its link to %2: it comes back changed", log_escaped(userFile),
                     log_escaped(kept.linkTarget));
        else if (DesktopEntryFile::readRegularFile(target) != kept.data)
            LOG_WARN("Autostart entry %1 comes back as a file, not as its link to %2: the link's target no longer holds the entry",
                     log_escaped(userFile), log_escaped(kept.linkTarget));
        else
            return AtomicFile::makeLink(userFile, kept.linkTarget, existing);
    }
    return DesktopEntryFile::writeFile(userFile, data, kept.mode, replace);
}

int XdgAutostartList::fail(int code, const QString& reason)
{
    m_failureReason = reason;
    return code;
}

int XdgAutostartList::keepForItem(const QString& entryPath, const QString& itemPath)
{
    // Our own entry for a path holds nothing the item's hand-back does not write again.
    return m_kept.isKeptCopy(entryPath) ? m_kept.bindToItem(entryPath, itemPath) : 0;
}

std::optional<DesktopEntryFile> XdgAutostartList::entryWrittenFor(const QString& path, const QString& name, bool hidden, bool switchedOff,
                                                                  int* mode) const
{
    std::optional<DesktopEntryFile> file;
    if (m_kept.isKeptCopy(path)) {
        const std::optional<KeptDesktopEntries::KeptEntry> kept = KeptDesktopEntries::keptEntry(path);
        file = kept ? DesktopEntryFile::fromData(kept->data) : std::nullopt;
        *mode = kept ? kept->mode : kEntryMode;
    } else if (const std::optional<QString> exec = execLineForPath(path)) {
        file.emplace();
        file->setString(NameKey, name.isEmpty() ? displayNameForPath(path) : name);
        file->setString(ExecKey, *exec);
        file->setString(PathKey, path);
        *mode = kEntryMode;
    }
    if (!file)
        return std::nullopt;
    markStartup(*file, hidden, switchedOff);
    // Away from its own file, the entry names the item it stood for.
    file->setString(PathKey, path);
    return file;
}

int XdgAutostartList::insert(const QString& name, const QString& path, bool hidden, bool switchedOff)
{
    m_failureReason.clear();
    if (DesktopEntryFile::isSpecialFile(path))
        return EINVAL;
    if (!QDir().mkpath(m_userFolder))
        return EACCES;
    QStringList fileNames;
    if (m_kept.isKeptCopy(path)) {
        // Handed back: the entry the user had, where it was when that can be.
        QString error;
        const std::optional<KeptDesktopEntries::KeptEntry> kept = KeptDesktopEntries::keptEntry(path, &error);
        if (!kept)
            return fail(QFileInfo::exists(path) ? EINVAL : ENOENT, error);
        std::optional<DesktopEntryFile> entry = DesktopEntryFile::fromData(kept->data);
        if (!entry || entry->string(ExecKey).isEmpty())
            return fail(EINVAL, QStringLiteral("The kept entry %1 runs no command").arg(path));
        markStartup(*entry, hidden, switchedOff);
        // Byte for byte, when nothing is to change.
        const QByteArray data = hidden || switchedOff ? entry->data() : kept->data;
        if (const int status = restoreAtOrigin(*kept, data, switchedOff); status >= 0)
            return status;
        const QString entryFileName = kept->originPath.isEmpty() ? m_kept.entryFileNameOfCopy(path) : QFileInfo(kept->originPath).fileName();
        if (!entryFileName.isEmpty() && !entryFileName.contains(QLatin1Char('/')))
            fileNames.append(entryFileName);
    } else {
        // Handed back: the entries a read removed for this item, as they were.
        if (const QStringList bound = m_kept.copiesBoundTo(path); !bound.isEmpty())
            return insertEach(name, bound, hidden, switchedOff);
        // Handed back: a system entry we hid is shown again, as it was.
        if (const int status = liftOverrideFor(path, switchedOff); status >= 0)
            return status;
    }
    int mode = kEntryMode;
    const std::optional<DesktopEntryFile> file = entryWrittenFor(path, name, hidden, switchedOff, &mode);
    if (!file)
        return EINVAL;
    const QByteArray data = file->data();
    // Nothing the session would start that we could not read back.
    if (data.size() > DesktopEntryFile::maxFileSize)
        return fail(EFBIG, QStringLiteral("The entry would be larger than %1 bytes, more than can be read back").arg(DesktopEntryFile::maxFileSize));

    const QString base = safeBaseName(file->localeString(NameKey).isEmpty() ? name : file->localeString(NameKey));
    for (int suffix = 1; suffix < 1000; ++suffix)
        fileNames.append((suffix == 1 ? base : QStringLiteral("%1-%2").arg(base).arg(suffix)) + DesktopSuffix);
    for (const QString& fileName : std::as_const(fileNames)) {
        if (isNameTaken(fileName))
            continue;
        const int status = DesktopEntryFile::writeFile(m_userFolder + QLatin1Char('/') + fileName, data, mode, false);
        if (status != EEXIST)
            return status;
    }
    return EEXIST;
}

int XdgAutostartList::insertEach(const QString& name, const QStringList& paths, bool hidden, bool switchedOff)
{
    int status = 0;
    QString reason;
    for (const QString& path : paths) {
        const int pathStatus = insert(name, path, hidden, switchedOff);
        if (status == 0 && pathStatus != 0) {
            status = pathStatus;
            reason = m_failureReason;
        }
    }
    m_failureReason = reason;
    return status;
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
    if (!QDir().mkpath(m_userFolder))
        return EACCES;
    return DesktopEntryFile::writeFile(m_userFolder + QLatin1Char('/') + fileName, overrideData(true), kEntryMode, true);
}

QString XdgAutostartList::displayNameForPath(const QString& path) const
{
    if (path.endsWith(DesktopSuffix)) {
        const std::optional<DesktopEntryFile> entry = DesktopEntryFile::load(path);
        const QString name = entry ? entry->localeString(NameKey) : QString();
        if (!name.isEmpty())
            return name;
    }
    return QFileInfo(path).fileName();
}

QString XdgAutostartList::ownEntryRef() const
{
    return m_userFolder + QStringLiteral("/lanternwick.desktop");
}

QStringList XdgAutostartList::watchedFolders() const
{
    return QStringList(m_userFolder) + m_systemFolders;
}
