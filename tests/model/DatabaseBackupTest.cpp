// Backups and the store write: each replaces its file atomically, a failed
// backup never costs the previous one nor the save, and a failed store write
// is reported and written again by the next save.
#include "StorageTestFixture.h"
#include "model/DBDelayItem.h"
#include "model/DBFileItem.h"

#include <QDir>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Fails the writes of chosen paths, as a read-only folder or a full disk would.
class FailingFiles : public DatabaseFiles {
public:
    explicit FailingFiles(QStringList* failingPaths)
        : m_failingPaths(failingPaths)
    {
    }
    bool writePropertyList(const QVariant& value, const QString& path, Error* error, const std::function<void()>& beforeReplacing) override
    {
        return refuse(path, error) && DatabaseFiles::writePropertyList(value, path, error, beforeReplacing);
    }
    bool copyFile(const QString& source, const QString& destination, Error* error) override
    {
        return refuse(destination, error) && DatabaseFiles::copyFile(source, destination, error);
    }

private:
    bool refuse(const QString& path, Error* error)
    {
        if (!m_failingPaths->contains(path))
            return true;
        *error = Error(PropertyList::errorDomain(), PropertyList::WriteFailed, QStringLiteral("Permission denied"));
        return false;
    }
    QStringList* m_failingPaths;
};

class DatabaseBackupTest : public StorageTest {
protected:
    void addDelay(double delay)
    {
        DBDelayItem* item = context.createDelayItemWithDelay(delay);
        item->setItemSortIndexValue(int32_t(context.fetch<DBLoginItem>().size()));
        item->setItemLoginGroup(context.getOrCreateApplicationLoginGroup());
    }

    QStringList failingPaths;
    std::unique_ptr<DatabaseSerializer> serializer = makeSerializer(std::make_unique<FailingFiles>(&failingPaths));
};

TEST_F(DatabaseBackupTest, LastChangeBackupHoldsTheStoreBeforeTheSave)
{
    addDelay(1);
    ASSERT_TRUE(serializer->saveDatabaseFromManagedObjectContext(context, true, nullptr));
    EXPECT_FALSE(QFile::exists(lastChangeBackup)) << "no store yet, so nothing to back up";
    const QByteArray first = fileBytes(store);
    const auto others = QFileDevice::ReadGroup | QFileDevice::ReadOther;
    QFile::setPermissions(store, QFileDevice::ReadOwner | QFileDevice::WriteOwner);

    addDelay(2);
    ASSERT_TRUE(serializer->saveDatabaseFromManagedObjectContext(context, true, nullptr));
    EXPECT_EQ(fileBytes(lastChangeBackup), first);
    EXPECT_FALSE(QFile::permissions(store) & others) << "a private store stays private";
    EXPECT_FALSE(QFile::permissions(lastChangeBackup) & others);
    EXPECT_NE(fileBytes(store), first);
    EXPECT_FALSE(QFile::exists(sessionBackup));
}

TEST_F(DatabaseBackupTest, SessionBackupHoldsTheDatabaseAsFirstLoaded)
{
    addDelay(1);
    ASSERT_TRUE(serializer->saveDatabaseFromManagedObjectContext(context, false, nullptr));
    EXPECT_FALSE(QFile::exists(sessionBackup)) << "this session started without a file";
    const QVariantMap firstLoaded = PropertyList::dictionaryFromFile(store).value();

    FakeModelTexts otherTexts;
    ObjectContext next(otherTexts);
    auto nextSession = makeSerializer();
    ASSERT_TRUE(nextSession->loadDatabaseToManagedObjectContext(next, nullptr));
    static_cast<DBDelayItem*>(next.fetch<DBLoginItem>().at(0))->setItemDelayValue(9);
    ASSERT_TRUE(nextSession->saveDatabaseFromManagedObjectContext(next, true, nullptr));
    // A reload after a restore must not replace what the session began with.
    ASSERT_TRUE(nextSession->loadDatabaseToManagedObjectContext(next, nullptr));
    ASSERT_TRUE(nextSession->saveDatabaseFromManagedObjectContext(next, false, nullptr));
    EXPECT_EQ(PropertyList::dictionaryFromFile(sessionBackup).value(), firstLoaded);
}

TEST_F(DatabaseBackupTest, FailedBackupKeepsThePreviousOneAndStillSaves)
{
    addDelay(1);
    ASSERT_TRUE(serializer->saveDatabaseFromManagedObjectContext(context, true, nullptr));
    writeBytes(lastChangeBackup, "previous backup");
    failingPaths << lastChangeBackup;

    addDelay(2);
    EXPECT_TRUE(serializer->saveDatabaseFromManagedObjectContext(context, true, nullptr));
    EXPECT_EQ(fileBytes(lastChangeBackup), "previous backup");
    EXPECT_EQ(PropertyList::dictionaryFromFile(store).value().value("application").toList().size(), 2);
}

TEST_F(DatabaseBackupTest, FolderInPlaceOfABackupNeitherStopsTheSaveNorIsRemoved)
{
    addDelay(1);
    ASSERT_TRUE(serializer->saveDatabaseFromManagedObjectContext(context, true, nullptr));
    ObjectContext loaded(texts);
    ASSERT_TRUE(serializer->loadDatabaseToManagedObjectContext(loaded, nullptr)); // the session backup's content
    ASSERT_TRUE(QDir().mkpath(lastChangeBackup + "/inside"));
    ASSERT_TRUE(QDir().mkpath(sessionBackup + "/inside"));

    addDelay(2);
    EXPECT_TRUE(serializer->saveDatabaseFromManagedObjectContext(context, true, nullptr));
    EXPECT_TRUE(serializer->saveDatabaseFromManagedObjectContext(context, false, nullptr));
    EXPECT_TRUE(QFileInfo::exists(lastChangeBackup + "/inside"));
    EXPECT_TRUE(QFileInfo::exists(sessionBackup + "/inside"));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList { "Lanternwick.plist" }) << "no temporary file left behind";
}

TEST_F(DatabaseBackupTest, FailedStoreWriteIsReportedKeepsTheFileAndIsWrittenNextTime)
{
    addDelay(1);
    ASSERT_TRUE(serializer->saveDatabaseFromManagedObjectContext(context, true, nullptr));
    const QByteArray saved = fileBytes(store);

    writeBytes(lastChangeBackup, "previous backup");

    addDelay(2);
    failingPaths << store;
    Error error;
    EXPECT_FALSE(serializer->saveDatabaseFromManagedObjectContext(context, true, &error));
    EXPECT_EQ(error.domain(), PropertyList::errorDomain());
    EXPECT_EQ(error.code(), PropertyList::WriteFailed);
    EXPECT_EQ(fileBytes(store), saved);
    EXPECT_EQ(fileBytes(lastChangeBackup), "previous backup") << "a failed save backs nothing up";
    EXPECT_TRUE(serializer->hasUnwrittenChanges());
    EXPECT_TRUE(context.hasChanges());

    // The shell marks the context saved before writing; the serializer still knows.
    context.markSaved();
    failingPaths.clear();
    EXPECT_TRUE(serializer->hasUnwrittenChanges());
    EXPECT_TRUE(serializer->saveDatabaseFromManagedObjectContext(context, false, nullptr));
    EXPECT_FALSE(serializer->hasUnwrittenChanges());
    EXPECT_EQ(PropertyList::dictionaryFromFile(store).value().value("application").toList().size(), 2);
}

TEST_F(DatabaseBackupTest, ValueTheFormatCannotHoldFailsTheSaveInsteadOfWritingSomethingElse)
{
    context.createFileItemWithPath(QStringLiteral("/tmp/a\x01" "b"))->setItemLoginGroup(context.getOrCreateApplicationLoginGroup());
    Error error;
    EXPECT_FALSE(serializer->saveDatabaseFromManagedObjectContext(context, true, &error));
    EXPECT_EQ(error.code(), PropertyList::UnrepresentableValue);
    EXPECT_FALSE(QFile::exists(store));
    EXPECT_TRUE(serializer->hasUnwrittenChanges());
}

// Two failed saves in a row still leave the last good state twice over.
TEST_F(DatabaseBackupTest, SavesThatCannotBeWrittenLeaveTheStoreAndBothBackupsAsTheyWere)
{
    addDelay(1);
    ASSERT_TRUE(serializer->saveDatabaseFromManagedObjectContext(context, true, nullptr));
    ObjectContext loaded(texts);
    ASSERT_TRUE(serializer->loadDatabaseToManagedObjectContext(loaded, nullptr)); // what the session backup keeps
    writeBytes(lastChangeBackup, "previous change");
    writeBytes(sessionBackup, "previous session");
    const QByteArray saved = fileBytes(store);

    context.createFileItemWithPath(QStringLiteral("/tmp/bell\a"))->setItemLoginGroup(context.getOrCreateApplicationLoginGroup());
    for (const bool useLastChangeBackup : { true, true, false }) {
        EXPECT_FALSE(serializer->saveDatabaseFromManagedObjectContext(context, useLastChangeBackup, nullptr));
        EXPECT_EQ(fileBytes(store), saved);
        EXPECT_EQ(fileBytes(lastChangeBackup), "previous change");
        EXPECT_EQ(fileBytes(sessionBackup), "previous session");
    }
}

// The limit is the reader's: a store the writer let through always loads again.
TEST_F(DatabaseBackupTest, ADatabaseJustOverTheSizeLimitIsRefusedOnSaveAndOnLoad)
{
    addDelay(1);
    ASSERT_TRUE(serializer->saveDatabaseFromManagedObjectContext(context, true, nullptr));
    writeBytes(lastChangeBackup, "previous change");
    const QByteArray saved = fileBytes(store);
    addDelay(2);
    const QString probe = freshTestFolder("size-probe");
    ASSERT_TRUE(DatabaseSerializer(probe, "Lanternwick", texts).saveDatabaseFromManagedObjectContext(context, true, nullptr));
    const QByteArray larger = fileBytes(probe + "/Lanternwick.plist");

    const auto limited = makeSerializer(std::make_unique<DatabaseFiles>(larger.size() - 1));
    Error error;
    EXPECT_FALSE(limited->saveDatabaseFromManagedObjectContext(context, true, &error));
    EXPECT_EQ(error.code(), PropertyList::TooLarge);
    EXPECT_TRUE(limited->hasUnwrittenChanges());
    EXPECT_EQ(fileBytes(store), saved);
    EXPECT_EQ(fileBytes(lastChangeBackup), "previous change");

    writeBytes(store, larger);
    ObjectContext loaded(texts);
    EXPECT_FALSE(limited->loadDatabaseToManagedObjectContext(loaded, &error));
    EXPECT_EQ(error.code(), PropertyList::TooLarge);
    EXPECT_FALSE(limited->databaseContentsFromFile(store, nullptr)) << "nor is it offered for a restore";

    const auto exact = makeSerializer(std::make_unique<DatabaseFiles>(larger.size()));
    EXPECT_TRUE(exact->loadDatabaseToManagedObjectContext(loaded, nullptr));
    EXPECT_TRUE(exact->saveDatabaseFromManagedObjectContext(context, true, nullptr));
    EXPECT_EQ(fileBytes(store), larger);
}

TEST_F(DatabaseBackupTest, UnreadableStoreFailsWithTheReadError)
{
    ASSERT_TRUE(QDir().mkpath(store));
    Error error;
    EXPECT_FALSE(serializer->loadDatabaseToManagedObjectContext(context, &error));
    EXPECT_EQ(error.domain(), PropertyList::errorDomain());
    EXPECT_EQ(error.code(), PropertyList::ReadFailed);
}

// A pipe or a link in place of a backup is refused at once with its cause,
// never waited on or followed: the restore is offered nothing from it.
TEST_F(DatabaseBackupTest, APipeOrALinkInPlaceOfABackupIsRefusedAtOnce)
{
    addDelay(1);
    ASSERT_TRUE(serializer->saveDatabaseFromManagedObjectContext(context, true, nullptr));
    ASSERT_EQ(::mkfifo(QFile::encodeName(lastChangeBackup).constData(), 0600), 0);
    ASSERT_EQ(::symlink(QFile::encodeName(store).constData(), QFile::encodeName(sessionBackup).constData()), 0);
    for (const QString& backup : { lastChangeBackup, sessionBackup }) {
        Error error;
        EXPECT_FALSE(serializer->loadableDatabaseBytes(backup, &error)) << backup.toStdString();
        EXPECT_EQ(error.code(), PropertyList::ReadFailed);
        EXPECT_TRUE(error.description().contains("Not a regular file")) << error.description().toStdString();
        EXPECT_TRUE(error.description().contains(backup)) << error.description().toStdString();
    }
}

} // namespace
