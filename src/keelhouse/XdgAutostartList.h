#pragma once
// The session's login items on a freedesktop session: the desktop entries of
// the user's autostart folder over those of the system's autostart folders, a
// user file shadowing system files of the same name. Only the entries the
// session starts as the user's applications are in the list; the desktop's
// own components, conditioned, switched-off, uninstalled and (for system
// entries) invisible ones are never listed, rewritten or hidden.
#include "keelhouse/KeptDesktopEntries.h"
#include "keelhouse/LoginItemsList.h"

#include <QHash>
#include <QMap>
#include <QStringList>
#include <memory>
#include <optional>

class XdgAutostartList : public LoginItemsList {
public:
    // systemFolders in falling precedence, as XDG_CONFIG_DIRS orders them;
    // keptFolder holds the copies of the entries taken over.
    XdgAutostartList(QString userFolder, QStringList systemFolders, QStringList currentDesktops, QString keptFolder);

    // The folders and desktops of this session's environment, the copies in
    // the application's data folder; null when the user's autostart folder
    // cannot be made.
    // currentDesktop is the desktop the application runs in, when it said.
    static std::unique_ptr<XdgAutostartList> fromEnvironment(const std::optional<QString>& currentDesktop = std::nullopt);
    // $XDG_CONFIG_HOME/autostart.
    static QString userFolderFromEnvironment();

    QList<LoginItemEntry> entries() override;
    int insert(const QString& name, const QString& path, bool hidden, bool switchedOff) override;
    int remove(const QString& ref) override;
    int keepForItem(const QString& entryPath, const QString& itemPath) override;
    QString failureReason() const override { return m_failureReason; }
    QString displayNameForPath(const QString& path) const override;
    QString ownEntryRef() const override;
    QStringList watchedFolders() const override;

    QString userFolder() const { return m_userFolder; }

    // The Exec value that starts the item at path: the program itself, a
    // desktop entry's own command, or a document through its default handler.
    static std::optional<QString> execLineForPath(const QString& path);
    // A file name of lower-case letters, digits and '-' made from text.
    static QString safeBaseName(const QString& text);

private:
    struct EntryFile {
        QString path;
        bool isUserFile = false;
    };
    // The file that counts for each entry name, by name.
    QMap<QString, EntryFile> entryFiles();
    // The system entry file of each name, the one that counts first, read once.
    const QMap<QString, QString>& systemEntryFiles();
    std::optional<LoginItemEntry> readEntry(const EntryFile& file);
    bool isStartedAsUsersApplication(const DesktopEntryFile& entry, bool isUserFile) const;
    bool resolve(LoginItemEntry& entry, const QString& file, const DesktopEntryFile& desktopEntry, const QByteArray& data);
    QString applicationEntryForCommand(const QStringList& command);
    // Lifts the user's Hidden=true override of a system entry that runs as
    // path, or switches the entry off instead; -1 when no such override is there.
    int liftOverrideFor(const QString& path, bool switchedOff);
    // The system entry of that file name as the system has it, live or
    // switched off; -1 when the user's own file of that name stands for another entry.
    int handBackSystemEntry(const QString& fileName, const QByteArray& systemData, bool switchedOff);
    // The kept entry (as data, with its startup keys) back in its own file;
    // -1 when that file now stands for another entry.
    int restoreAtOrigin(const KeptDesktopEntries::KeptEntry& kept, const QByteArray& data, bool switchedOff);
    // A kept system entry whose package is gone, as the user's own entry
    // when its program is still there; -1 when the user's own file of that
    // name stands for another entry.
    int handBackUninstalledEntry(const KeptDesktopEntries::KeptEntry& kept, const QString& userFile, const QByteArray& data);
    // The kept entry's file back where it was: the same link again when the
    // link's target still holds the entry, else the entry's bytes.
    int writeAtOrigin(const KeptDesktopEntries::KeptEntry& kept, const QString& userFile, const QByteArray& data, bool replace);
    // The entry a hand-back writes for the item at path away from any
    // entry's own file, and its mode; null when none can be written.
    std::optional<DesktopEntryFile> entryWrittenFor(const QString& path, const QString& name, bool hidden, bool switchedOff, int* mode) const;
    // Inserts each of paths; the first failure.
    int insertEach(const QString& name, const QStringList& paths, bool hidden, bool switchedOff);
    // Records why the insert fails with code.
    int fail(int code, const QString& reason);
    void readApplicationEntries();
    bool isNameTaken(const QString& fileName) const;
    bool isShownInCurrentDesktop(const QStringList& onlyShowIn, const QStringList& notShowIn) const;
    int writeOverrideHiding(const QString& fileName);

    QString m_userFolder;
    QStringList m_systemFolders;
    QStringList m_currentDesktops;
    KeptDesktopEntries m_kept;
    std::optional<QMap<QString, QString>> m_systemEntryFiles;
    // The installed application entries, read once, by their whole command
    // (the program as found on the PATH).
    bool m_applicationEntriesRead = false;
    QHash<QStringList, QString> m_applicationCommands;
    QString m_failureReason;
};
