// The store on disk against the desktop's accidents: its folder taken while
// the program runs, a disk that is full, a backup changed during a restore,
// a store that has no session backup yet.
#include "FakeDBusService.h"
#include "support/ShellTest.h"
#include "support/SmallTmpfs.h"
#include "foundation/MHInternalNotifications.h"
#include "model/DBDelayItem.h"
#include "model/DBLoginGroup.h"
#include "model/DatabaseFiles.h"
#include "model/DatabaseSerializer.h"
#include "model/ObjectContext.h"
#include "texts/Localizator.h"

#include <mutex>
#include <sys/stat.h>

namespace {

// Just before the restore writes the store, something else (a sync tool,
// another copy) puts another file in the backup's place; counts the reads.
class SwappingFiles : public DatabaseFiles {
public:
    SwappingFiles(QString backup, QString store, QMap<QString, int>* reads)
        : m_backup(std::move(backup))
        , m_store(std::move(store))
        , m_reads(reads)
    {
    }
    std::optional<QByteArray> readFile(const QString& path, Error* error) const override
    {
        ++(*m_reads)[path];
        return DatabaseFiles::readFile(path, error);
    }
    bool writeFile(const QByteArray& bytes, const QString& path, Error* error, const std::function<void()>& beforeReplacing) override
    {
        if (path == m_store)
            ::writeFile(m_backup, "<?xml version=\"1.0\"?><plist><dict><key>application</key>");
        return DatabaseFiles::writeFile(bytes, path, error, beforeReplacing);
    }

private:
    QString m_backup;
    QString m_store;
    QMap<QString, int>* m_reads;
};

class StoreAccidentsTest : public ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        token = center.addObserver(MHInternalNotifications::MHDataDidSaveToDisk, nullptr, [this](const Notification&) { ++saves; });
        server.setMethod("/org/freedesktop/Notifications", "org.freedesktop.Notifications", "Notify", [&](const QDBusMessage& message) {
            std::lock_guard lock(mutex);
            shown.append(message.arguments().value(4).toString());
            return QVariantList { uint(1) };
        });
    }

    ApplicationHelpers& startWithContext()
    {
        ApplicationHelpers& helpers = start(std::make_shared<DesktopNotifications>(QDBusConnection::sessionBus(), "Lanternwick", server.serviceName()));
        context = helpers.managedObjectContext();
        EXPECT_NE(context, nullptr);
        return helpers;
    }

    void addDelayItem(double delay)
    {
        DBDelayItem* item = context->createDelayItemWithDelay(delay);
        item->setItemSortIndexValue(int32_t(context->fetch<DBLoginItem>().size()));
        item->setItemLoginGroup(context->getOrCreateApplicationLoginGroup());
    }

    // The delays of the store, as the next start loads them.
    QList<double> storedDelays()
    {
        ApplicationHelpers& reader = start();
        QList<double> delays;
        if (ObjectContext* loaded = reader.managedObjectContext()) {
            for (DBLoginItem* item : loaded->sortedLoginItemsForGroup(loaded->getOrCreateApplicationLoginGroup()))
                delays.append(static_cast<DBDelayItem*>(item)->itemDelayValue());
        }
        return delays;
    }

    QStringList shownNow()
    {
        waitFor([] { return false; }, 100);
        std::lock_guard lock(mutex);
        return shown;
    }

    // Every file of the data folder with its contents.
    QMap<QString, QByteArray> dataFolderContents() const
    {
        QMap<QString, QByteArray> contents;
        for (const QString& name : QDir(dataFolder()).entryList(QDir::Files | QDir::Hidden))
            contents.insert(name, readFile(dataFolder() + "/" + name));
        return contents;
    }

    ObjectContext* context = nullptr;
    int saves = 0;
    NotificationCenter::Token token;
    FakeDBusService server;
    std::mutex mutex;
    QStringList shown;
};

TEST_F(StoreAccidentsTest, ADataFolderTakenDuringARunIsMadeAgainByTheNextSave)
{
    ApplicationHelpers& helpers = startWithContext();
    addDelayItem(1);
    ASSERT_TRUE(helpers.saveDataToDiskUsingChangeBackup(true));

    // An edit, then the quit.
    ASSERT_TRUE(QDir(dataFolder()).removeRecursively());
    addDelayItem(2);
    EXPECT_TRUE(helpers.saveDataToDiskUsingChangeBackup(true));
    struct stat status {};
    ASSERT_EQ(::stat(QFile::encodeName(dataFolder()).constData(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, mode_t(0700));
    ASSERT_TRUE(QDir(dataFolder()).removeRecursively());
    addDelayItem(3);
    EXPECT_TRUE(helpers.saveDataToDiskUsingChangeBackup(false));
    EXPECT_EQ(storedDelays(), (QList<double> { 1, 2, 3 }));
    EXPECT_TRUE(shownNow().isEmpty());

    // A quit without a change writes the store that is gone all the same.
    ApplicationHelpers& next = startWithContext();
    ASSERT_TRUE(QDir(dataFolder()).removeRecursively());
    EXPECT_TRUE(next.saveDataToDiskUsingChangeBackup(false));
    EXPECT_EQ(storedDelays(), (QList<double> { 1, 2, 3 }));
}

TEST_F(StoreAccidentsTest, AFolderThatCannotBeMadeAgainIsToldAndTheEditWaitsForTheNextSave)
{
    ApplicationHelpers& helpers = startWithContext();
    addDelayItem(1);
    ASSERT_TRUE(helpers.saveDataToDiskUsingChangeBackup(true));
    ASSERT_TRUE(QDir(dataFolder()).removeRecursively());
    writeFile(dataFolder(), "a file where the folder was");

    addDelayItem(2);
    EXPECT_FALSE(helpers.saveDataToDiskUsingChangeBackup(true));
    EXPECT_FALSE(helpers.saveDataToDiskUsingChangeBackup(true));
    ASSERT_EQ(shownNow().size(), 1);
    EXPECT_TRUE(shownNow().first().contains("Not a directory")) << shownNow().first().toStdString();

    QFile::remove(dataFolder());
    EXPECT_TRUE(helpers.saveDataToDiskUsingChangeBackup(false));
    EXPECT_EQ(storedDelays(), (QList<double> { 1, 2 }));
}

TEST_F(StoreAccidentsTest, AFullDiskIsNamedAndChangesNoFile)
{
    const SmallTmpfs disk(dataFolder(), 64);
    if (!disk.isMounted())
        GTEST_SKIP() << disk.skipReason().toStdString();
    ApplicationHelpers& first = startWithContext();
    addDelayItem(1);
    ASSERT_TRUE(first.saveDataToDiskUsingChangeBackup(true));
    ApplicationHelpers& helpers = startWithContext();
    addDelayItem(2);
    ASSERT_TRUE(helpers.saveDataToDiskUsingChangeBackup(true));
    disk.fill();
    const QMap<QString, QByteArray> before = dataFolderContents();
    ASSERT_EQ(before.keys(), (QStringList { ".filler", "Lanternwick.plist", "Lanternwick.plist.backup~" }));
    saves = 0;

    for (int delay = 3; delay < 200; ++delay)
        addDelayItem(delay);
    EXPECT_FALSE(helpers.saveDataToDiskUsingChangeBackup(true));
    EXPECT_FALSE(helpers.saveDataToDiskUsingChangeBackup(false));
    EXPECT_EQ(dataFolderContents(), before);
    EXPECT_EQ(saves, 0);
    ASSERT_EQ(shownNow().size(), 1);
    EXPECT_TRUE(shownNow().first().contains("No space left on device")) << shownNow().first().toStdString();

    QFile::remove(dataFolder() + "/.filler");
    EXPECT_TRUE(helpers.saveDataToDiskUsingChangeBackup(false));
    EXPECT_EQ(storedDelays().size(), 199);
}

TEST_F(StoreAccidentsTest, ARestoreWritesTheBytesItCheckedWhateverHappensToTheBackupMeanwhile)
{
    ApplicationHelpers& writer = startWithContext();
    addDelayItem(7);
    ASSERT_TRUE(writer.saveDataToDiskUsingChangeBackup(true));
    const QString chosen = freshTestFolder("restore-swap") + "/chosen.plist";
    writeFile(chosen, readFile(store()));
    const QByteArray good = readFile(chosen);
    addDelayItem(8);
    ASSERT_TRUE(writer.saveDataToDiskUsingChangeBackup(true));

    QMap<QString, int> reads;
    ApplicationHelpers& helpers = start();
    helpers.setDatabaseSerializer(std::make_unique<DatabaseSerializer>(dataFolder(), "Lanternwick", Localizator::shared(),
                                                                       std::make_unique<SwappingFiles>(chosen, store(), &reads)));
    ASSERT_NE(helpers.managedObjectContext(), nullptr);
    Error error;
    ASSERT_TRUE(helpers.restoreStoreFromBackup(chosen, &error)) << error.description().toStdString();
    EXPECT_EQ(reads.value(chosen), 1);
    EXPECT_NE(readFile(chosen), good) << "the backup was swapped";
    EXPECT_EQ(readFile(store()), good);
    EXPECT_EQ(storedDelays(), QList<double> { 7 });

    // Swapped before the check: refused, the store stays.
    EXPECT_FALSE(start().restoreStoreFromBackup(chosen, &error));
    EXPECT_EQ(readFile(store()), good);
}

TEST_F(StoreAccidentsTest, AQuitWithoutAChangeGivesAStoreWithoutABackupItsSessionBackupOnce)
{
    ApplicationHelpers& writer = startWithContext();
    addDelayItem(1);
    ASSERT_TRUE(writer.saveDataToDiskUsingChangeBackup(true));
    const QByteArray stored = readFile(store());
    ASSERT_FALSE(QFile::exists(sessionBackup()));
    saves = 0;

    ApplicationHelpers& helpers = startWithContext();
    const QDateTime written = QFileInfo(store()).lastModified();
    EXPECT_TRUE(helpers.saveDataToDiskUsingChangeBackup(false));
    EXPECT_EQ(readFile(sessionBackup()), stored);
    EXPECT_EQ(readFile(store()), stored);
    EXPECT_EQ(QFileInfo(store()).lastModified(), written);
    EXPECT_EQ(saves, 0);

    // The next quit without a change finds it and leaves it.
    writeFile(sessionBackup(), "kept as it is");
    ApplicationHelpers& next = startWithContext();
    EXPECT_TRUE(next.saveDataToDiskUsingChangeBackup(false));
    EXPECT_EQ(readFile(sessionBackup()), "kept as it is");
}

} // namespace
