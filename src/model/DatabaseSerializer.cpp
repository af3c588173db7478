#include "model/DatabaseSerializer.h"

#include "foundation/Log.h"
#include "foundation/MHErrors.h"
#include "foundation/PropertyList.h"
#include "model/DBConditionalPreviousItem.h"
#include "model/DBDelayItem.h"
#include "model/DBFileItem.h"
#include "model/DBLoginGroup.h"
#include "model/DBScheduledConditionData.h"
#include "model/DBScheduledConditionDataItem.h"
#include "model/DBStartupCondition.h"
#include "model/DBWaitPreviousItem.h"
#include "model/MHTextStorageKeys.h"
#include "model/ModelTexts.h"
#include "model/ObjectContext.h"
#include "model/TextStorageDecoder.h"
#include "model/TextStorageFormat.h"

#include <QHash>
#include <algorithm>

namespace Keys = MHTextStorageKeys;

namespace {

// Loading and the groups a save has to make are not user edits: they must
// never become a step the user can undo.
class UndoRegistrationPause {
public:
    explicit UndoRegistrationPause(ObjectContext& context)
        : m_undo(context.undoManager())
    {
        m_undo.disableUndoRegistration();
    }
    ~UndoRegistrationPause() { m_undo.enableUndoRegistration(); }
    UndoRegistrationPause(const UndoRegistrationPause&) = delete;
    UndoRegistrationPause& operator=(const UndoRegistrationPause&) = delete;

private:
    UndoManager& m_undo;
};

void setValues(ManagedObject* object, const QVariantMap& values)
{
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        object->setValue(it.key(), it.value());
}

// The stored attributes of an object under their file keys; absent ones are left out.
void insertFields(QVariantMap* record, const ManagedObject* object, const std::vector<TextStorageFormat::Field>& fields)
{
    for (const TextStorageFormat::Field& field : fields) {
        const QVariant value = object->value(field.attribute);
        if (value.isValid())
            record->insert(field.fileKey, value);
    }
}

DBStartupCondition* createCondition(ObjectContext& context, int32_t type)
{
    switch (type) {
    case StartupConditionTypeScheduled:
        return context.createScheduledStartupConditionWithDefaultScheduleItem(false);
    case StartupConditionTypeHotkey:
        return context.createHotkeyStartupCondition();
    case StartupConditionTypePowerSource:
        return context.createPowerSourceStartupCondition();
    case StartupConditionTypeMountedVolume:
        return context.createMountedVolumeStartupCondition();
    case StartupConditionTypeNetwork:
        return context.createNetworkStartupCondition();
    default:
        // A kind this version does not know: no data object, so it refuses.
        return DBStartupCondition::createStartupConditionOfType(type, context);
    }
}

DBLoginItem* createItem(ObjectContext& context, const StoredDatabase::Item& stored)
{
    switch (stored.type) {
    case LoginItemTypeFile: {
        DBFileItem* item = context.createFileItemWithPath(stored.path);
        item->setItemStartupModeValue(stored.startupMode);
        return item;
    }
    case LoginItemTypeDelay:
        return context.createDelayItemWithDelay(stored.delay);
    case LoginItemTypeWaitPrevious:
        return context.createWaitPreviousItem();
    case LoginItemTypeConditionalPrevious:
        return context.createConditionalPreviousItemWithMode(stored.mode);
    }
    Q_UNREACHABLE();
}

} // namespace

DatabaseSerializer::DatabaseSerializer(QString applicationDatabasePath, QString cleanApplicationName, const ModelTexts& texts,
                                       std::unique_ptr<DatabaseFiles> files)
    : m_applicationDatabasePath(std::move(applicationDatabasePath))
    , m_cleanApplicationName(std::move(cleanApplicationName))
    , m_texts(texts)
    , m_files(std::move(files))
{
}

QString DatabaseSerializer::storeFilename() const
{
    return QStringLiteral("%1/%2.plist").arg(m_applicationDatabasePath, m_cleanApplicationName);
}

QString DatabaseSerializer::sessionBackupFilename() const
{
    return storeFilename() + QStringLiteral(".backup");
}

QString DatabaseSerializer::lastChangeBackupFilename() const
{
    return storeFilename() + QStringLiteral(".backup~");
}

Error DatabaseSerializer::loadError() const
{
    return Error(MHErrors::domain, MHErrors::MHErrorCodeTextStorageLoadingFailed, m_texts.errorDescriptionForFailedTextStorageLoading());
}

// --- Saving ------------------------------------------------------------------

bool DatabaseSerializer::saveDatabaseFromManagedObjectContext(ObjectContext& context, Error* error)
{
    return saveDatabaseFromManagedObjectContext(context, true, error);
}

bool DatabaseSerializer::saveDatabaseFromManagedObjectContext(ObjectContext& context, bool useLastChangeBackup, Error* error)
{
    LOG_VERBOSE("Saving database from context...");
    const QVariantMap dictionary = dictionaryRepresentationOfContext(context);
    Error writeError;
    // A clean-up tool may have taken the folder while the program ran.
    if (!m_files->makeFolder(m_applicationDatabasePath, &writeError)) {
        Error::log(QStringLiteral("Failed creating application data folder at %1:").arg(m_applicationDatabasePath), writeError);
        m_hasUnwrittenChanges = true;
        if (error)
            *error = writeError;
        return false;
    }
    // A backup is only replaced once the new store is written whole: a save
    // that fails leaves the store and both backups as they were.
    m_hasUnwrittenChanges = !saveDictionaryRepresentation(dictionary, storeFilename(), &writeError, [&] {
        LOG_DEBUG("Backing up existing file...");
        backUpBeforeSaving(useLastChangeBackup);
    });
    if (m_hasUnwrittenChanges) {
        if (error)
            *error = writeError;
        return false;
    }
    m_hasWrittenStore = true;
    context.markSaved();
    return true;
}

void DatabaseSerializer::saveSessionBackup()
{
    Error error;
    if (m_files->makeFolder(m_applicationDatabasePath, &error))
        backUpBeforeSaving(false);
    else
        Error::log(QStringLiteral("Failed creating application data folder at %1:").arg(m_applicationDatabasePath), error);
}

bool DatabaseSerializer::hasSessionBackup() const
{
    return m_files->exists(sessionBackupFilename());
}

bool DatabaseSerializer::hasLostStore() const
{
    return (m_initialValuesFromStore || m_hasWrittenStore) && !m_files->exists(storeFilename());
}

bool DatabaseSerializer::replaceStore(const QByteArray& bytes, Error* error)
{
    return m_files->makeFolder(m_applicationDatabasePath, error) && m_files->writeFile(bytes, storeFilename(), error);
}

QVariantMap DatabaseSerializer::dictionaryRepresentationOfContext(ObjectContext& context)
{
    DBLoginGroup* applicationGroup = nullptr;
    DBLoginGroup* ignoreGroup = nullptr;
    {
        const UndoRegistrationPause pause(context);
        applicationGroup = context.getOrCreateApplicationLoginGroup();
        ignoreGroup = context.getOrCreateIgnoreLoginGroup();
    }
    QVariantMap root { { Keys::version, Keys::currentVersion } };

    LOG_DEBUG("Saving startup conditions...");
    const QList<DBStartupCondition*> conditions = context.sortedStartupConditions();
    QHash<const DBStartupCondition*, qint64> conditionIndexes;
    QVariantList conditionRecords;
    for (const DBStartupCondition* condition : conditions) {
        conditionIndexes.insert(condition, conditionRecords.size());
        // A kept record goes back as it came, with the name the user gave it since.
        QVariantMap record = condition->conditionKeptRecord();
        const TextStorageFormat::ConditionKind* kind = TextStorageFormat::conditionKindForType(condition->conditionTypeValue());
        if (!kind && record.isEmpty())
            record.insert(Keys::conditionType, qint64(condition->conditionTypeValue()));
        record.remove(Keys::conditionName);
        if (condition->value(QStringLiteral("conditionName")).isValid())
            record.insert(Keys::conditionName, condition->conditionName());
        if (kind) {
            record.insert(Keys::conditionType, kind->word);
            if (const ManagedObject* data = condition->toOne(kind->dataRelationship)) {
                insertFields(&record, data, kind->fields);
                if (kind->type == StartupConditionTypeScheduled) {
                    QVariantList entries;
                    for (const DBScheduledConditionDataItem* entry :
                         context.sortedScheduleItemsForScheduledConditionData(static_cast<const DBScheduledConditionData*>(data))) {
                        QVariantMap entryRecord;
                        insertFields(&entryRecord, entry, TextStorageFormat::scheduleEntryFields());
                        entries.append(entryRecord);
                    }
                    record.insert(Keys::schedules, entries);
                }
            }
        }
        conditionRecords.append(record);
    }

    const auto itemRecords = [&](const DBLoginGroup* group) {
        QVariantList records;
        for (const DBLoginItem* item : context.sortedLoginItemsForGroup(group)) {
            QVariantMap record { { Keys::itemType, TextStorageFormat::itemTypeWord(item->loginItemType()) } };
            const auto copy = [&](QLatin1String attribute, QLatin1String key) {
                const QVariant value = item->value(attribute);
                if (value.isValid())
                    record.insert(key, value);
            };
            switch (item->loginItemType()) {
            case LoginItemTypeFile: {
                copy(QLatin1String("itemPath"), Keys::itemPath);
                record.insert(Keys::itemStartupMode,
                              TextStorageFormat::storedStartupMode(static_cast<const DBFileItem*>(item)->itemStartupModeValue()));
                break;
            }
            case LoginItemTypeDelay:
                copy(QLatin1String("itemDelay"), Keys::itemDelay);
                break;
            case LoginItemTypeWaitPrevious:
                break;
            case LoginItemTypeConditionalPrevious:
                copy(QLatin1String("itemMode"), Keys::itemMode);
                break;
            }
            QList<qint64> indexes;
            for (const DBStartupCondition* condition : item->itemStartupConditions())
                indexes.append(conditionIndexes.value(condition));
            std::sort(indexes.begin(), indexes.end());
            if (!indexes.isEmpty())
                record.insert(Keys::itemConditions, QVariantList(indexes.cbegin(), indexes.cend()));
            records.append(record);
        }
        return records;
    };

    LOG_DEBUG("Saving application items...");
    if (const QVariantList records = itemRecords(applicationGroup); !records.isEmpty())
        root.insert(Keys::application, records);
    LOG_DEBUG("Saving ignored items...");
    if (const QVariantList records = itemRecords(ignoreGroup); !records.isEmpty())
        root.insert(Keys::ignored, records);
    if (!conditionRecords.isEmpty())
        root.insert(Keys::conditions, conditionRecords);
    return root;
}

void DatabaseSerializer::backUpBeforeSaving(bool useLastChangeBackup)
{
    Error error;
    if (useLastChangeBackup) {
        if (m_files->exists(storeFilename()) && !m_files->copyFile(storeFilename(), lastChangeBackupFilename(), &error))
            LOG_WARN("Failed saving backup of database prior to saving! %1", error);
        return;
    }
    if (m_initialValuesFromStore && isSomeDataPresentInDictionaryRepresentation(*m_initialValuesFromStore))
        saveDictionaryRepresentation(*m_initialValuesFromStore, sessionBackupFilename(), &error);
}

bool DatabaseSerializer::saveDictionaryRepresentation(const QVariantMap& dictionary, const QString& path, Error* error,
                                                      const std::function<void()>& beforeReplacing)
{
    LOG_DEBUG("Preparing data for saving...");
    if (!m_files->writePropertyList(dictionary, path, error, beforeReplacing)) {
        Error::log(error->code() == PropertyList::WriteFailed ? QStringLiteral("Failed writing out data!") : QStringLiteral("Failed saving data!"),
                   *error);
        return false;
    }
    LOG_DEBUG("Saved data to %1", path);
    return true;
}

bool DatabaseSerializer::isSomeDataPresentInDictionaryRepresentation(const QVariantMap& dictionary)
{
    // Any key counts, so a file that holds only its version is data too.
    return !dictionary.isEmpty();
}

// --- Loading -----------------------------------------------------------------

std::optional<DatabaseSerializer::ReadFile> DatabaseSerializer::readFile(const QString& path, Error* error) const
{
    LOG_VERBOSE("Loading data from file...");
    *error = Error();
    if (!m_files->exists(path)) {
        LOG_VERBOSE("Database file doesn't exist, no need to load anything.");
        return std::nullopt;
    }
    LOG_DEBUG("Loading data...");
    std::optional<QByteArray> bytes = m_files->readFile(path, error);
    if (!bytes) {
        LOG_WARN("Failed loading from %1...", path);
        return std::nullopt;
    }
    LOG_DEBUG("Parsing loaded data...");
    std::optional<QVariant> root = PropertyList::fromData(*bytes, error, m_files->maximumFileSize());
    if (!root) {
        LOG_WARN("Failed parsing data from %1...", path);
        return std::nullopt;
    }
    return ReadFile { std::move(*bytes), std::move(*root) };
}

std::optional<DatabaseSerializer::ReadFile> DatabaseSerializer::readLoadableFile(const QString& path, Error* error) const
{
    Error readError;
    std::optional<ReadFile> file = readFile(path, &readError);
    if (file && !TextStorageDecoder::decode(file->root)) {
        LOG_WARN("Database file %1 does not load", path);
        file.reset();
        readError = loadError();
    }
    if (error)
        *error = readError;
    return file;
}

std::optional<QVariantMap> DatabaseSerializer::databaseContentsFromFile(const QString& path, Error* error) const
{
    const std::optional<ReadFile> file = readLoadableFile(path, error);
    return file ? std::optional<QVariantMap>(file->root.toMap()) : std::nullopt;
}

std::optional<QByteArray> DatabaseSerializer::loadableDatabaseBytes(const QString& path, Error* error) const
{
    std::optional<ReadFile> file = readLoadableFile(path, error);
    return file ? std::optional<QByteArray>(std::move(file->bytes)) : std::nullopt;
}

bool DatabaseSerializer::loadDatabaseToManagedObjectContext(ObjectContext& context, Error* error)
{
    LOG_VERBOSE("Loading data to context...");
    Error readError;
    const std::optional<ReadFile> file = readFile(storeFilename(), &readError);
    if (!file && !readError.domain().isEmpty()) {
        Error::log(QStringLiteral("Failed reading in data!"), readError);
        if (error)
            *error = readError;
        return false;
    }
    if (!loadDatabaseFromDictionaryRepresentation(file ? file->root : QVariant(QVariantMap()), context, error))
        return false;
    if (file && !m_initialValuesFromStore) {
        LOG_DEBUG("Storing initial data...");
        m_initialValuesFromStore = file->root.toMap();
    }
    return true;
}

bool DatabaseSerializer::loadDatabaseFromDictionaryRepresentation(const QVariant& root, ObjectContext& context, Error* error) const
{
    if (!fillContextFromDictionaryRepresentation(root, context)) {
        if (error)
            *error = loadError();
        return false;
    }
    return true;
}

bool DatabaseSerializer::fillContextFromDictionaryRepresentation(const QVariant& root, ObjectContext& context)
{
    const std::optional<StoredDatabase> database = TextStorageDecoder::decode(root);
    if (!database)
        return false;
    fillContext(context, *database);
    LOG_DEBUG("Saving in-memory database...");
    context.markSaved();
    return true;
}

void DatabaseSerializer::fillContext(ObjectContext& context, const StoredDatabase& database)
{
    const UndoRegistrationPause pause(context);
    QList<DBStartupCondition*> conditions;
    for (const StoredDatabase::Condition& stored : database.conditions) {
        DBStartupCondition* condition = createCondition(context, stored.type);
        if (!stored.keptRecord.isEmpty())
            condition->setValue(QStringLiteral("conditionKeptRecord"), stored.keptRecord);
        const TextStorageFormat::ConditionKind* kind = TextStorageFormat::conditionKindForType(stored.type);
        ManagedObject* data = kind ? condition->toOne(kind->dataRelationship) : nullptr;
        if (data)
            setValues(data, stored.data);
        for (qsizetype i = 0; i < stored.scheduleEntries.size(); ++i) {
            DBScheduledConditionDataItem* entry = context.createScheduledConditionDataItem();
            setValues(entry, stored.scheduleEntries.at(i));
            entry->setScheduleSortIndexValue(int32_t(i));
            entry->setScheduleConditionData(static_cast<DBScheduledConditionData*>(data));
        }
        condition->setValue(QStringLiteral("conditionName"), stored.name);
        condition->setConditionSortIndexValue(int32_t(conditions.size()));
        conditions.append(condition);
    }

    const auto fillGroup = [&](DBLoginGroup* group, const QList<StoredDatabase::Item>& items) {
        for (qsizetype i = 0; i < items.size(); ++i) {
            DBLoginItem* item = createItem(context, items.at(i));
            item->setItemSortIndexValue(int32_t(i));
            item->setItemLoginGroup(group);
            for (qsizetype position : items.at(i).conditions)
                item->addItemStartupConditionsObject(conditions.at(position));
        }
    };
    fillGroup(context.getOrCreateApplicationLoginGroup(), database.applicationItems);
    fillGroup(context.getOrCreateIgnoreLoginGroup(), database.ignoredItems);
}
