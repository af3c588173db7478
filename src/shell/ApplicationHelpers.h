#pragma once
// The application's one service object: facts about the program and its
// files, the settings and logging set-up, the data folder, the live object
// context with its loading, failure recovery and saving, user notifications,
// help, and the process-wide engine objects. Windows, the engine and the
// model reach it through the interfaces it implements; objects that are not
// handed it use sharedInstance().
//
// Main thread only, except sharedInstance() and the facts about volumes and
// networks, which the engine's queues ask too.
#include "engine/ApplicationHelping.h"
#include "engine/ModelObjectHelping.h"
#include "shell/ErrorRecoveryAttempter.h"
#include "shell/ModelEditing.h"
#include "foundation/Error.h"
#include "model/AttachedVolumeData.h"
#include "model/NetworkData.h"
#include "model/SystemItemHelping.h"
#include "platform/ItemPathType.h"
#include "texts/DatabaseBackupReading.h"

#include <QDateTime>
#include <QMetaObject>
#include <QString>
#include <QVariantMap>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

class ApplicationContext;
class DatabaseSerializer;
class DesktopNotifications;
class DialogPresenter;
class HelpOpener;
class LiveMachineStateSource;
class LoginItemsHandler;
class MachineFacts;
class ModifierKeysProvider;
class MountedVolumesProvider;
class NotificationCenter;
class ObjectContext;
class PowerSourceProvider;
class ReachabilityProvider;
class SystemTimesProvider;
class UserDefaults;
class WifiProvider;
class Workspace;

class ApplicationHelpers : public ApplicationHelping,
                           public ModelObjectHelping,
                           public SystemItemHelping,
                           public DatabaseBackupReading {
public:
    // What the service object asks of the machine. A part left empty is the
    // real one of this desktop session; the settings and the notification
    // centre are the process-wide ones unless given.
    struct Parts {
        std::shared_ptr<Workspace> workspace;
        std::shared_ptr<const WifiProvider> wifi;
        std::shared_ptr<const MountedVolumesProvider> volumes;
        std::shared_ptr<const ReachabilityProvider> reachability;
        std::shared_ptr<const PowerSourceProvider> powerSource;
        std::shared_ptr<const ModifierKeysProvider> modifierKeys;
        std::shared_ptr<const SystemTimesProvider> systemTimes;
        std::shared_ptr<DesktopNotifications> notifications;
        std::shared_ptr<HelpOpener> helpOpener;
        UserDefaults* userDefaults = nullptr;
        NotificationCenter* notificationCenter = nullptr;
    };

    ApplicationHelpers();
    explicit ApplicationHelpers(Parts parts);
    ~ApplicationHelpers() override;
    ApplicationHelpers(const ApplicationHelpers&) = delete;
    ApplicationHelpers& operator=(const ApplicationHelpers&) = delete;

    // The process-wide instance, made on first use from any thread.
    static ApplicationHelpers& sharedInstance();

    // --- The program --------------------------------------------------------
    QString applicationName() const { return m_applicationName; }
    void setApplicationName(const QString& name) { m_applicationName = name; }
    QString applicationVersion() const { return m_applicationVersion; }
    void setApplicationVersion(const QString& version) { m_applicationVersion = version; }
    QString applicationBuild() const { return m_applicationBuild; }
    void setApplicationBuild(const QString& build) { m_applicationBuild = build; }
    QString applicationCopyright() const { return m_applicationCopyright; }
    void setApplicationCopyright(const QString& copyright) { m_applicationCopyright = copyright; }
    QString applicationBundleID() const override { return m_applicationBundleID; }
    void setApplicationBundleID(const QString& identifier) { m_applicationBundleID = identifier; }
    // Computed from applicationName on first read.
    QString cleanApplicationName() const;
    void setCleanApplicationName(const QString& name) { m_cleanApplicationName = name; }

    // The GUI's parts, handed in once it exists (before applicationContext()
    // is first used, for the modifier keys).
    void setHelpOpener(std::shared_ptr<HelpOpener> opener);
    void setModifierKeysProvider(std::shared_ptr<const ModifierKeysProvider> provider);
    const ModifierKeysProvider& modifierKeysProvider() const { return *m_parts.modifierKeys; }

    // --- Files ---------------------------------------------------------------
    // $XDG_DATA_HOME/<clean name>.
    QString applicationDatabasePath() const override;
    QString logFilesPath() const;
    // "<clean name>.plist", or "<clean name>.data" for the old store.
    QString applicationStoreFilenameForTextStorage(bool textStorage) const;
    QString applicationSessionBackupFilename() const override;
    QString applicationLastChangeBackupFilename() const override;
    // "<data folder>/<clean name>.lock": held by the one copy that works on the data folder.
    QString applicationLockFilePath() const;
    // Archives of databases that could not be opened start with this name.
    QString applicationFailedDatabaseBackupFilename() const;
    std::optional<QVariantMap> databaseContentsFromFile(const QString& path) const override;

    // --- Start-up -------------------------------------------------------------
    // Registers the factory settings and brings old settings up to date.
    void initializeUserDefaults();
    void initializeLoggingSystem();
    void logUserDefaults(const UserDefaults& defaults) const;
    // Creates the data folder (owner-only) with its parents; true when it
    // exists afterwards, else databaseInitializationError() says why.
    bool initializeAppDataFolder();
    // Starts the first sampling of the slow machine facts (the network scan)
    // in the background, so that the first run does not wait for it.
    void fetchTimeIntensiveBlockingValues();
    // Makes the login items service beside this program startable by the
    // session bus; false when its activation file could not be written.
    bool installKeelhouseServiceFile();

    // The debug options file's Boolean options; read once. A file that cannot
    // be read counts as no options (and is read again at the next access).
    QVariantMap debugOptions() const override;

    // --- Services -----------------------------------------------------------
    bool postUserNotificationWithTitle(const QString& title, const QString& informativeText) override;
    // Shows resources/help/<anchor>.html; false when there is no such page or
    // nothing to show it with.
    bool openHelpAnchor(const QString& anchor);
    // Report texts for support: the newest log files, the stored database.
    QString contentsOfLastLogFiles() const;
    QString contentsOfDatabase() const;

    QDateTime calculatedBootTime() const override;
    QDateTime calculatedLoginTime() const override;
    QString bootID() const override;
    QString loginSessionID() const override;
    // $XDG_STATE_HOME/Lanternwick/RunJournal, made on first access.
    RunJournal* runJournal() override;

    // --- Process-wide objects -------------------------------------------------
    // Made on first access with every state of the engine.
    ApplicationContext& applicationContext();
    // Ends every chain and joins the engine's threads; called at quit.
    void stopEngine();
    SystemItemsHandling* systemItemsHandler() override;
    // Switches off the login items watcher; called at quit.
    void cleanUp();
    // Removes the kept copies of session entries that no item uses, neither
    // in the live context nor in the stored database or its backups; called
    // at quit, when undo can no longer bring a removed item back.
    void removeUnusedKeptAutostartEntries();

    // --- Items: the editing operations of the live context ----------------------
    // Null while no database is loaded.
    ModelEditing* modelEditing() { return m_modelEditing.get(); }
    QList<DBLoginItem*> sortedLoginItemsForApplicationGroup() override;
    QList<DBLoginItem*> sortedLoginItemsForGroup(const DBLoginGroup* group) override;
    LoginItemType typeOfLoginItem(const DBLoginItem* item) const override;

    // --- Files, volumes and networks -------------------------------------------------
    bool isMissingItemAtPath(const QString& path) const override;
    ItemPathType typeForItemAtPath(const QString& path) const;
    QString displayNameForItemAtPath(const QString& path) const;
    QString niceDisplayNameForItemAtPath(const QString& path) const override;
    // Empty when the kind of file cannot be told.
    QString niceDescriptionForItemAtPath(const QString& path) const override;
    QString iconNameForItemAtPath(const QString& path) const override;
    QList<AttachedVolumeData> attachedVolumesData() const;
    // Tells when volumes are mounted or unmounted.
    const MountedVolumesProvider& mountedVolumesProvider() const { return *m_parts.volumes; }
    bool isNetworkReachable() const;
    QList<NetworkData> knownNetworks() const;
    QList<NetworkData> currentNetworks() const;
    NetworkData currentNetwork() const;
    // The networks of the last background scan, then the saved networks it
    // did not find. Each finished periodic scan posts
    // MHInternalNotificationNetworkDataFetchDidComplete on notificationCenter(),
    // on the scan's own thread.
    QList<NetworkData> cachedNetworks();
    // Calls handler on receiver's thread after volumes were mounted or
    // unmounted, until receiver is destroyed.
    QMetaObject::Connection observeVolumeMounts(const QObject* receiver, std::function<void()> handler) const;

    // The settings and the notification centre this service object works with.
    UserDefaults& userDefaults() const { return *m_parts.userDefaults; }
    NotificationCenter& notificationCenter() const { return *m_parts.notificationCenter; }

    // --- The database -----------------------------------------------------------
    // The live context, loaded from the store on first access; null when the
    // data folder cannot be made or the store cannot be loaded (then
    // databaseInitializationError() tells what the user can do).
    ObjectContext* managedObjectContext();
    void setManagedObjectContext(std::unique_ptr<ObjectContext> context);
    DatabaseSerializer& databaseSerializer();
    void setDatabaseSerializer(std::unique_ptr<DatabaseSerializer> serializer);
    bool loadDatabaseToManagedObjectContext(ObjectContext& context, Error* error);
    bool saveDatabaseFromManagedObjectContext(ObjectContext& context, bool useLastChangeBackup, Error* error);
    bool saveDatabaseFromManagedObjectContext(ObjectContext& context, Error* error);

    // The save of every edit (with the last-change backup) and of quitting
    // (with the session backup); neither writes the store when nothing changed
    // since the last save. Posts MHDataDidSaveToDisk when it wrote the store.
    bool saveDataToDiskUsingChangeBackup(bool useLastChangeBackup);
    // After a restore that is followed by a relaunch, or a conversion of an
    // old store that failed: from now on no save writes the store file.
    void preventSavingUntilRelaunch();
    bool isSavingPreventedUntilRelaunch() const { return m_savingPreventedUntilRelaunch; }

    // The old SQLite store of an earlier release, read from a copy and brought
    // to the current model, for its one-time conversion to the text storage.
    // Null when it cannot be read (then databaseInitializationError() offers
    // Quit and Delete). changed receives the conditions the conversion could
    // not carry as they were, with their items (OldStoreConverter).
    std::unique_ptr<ObjectContext> managedObjectContextForMigration(QVariantMap* changed = nullptr);

    std::optional<Error> databaseInitializationError() const { return m_databaseInitializationError; }
    bool databaseInitializationUserChoseQuit() const { return m_databaseInitializationUserChoseQuit; }
    // Runs the option of databaseInitializationError() at the index of its
    // recovery options; true when the database can now be opened.
    bool attemptRecoveryFromDatabaseInitializationError(int optionIndex);
    // Asks the user to choose an option and runs it.
    bool presentDatabaseInitializationError(DialogPresenter& presenter);
    // The restore from the menu: the store, whether it loads or not, goes
    // into an archive in the data folder ("<bundle id>.DatabaseBeforeRestore
    // <date>.zip") with its backups, then backup takes its place. Only a
    // backup that loads completely is taken; a failure leaves the store as it
    // was.
    bool restoreStoreFromBackup(const QString& backup, Error* error);

private:
    void setupTextStorageInitializationErrorFromError(const Error& error);
    void setupCoreDataInitializationErrorFromError(const Error& error);
    // The option that ends the program: the one chosen when nobody can be asked.
    ErrorRecoveryAttempter::Attempt quitOption(bool logged);
    bool restoreFromSessionBackup();
    // Whether the session backup is a database this version loads.
    bool sessionBackupLoads();
    // Puts a copy of files into a new archive named with archivePrefix; false
    // (logged) when none could be made.
    bool archiveDatabaseFiles(const QString& archivePrefix, const QStringList& files, Error* error);
    // Replaces the store with backup, a database that loads, once the store
    // and its backups are in a new archive named with archivePrefix. A failure
    // leaves the store as it was.
    bool replaceStoreWithBackup(const QString& backup, const QString& archivePrefix, Error* error);
    // Archives archived, then removes removed; true when the store is gone.
    bool deleteDatabaseFiles(const QString& storePath, const QStringList& archived, const QStringList& removed);
    std::optional<QVariantMap> readDebugOptions() const;
    LiveMachineStateSource& machineStateSource();

    Parts m_parts;
    const std::shared_ptr<MachineFacts> m_facts;

    QString m_applicationName;
    QString m_applicationVersion;
    QString m_applicationBuild;
    QString m_applicationCopyright;
    QString m_applicationBundleID;
    mutable QString m_cleanApplicationName;
    mutable std::optional<QVariantMap> m_debugOptions;

    std::unique_ptr<DatabaseSerializer> m_databaseSerializer;
    std::unique_ptr<ObjectContext> m_managedObjectContext;
    std::unique_ptr<ModelEditing> m_modelEditing;
    std::optional<Error> m_databaseInitializationError;
    // Shared, so that an option that sets up a new error does not free the
    // attempter it runs in.
    std::shared_ptr<ErrorRecoveryAttempter> m_recoveryAttempter;
    bool m_databaseInitializationUserChoseQuit = false;
    bool m_savingPreventedUntilRelaunch = false;
    // The user has been told of the current run of failed saves.
    bool m_saveFailureShown = false;
    bool m_isSharedSystemItemHelpers = false;

    std::unique_ptr<LoginItemsHandler> m_systemItemsHandler;
    std::once_flag m_runJournalMade;
    std::unique_ptr<RunJournal> m_runJournal;
    // The engine goes before the context it reads and the source it samples.
    std::shared_ptr<LiveMachineStateSource> m_machineStateSource;
    std::unique_ptr<ApplicationContext> m_applicationContext;
};
