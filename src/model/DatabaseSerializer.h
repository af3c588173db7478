#pragma once
// The database on disk: one XML property list in the data folder, written from
// and read into an ObjectContext, with two backups beside it:
//   <name>.plist          the store
//   <name>.plist.backup   the database as first loaded in the last session (written at quit)
//   <name>.plist.backup~  the store as it was before the last saved change
// Every file is replaced atomically, so a failed write never costs the file
// that was there before. Main thread only.
#include "foundation/Error.h"
#include "model/DatabaseFiles.h"

#include <QString>
#include <QVariantMap>
#include <functional>
#include <memory>
#include <optional>

class ModelTexts;
class ObjectContext;
struct StoredDatabase;

class DatabaseSerializer {
public:
    // applicationDatabasePath is the data folder, made again by a save when it
    // is gone; the files are named after cleanApplicationName. texts must outlive us.
    DatabaseSerializer(QString applicationDatabasePath, QString cleanApplicationName, const ModelTexts& texts,
                       std::unique_ptr<DatabaseFiles> files = std::make_unique<DatabaseFiles>());

    QString applicationDatabasePath() const { return m_applicationDatabasePath; }
    // Full paths.
    QString storeFilename() const;
    QString sessionBackupFilename() const;
    QString lastChangeBackupFilename() const;

    // Writes the whole context to the store after backing up: with
    // useLastChangeBackup the current store, otherwise the database as first
    // loaded in this session. The backup is made only once the new store is
    // written whole, just before it replaces the old one, so a save that fails
    // (a value the file cannot hold, a database above the size limit, a full
    // disk) changes no file. A failed backup never stops the save. On success
    // the context is marked saved.
    bool saveDatabaseFromManagedObjectContext(ObjectContext& context, bool useLastChangeBackup, Error* error);
    bool saveDatabaseFromManagedObjectContext(ObjectContext& context, Error* error);

    // True while the last store write failed: the next save must write even
    // when the context has no changes, or the file would stay behind.
    bool hasUnwrittenChanges() const { return m_hasUnwrittenChanges; }
    // Whether this session has written the store, so that it no longer holds
    // the database as first loaded.
    bool hasWrittenStoreThisSession() const { return m_hasWrittenStore; }
    // Writes the database as first loaded in this session to the session
    // backup, as a save with the session backup does first.
    void saveSessionBackup();
    bool hasSessionBackup() const;
    // The store this session loaded or wrote is gone from the disk (a
    // clean-up tool took it, or its folder): the next save must write it
    // even without a change.
    bool hasLostStore() const;
    // Puts bytes in the store's place, making the folder when it is missing.
    bool replaceStore(const QByteArray& bytes, Error* error);

    // Fills the context from the store with undo registration off (both groups
    // included) and marks it saved. No store is no failure: the database starts
    // empty. The whole file is checked first, so a failed load leaves the
    // context as it was.
    bool loadDatabaseToManagedObjectContext(ObjectContext& context, Error* error);

    // The same for the root value of a file of this format that is already in
    // memory (a converted old database); the session backup is not touched.
    bool loadDatabaseFromDictionaryRepresentation(const QVariant& root, ObjectContext& context, Error* error) const;

    // The root dictionary of a file of this format that loads completely, the
    // same check as the load at start-up: only such a backup is offered for a
    // restore. No file answers nothing and leaves error empty.
    std::optional<QVariantMap> databaseContentsFromFile(const QString& path, Error* error) const;
    // The same check, answering the bytes it checked: what a restore writes,
    // so that a file changed after the check never takes the store's place.
    std::optional<QByteArray> loadableDatabaseBytes(const QString& path, Error* error) const;

    static bool isSomeDataPresentInDictionaryRepresentation(const QVariantMap& dictionary);

    // What a save writes of context, and back: together they copy a context
    // into a new one (context's thread only for the first, the copy's for
    // the second). The filled context is marked saved; a root that is not
    // of this format fills nothing and answers false.
    static QVariantMap dictionaryRepresentationOfContext(ObjectContext& context);
    static bool fillContextFromDictionaryRepresentation(const QVariant& root, ObjectContext& context);

private:
    struct ReadFile {
        QByteArray bytes;
        QVariant root;
    };
    std::optional<ReadFile> readFile(const QString& path, Error* error) const;
    std::optional<ReadFile> readLoadableFile(const QString& path, Error* error) const;
    void backUpBeforeSaving(bool useLastChangeBackup);
    bool saveDictionaryRepresentation(const QVariantMap& dictionary, const QString& path, Error* error,
                                      const std::function<void()>& beforeReplacing = {});
    static void fillContext(ObjectContext& context, const StoredDatabase& database);
    Error loadError() const;

    const QString m_applicationDatabasePath;
    const QString m_cleanApplicationName;
    const ModelTexts& m_texts;
    const std::unique_ptr<DatabaseFiles> m_files;
    // The first database loaded in this process, for the session backup.
    std::optional<QVariantMap> m_initialValuesFromStore;
    bool m_hasUnwrittenChanges = false;
    bool m_hasWrittenStore = false;
};
