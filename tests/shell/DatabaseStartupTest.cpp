// Loading the database at start, and the three ways out when it cannot be read.
#include "support/ShellTest.h"
#include "../texts/FakeDialogPresenter.h"
#include "model/DBFileItem.h"
#include "model/DBLoginGroup.h"
#include "model/DatabaseSerializer.h"
#include "model/ObjectContext.h"
#include "texts/Localizator.h"

#include <JlCompress.h>

namespace {

class DatabaseStartupTest : public ShellTest {
protected:
    // A store written by the program itself, holding one application item.
    QByteArray goodStore(const QString& itemPath)
    {
        QFile::remove(store());
        ApplicationHelpers& writer = start();
        ObjectContext* context = writer.managedObjectContext();
        DBFileItem* item = context->createFileItemWithPath(itemPath);
        item->setItemLoginGroup(context->getOrCreateApplicationLoginGroup());
        EXPECT_TRUE(writer.saveDataToDiskUsingChangeBackup(true));
        const QByteArray contents = readFile(store());
        helpers.reset();
        QFile::remove(store());
        QFile::remove(lastChangeBackup());
        return contents;
    }

    static QStringList applicationItemPaths(ObjectContext* context)
    {
        QStringList paths;
        for (DBLoginItem* item : context->sortedLoginItemsForGroup(context->getOrCreateApplicationLoginGroup()))
            paths.append(static_cast<DBFileItem*>(item)->itemPath());
        return paths;
    }

    const QByteArray corrupt = "<?xml version=\"1.0\"?><plist><dict><key>application</key>";
};

TEST_F(DatabaseStartupTest, MissingStoreGivesAnEmptyDatabaseWithBothGroups)
{
    ObjectContext* context = start().managedObjectContext();
    ASSERT_NE(context, nullptr);
    EXPECT_EQ(context->fetch<DBLoginGroup>().size(), 2);
    EXPECT_TRUE(applicationItemPaths(context).isEmpty());
    EXPECT_FALSE(context->hasChanges());
    EXPECT_EQ(helpers->managedObjectContext(), context);
}

TEST_F(DatabaseStartupTest, GoodStoreIsLoaded)
{
    writeFile(store(), goodStore("/usr/bin/true"));
    ObjectContext* context = start().managedObjectContext();
    ASSERT_NE(context, nullptr);
    EXPECT_EQ(applicationItemPaths(context), QStringList { "/usr/bin/true" });
}

TEST_F(DatabaseStartupTest, CorruptStoreOffersRestoreDeleteAndQuitInThatOrder)
{
    const Localizator& texts = Localizator::shared();
    writeFile(store(), corrupt);
    ApplicationHelpers& helpers = start();
    EXPECT_EQ(helpers.managedObjectContext(), nullptr);
    ASSERT_TRUE(helpers.databaseInitializationError().has_value());
    EXPECT_EQ(helpers.databaseInitializationError()->recoveryOptions(),
              (QStringList { texts.errorForFailedDatabaseInitializationDeleteButton(), texts.errorForFailedDatabaseInitializationQuitButton() }));

    writeFile(sessionBackup(), goodStore("/usr/bin/true"));
    writeFile(store(), corrupt);
    ApplicationHelpers& withBackup = start();
    EXPECT_EQ(withBackup.managedObjectContext(), nullptr);
    const Error error = *withBackup.databaseInitializationError();
    EXPECT_EQ(error.recoveryOptions(),
              (QStringList { "Restore", "Delete database", "Quit and attempt manual recovery" }));
    EXPECT_EQ(error.code(), texts.errorForFailedTextStorageInitializationWithRecoveryAttempter({}, true).code());
    EXPECT_EQ(error.recoverySuggestion(), texts.errorForFailedTextStorageInitializationWithRecoveryAttempter({}, true).recoverySuggestion());
}

TEST_F(DatabaseStartupTest, RestoreReplacesTheStoreWithTheSessionBackupAndLoadsIt)
{
    const QByteArray backup = goodStore("/usr/bin/true");
    writeFile(sessionBackup(), backup);
    writeFile(store(), corrupt);
    ApplicationHelpers& helpers = start();
    ASSERT_EQ(helpers.managedObjectContext(), nullptr);

    FakeDialogPresenter presenter;
    presenter.answer.button = 0;
    EXPECT_TRUE(helpers.presentDatabaseInitializationError(presenter));
    ASSERT_EQ(presenter.shown.size(), 1);
    EXPECT_EQ(presenter.shown[0].buttons, helpers.databaseInitializationError()->recoveryOptions());
    EXPECT_EQ(readFile(store()), backup);
    ASSERT_NE(helpers.managedObjectContext(), nullptr);
    EXPECT_EQ(applicationItemPaths(helpers.managedObjectContext()), QStringList { "/usr/bin/true" });
    EXPECT_FALSE(helpers.databaseInitializationUserChoseQuit());
}

TEST_F(DatabaseStartupTest, RestoreIsOfferedOnlyFromABackupThatLoads)
{
    const Localizator& texts = Localizator::shared();
    const QStringList deleteOrQuit { texts.errorForFailedDatabaseInitializationDeleteButton(), texts.errorForFailedDatabaseInitializationQuitButton() };
    for (const QByteArray& backup : { QByteArray("garbage"), corrupt.left(20),
                                      QByteArray("<?xml version=\"1.0\"?><plist><dict><key>application</key><string>x</string></dict></plist>") }) {
        writeFile(sessionBackup(), backup);
        writeFile(store(), corrupt);
        ApplicationHelpers& helpers = start();
        ASSERT_EQ(helpers.managedObjectContext(), nullptr);
        ASSERT_TRUE(helpers.databaseInitializationError().has_value());
        EXPECT_EQ(helpers.databaseInitializationError()->recoveryOptions(), deleteOrQuit) << backup.constData();
        EXPECT_EQ(readFile(store()), corrupt);
    }
}

TEST_F(DatabaseStartupTest, RestoreArchivesTheUnreadableStoreFirst)
{
    const QByteArray backup = goodStore("/usr/bin/true");
    writeFile(sessionBackup(), backup);
    writeFile(store(), corrupt);
    ApplicationHelpers& helpers = start();
    ASSERT_EQ(helpers.managedObjectContext(), nullptr);
    ASSERT_TRUE(helpers.attemptRecoveryFromDatabaseInitializationError(0));
    EXPECT_EQ(readFile(store()), backup);

    const QStringList archives = QDir(dataFolder()).entryList({ "com.mossharbour.Lanternwick2.CorruptedFilesBackup *.zip" });
    ASSERT_EQ(archives.size(), 1);
    const QString unpacked = freshTestFolder("unpacked-restore");
    JlCompress::extractDir(dataFolder() + "/" + archives[0], unpacked);
    EXPECT_EQ(readFile(unpacked + "/Lanternwick.plist"), corrupt);
    EXPECT_EQ(readFile(unpacked + "/Lanternwick.plist.backup"), backup);
}

TEST_F(DatabaseStartupTest, RestoreWithoutABackupFails)
{
    writeFile(sessionBackup(), goodStore("/usr/bin/true"));
    writeFile(store(), corrupt);
    ApplicationHelpers& helpers = start();
    ASSERT_EQ(helpers.managedObjectContext(), nullptr);
    QFile::remove(sessionBackup());
    EXPECT_FALSE(helpers.attemptRecoveryFromDatabaseInitializationError(0));
    EXPECT_EQ(readFile(store()), corrupt);
}

TEST_F(DatabaseStartupTest, DeleteArchivesTheStoreAndItsBackupsAndRemovesOnlyTheStore)
{
    writeFile(store(), corrupt);
    writeFile(sessionBackup(), "session");
    writeFile(lastChangeBackup(), "last change");
    writeFile(dataFolder() + "/Other.plist", "not ours");
    ApplicationHelpers& helpers = start();
    ASSERT_EQ(helpers.managedObjectContext(), nullptr);
    EXPECT_TRUE(helpers.attemptRecoveryFromDatabaseInitializationError(0));

    // The backups stay for a restore from the menu.
    EXPECT_FALSE(QFile::exists(store()));
    EXPECT_EQ(readFile(sessionBackup()), "session");
    EXPECT_EQ(readFile(lastChangeBackup()), "last change");
    EXPECT_TRUE(QFile::exists(dataFolder() + "/Other.plist"));
    const QStringList archives = QDir(dataFolder()).entryList({ "com.mossharbour.Lanternwick2.CorruptedFilesBackup *.zip" });
    ASSERT_EQ(archives.size(), 1);
    const QString archive = dataFolder() + "/" + archives[0];
    QStringList names = JlCompress::getFileList(archive);
    names.sort();
    EXPECT_EQ(names, (QStringList { "Lanternwick.plist", "Lanternwick.plist.backup", "Lanternwick.plist.backup~" }));
    const QString unpacked = freshTestFolder("unpacked");
    JlCompress::extractDir(archive, unpacked);
    EXPECT_EQ(readFile(unpacked + "/Lanternwick.plist"), corrupt);

    // The next access starts from scratch.
    ObjectContext* context = helpers.managedObjectContext();
    ASSERT_NE(context, nullptr);
    EXPECT_TRUE(applicationItemPaths(context).isEmpty());

    // A second failure gets an archive of its own.
    writeFile(store(), corrupt);
    ApplicationHelpers& again = start();
    ASSERT_EQ(again.managedObjectContext(), nullptr);
    EXPECT_TRUE(again.attemptRecoveryFromDatabaseInitializationError(0));
    EXPECT_EQ(QDir(dataFolder()).entryList({ "*.zip" }).size(), 2);
}

TEST_F(DatabaseStartupTest, QuitIsRememberedAndRecoversNothing)
{
    writeFile(store(), corrupt);
    ApplicationHelpers& helpers = start();
    ASSERT_EQ(helpers.managedObjectContext(), nullptr);
    FakeDialogPresenter presenter;
    presenter.answer.button = 1;
    EXPECT_FALSE(helpers.presentDatabaseInitializationError(presenter));
    EXPECT_TRUE(helpers.databaseInitializationUserChoseQuit());
    EXPECT_EQ(readFile(store()), corrupt);
    // Closing the dialog without a choice is its cancel answer: quit.
    ApplicationHelpers& again = start();
    ASSERT_EQ(again.managedObjectContext(), nullptr);
    presenter.answer.button = -1;
    EXPECT_FALSE(again.presentDatabaseInitializationError(presenter));
    EXPECT_TRUE(again.databaseInitializationUserChoseQuit());
    EXPECT_EQ(readFile(store()), corrupt);
}

} // namespace
