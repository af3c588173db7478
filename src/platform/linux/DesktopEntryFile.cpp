#include "platform/linux/DesktopEntryFile.h"

#include "foundation/AtomicFile.h"
#include "platform/linux/GioPtr.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <gio/gdesktopappinfo.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char* const Group = G_KEY_FILE_DESKTOP_GROUP;

struct StrvFree {
    void operator()(char** list) const { g_strfreev(list); }
};
using StrvPtr = std::unique_ptr<char*, StrvFree>;

QStringList takeStrv(char** list)
{
    const StrvPtr owned(list);
    QStringList values;
    for (char** it = list; it && *it; ++it)
        values.append(QString::fromUtf8(*it));
    return values;
}

} // namespace

void DesktopEntryFile::Unref::operator()(GKeyFile* file) const
{
    g_key_file_unref(file);
}

DesktopEntryFile::DesktopEntryFile(GKeyFile* file)
    : m_file(file, Unref())
{
}

DesktopEntryFile::DesktopEntryFile()
    : DesktopEntryFile(g_key_file_new())
{
    setString(QStringLiteral(G_KEY_FILE_DESKTOP_KEY_TYPE), QStringLiteral(G_KEY_FILE_DESKTOP_TYPE_APPLICATION));
}

std::optional<QByteArray> DesktopEntryFile::readRegularFile(const QString& path, QString* errorMessage, qint64 maxSize)
{
    const auto fail = [&](const QString& message) -> std::optional<QByteArray> {
        if (errorMessage)
            *errorMessage = message;
        return std::nullopt;
    };
    // A link is followed (the desktop's entries may be links); a pipe is never waited on.
    QByteArray data;
    const int error = AtomicFile::read(path, maxSize, &data, AtomicFile::Links::Follow);
    if (error == AtomicFile::kNotARegularFile)
        return fail(QStringLiteral("not a regular file"));
    if (error == EFBIG)
        return fail(QStringLiteral("larger than %1 bytes").arg(maxSize));
    if (error != 0)
        return fail(AtomicFile::describe(error));
    return data;
}

bool DesktopEntryFile::isSpecialFile(const QString& path)
{
    struct stat status {};
    return !path.isEmpty() && ::stat(QFile::encodeName(path).constData(), &status) == 0 && !S_ISREG(status.st_mode)
        && !S_ISDIR(status.st_mode);
}

int DesktopEntryFile::fileMode(const QString& path)
{
    struct stat status {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? int(status.st_mode & 0777) : -1;
}

int DesktopEntryFile::writeFile(const QString& path, const QByteArray& data, int mode, bool replace)
{
    return AtomicFile::write(path, data, mode_t(mode), replace ? AtomicFile::Existing::Replace : AtomicFile::Existing::Keep);
}

std::optional<DesktopEntryFile> DesktopEntryFile::load(const QString& path, QString* errorMessage, qint64 maxSize)
{
    const std::optional<QByteArray> data = readRegularFile(path, errorMessage, maxSize);
    return data ? fromData(*data, errorMessage) : std::nullopt;
}

std::optional<DesktopEntryFile> DesktopEntryFile::fromData(const QByteArray& data, QString* errorMessage)
{
    DesktopEntryFile entry(g_key_file_new());
    GError* error = nullptr;
    const auto flags = GKeyFileFlags(G_KEY_FILE_KEEP_COMMENTS | G_KEY_FILE_KEEP_TRANSLATIONS);
    if (!g_key_file_load_from_data(entry.m_file.get(), data.constData(), gsize(data.size()), flags, &error)) {
        const QString message = takeErrorMessage(error);
        if (errorMessage)
            *errorMessage = message;
        return std::nullopt;
    }
    return entry;
}

QString DesktopEntryFile::string(const QString& key) const
{
    return takeGString(g_key_file_get_string(m_file.get(), Group, key.toUtf8().constData(), nullptr));
}

QString DesktopEntryFile::localeString(const QString& key) const
{
    char* value = g_key_file_get_locale_string(m_file.get(), Group, key.toUtf8().constData(), nullptr, nullptr);
    return value ? takeGString(value) : text(key);
}

QString DesktopEntryFile::text(const QString& key) const
{
    const GCharPtr value(g_key_file_get_value(m_file.get(), Group, key.toUtf8().constData(), nullptr));
    if (!value)
        return {};
    if (g_utf8_validate(value.get(), -1, nullptr))
        return string(key);
    // GKeyFile's escapes are ASCII in both encodings.
    const GCharPtr utf8(g_convert(value.get(), -1, "UTF-8", "ISO-8859-1", nullptr, nullptr, nullptr));
    DesktopEntryFile readable(g_key_file_new());
    g_key_file_set_value(readable.m_file.get(), Group, "Text", utf8 ? utf8.get() : "");
    return readable.string(QStringLiteral("Text"));
}

bool DesktopEntryFile::boolean(const QString& key, bool defaultValue) const
{
    GError* error = nullptr;
    const bool value = g_key_file_get_boolean(m_file.get(), Group, key.toUtf8().constData(), &error);
    if (error) {
        g_error_free(error);
        return defaultValue;
    }
    return value;
}

bool DesktopEntryFile::hasKey(const QString& key) const
{
    return g_key_file_has_key(m_file.get(), Group, key.toUtf8().constData(), nullptr);
}

QStringList DesktopEntryFile::list(const QString& key) const
{
    return takeStrv(g_key_file_get_string_list(m_file.get(), Group, key.toUtf8().constData(), nullptr, nullptr));
}

QStringList DesktopEntryFile::keys() const
{
    return takeStrv(g_key_file_get_keys(m_file.get(), Group, nullptr, nullptr));
}

void DesktopEntryFile::setString(const QString& key, const QString& value)
{
    g_key_file_set_string(m_file.get(), Group, key.toUtf8().constData(), value.toUtf8().constData());
}

void DesktopEntryFile::setBoolean(const QString& key, bool value)
{
    g_key_file_set_boolean(m_file.get(), Group, key.toUtf8().constData(), value);
}

void DesktopEntryFile::removeKey(const QString& key)
{
    const QByteArray prefix = key.toUtf8() + '[';
    for (const QString& each : keys()) {
        const QByteArray name = each.toUtf8();
        if (each == key || name.startsWith(prefix))
            g_key_file_remove_key(m_file.get(), Group, name.constData(), nullptr);
    }
}

QByteArray DesktopEntryFile::data() const
{
    gsize length = 0;
    const GCharPtr data(g_key_file_to_data(m_file.get(), &length, nullptr));
    return QByteArray(data.get(), qsizetype(length));
}

std::optional<QString> DesktopEntryFile::commandLine() const
{
    // GIO's own rules for an entry it loads from a key file. Not through
    // GDesktopAppInfo: its first use reads every applications folder,
    // following links to folders without bound, so that a link to its own
    // folder would hold the caller for good.
    const GCharPtr startGroup(g_key_file_get_start_group(m_file.get()));
    if (!startGroup || std::strcmp(startGroup.get(), Group) != 0
        || string(QStringLiteral(G_KEY_FILE_DESKTOP_KEY_TYPE)) != QLatin1String(G_KEY_FILE_DESKTOP_TYPE_APPLICATION))
        return std::nullopt;
    const GCharPtr tryExec(g_key_file_get_string(m_file.get(), Group, G_KEY_FILE_DESKTOP_KEY_TRY_EXEC, nullptr));
    if (tryExec && *tryExec && !GCharPtr(g_find_program_in_path(tryExec.get())))
        return std::nullopt;
    const GCharPtr exec(g_key_file_get_string(m_file.get(), Group, G_KEY_FILE_DESKTOP_KEY_EXEC, nullptr));
    if (!exec || !*exec)
        return std::nullopt;
    const std::optional<QStringList> command = commandArguments(QString::fromUtf8(exec.get()));
    if (!command || !GCharPtr(g_find_program_in_path(QFile::encodeName(command->first()).constData())))
        return std::nullopt;
    return QString::fromUtf8(exec.get());
}

QString DesktopEntryFile::quotedArgument(const QString& argument)
{
    QString quoted = QStringLiteral("\"");
    for (const QChar c : argument) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
            quoted += QLatin1Char('\\');
        quoted += c;
        // A field code starts with '%' even inside quotes.
        if (c == QLatin1Char('%'))
            quoted += QLatin1Char('%');
    }
    return quoted + QLatin1Char('"');
}

std::optional<QStringList> DesktopEntryFile::commandArguments(const QString& exec)
{
    char** argv = nullptr;
    if (exec.isEmpty() || !g_shell_parse_argv(exec.toUtf8().constData(), nullptr, &argv, nullptr))
        return std::nullopt;
    return takeStrv(argv);
}
