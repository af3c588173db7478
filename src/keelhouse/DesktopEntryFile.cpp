#include "keelhouse/DesktopEntryFile.h"

#include "platform/linux/GioPtr.h"

#include <QFile>

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

std::optional<DesktopEntryFile> DesktopEntryFile::load(const QString& path, QString* errorMessage)
{
    DesktopEntryFile entry(g_key_file_new());
    GError* error = nullptr;
    if (!g_key_file_load_from_file(entry.m_file.get(), QFile::encodeName(path).constData(), G_KEY_FILE_NONE, &error)) {
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
    return takeGString(g_key_file_get_locale_string(m_file.get(), Group, key.toUtf8().constData(), nullptr, nullptr));
}

bool DesktopEntryFile::boolean(const QString& key) const
{
    return g_key_file_get_boolean(m_file.get(), Group, key.toUtf8().constData(), nullptr);
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

QByteArray DesktopEntryFile::data() const
{
    gsize length = 0;
    const GCharPtr data(g_key_file_to_data(m_file.get(), &length, nullptr));
    return QByteArray(data.get(), qsizetype(length));
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
