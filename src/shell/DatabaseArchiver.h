#pragma once
// Puts a database that cannot be opened out of the way without losing it:
// the store and every backup beside it go into a zip archive in the data
// folder, named with the date and time, before anyone removes them.
#include "foundation/Error.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

class DatabaseArchiver {
public:
    // archivePrefix starts the archive's name ("<bundle id>.CorruptedFilesBackup").
    explicit DatabaseArchiver(QString archivePrefix);

    // The files of the store: the store itself and every file whose name
    // starts with the store's name (its backups), that exist.
    static QStringList databaseFiles(const QString& storePath);
    // The files of an SQLite store: the store and the side files SQLite keeps
    // beside it (a committed change may live only in the "-wal" log), that
    // exist. A file the user named like them is none of ours.
    static QStringList sqliteStoreFiles(const QString& storePath);
    // A name no file has yet: "<prefix> yyyy-MM-dd HH.mm.ss.zip", with a
    // number added when a second archive is made within the same second.
    QString archivePathInFolder(const QString& folder, const QDateTime& time) const;

    // Writes the files into a new archive in folder; a failed or incomplete
    // archive is removed again, so that nobody takes it for a copy.
    bool archiveFiles(const QStringList& files, const QString& folder, QString* archivePath, Error* error) const;
    // Writes the regular files below sourceFolder, with their relative paths,
    // into a new archive at archivePath. Symbolic links are left out, never
    // followed, so nothing outside the folder goes in.
    static bool archiveFolder(const QString& sourceFolder, const QString& archivePath, Error* error);

private:
    QString m_archivePrefix;
};
