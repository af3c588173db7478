#include "shell/DatabaseArchiver.h"

#include "foundation/MHErrors.h"

#include <JlCompress.h>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace {

Error archiveError(const QString& description)
{
    return Error(MHErrors::domain, 0, description);
}

} // namespace

DatabaseArchiver::DatabaseArchiver(QString archivePrefix)
    : m_archivePrefix(std::move(archivePrefix))
{
}

QStringList DatabaseArchiver::databaseFiles(const QString& storePath)
{
    const QFileInfo store(storePath);
    QStringList files;
    for (const QFileInfo& entry : store.dir().entryInfoList(QDir::Files | QDir::Hidden, QDir::Name)) {
        if (entry.fileName().startsWith(store.fileName()))
            files.append(entry.absoluteFilePath());
    }
    return files;
}

QStringList DatabaseArchiver::sqliteStoreFiles(const QString& storePath)
{
    QStringList files;
    for (const QLatin1String suffix : { QLatin1String(""), QLatin1String("-wal"), QLatin1String("-shm"), QLatin1String("-journal") })
        if (QFileInfo::exists(storePath + suffix))
            files.append(storePath + suffix);
    return files;
}

QString DatabaseArchiver::archivePathInFolder(const QString& folder, const QDateTime& time) const
{
    const QString base = QStringLiteral("%1/%2 %3").arg(folder, m_archivePrefix, time.toString(QStringLiteral("yyyy-MM-dd HH.mm.ss")));
    QString path = base + QStringLiteral(".zip");
    for (int number = 2; QFileInfo::exists(path); ++number)
        path = QStringLiteral("%1 %2.zip").arg(base, QString::number(number));
    return path;
}

bool DatabaseArchiver::archiveFolder(const QString& sourceFolder, const QString& archivePath, Error* error)
{
    const QDir::Filters filters = QDir::Hidden | QDir::NoSymLinks;
    if (QFileInfo::exists(archivePath)) {
        *error = archiveError(QStringLiteral("The archive %1 exists already").arg(archivePath));
        return false;
    }
    if (!JlCompress::compressDir(archivePath, sourceFolder, true, filters)) {
        QFile::remove(archivePath);
        *error = archiveError(QStringLiteral("Could not write the archive %1 of %2").arg(archivePath, sourceFolder));
        return false;
    }
    qsizetype files = 0;
    for (QDirIterator it(sourceFolder, QDir::Files | filters, QDirIterator::Subdirectories); it.hasNext(); it.next())
        ++files;
    qsizetype archived = 0;
    for (const QString& entry : JlCompress::getFileList(archivePath))
        archived += entry.endsWith(QLatin1Char('/')) ? 0 : 1;
    if (archived != files) {
        QFile::remove(archivePath);
        *error = archiveError(QStringLiteral("The archive %1 is incomplete").arg(archivePath));
        return false;
    }
    return true;
}

bool DatabaseArchiver::archiveFiles(const QStringList& files, const QString& folder, QString* archivePath, Error* error) const
{
    const QString archive = archivePathInFolder(folder, QDateTime::currentDateTime());
    if (!JlCompress::compressFiles(archive, files)) {
        QFile::remove(archive);
        *error = archiveError(QStringLiteral("Could not write the archive %1").arg(archive));
        return false;
    }
    // Once the files are removed the archive is the only copy: it must hold them all.
    if (JlCompress::getFileList(archive).size() != files.size()) {
        QFile::remove(archive);
        *error = archiveError(QStringLiteral("The archive %1 is incomplete").arg(archive));
        return false;
    }
    *archivePath = archive;
    return true;
}
