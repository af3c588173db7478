#include "keelhouse/KeptDesktopEntries.h"

#include "platform/CanonicalPath.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <gio/gdesktopappinfo.h>
#include <cerrno>
#include <climits>
#include <unistd.h>

namespace {

const QString DesktopSuffix = QStringLiteral(".desktop");
const QString OwnKeyPrefix = QStringLiteral("X-Lanternwick-");
// Where the entry was, and its file's mode.
const QString OriginKey = QStringLiteral("X-Lanternwick-Origin");
const QString ModeKey = QStringLiteral("X-Lanternwick-Mode");
// The entry's file as it was, byte for byte (Base64: it may be in any
// encoding), and as earlier versions kept it, as UTF-8 text.
const QString EntryBytesKey = QStringLiteral("X-Lanternwick-EntryBytes");
const QString EntryKey = QStringLiteral("X-Lanternwick-Entry");
// The target of the link the entry's file was, as the link names it.
const QString LinkKey = QStringLiteral("X-Lanternwick-LinkTarget");
// The item that starts the entry's program since a read removed the entry.
const QString ItemKey = QStringLiteral("X-Lanternwick-Item");
// What a copy shows, readable whatever the entry's encoding; an application
// of the same command lends only a name and an icon.
const QStringList kShownKeys = { QStringLiteral(G_KEY_FILE_DESKTOP_KEY_NAME), QStringLiteral(G_KEY_FILE_DESKTOP_KEY_COMMENT),
                                 QStringLiteral(G_KEY_FILE_DESKTOP_KEY_ICON) };
const QStringList kLentKeys = { QStringLiteral(G_KEY_FILE_DESKTOP_KEY_NAME), QStringLiteral(G_KEY_FILE_DESKTOP_KEY_ICON) };
const QString ExecKey = QStringLiteral(G_KEY_FILE_DESKTOP_KEY_EXEC);
// Longer names are hashed: an encoded name can be three times its source.
constexpr qsizetype kMaxEncodedLength = 200;
constexpr int kMaxNamesakes = 1000;
constexpr int kDefaultEntryMode = 0644;
constexpr QFile::Permissions kOwnerOnlyFolder = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;

bool makeOwnerOnlyFolder(const QString& path)
{
    return QFileInfo(path).isDir() || QDir().mkdir(path, kOwnerOnlyFolder) || QFileInfo(path).isDir();
}

bool isTaken(const QString& path)
{
    return QFileInfo::exists(path) || QFileInfo(path).isSymLink();
}

// What a link at path names, as written in it; empty for anything else.
QString linkTarget(const QString& path)
{
    QByteArray target(PATH_MAX, Qt::Uninitialized);
    const ssize_t length = ::readlink(QFile::encodeName(path).constData(), target.data(), size_t(target.size()));
    return length > 0 && length < target.size() ? QFile::decodeName(target.left(length)) : QString();
}

// The entry of data without our own keys.
std::optional<QByteArray> entryData(const QByteArray& data)
{
    std::optional<DesktopEntryFile> entry = DesktopEntryFile::fromData(data);
    if (!entry)
        return std::nullopt;
    for (const QString& key : entry->keys()) {
        if (key.startsWith(OwnKeyPrefix))
            entry->removeKey(key);
    }
    return entry->data();
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

void KeptDesktopEntries::readCopies()
{
    if (m_copiesRead)
        return;
    m_copiesRead = true;
    const QStringList names = QDir(m_folder).entryList({ QStringLiteral("*") + DesktopSuffix }, QDir::Files | QDir::Hidden, QDir::Name);
    for (const QString& name : names) {
        const QString path = m_folder + QLatin1Char('/') + name;
        const std::optional<KeptEntry> kept = keptEntry(path);
        if (kept && !kept->originPath.isEmpty() && !m_copies.value(kept->originPath).contains(kept->data))
            m_copies[kept->originPath].insert(kept->data, path);
        if (kept && !kept->itemPath.isEmpty())
            m_boundCopies[writtenPath(kept->itemPath)].append(path);
    }
}

std::optional<KeptDesktopEntries::KeptEntry> KeptDesktopEntries::keptEntry(const QString& copyPath, QString* errorMessage)
{
    const auto fail = [&](const QString& message) -> std::optional<KeptEntry> {
        if (errorMessage)
            *errorMessage = message;
        return std::nullopt;
    };
    if (QFileInfo(copyPath).isSymLink())
        return fail(QStringLiteral("The kept entry %1 is a link").arg(copyPath));
    QString error;
    const std::optional<QByteArray> data = DesktopEntryFile::readRegularFile(copyPath, &error, DesktopEntryFile::maxOwnFileSize);
    const std::optional<DesktopEntryFile> copy = data ? DesktopEntryFile::fromData(*data, &error) : std::nullopt;
    if (!copy)
        return fail(QStringLiteral("The kept entry %1 cannot be read: %2").arg(copyPath, error));
    std::optional<QByteArray> entry;
    if (copy->hasKey(EntryBytesKey)) {
        const auto decoded = QByteArray::fromBase64Encoding(copy->string(EntryBytesKey).toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
        if (!decoded)
            return fail(QStringLiteral("The kept entry %1 holds bytes that are not valid Base64").arg(copyPath));
        entry = *decoded;
    } else if (copy->hasKey(EntryKey)) {
        entry = copy->string(EntryKey).toUtf8();
    } else {
        // Copies of earlier versions kept the entry's main keys only.
        entry = entryData(*data);
    }
    if (!entry)
        return fail(QStringLiteral("The kept entry %1 holds no desktop entry").arg(copyPath));
    bool isMode = false;
    const int mode = copy->string(ModeKey).toInt(&isMode, 8);
    return KeptEntry { copy->string(OriginKey), std::move(*entry), isMode ? (mode & 0777) : kDefaultEntryMode, copy->string(LinkKey),
                       copy->string(ItemKey) };
}

int KeptDesktopEntries::bindToItem(const QString& copyPath, const QString& itemPath)
{
    readCopies();
    std::optional<DesktopEntryFile> copy = DesktopEntryFile::load(copyPath, nullptr, DesktopEntryFile::maxOwnFileSize);
    if (!copy)
        return ENOENT;
    if (isSamePath(copy->string(ItemKey), itemPath))
        return 0;
    for (QStringList& bound : m_boundCopies)
        bound.removeAll(copyPath);
    copy->setString(ItemKey, writtenPath(itemPath));
    const int status = DesktopEntryFile::writeFile(copyPath, copy->data(), 0600, true);
    if (status == 0)
        m_boundCopies[writtenPath(itemPath)].append(copyPath);
    return status;
}

QStringList KeptDesktopEntries::copiesBoundTo(const QString& itemPath)
{
    readCopies();
    return m_boundCopies.value(writtenPath(itemPath));
}

QString KeptDesktopEntries::freeCopyPath(const QString& entryFileName) const
{
    QString base = entryFileName;
    if (base.endsWith(DesktopSuffix))
        base.chop(DesktopSuffix.size());
    for (int number = 1; number <= kMaxNamesakes; ++number) {
        const QString path = pathForEntryFile(number == 1 ? entryFileName : QStringLiteral("%1-%2%3").arg(base).arg(number).arg(DesktopSuffix));
        if (!isTaken(path))
            return path;
    }
    return {};
}

bool KeptDesktopEntries::isChangedSinceKept(const QString& originPath, const QByteArray& data)
{
    readCopies();
    const auto copies = m_copies.constFind(originPath);
    return copies != m_copies.constEnd() && !copies->contains(data);
}

std::optional<QString> KeptDesktopEntries::keep(const QString& originPath, const QByteArray& data, QString* errorMessage, const QString& lenderPath)
{
    const auto fail = [&](const QString& message) -> std::optional<QString> {
        if (errorMessage)
            *errorMessage = message;
        return std::nullopt;
    };
    readCopies();
    if (const QString bound = m_copies.value(originPath).value(data); !bound.isEmpty())
        return bound;
    const std::optional<QByteArray> entry = entryData(data);
    std::optional<DesktopEntryFile> copy = entry ? DesktopEntryFile::fromData(*entry) : std::nullopt;
    if (!copy)
        return fail(QStringLiteral("%1 is no desktop entry").arg(originPath));
    const QString exec = copy->string(ExecKey);
    // A copy an earlier version made, named after the entry's file: still
    // the item of the entry that runs its command.
    const QString fileName = QFileInfo(originPath).fileName();
    const std::optional<KeptEntry> earlier = keptEntry(pathForEntryFile(fileName));
    if (earlier && earlier->originPath.isEmpty() && DesktopEntryFile::fromData(earlier->data)->string(ExecKey) == exec)
        return pathForEntryFile(fileName);

    // GIO, and so the launcher, looks the program up before it turns "%%"
    // into '%': env looks it up after, but takes a word with '=' for a variable.
    if (!copy->commandLine() && !exec.isEmpty()) {
        const std::optional<QStringList> words = DesktopEntryFile::commandArguments(exec);
        if (!words || words->first().contains(QLatin1Char('=')))
            return fail(QStringLiteral("%1 cannot be run through env").arg(originPath));
        copy->setString(ExecKey, QStringLiteral("env ") + exec);
    }
    const std::optional<DesktopEntryFile> lender = lenderPath.isEmpty() ? std::nullopt : DesktopEntryFile::load(lenderPath);
    for (const QString& key : kShownKeys) {
        // The launcher and the views leave out a value that is not UTF-8.
        QString shown = copy->localeString(key);
        if (shown.isEmpty() && lender && kLentKeys.contains(key))
            shown = lender->localeString(key);
        if (copy->string(key).isEmpty() && !shown.isEmpty())
            copy->setString(key, shown);
    }
    copy->setString(OriginKey, originPath);
    const int mode = DesktopEntryFile::fileMode(originPath);
    copy->setString(ModeKey, QString::number(mode >= 0 ? mode : kDefaultEntryMode, 8));
    copy->setString(EntryBytesKey, QString::fromLatin1(data.toBase64()));
    if (const QString target = linkTarget(originPath); !target.isEmpty())
        copy->setString(LinkKey, target);
    const QString path = freeCopyPath(fileName);
    if (!makeFolder() || path.isEmpty())
        return fail(QStringLiteral("Could not create the folder %1").arg(m_folder));
    if (DesktopEntryFile::writeFile(path, copy->data(), 0600, false) != 0)
        return fail(QStringLiteral("Could not write %1").arg(path));

    // Only a copy that the launcher reads as the command written stands for the entry.
    const std::optional<DesktopEntryFile> written = DesktopEntryFile::load(path, nullptr, DesktopEntryFile::maxOwnFileSize);
    const std::optional<QString> command = written ? written->commandLine() : std::nullopt;
    const std::optional<KeptEntry> kept = keptEntry(path);
    if (!command || *command != copy->string(ExecKey) || !kept || kept->data != data) {
        QFile::remove(path);
        return fail(QStringLiteral("%1 does not read back as the command of %2").arg(path, originPath));
    }
    m_copies[originPath].insert(data, path);
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
    QSet<QString> usedItems;
    for (const QString& path : usedPaths)
        usedItems.insert(writtenPath(path));
    for (const QString& name : names) {
        if (usedNames.contains(name))
            continue;
        const QString path = m_folder + QLatin1Char('/') + name;
        const std::optional<KeptEntry> kept = keptEntry(path);
        if (!kept || kept->itemPath.isEmpty() || !usedItems.contains(writtenPath(kept->itemPath)))
            QFile::remove(path);
    }
}
