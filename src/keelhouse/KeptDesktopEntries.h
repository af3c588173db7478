#pragma once
// Lanternwick's own copies of the session entries it took over that no
// installed application runs with the very same command: an item that names
// such a copy runs exactly that command, and shows the entry's name,
// description and icon, also after the session's entry is gone. One owner-only file per session entry,
// named after the entry's file, in a folder of the application's data folder.
#include "keelhouse/DesktopEntryFile.h"

#include <QSet>
#include <QString>
#include <optional>

class KeptDesktopEntries {
public:
    explicit KeptDesktopEntries(QString folder);

    // The folder inside the application's data folder.
    static QString folderInDataFolder(const QString& dataFolder);
    // The folder inside this session's data folder for the application.
    static QString defaultFolder();

    QString folder() const { return m_folder; }
    // The copy a session entry file gets; the same file name always gives
    // the same path and two file names never give the same one.
    QString pathForEntryFile(const QString& entryFileName) const;
    bool isKeptCopy(const QString& path) const;
    // The session entry file name a copy was made for; empty when the copy's
    // name does not tell (a hashed long name, or no copy at all).
    QString entryFileNameOfCopy(const QString& path) const;

    // Writes (or refreshes) the copy of entry, whose file is named
    // entryFileName, and reads it back; null when the copy could not be
    // written or does not run the entry's command.
    std::optional<QString> keep(const QString& entryFileName, const DesktopEntryFile& entry, QString* errorMessage = nullptr);

    // The keys that say what an entry runs and how it shows, from one entry to
    // another; fallbackName when the entry has no name.
    static void copyCommandKeys(const DesktopEntryFile& from, DesktopEntryFile& to, const QString& fallbackName);

    // Removes the copies none of usedPaths names; nothing else in the folder,
    // and nothing outside it, is touched.
    void removeCopiesExcept(const QSet<QString>& usedPaths) const;

private:
    bool makeFolder() const;

    QString m_folder;
};
