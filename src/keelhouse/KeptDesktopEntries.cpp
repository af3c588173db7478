#include "keelhouse/KeptDesktopEntries.h"

#include "platform/CanonicalPath.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <cstdio>
#include <gio/gdesktopappinfo.h>

namespace {

const QString DesktopSuffix = QStringLiteral(".desktop");
// Longer names are hashed: an encoded name can be three times its source.
constexpr qsizetype kMaxEncodedLength = 200;
constexpr QFile::Permissions kOwnerOnlyFolder = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
constexpr QFile::Permissions kOwnerOnlyFile = QFile::ReadOwner | QFile::WriteOwner;

bool makeOwnerOnlyFolder(const QString& path)
{
    return QFileInfo(path).isDir() || QDir().mkdir(path, kOwnerOnlyFolder) || QFileInfo(path).isDir();
}

QByteArray contentsOf(const QString& path)
{
    if (QFileInfo(path).isSymLink())
        return {};
    return DesktopEntryFile::readRegularFile(path).value_or(QByteArray());
}

// Replaces the file at path in one step; the new file is owner-only from the start.
bool writeAtomically(const QString& path, const QByteArray& data)
{
    QTemporaryFile file(QFileInfo(path).path() + QStringLiteral("/.lanternwick-XXXXXX.tmp"));
    if (!file.open() || file.write(data) != data.size() || !file.flush())
        return false;
    if (std::rename(QFile::encodeName(file.fileName()).constData(), QFile::encodeName(path).constData()) != 0)
        return false;
    file.setAutoRemove(false);
    return true;
}

} // namespace

KeptDesktopEntries::KeptDesktopEntries(QString folder)
    : m_folder(QDir::cleanPath(std::move(folder)))
{
}

QString KeptDesktopEntries::folderInDataFolder(const QString& dataFolder)
{
    return dataFolder + QStringLiteral("/AutostartEntries");
}

QString KeptDesktopEntries::defaultFolder()
{
    return folderInDataFolder(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Lanternwick"));
}

QString KeptDesktopEntries::pathForEntryFile(const QString& entryFileName) const
{
    // Letters, digits, '-' and inner dots stay; every other byte becomes "_XX".
    const QByteArray bytes = entryFileName.toUtf8();
    QString name;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || (c == '.' && i > 0);
        if (plain)
            name += QLatin1Char(c);
        else
            name += QStringLiteral("_%1").arg(uchar(c), 2, 16, QLatin1Char('0')).toUpper();
    }
    // "_h" never comes out of the encoding above.
    if (name.size() > kMaxEncodedLength || !name.endsWith(DesktopSuffix))
        name = QStringLiteral("_h") + QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex()) + DesktopSuffix;
    return m_folder + QLatin1Char('/') + name;
}

bool KeptDesktopEntries::isKeptCopy(const QString& path) const
{
    const QFileInfo info(path);
    return info.fileName().endsWith(DesktopSuffix) && isSamePath(info.absolutePath(), m_folder);
}

QString KeptDesktopEntries::entryFileNameOfCopy(const QString& path) const
{
    const QString name = QFileInfo(path).fileName();
    if (!isKeptCopy(path) || name.startsWith(QLatin1String("_h")))
        return {};
    QByteArray bytes;
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (name[i] != QLatin1Char('_')) {
            bytes += char(name[i].toLatin1());
            continue;
        }
        bool isHex = false;
        bytes += char(name.mid(i + 1, 2).toUInt(&isHex, 16));
        if (!isHex)
            return {};
        i += 2;
    }
    const QString entryFileName = QString::fromUtf8(bytes);
    // Only a name the encoding gives back as this very copy.
    return pathForEntryFile(entryFileName) == m_folder + QLatin1Char('/') + name ? entryFileName : QString();
}

bool KeptDesktopEntries::makeFolder() const
{
    const QString dataFolder = QFileInfo(m_folder).path();
    return QDir().mkpath(QFileInfo(dataFolder).path()) && makeOwnerOnlyFolder(dataFolder) && makeOwnerOnlyFolder(m_folder);
}

void KeptDesktopEntries::copyCommandKeys(const DesktopEntryFile& from, DesktopEntryFile& to, const QString& fallbackName)
{
    const QString name = from.localeString(QStringLiteral(G_KEY_FILE_DESKTOP_KEY_NAME));
    to.setString(QStringLiteral(G_KEY_FILE_DESKTOP_KEY_NAME), name.isEmpty() ? fallbackName : name);
    const QString comment = from.localeString(QStringLiteral(G_KEY_FILE_DESKTOP_KEY_COMMENT));
    if (!comment.isEmpty())
        to.setString(QStringLiteral(G_KEY_FILE_DESKTOP_KEY_COMMENT), comment);
    for (const char* key : { G_KEY_FILE_DESKTOP_KEY_ICON, G_KEY_FILE_DESKTOP_KEY_EXEC, G_KEY_FILE_DESKTOP_KEY_PATH }) {
        const QString value = from.string(QLatin1String(key));
        if (!value.isEmpty())
            to.setString(QLatin1String(key), value);
    }
    if (from.boolean(QStringLiteral(G_KEY_FILE_DESKTOP_KEY_TERMINAL)))
        to.setBoolean(QStringLiteral(G_KEY_FILE_DESKTOP_KEY_TERMINAL), true);
}

std::optional<QString> KeptDesktopEntries::keep(const QString& entryFileName, const DesktopEntryFile& entry, QString* errorMessage)
{
    const auto fail = [&](const QString& message) -> std::optional<QString> {
        if (errorMessage)
            *errorMessage = message;
        return std::nullopt;
    };
    DesktopEntryFile copy;
    QString fallbackName = entryFileName;
    fallbackName.chop(DesktopSuffix.size());
    copyCommandKeys(entry, copy, fallbackName);
    const QByteArray data = copy.data();
    const QString path = pathForEntryFile(entryFileName);
    if (!makeFolder())
        return fail(QStringLiteral("Could not create the folder %1").arg(m_folder));
    if (contentsOf(path) != data && !writeAtomically(path, data))
        return fail(QStringLiteral("Could not write %1").arg(path));
    QFile::setPermissions(path, kOwnerOnlyFile);

    // Only a copy that the launcher reads as the entry's very command stands for it.
    const std::optional<DesktopEntryFile> written = DesktopEntryFile::load(path);
    const std::optional<QString> command = written ? written->commandLine() : std::nullopt;
    if (!command || *command != entry.string(QStringLiteral(G_KEY_FILE_DESKTOP_KEY_EXEC)))
        return fail(QStringLiteral("%1 does not read back as the command of %2").arg(path, entryFileName));
    return path;
}

void KeptDesktopEntries::removeCopiesExcept(const QSet<QString>& usedPaths) const
{
    QSet<QString> usedNames;
    for (const QString& path : usedPaths) {
        if (isKeptCopy(path))
            usedNames.insert(QFileInfo(path).fileName());
    }
    const QStringList names = QDir(m_folder).entryList({ QStringLiteral("*") + DesktopSuffix }, QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : names) {
        if (!usedNames.contains(name))
            QFile::remove(m_folder + QLatin1Char('/') + name);
    }
}
