#include "shell/DatabaseArchiver.h"

#include "foundation/MHErrors.h"

#include <JlCompress.h>
#include <QDir>
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

QString DatabaseArchiver::archivePathInFolder(const QString& folder, const QDateTime& time) const
{
    const QString base = QStringLiteral("%1/%2 %3").arg(folder, m_archivePrefix, time.toString(QStringLiteral("yyyy-MM-dd HH.mm.ss")));
    QString path = base + QStringLiteral(".zip");
    for (int number = 2; QFileInfo::exists(path); ++number)
        path = QStringLiteral("%1 %2.zip").arg(base, QString::number(number));
    return path;
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
