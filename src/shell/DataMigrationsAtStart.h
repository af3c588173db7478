#pragma once
// The two one-time steps of the start, before anything reads the database:
// the data folder and settings of the Flatpak edition move out of its folder
// (~/.var/app/<bundle id>), and the SQLite store of an older release is
// converted into the text storage. Each is a no-op on every later start.
//
// Nothing of the old data is removed before its replacement is in place and
// an archive of it has been written and checked.
#include "foundation/Error.h"

#include <QString>

class ApplicationHelpers;
class DialogPresenter;
class ObjectContext;
class UserDefaults;

class DataMigrationsAtStart {
public:
    DataMigrationsAtStart(ApplicationHelpers& helpers, UserDefaults& settings, DialogPresenter& dialogs);

    // Runs before the settings file is first written, so that the old
    // settings are taken over where there are none yet.
    void migrateDatabaseOutOfCointainerIfNecessary();
    // False when the old store cannot be read and the user did not resolve
    // the error: the program must end.
    bool migrateDatabaseToTextStorageIfNecessary();

    QString containerPath() const;

private:
    bool isInsideContainer(const QString& path) const;
    bool copyDataFolder(const QString& source, const QString& destination, Error* error) const;
    bool archiveAndRemove(const QString& container, const QString& archivePrefix, const QString& archiving, const QString& failedArchiving,
                          const QString& failedDeleting) const;
    bool verifyTextStorage(ObjectContext& converted, const QString& textStore, Error* error) const;
    void backUpOldStore(const QString& oldStore) const;
    void presentError(const Error& error) const;

    ApplicationHelpers& m_helpers;
    UserDefaults& m_settings;
    DialogPresenter& m_dialogs;
};
