#include "FakeDialogPresenter.h"
#include "TextsTestFixture.h"
#include "foundation/UserDefaults.h"
#include "support/TestHome.h"
#include "texts/DatabaseBackupReading.h"

#include <QFile>
#include <QHash>

namespace {

// Backups in a test folder; a file that exists but has no contents here
// cannot be read.
class FakeBackups : public DatabaseBackupReading {
public:
    explicit FakeBackups(QString folder)
        : m_folder(std::move(folder))
    {
    }
    QString applicationDatabasePath() const override { return m_folder; }
    QString applicationSessionBackupFilename() const override { return QStringLiteral("Lanternwick.plist.backup"); }
    QString applicationLastChangeBackupFilename() const override { return QStringLiteral("Lanternwick.plist.backup~"); }
    std::optional<QVariantMap> databaseContentsFromFile(const QString& path) const override
    {
        return contents.contains(path) ? std::optional<QVariantMap>(contents.value(path)) : std::nullopt;
    }

    QString session() const { return m_folder + "/" + applicationSessionBackupFilename(); }
    QString lastChange() const { return m_folder + "/" + applicationLastChangeBackupFilename(); }
    void write(const QString& path, const std::optional<QVariantMap>& database)
    {
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        if (database)
            contents.insert(path, *database);
    }

    QHash<QString, QVariantMap> contents;

private:
    QString m_folder;
};

QVariantMap database(const QVariantList& items, const QVariantList& conditions = {})
{
    return { { "version", 5 }, { "application", items }, { "conditions", conditions } };
}

} // namespace

class DialogsTest : public TextsTest {
protected:
    void SetUp() override
    {
        TextsTest::SetUp();
        folder = freshTestFolder(testing::UnitTest::GetInstance()->current_test_info()->name());
        defaults = std::make_unique<UserDefaults>(folder + "/settings.conf");
        texts.setUserDefaults(defaults.get());
    }

    QString folder;
    std::unique_ptr<UserDefaults> defaults;
    FakeDialogPresenter presenter;
};

TEST_F(DialogsTest, DisableConfirmationRemembersDontAskAgainWhateverTheButton)
{
    presenter.answer = { 1, true }; // Cancel with the box ticked
    EXPECT_FALSE(texts.runDisableLanternwickDialogWithItems(presenter));
    ASSERT_EQ(presenter.shown.size(), 1);
    EXPECT_EQ(presenter.shown[0].messageText, "Disable Lanternwick and add items to login items list in Startup Applications?");
    EXPECT_EQ(presenter.shown[0].buttons, QStringList({ "Disable", "Cancel" }));
    EXPECT_EQ(presenter.shown[0].suppressionTitle, "Don't ask again.");
    EXPECT_TRUE(defaults->skipDisableLanternwickDialog());

    // From now on it is confirmed without asking.
    EXPECT_TRUE(texts.runDisableLanternwickDialogWithItems(presenter));
    EXPECT_EQ(presenter.shown.size(), 1);
    EXPECT_FALSE(defaults->skipDeleteSystemItemsDialog());
}

TEST_F(DialogsTest, ConfirmationAnswersTheFirstButtonOnly)
{
    presenter.answer = { 0, false };
    EXPECT_TRUE(texts.runDeleteSystemItemsDialogWithItems(presenter, { "a", "b" }));
    presenter.answer = { -1, false };
    EXPECT_FALSE(texts.runDeleteSystemItemsDialogWithItems(presenter, { "a", "b" }));
    EXPECT_EQ(presenter.shown.size(), 2);
    EXPECT_FALSE(defaults->skipDeleteSystemItemsDialog());
}

TEST_F(DialogsTest, DeleteConfirmationNamesOneItemOrCountsThem)
{
    presenter.answer = { 0, true };
    EXPECT_TRUE(texts.runDeleteSystemItemsDialogWithItems(presenter, { "%1\n$HOME" }));
    ASSERT_EQ(presenter.shown.size(), 1);
    EXPECT_EQ(presenter.shown[0].messageText, "Delete %1\n$HOME from Startup Applications login items?");
    EXPECT_EQ(presenter.shown[0].informativeText,
              "If confirmed, %1\n$HOME will be deleted from Startup Applications and will not be started by Lanternwick "
              "or by Linux when you log in. This action is not undoable!");
    EXPECT_EQ(presenter.shown[0].buttons, QStringList({ "Delete", "Cancel" }));
    EXPECT_TRUE(defaults->skipDeleteSystemItemsDialog());

    defaults->setSkipDeleteSystemItemsDialog(false);
    presenter.answer = { 1, false };
    EXPECT_FALSE(texts.runDeleteSystemItemsDialogWithItems(presenter, {}));
    EXPECT_EQ(presenter.shown[1].messageText, "Delete 0 items from Startup Applications login items?");
}

TEST_F(DialogsTest, DatabaseDescriptionListsApplicationItems)
{
    const QVariantMap stored = database(
        { QVariantMap { { "type", "file" }, { "path", "/apps/Mail" }, { "conditions", QVariantList { 1, 0 } } },
          QVariantMap { { "type", "delay" }, { "delay", 5.0 } },
          QVariantMap { { "type", "waitPrevious" }, { "conditions", QVariantList { 7, -1, "x", 0 } } },
          QVariantMap { { "type", "conditionalPrevious" }, { "mode", 1 } },
          QVariantMap { { "type", "unknown" } }, QVariant("not a record") },
        { QVariantMap { { "name", "Work" } }, QVariantMap { { "name", "Shift %1" } } });
    EXPECT_EQ(texts.stringDescriptionFromDatabase(stored, *helpers),
              "• Name of /apps/Mail (Shift %1, Work)\n"
              "• [ 5 seconds delay ]\n"
              "• [ Wait previous item (Work) ]\n"
              "• [ Launch next item based on previous item ]\n");
    EXPECT_EQ(texts.stringDescriptionFromDatabase({}, *helpers), "");
}

TEST_F(DialogsTest, RestoreOffersNothingWithoutAReadableBackup)
{
    FakeBackups backups(folder);
    EXPECT_EQ(texts.runRestoreDatabaseDialog(presenter, backups, *helpers), std::nullopt);
    backups.write(backups.session(), std::nullopt);
    EXPECT_EQ(texts.runRestoreDatabaseDialog(presenter, backups, *helpers), std::nullopt);
    EXPECT_TRUE(presenter.shown.isEmpty());
    // Known contents without a file on disk do not count either.
    backups.contents.insert(backups.lastChange(), database({}));
    EXPECT_EQ(texts.runRestoreDatabaseDialog(presenter, backups, *helpers), std::nullopt);
    EXPECT_TRUE(presenter.shown.isEmpty());
}

TEST_F(DialogsTest, RestoreWithOneBackup)
{
    FakeBackups backups(folder);
    backups.write(backups.session(), database({ QVariantMap { { "type", "delay" }, { "delay", 1.0 } } }));
    backups.write(backups.lastChange(), std::nullopt); // unreadable: not offered
    presenter.answer = { 0, false };
    EXPECT_EQ(texts.runRestoreDatabaseDialog(presenter, backups, *helpers), backups.session());
    ASSERT_EQ(presenter.shown.size(), 1);
    EXPECT_EQ(presenter.shown[0].messageText, "Restore database from backup?");
    EXPECT_EQ(presenter.shown[0].informativeText,
              "You can restore database from last time Lanternwick was closed:\n\n• [ 1 second delay ]\n");
    EXPECT_EQ(presenter.shown[0].buttons, QStringList({ "Restore", "Cancel" }));
    EXPECT_TRUE(presenter.shown[0].suppressionTitle.isEmpty());

    presenter.answer = { 1, false };
    EXPECT_EQ(texts.runRestoreDatabaseDialog(presenter, backups, *helpers), std::nullopt);
}

TEST_F(DialogsTest, RestoreWithTwoBackups)
{
    FakeBackups backups(folder);
    const QVariantMap mail = database({ QVariantMap { { "type", "file" }, { "path", "/Mail" } } });
    backups.write(backups.session(), mail);
    backups.write(backups.lastChange(), mail);
    presenter.answer = { 0, false };
    EXPECT_EQ(texts.runRestoreDatabaseDialog(presenter, backups, *helpers), backups.lastChange());
    EXPECT_EQ(presenter.shown.last().informativeText,
              "Two backups are available, from last change and from last time Lanternwick was closed, but both contain "
              "the same data:\n\n• Name of /Mail\n");
    EXPECT_EQ(presenter.shown.last().buttons, QStringList({ "Restore", "Cancel" }));

    backups.write(backups.lastChange(), database({}));
    EXPECT_EQ(texts.runRestoreDatabaseDialog(presenter, backups, *helpers), backups.session());
    EXPECT_EQ(presenter.shown.last().informativeText,
              "Two backups are available:\n\nFrom last change:\n\nFrom last session - last time Lanternwick was "
              "closed:\n• Name of /Mail\n\nWhich one would you like to restore from?");
    EXPECT_EQ(presenter.shown.last().buttons, QStringList({ "Restore Last Session", "Restore Last Change", "Cancel" }));
    presenter.answer = { 1, false };
    EXPECT_EQ(texts.runRestoreDatabaseDialog(presenter, backups, *helpers), backups.lastChange());
    presenter.answer = { 2, false };
    EXPECT_EQ(texts.runRestoreDatabaseDialog(presenter, backups, *helpers), std::nullopt);
    presenter.answer = { 9, false };
    EXPECT_EQ(texts.runRestoreDatabaseDialog(presenter, backups, *helpers), std::nullopt);
}
