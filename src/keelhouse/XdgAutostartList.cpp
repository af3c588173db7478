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
#include <cerrno>
#include <gio/gdesktopappinfo.h>

namespace {

const char* const Group = G_KEY_FILE_DESKTOP_GROUP;
const char* const PathKey = "X-Lanternwick-Path";
const char* const HiddenKey = "X-Lanternwick-Hidden";
const QString DesktopSuffix = QStringLiteral(".desktop");

struct KeyFileUnref {
    void operator()(GKeyFile* file) const { g_key_file_unref(file); }
};
using KeyFilePtr = std::unique_ptr<GKeyFile, KeyFileUnref>;

struct StrvFree {
    void operator()(char** list) const { g_strfreev(list); }
};
using StrvPtr = std::unique_ptr<char*, StrvFree>;

KeyFilePtr newEntry()
{
    KeyFilePtr file(g_key_file_new());
    g_key_file_set_string(file.get(), Group, G_KEY_FILE_DESKTOP_KEY_TYPE, G_KEY_FILE_DESKTOP_TYPE_APPLICATION);
    return file;
}

QString stringValue(GKeyFile* file, const char* key)
{
    return takeGString(g_key_file_get_string(file, Group, key, nullptr));
}

QStringList listValue(GKeyFile* file, const char* key)
{
    const StrvPtr list(g_key_file_get_string_list(file, Group, key, nullptr, nullptr));
    QStringList values;
    for (char** it = list.get(); it && *it; ++it)
        values.append(QString::fromUtf8(*it));
    return values;
}

bool booleanValue(GKeyFile* file, const char* key)
{
    return g_key_file_get_boolean(file, Group, key, nullptr);
}

// A desktop entry's Exec is a shell-quoted command line in which '%' starts a
// field code, so a literal '%' is written twice.
QString quotedArgument(const QString& argument)
{
    return takeGString(g_shell_quote(argument.toUtf8().constData())).replace(QLatin1Char('%'), QLatin1String("%%"));
}

QByteArray keyFileData(GKeyFile* file)
{
    gsize length = 0;
    const GCharPtr data(g_key_file_to_data(file, &length, nullptr));
    return QByteArray(data.get(), qsizetype(length));
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

XdgAutostartList::XdgAutostartList(QString userFolder, QStringList systemFolders, QStringList currentDesktops)
    : m_userFolder(std::move(userFolder))
    , m_systemFolders(std::move(systemFolders))
    , m_currentDesktops(std::move(currentDesktops))
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
    return std::make_unique<XdgAutostartList>(userFolder, systemFolders, desktops);
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
    KeyFilePtr keyFile(g_key_file_new());
    GError* error = nullptr;
    if (!g_key_file_load_from_file(keyFile.get(), QFile::encodeName(file).constData(), G_KEY_FILE_NONE, &error)) {
        LOG_WARN("Skipping unreadable autostart entry %1, error was %2", file, takeErrorMessage(error));
        return std::nullopt;
    }
    GKeyFile* entryFile = keyFile.get();
    if (booleanValue(entryFile, G_KEY_FILE_DESKTOP_KEY_HIDDEN)
        || !isShownInCurrentDesktop(listValue(entryFile, G_KEY_FILE_DESKTOP_KEY_ONLY_SHOW_IN),
                                    listValue(entryFile, G_KEY_FILE_DESKTOP_KEY_NOT_SHOW_IN)))
        return std::nullopt;

    LoginItemEntry entry;
    entry.ref = file;
    entry.name = takeGString(g_key_file_get_locale_string(entryFile, Group, G_KEY_FILE_DESKTOP_KEY_NAME, nullptr, nullptr));
    entry.hidden = booleanValue(entryFile, HiddenKey);
    const QString tryExec = stringValue(entryFile, G_KEY_FILE_DESKTOP_KEY_TRY_EXEC);
    resolve(entry, tryExec.isEmpty() ? stringValue(entryFile, G_KEY_FILE_DESKTOP_KEY_EXEC) : tryExec);

    // The path we wrote ourselves names the item better than its program does.
    const QString ownPath = stringValue(entryFile, PathKey);
    if (!ownPath.isEmpty()) {
        entry.path = QFileInfo::exists(ownPath) ? ownPath : QString();
        entry.errorCode = entry.path.isEmpty() ? ENOENT : 0;
    }
    return entry;
}

void XdgAutostartList::resolve(LoginItemEntry& entry, const QString& programText)
{
    char** argv = nullptr;
    if (programText.isEmpty() || !g_shell_parse_argv(programText.toUtf8().constData(), nullptr, &argv, nullptr)) {
        entry.errorCode = EINVAL;
        return;
    }
    const StrvPtr arguments(argv);
    const QString program = QString::fromUtf8(arguments.get()[0]).replace(QLatin1String("%%"), QLatin1String("%"));
    const QString found = takeGString(g_find_program_in_path(QFile::encodeName(program).constData()));
    if (found.isEmpty()) {
        entry.errorCode = ENOENT;
        return;
    }
    entry.program = canonicalPath(found);
    const QString application = applicationEntryForProgram(entry.program);
    entry.path = application.isEmpty() ? entry.program : application;
}

QString XdgAutostartList::applicationEntryForProgram(const QString& program)
{
    if (!m_applicationEntries) {
        m_applicationEntries.emplace();
        GList* all = g_app_info_get_all();
        for (GList* it = all; it; it = it->next) {
            auto* info = static_cast<GAppInfo*>(it->data);
            const char* fileName = G_IS_DESKTOP_APP_INFO(info) ? g_desktop_app_info_get_filename(G_DESKTOP_APP_INFO(info)) : nullptr;
            const char* executable = g_app_info_get_executable(info);
            const QString found = executable ? takeGString(g_find_program_in_path(executable)) : QString();
            if (fileName && !found.isEmpty() && !m_applicationEntries->contains(canonicalPath(found)))
                m_applicationEntries->insert(canonicalPath(found), QFile::decodeName(fileName));
        }
        g_list_free_full(all, g_object_unref);
    }
    return m_applicationEntries->value(program);
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
        return quotedArgument(path);
    return QStringLiteral("xdg-open %1").arg(quotedArgument(path));
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
    const std::optional<QString> exec = execLineForPath(path);
    if (!exec)
        return EINVAL;
    const QString displayName = name.isEmpty() ? displayNameForPath(path) : name;
    const KeyFilePtr file = newEntry();
    // The setters escape line breaks, so no text can start a key of its own.
    g_key_file_set_string(file.get(), Group, G_KEY_FILE_DESKTOP_KEY_NAME, displayName.toUtf8().constData());
    g_key_file_set_string(file.get(), Group, G_KEY_FILE_DESKTOP_KEY_EXEC, exec->toUtf8().constData());
    g_key_file_set_string(file.get(), Group, PathKey, path.toUtf8().constData());
    if (hidden)
        g_key_file_set_boolean(file.get(), Group, HiddenKey, TRUE);
    const QByteArray data = keyFileData(file.get());

    if (!QDir().mkpath(m_userFolder))
        return EACCES;
    const QString base = safeBaseName(displayName);
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
    const KeyFilePtr file = newEntry();
    g_key_file_set_boolean(file.get(), Group, G_KEY_FILE_DESKTOP_KEY_HIDDEN, TRUE);
    if (!QDir().mkpath(m_userFolder))
        return EACCES;
    QSaveFile save(m_userFolder + QLatin1Char('/') + fileName);
    if (!save.open(QIODevice::WriteOnly) || save.write(keyFileData(file.get())) < 0 || !save.commit())
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
