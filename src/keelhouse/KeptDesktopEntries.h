#pragma once
// Lanternwick's own copies of the session entries it took over, one for each
// entry whatever its command: an item that names a copy runs exactly the
// entry's command, and shows the entry's name, description and icon, also
// after the session's entry is gone. A copy keeps the whole entry, its file's
// bytes and mode included, and is bound to the entry it was taken from (its
// file and its contents): it is never rewritten, and another entry of the
// same file name gets a copy of its own. Owner-only files in a folder of the
// application's data folder.
#include "platform/linux/DesktopEntryFile.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <optional>

class KeptDesktopEntries {
public:
    explicit KeptDesktopEntries(QString folder);

    // The folder inside the application's data folder.
    static QString folderInDataFolder(const QString& dataFolder);
    // The folder inside this session's data folder for the application.
    static QString defaultFolder();

    QString folder() const { return m_folder; }
    // The name a copy of an entry file of that name is first given; the same
    // file name always gives the same path and two file names never give the
    // same one.
    QString pathForEntryFile(const QString& entryFileName) const;
    bool isKeptCopy(const QString& path) const;
    // The session entry file name a copy was made for; empty when the copy's
    // name does not tell (a hashed long name, or no copy at all).
    QString entryFileNameOfCopy(const QString& path) const;

    // The copy of the entry whose file at originPath holds data: the one
    // made for this very entry before, else a new one; null when no copy
    // could be written that runs the entry's command. The entry at
    // lenderPath (an installed application of the same command) lends a new
    // copy the name and icon the entry lacks.
    std::optional<QString> keep(const QString& originPath, const QByteArray& data, QString* errorMessage = nullptr,
                                const QString& lenderPath = {});
    // Some copy was taken of the entry at originPath, none of it as it is
    // now: its package changed it since.
    bool isChangedSinceKept(const QString& originPath, const QByteArray& data);

    // What a copy hands back: the entry's file as it was, byte for byte,
    // its mode, and where it was (empty for copies of earlier versions,
    // which kept only the entry's main keys); the target of the link the
    // entry's file was, as the link names it; the item that starts the
    // entry's program since a read removed the entry for it.
    struct KeptEntry {
        QString originPath;
        QByteArray data;
        int mode;
        QString linkTarget;
        QString itemPath;
    };
    // Null, with errorMessage telling why, when the copy cannot give its entry back.
    static std::optional<KeptEntry> keptEntry(const QString& copyPath, QString* errorMessage = nullptr);

    // The entry of the copy at copyPath is now started by the item at
    // itemPath, whose hand-back gives it back. An errno value, 0 on success.
    int bindToItem(const QString& copyPath, const QString& itemPath);
    // The copies bound to the item at itemPath, by name.
    QStringList copiesBoundTo(const QString& itemPath);

    // Removes the copies none of usedPaths names or is bound to; nothing
    // else in the folder, and nothing outside it, is touched.
    void removeCopiesExcept(const QSet<QString>& usedPaths) const;

private:
    bool makeFolder() const;
    // The copies in the folder by origin and entry, read once.
    void readCopies();
    QString freeCopyPath(const QString& entryFileName) const;

    QString m_folder;
    bool m_copiesRead = false;
    QHash<QString, QHash<QByteArray, QString>> m_copies;
    // Item path as written -> the copies bound to that item.
    QHash<QString, QStringList> m_boundCopies;
};
