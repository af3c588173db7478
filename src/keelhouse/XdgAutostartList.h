#pragma once
// The session's login items on a freedesktop session: the desktop entries of
// the user's autostart folder over those of the system's autostart folders, a
// user file shadowing system files of the same name.
#include "keelhouse/KeptDesktopEntries.h"
#include "keelhouse/LoginItemsList.h"

#include <QHash>
#include <QStringList>
#include <memory>
#include <optional>

class XdgAutostartList : public LoginItemsList {
public:
    // systemFolders in falling precedence, as XDG_CONFIG_DIRS orders them;
    // keptFolder holds the copies of entries whose command is more than a program.
    XdgAutostartList(QString userFolder, QStringList systemFolders, QStringList currentDesktops, QString keptFolder);

    // The folders and desktops of this session's environment, the copies in
    // the application's data folder; null when the user's autostart folder
    // cannot be made.
    static std::unique_ptr<XdgAutostartList> fromEnvironment();

    QList<LoginItemEntry> entries() override;
    int insert(const QString& name, const QString& path, bool hidden) override;
    int remove(const QString& ref) override;
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
    std::optional<LoginItemEntry> readEntry(const QString& file);
    void resolve(LoginItemEntry& entry, const QString& file, const DesktopEntryFile& desktopEntry);
    QString applicationEntryForProgram(const QString& program);
    QString applicationEntryForCommand(const QStringList& command);
    void readApplicationEntries();
    bool isNameTaken(const QString& fileName) const;
    bool isShownInCurrentDesktop(const QStringList& onlyShowIn, const QStringList& notShowIn) const;
    int writeOverrideHiding(const QString& fileName);

    QString m_userFolder;
    QStringList m_systemFolders;
    QStringList m_currentDesktops;
    KeptDesktopEntries m_kept;
    // The application desktop entries, read once: by the canonical program
    // they run, and by their whole command (program canonical).
    bool m_applicationEntriesRead = false;
    QHash<QString, QString> m_applicationEntries;
    QHash<QStringList, QString> m_applicationCommands;
};
