#include "model/DatabaseFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

DatabaseFiles::DatabaseFiles(qint64 maximumFileSize)
    : m_maximumFileSize(maximumFileSize)
{
}

bool DatabaseFiles::exists(const QString& path) const
{
    return QFileInfo::exists(path);
}

std::optional<QVariant> DatabaseFiles::readPropertyList(const QString& path, Error* error) const
{
    return PropertyList::fromFile(path, error, m_maximumFileSize);
}

bool DatabaseFiles::writePropertyList(const QVariant& value, const QString& path, Error* error, const std::function<void()>& beforeReplacing)
{
    return PropertyList::toFile(value, path, error, m_maximumFileSize, beforeReplacing);
}

bool DatabaseFiles::copyFile(const QString& source, const QString& destination, Error* error)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly)) {
        *error = Error(PropertyList::errorDomain(), PropertyList::ReadFailed, QStringLiteral("Cannot open %1: %2").arg(source, in.errorString()));
        return false;
    }
    const QByteArray bytes = in.readAll();
    if (in.error() != QFileDevice::NoError) {
        *error = Error(PropertyList::errorDomain(), PropertyList::ReadFailed, QStringLiteral("Cannot read %1: %2").arg(source, in.errorString()));
        return false;
    }
    QSaveFile out(destination);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit()) {
        *error = Error(PropertyList::errorDomain(), PropertyList::WriteFailed, QStringLiteral("Cannot write %1: %2").arg(destination, out.errorString()));
        return false;
    }
    // A backup is as private as the store it copies.
    QFile::setPermissions(destination, in.permissions());
    return true;
}
