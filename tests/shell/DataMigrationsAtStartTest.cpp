// The one-time steps of the start: the old SQLite store into the text storage,
// and the Flatpak edition's folder into the user's own folders.
#include "support/FailingDatabaseFiles.h"
#include "support/ShellTest.h"
#include "../texts/FakeDialogPresenter.h"
#include "foundation/MHErrors.h"
#include "model/DBFileItem.h"
#include "model/DBStartupCondition.h"
#include "model/DatabaseSerializer.h"
#include "model/ExecutionValidationParameters.h"
#include "model/ObjectContext.h"
#include "shell/DataMigrationsAtStart.h"
#include "support/OldStoreWriter.h"
#include "texts/Localizator.h"

#include <JlCompress.h>
#include <QDirIterator>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QStringList namesIn(const QString& folder, const QString& filter = "*")
{
    return QDir(folder).entryList({ filter }, QDir::Files | QDir::Hidden, QDir::Name);
}

class DataMigrationsAtStartTest : public ShellTest {
protected:
    DataMigrationsAtStart& migrations()
    {
        start();
        migrator = std::make_unique<DataMigrationsAtStart>(*helpers, *settings, dialogs);
        return *migrator;
    }

    QString oldStore() const { return dataFolder() + "/Lanternwick.data"; }

    // Without its data row, the condition cannot be carried as it was.
    void writeOldStore(bool walOnly = false, bool conditionData = true)
    {
        QDir().mkpath(dataFolder());
        OldStoreWriter w(oldStore(), OldStoreWriter::Version2, walOnly);
        w.insertObject("LoginGroup", 1, { { "ZGROUPTYPE", 0 }, { "ZGROUPNAME", "Application Items" } });
        w.insertObject("StartupCondition", 1, { { "ZCONDITIONNAME", "Mains" }, { "ZCONDITIONSORTINDEX", 0 }, { "ZCONDITIONTYPE", 2 },
                                                { "ZCONDITIONPOWERSOURCEDATA", conditionData ? QVariant(1) : QVariant() } });
        if (conditionData)
            w.insertObject("PowerSourceConditionData", 1, { { "ZPOWERSOURCETYPE", 0 } });
        w.insertObject("FileItem", 1, { { "ZSORTINDEX", 0 }, { "ZLOGINGROUP", 1 }, { "ZFULLPATH", "/usr/bin/true" } });
        w.link(1, 1);
    }

    QMap<QString, QByteArray> folderContents() const
    {
        QMap<QString, QByteArray> contents;
        for (const QString& name : namesIn(dataFolder()))
            contents.insert(name, readFile(dataFolder() + "/" + name));
        return contents;
    }

    FakeDialogPresenter dialogs;
    std::unique_ptr<DataMigrationsAtStart> migrator;
};

TEST_F(DataMigrationsAtStartTest, OldStoreBecomesTheTextStorageAndOnlyItsOwnFilesGoIntoTheArchive)
{
    writeOldStore(true);
    writeFile(oldStore() + ".bak", "an earlier copy of the user");
    const QMap<QString, QByteArray> originals = folderContents();
    ASSERT_TRUE(originals.contains("Lanternwick.data-wal"));

    EXPECT_TRUE(migrations().migrateDatabaseToTextStorageIfNecessary());
    EXPECT_TRUE(dialogs.shown.isEmpty());
    const QStringList archives = namesIn(dataFolder(), "com.mossharbour.Lanternwick2.CoreData *.zip");
    ASSERT_EQ(archives.size(), 1);
    const QString archive = dataFolder() + "/" + archives.first();
    EXPECT_EQ(namesIn(dataFolder()), (QStringList { "Lanternwick.data.bak", "Lanternwick.plist", archives.first() }));
    QStringList archived = JlCompress::getFileList(archive);
    archived.sort();
    EXPECT_EQ(archived, (QStringList { "Lanternwick.data", "Lanternwick.data-shm", "Lanternwick.data-wal" }));
    const QString extracted = freshTestFolder("extracted");
    for (const QString& name : archived) {
        JlCompress::extractFile(archive, name, extracted + "/" + name);
        EXPECT_EQ(readFile(extracted + "/" + name), originals.value(name)) << name.toStdString();
    }

    ObjectContext* context = start().managedObjectContext();
    ASSERT_NE(context, nullptr);
    const QList<DBLoginItem*> items = context->sortedLoginItemsForGroup(context->getOrCreateApplicationLoginGroup());
    ASSERT_EQ(items.size(), 1);
    EXPECT_EQ(static_cast<DBFileItem*>(items.first())->itemPath(), "/usr/bin/true");
    ASSERT_EQ(items.first()->itemStartupConditions().size(), 1);
    EXPECT_EQ(items.first()->itemStartupConditions().first()->conditionName(), "Mains");

    // Every later start finds the text storage and leaves everything alone.
    const QMap<QString, QByteArray> converted = folderContents();
    EXPECT_TRUE(migrations().migrateDatabaseToTextStorageIfNecessary());
    EXPECT_EQ(folderContents(), converted);
}

TEST_F(DataMigrationsAtStartTest, TheUserIsToldWhichConditionsAndItemsWereNotCarriedAsTheyWere)
{
    writeOldStore(false, false);
    EXPECT_TRUE(migrations().migrateDatabaseToTextStorageIfNecessary());
    ASSERT_EQ(dialogs.shown.size(), 1);
    const Localizator& texts = Localizator::shared();
    EXPECT_EQ(dialogs.shown[0].messageText, texts.oldDatabaseConversionChangesTitle());
    const QString text = dialogs.shown[0].informativeText;
    EXPECT_TRUE(text.contains("\"Mains\"")) << text.toStdString();
    EXPECT_TRUE(text.contains("• " + helpers->niceDisplayNameForItemAtPath("/usr/bin/true") + " (Mains)")) << text.toStdString();

    // The item keeps its condition, which now refuses.
    ObjectContext* context = start().managedObjectContext();
    ASSERT_NE(context, nullptr);
    const QList<DBLoginItem*> items = context->sortedLoginItemsForGroup(context->getOrCreateApplicationLoginGroup());
    ASSERT_EQ(items.size(), 1);
    ASSERT_EQ(items.first()->itemStartupConditions().size(), 1);
    EXPECT_FALSE(items.first()->itemStartupConditions().first()->isExecutionAllowedForParameters(*ExecutionValidationParameters::create()));
}

TEST_F(DataMigrationsAtStartTest, AFailedConversionKeepsTheOldStoreAndTheSessionsEditsInANewOne)
{
    writeOldStore();
    const QMap<QString, QByteArray> originals = folderContents();
    bool failWrites = true;
    DataMigrationsAtStart& startup = migrations();
    helpers->setDatabaseSerializer(std::make_unique<DatabaseSerializer>(dataFolder(), "Lanternwick", Localizator::shared(),
                                                                        std::make_unique<FailingDatabaseFiles>(&failWrites)));
    EXPECT_TRUE(startup.migrateDatabaseToTextStorageIfNecessary());
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].messageText, Localizator::shared().errorForFailedOldDatabaseConversionWithUnderlyingError(Error()).description());
    EXPECT_EQ(folderContents(), originals);

    // The session starts empty, and what the user does is saved beside the old store.
    failWrites = false;
    ObjectContext* context = helpers->managedObjectContext();
    ASSERT_NE(context, nullptr);
    EXPECT_TRUE(context->sortedLoginItemsForGroup(context->getOrCreateApplicationLoginGroup()).isEmpty());
    context->createFileItemWithPath("/usr/bin/false")->setItemLoginGroup(context->getOrCreateApplicationLoginGroup());
    EXPECT_TRUE(helpers->saveDataToDiskUsingChangeBackup(true));
    EXPECT_TRUE(QFile::exists(store()));
    EXPECT_EQ(readFile(oldStore()), originals.value("Lanternwick.data"));
}

TEST_F(DataMigrationsAtStartTest, OldStoreBesideATextStorageIsLeftAlone)
{
    writeOldStore();
    writeFile(store(), "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict/></plist>\n");
    const QMap<QString, QByteArray> before = folderContents();
    EXPECT_TRUE(migrations().migrateDatabaseToTextStorageIfNecessary());
    EXPECT_EQ(folderContents(), before);

    QDir(dataFolder()).removeRecursively();
    EXPECT_TRUE(migrations().migrateDatabaseToTextStorageIfNecessary());
    EXPECT_FALSE(QFileInfo::exists(dataFolder() + "/Lanternwick.plist"));
}

TEST_F(DataMigrationsAtStartTest, UnreadableOldStoreOffersQuitBeforeDeleteAndQuitTouchesNothing)
{
    const Localizator& texts = Localizator::shared();
    writeFile(oldStore(), "SQLite format 3 but not really");
    writeFile(oldStore() + ".bak", "an earlier copy of the user");
    const QMap<QString, QByteArray> before = folderContents();
    dialogs.answer.button = 0;
    EXPECT_FALSE(migrations().migrateDatabaseToTextStorageIfNecessary());
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown.first().buttons,
              (QStringList { texts.errorForFailedDatabaseInitializationQuitButton(), texts.errorForFailedDatabaseInitializationDeleteButton() }));
    EXPECT_EQ(dialogs.shown.first().cancelButton, 0);
    EXPECT_EQ(helpers->databaseInitializationError()->code(), MHErrors::MHErrorCodeCoreDataInitializationFailed);
    EXPECT_TRUE(helpers->databaseInitializationUserChoseQuit());
    EXPECT_EQ(folderContents(), before);

    // Delete archives the store first; the start then goes on with an empty database.
    dialogs.answer.button = 1;
    EXPECT_TRUE(migrations().migrateDatabaseToTextStorageIfNecessary());
    EXPECT_FALSE(QFileInfo::exists(oldStore()));
    EXPECT_TRUE(QFileInfo::exists(oldStore() + ".bak"));
    const QStringList archives = namesIn(dataFolder(), "com.mossharbour.Lanternwick2.CorruptedFilesBackup*.zip");
    ASSERT_EQ(archives.size(), 1);
    EXPECT_EQ(JlCompress::getFileList(dataFolder() + "/" + archives.first()), QStringList { "Lanternwick.data" });
}

// --- The Flatpak folder ---------------------------------------------------------------

class ContainerMigrationTest : public DataMigrationsAtStartTest {
protected:
    void SetUp() override
    {
        DataMigrationsAtStartTest::SetUp();
        QDir(container()).removeRecursively();
        QDir(serviceContainer()).removeRecursively();
        outside = freshTestFolder("outside");
        writeFile(outside + "/private.txt", "not the container's");
    }

    QString container() const { return testHome() + "/.var/app/com.mossharbour.Lanternwick2"; }
    QString serviceContainer() const { return container() + ".Keelhouse"; }

    void makeContainer()
    {
        writeFile(container() + "/data/Lanternwick/Lanternwick.plist", "the old database");
        writeFile(container() + "/data/Lanternwick/logs/.hidden", "kept too");
        writeFile(container() + "/config/Lanternwick/Lanternwick.conf", "[General]\nShowWelcomeWindow=false\n");
        writeFile(container() + "/cache/thumbnail", "cached");
        ASSERT_TRUE(QFile::link(outside, container() + "/data/Lanternwick/outside"));
        ASSERT_TRUE(QFile::link(outside + "/private.txt", container() + "/cache/private.txt"));
    }

    QStringList archived(const QString& pattern) const
    {
        const QStringList archives = namesIn(dataFolder(), pattern);
        if (archives.size() != 1)
            return { QStringLiteral("%1 archives").arg(archives.size()) };
        QStringList names = JlCompress::getFileList(dataFolder() + "/" + archives.first());
        names.sort();
        return names;
    }

    QString outside;
};

TEST_F(ContainerMigrationTest, DataAndSettingsMoveOutAndTheContainersAreArchivedThenRemoved)
{
    makeContainer();
    writeFile(serviceContainer() + "/data/state", "service");
    migrations().migrateDatabaseOutOfCointainerIfNecessary();

    EXPECT_EQ(readFile(dataFolder() + "/Lanternwick.plist"), QByteArray("the old database"));
    EXPECT_EQ(readFile(dataFolder() + "/logs/.hidden"), QByteArray("kept too"));
    EXPECT_FALSE(QFileInfo(dataFolder() + "/outside").exists());
    EXPECT_EQ(QFileInfo(dataFolder()).permissions() & (QFile::ReadGroup | QFile::ReadOther | QFile::WriteOther), QFile::Permissions());
    EXPECT_EQ(settings->value("ShowWelcomeWindow").toString(), "false");
    EXPECT_TRUE(settings->skipContainerDataMigration());

    EXPECT_EQ(archived("com.mossharbour.Lanternwick2 *.zip"),
              (QStringList { "cache/", "cache/thumbnail", "config/", "config/Lanternwick/", "config/Lanternwick/Lanternwick.conf", "data/",
                             "data/Lanternwick/", "data/Lanternwick/Lanternwick.plist", "data/Lanternwick/logs/", "data/Lanternwick/logs/.hidden" }));
    EXPECT_EQ(archived("com.mossharbour.Lanternwick2.Keelhouse *.zip"), (QStringList { "data/", "data/state" }));
    EXPECT_FALSE(QFileInfo::exists(container()));
    EXPECT_FALSE(QFileInfo::exists(serviceContainer()));
    // What the links pointed at is untouched.
    EXPECT_EQ(readFile(outside + "/private.txt"), QByteArray("not the container's"));

    // Later starts do nothing.
    makeContainer();
    migrations().migrateDatabaseOutOfCointainerIfNecessary();
    EXPECT_TRUE(QFileInfo::exists(container()));
}

// The program locks its data folder before it migrates: a folder that holds
// only that lock has no data yet, and the lock stays where it is.
TEST_F(ContainerMigrationTest, ADataFolderHoldingOnlyTheLockOfThisCopyStillReceivesTheData)
{
    makeContainer();
    DataMigrationsAtStart& migration = migrations();
    writeFile(helpers->applicationLockFilePath(), "");
    const auto inode = [&] {
        struct stat status {};
        ::stat(QFile::encodeName(helpers->applicationLockFilePath()).constData(), &status);
        return status.st_ino;
    };
    const ino_t lock = inode();
    migration.migrateDatabaseOutOfCointainerIfNecessary();

    EXPECT_EQ(readFile(dataFolder() + "/Lanternwick.plist"), QByteArray("the old database"));
    EXPECT_EQ(readFile(dataFolder() + "/logs/.hidden"), QByteArray("kept too"));
    EXPECT_EQ(inode(), lock);
    EXPECT_TRUE(settings->skipContainerDataMigration());
    EXPECT_FALSE(QFileInfo::exists(container()));
    EXPECT_EQ(QDir(QFileInfo(dataFolder()).path()).entryList({ ".Lanternwick.migrating-*" }, QDir::AllEntries | QDir::Hidden), QStringList());
}

TEST_F(ContainerMigrationTest, SettingsAlreadyThereAreKeptAndAServiceContainerAloneIsStillArchived)
{
    writeFile(settings->filePath(), "[General]\nShowWelcomeWindow=true\n");
    settings->synchronize();
    writeFile(serviceContainer() + "/data/state", "service");
    migrations().migrateDatabaseOutOfCointainerIfNecessary();
    EXPECT_EQ(settings->value("ShowWelcomeWindow").toString(), "true");
    EXPECT_EQ(archived("com.mossharbour.Lanternwick2.Keelhouse *.zip"), (QStringList { "data/", "data/state" }));
    EXPECT_FALSE(QFileInfo::exists(serviceContainer()));
    EXPECT_TRUE(settings->skipContainerDataMigration());
}

TEST_F(ContainerMigrationTest, NothingHappensInsideFlatpakWithTheDataInsideTheContainerOrAnExistingDataFolder)
{
    makeContainer();
    const auto unchanged = [this] {
        EXPECT_TRUE(QFileInfo::exists(container() + "/data/Lanternwick/Lanternwick.plist"));
        EXPECT_FALSE(settings->skipContainerDataMigration());
        EXPECT_FALSE(settings->hasUserValue("ShowWelcomeWindow"));
    };
    qputenv("FLATPAK_ID", "com.mossharbour.Lanternwick2");
    migrations().migrateDatabaseOutOfCointainerIfNecessary();
    qunsetenv("FLATPAK_ID");
    unchanged();
    EXPECT_FALSE(QFileInfo::exists(dataFolder()));

    const QByteArray dataHome = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", (container() + "/data").toUtf8());
    migrations().migrateDatabaseOutOfCointainerIfNecessary();
    qputenv("XDG_DATA_HOME", dataHome);
    unchanged();

    QDir().mkpath(dataFolder());
    migrations().migrateDatabaseOutOfCointainerIfNecessary();
    unchanged();
}

TEST_F(ContainerMigrationTest, AnUnreadableFileKeepsTheContainerAndTheCheckRunsAgain)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root reads every file";
    makeContainer();
    writeFile(container() + "/cache/locked", "secret");
    QFile::setPermissions(container() + "/cache/locked", QFile::Permissions());
    migrations().migrateDatabaseOutOfCointainerIfNecessary();
    QFile::setPermissions(container() + "/cache/locked", QFile::ReadOwner | QFile::WriteOwner);
    EXPECT_TRUE(QFileInfo::exists(container() + "/data/Lanternwick/Lanternwick.plist"));
    EXPECT_TRUE(namesIn(dataFolder(), "com.mossharbour.Lanternwick2 *.zip").isEmpty());
    EXPECT_FALSE(settings->skipContainerDataMigration());
}

} // namespace
