// Saving: which backup a save makes, when it writes, and what stops it.
#include "FakeDBusService.h"
#include "support/FailingDatabaseFiles.h"
#include "support/ShellTest.h"
#include "foundation/MHInternalNotifications.h"
#include "model/DBDelayItem.h"
#include "model/DBFileItem.h"
#include "model/DBLoginGroup.h"
#include "model/DatabaseFiles.h"
#include "model/DatabaseSerializer.h"
#include "model/ObjectContext.h"
#include "texts/Localizator.h"

namespace {

class SavingTest : public ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        token = center.addObserver(MHInternalNotifications::MHDataDidSaveToDisk, nullptr, [this](const Notification&) { ++saves; });
    }

    ApplicationHelpers& startWithContext()
    {
        ApplicationHelpers& helpers = start();
        context = helpers.managedObjectContext();
        EXPECT_NE(context, nullptr);
        return helpers;
    }

    void addDelayItem(double delay)
    {
        DBDelayItem* item = context->createDelayItemWithDelay(delay);
        item->setItemLoginGroup(context->getOrCreateApplicationLoginGroup());
    }

    ObjectContext* context = nullptr;
    int saves = 0;
    NotificationCenter::Token token;
};

TEST_F(SavingTest, EditSavesKeepTheLastChangeAndQuitSavesKeepTheSession)
{
    ApplicationHelpers& first = startWithContext();
    addDelayItem(1);
    ASSERT_TRUE(first.saveDataToDiskUsingChangeBackup(true));
    const QByteArray sessionStart = readFile(store());
    EXPECT_EQ(saves, 1);
    EXPECT_FALSE(QFile::exists(lastChangeBackup())); // nothing was there to back up

    // A new session: the store as loaded is the session's starting point.
    ApplicationHelpers& second = startWithContext();
    addDelayItem(2);
    ASSERT_TRUE(second.saveDataToDiskUsingChangeBackup(true));
    EXPECT_EQ(readFile(lastChangeBackup()), sessionStart);
    const QByteArray afterEdit = readFile(store());
    EXPECT_NE(afterEdit, sessionStart);

    // Unchanged: nothing written, nothing posted.
    writeFile(store(), "not written again");
    ASSERT_TRUE(second.saveDataToDiskUsingChangeBackup(true));
    EXPECT_EQ(readFile(store()), "not written again");
    EXPECT_EQ(saves, 2);

    // Quitting without changes since the last save leaves the store as it
    // is, but still backs up the start of the session that changed it.
    ASSERT_TRUE(second.saveDataToDiskUsingChangeBackup(false));
    EXPECT_EQ(readFile(store()), "not written again");
    EXPECT_EQ(readFile(sessionBackup()), sessionStart);
    EXPECT_EQ(saves, 2);

    // With a change it writes both.
    QFile::remove(sessionBackup());
    addDelayItem(3);
    ASSERT_TRUE(second.saveDataToDiskUsingChangeBackup(false));
    EXPECT_NE(readFile(store()), afterEdit);
    EXPECT_EQ(readFile(sessionBackup()), sessionStart);
    EXPECT_EQ(saves, 3);
}

TEST_F(SavingTest, AQuitAfterASessionThatChangedNothingWritesNothing)
{
    ApplicationHelpers& first = startWithContext();
    addDelayItem(1);
    ASSERT_TRUE(first.saveDataToDiskUsingChangeBackup(false));
    const QByteArray stored = readFile(store());
    saves = 0;

    ApplicationHelpers& second = startWithContext();
    // What the session does not change stays as it is, rewritten or not:
    // the file is changed to show whether it is written again. The session
    // backup the store had is kept as it is.
    writeFile(store(), "not written again");
    writeFile(sessionBackup(), "kept");
    ASSERT_TRUE(second.saveDataToDiskUsingChangeBackup(false));
    EXPECT_EQ(readFile(store()), "not written again");
    EXPECT_EQ(readFile(sessionBackup()), "kept");
    EXPECT_EQ(saves, 0);

    addDelayItem(2);
    ASSERT_TRUE(second.saveDataToDiskUsingChangeBackup(false));
    EXPECT_TRUE(QFile::exists(store()));
    EXPECT_EQ(readFile(sessionBackup()), stored);
    EXPECT_EQ(saves, 1);
}

TEST_F(SavingTest, PreventSaveWritesNothingAndSaysSo)
{
    QDir().mkpath(dataFolder());
    ASSERT_TRUE(PropertyList::toFile(QVariantMap { { "PreventSave", true } }, dataFolder() + "/DebugOptions.plist"));
    ApplicationHelpers& helpers = startWithContext();
    addDelayItem(1);
    EXPECT_TRUE(helpers.saveDataToDiskUsingChangeBackup(true));
    EXPECT_TRUE(helpers.saveDataToDiskUsingChangeBackup(false));
    EXPECT_FALSE(QFile::exists(store()));
    EXPECT_EQ(saves, 0);
}

TEST_F(SavingTest, NothingSavesOverARestoredStoreBeforeTheRelaunch)
{
    ApplicationHelpers& helpers = startWithContext();
    addDelayItem(1);
    writeFile(store(), "restored");
    helpers.preventSavingUntilRelaunch();
    EXPECT_TRUE(helpers.saveDataToDiskUsingChangeBackup(true));
    EXPECT_TRUE(helpers.saveDataToDiskUsingChangeBackup(false));
    EXPECT_EQ(readFile(store()), "restored");
    EXPECT_FALSE(QFile::exists(sessionBackup()));
    EXPECT_EQ(saves, 0);
}

TEST_F(SavingTest, QuitAfterAFailedLoadLeavesTheUnreadableStore)
{
    writeFile(store(), "unreadable");
    ApplicationHelpers& helpers = start();
    ASSERT_EQ(helpers.managedObjectContext(), nullptr);
    EXPECT_TRUE(helpers.saveDataToDiskUsingChangeBackup(false));
    EXPECT_EQ(readFile(store()), "unreadable");
    EXPECT_EQ(saves, 0);
}

TEST_F(SavingTest, AFailedWriteIsRetriedByTheNextSave)
{
    bool failWrites = false;
    ApplicationHelpers& helpers = start();
    helpers.setDatabaseSerializer(std::make_unique<DatabaseSerializer>(dataFolder(), "Lanternwick", Localizator::shared(),
                                                                       std::make_unique<FailingDatabaseFiles>(&failWrites)));
    context = helpers.managedObjectContext();
    ASSERT_NE(context, nullptr);
    addDelayItem(1);

    failWrites = true;
    EXPECT_FALSE(helpers.saveDataToDiskUsingChangeBackup(true));
    EXPECT_FALSE(QFile::exists(store()));
    EXPECT_EQ(saves, 0);

    // Even with the context counting as saved, the file is behind: the next
    // edit save writes it.
    context->markSaved();
    failWrites = false;
    EXPECT_TRUE(helpers.saveDataToDiskUsingChangeBackup(true));
    EXPECT_TRUE(QFile::exists(store()));
    EXPECT_EQ(saves, 1);

    ApplicationHelpers& reloaded = start();
    ASSERT_NE(reloaded.managedObjectContext(), nullptr);
    EXPECT_EQ(reloaded.sortedLoginItemsForApplicationGroup().size(), 1);
}

// Two failed saves in a row must not leave the last good state only in the store.
TEST_F(SavingTest, SavesOverTheSizeLimitFailAndLeaveTheStoreAndTheLastChangeBackup)
{
    ApplicationHelpers& helpers = startWithContext();
    addDelayItem(1);
    ASSERT_TRUE(helpers.saveDataToDiskUsingChangeBackup(true));
    addDelayItem(2);
    ASSERT_TRUE(helpers.saveDataToDiskUsingChangeBackup(true));
    const QByteArray stored = readFile(store());
    const QByteArray backup = readFile(lastChangeBackup());
    helpers.setDatabaseSerializer(std::make_unique<DatabaseSerializer>(dataFolder(), "Lanternwick", Localizator::shared(),
                                                                       std::make_unique<DatabaseFiles>(stored.size() + 20)));

    context->createFileItemWithPath("/opt/" + QString(100, QLatin1Char('x')))->setItemLoginGroup(context->getOrCreateApplicationLoginGroup());
    EXPECT_FALSE(helpers.saveDataToDiskUsingChangeBackup(true));
    EXPECT_FALSE(helpers.saveDataToDiskUsingChangeBackup(true));
    EXPECT_EQ(readFile(store()), stored);
    EXPECT_EQ(readFile(lastChangeBackup()), backup);
    EXPECT_EQ(saves, 2);
}

TEST_F(SavingTest, AFailedSaveIsShownOncePerFailure)
{
    // The user turned notifications off: a lost edit is told all the same.
    settings->setBool(QStringLiteral("IsNotificationCenterEnabled"), false);
    FakeDBusService server;
    std::mutex mutex;
    QStringList shown;
    server.setMethod("/org/freedesktop/Notifications", "org.freedesktop.Notifications", "Notify", [&](const QDBusMessage& message) {
        std::lock_guard lock(mutex);
        shown.append(message.arguments().value(3).toString() + " / " + message.arguments().value(4).toString());
        return QVariantList { uint(1) };
    });
    const auto shownNow = [&] {
        std::lock_guard lock(mutex);
        return shown;
    };
    bool failWrites = true;
    ApplicationHelpers& helpers = start(std::make_shared<DesktopNotifications>(QDBusConnection::sessionBus(), "Lanternwick", server.serviceName()));
    helpers.setDatabaseSerializer(std::make_unique<DatabaseSerializer>(dataFolder(), "Lanternwick", Localizator::shared(),
                                                                       std::make_unique<FailingDatabaseFiles>(&failWrites)));
    context = helpers.managedObjectContext();
    ASSERT_NE(context, nullptr);

    addDelayItem(1);
    EXPECT_FALSE(helpers.saveDataToDiskUsingChangeBackup(true));
    addDelayItem(2);
    EXPECT_FALSE(helpers.saveDataToDiskUsingChangeBackup(false));
    ASSERT_EQ(shownNow().size(), 1);
    EXPECT_EQ(shownNow().first(), Localizator::shared().notificationTitleForFailedSave() + " / "
                                      + Localizator::shared().notificationTextForFailedSaveWithError(Error("Test", 1, "disk full")));

    failWrites = false;
    EXPECT_TRUE(helpers.saveDataToDiskUsingChangeBackup(true));
    failWrites = true;
    addDelayItem(3);
    EXPECT_FALSE(helpers.saveDataToDiskUsingChangeBackup(true));
    EXPECT_EQ(shownNow().size(), 2);
}

TEST_F(SavingTest, QuitRemovesOnlyTheKeptEntryCopiesNoItemUses)
{
    const QString kept = dataFolder() + "/AutostartEntries";
    for (const char* name : { "a.desktop", "b.desktop", "c.desktop", "d.desktop", "unsaved.desktop", "notes.txt" })
        writeFile(kept + "/" + QLatin1String(name), "[Desktop Entry]\n");
    writeFile(dataFolder() + "/elsewhere.desktop", "[Desktop Entry]\n");
    const auto addFileItem = [this, &kept](const QString& name, DBLoginGroup* group) {
        DBFileItem* item = context->createFileItemWithPath(name.startsWith('/') ? name : kept + "/" + name);
        item->setItemLoginGroup(group);
        return item;
    };

    // The store of the first session holds a and c; the second session
    // removes c, ignores b and quits: c is now only in the session backup.
    ApplicationHelpers& first = startWithContext();
    addFileItem("a.desktop", context->getOrCreateApplicationLoginGroup());
    DBFileItem* removed = addFileItem("c.desktop", context->getOrCreateApplicationLoginGroup());
    addFileItem(dataFolder() + "/elsewhere.desktop", context->getOrCreateApplicationLoginGroup());
    ASSERT_TRUE(first.saveDataToDiskUsingChangeBackup(true));
    ApplicationHelpers& second = startWithContext();
    removed = context->fetch<DBFileItem>([&](const DBFileItem& item) { return item.itemPath().endsWith("/c.desktop"); }).value(0);
    ASSERT_NE(removed, nullptr);
    context->deleteObject(removed);
    addFileItem("b.desktop", context->getOrCreateIgnoreLoginGroup());
    ASSERT_TRUE(second.saveDataToDiskUsingChangeBackup(false));
    context->deleteObject(context->fetch<DBFileItem>([&](const DBFileItem& item) { return item.itemPath().endsWith("/elsewhere.desktop"); }).value(0));
    addFileItem("unsaved.desktop", context->getOrCreateApplicationLoginGroup());

    second.removeUnusedKeptAutostartEntries();
    EXPECT_EQ(QDir(kept).entryList(QDir::Files, QDir::Name), QStringList({ "a.desktop", "b.desktop", "c.desktop", "notes.txt", "unsaved.desktop" }));
    EXPECT_TRUE(QFile::exists(dataFolder() + "/elsewhere.desktop"));
}

} // namespace
