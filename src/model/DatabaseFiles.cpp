#include "model/DatabaseFiles.h"

#include "foundation/AtomicFile.h"
#include "foundation/PrivateFolder.h"

#include <QFileInfo>
#include <cerrno>
#include <sys/stat.h>

DatabaseFiles::DatabaseFiles(qint64 maximumFileSize)
    : m_maximumFileSize(maximumFileSize)
{
}

bool DatabaseFiles::exists(const QString& path) const
{
    return QFileInfo::exists(path);
}

std::optional<QByteArray> DatabaseFiles::readFile(const QString& path, Error* error) const
{
    QByteArray bytes;
    const int failure = AtomicFile::read(path, m_maximumFileSize, &bytes);
    if (failure == EFBIG) {
        *error = Error(PropertyList::errorDomain(), PropertyList::TooLarge,
                       QStringLiteral("The file %1 is larger than %2 bytes.").arg(path).arg(m_maximumFileSize));
        return std::nullopt;
    }
    if (failure != 0) {
        *error = Error(PropertyList::errorDomain(), PropertyList::ReadFailed, QStringLiteral("Cannot read %1: %2").arg(path, AtomicFile::describe(failure)));
        return std::nullopt;
    }
    return bytes;
}

bool DatabaseFiles::writeFile(const QByteArray& bytes, const QString& path, Error* error, const std::function<void()>& beforeReplacing)
{
    if (bytes.size() > m_maximumFileSize) {
        *error = Error(PropertyList::errorDomain(), PropertyList::TooLarge,
                       QStringLiteral("%1 would take %2 bytes, more than the %3 it may.").arg(path).arg(bytes.size()).arg(m_maximumFileSize));
        return false;
    }
    // Owner-only, like the folder: the database says what the user runs at login.
    if (const int failure = AtomicFile::write(path, bytes, S_IRUSR | S_IWUSR, AtomicFile::Existing::Replace, beforeReplacing)) {
        *error = Error(PropertyList::errorDomain(), PropertyList::WriteFailed, QStringLiteral("Cannot write %1: %2").arg(path, AtomicFile::describe(failure)));
        return false;
    }
    return true;
}

bool DatabaseFiles::writePropertyList(const QVariant& value, const QString& path, Error* error, const std::function<void()>& beforeReplacing)
{
    const std::optional<QByteArray> bytes = PropertyList::toData(value, error, m_maximumFileSize);
    return bytes && writeFile(*bytes, path, error, beforeReplacing);
}

bool DatabaseFiles::copyFile(const QString& source, const QString& destination, Error* error)
{
    const std::optional<QByteArray> bytes = readFile(source, error);
    return bytes && writeFile(*bytes, destination, error);
}

bool DatabaseFiles::makeFolder(const QString& path, Error* error)
{
    const QString failure = PrivateFolder::make(path);
    if (!failure.isEmpty())
        *error = Error(PropertyList::errorDomain(), PropertyList::WriteFailed, failure);
    return failure.isEmpty();
}
