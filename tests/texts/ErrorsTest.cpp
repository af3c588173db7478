#include "TextsTestFixture.h"
#include "foundation/MHErrors.h"

#include <QDir>

using ErrorsTest = TextsTest;

TEST_F(ErrorsTest, DatabaseInitializationErrorsCarryTheirOptions)
{
    const QStringList options { "Quit and attempt manual recovery", "Delete database" };
    const Error oldStore = texts.errorForFailedCoreDataInitializationWithRecoveryAttempter(options);
    EXPECT_EQ(oldStore.domain(), "Lanternwick");
    EXPECT_EQ(oldStore.code(), MHErrors::MHErrorCodeCoreDataInitializationFailed);
    EXPECT_EQ(oldStore.description(), "Failed opening Lanternwick database!");
    EXPECT_EQ(oldStore.recoverySuggestion(), texts.simpleErrorRecoverySuggestionForFailedDatabaseInitialization());
    EXPECT_EQ(oldStore.recoveryOptions(), options);

    const Error withBackup = texts.errorForFailedTextStorageInitializationWithRecoveryAttempter(options, true);
    EXPECT_EQ(withBackup.code(), MHErrors::MHErrorCodeTextStorageInitializationFailed);
    EXPECT_TRUE(withBackup.recoverySuggestion().startsWith(
        "Database file seems to be corrupted. Would you like to restore it from last backup?\n\n"));
    EXPECT_EQ(withBackup.recoveryOptions(), options);
    const Error withoutBackup = texts.errorForFailedTextStorageInitializationWithRecoveryAttempter(options, false);
    EXPECT_EQ(withoutBackup.recoverySuggestion(), texts.simpleErrorRecoverySuggestionForFailedDatabaseInitialization());
}

TEST_F(ErrorsTest, RestoreErrorsWrapTheCause)
{
    const Error cause("Copy", 13, "Permission denied");
    const Error failed = texts.errorForFailedDatabaseRestoreWithUnderlyingError(cause);
    EXPECT_EQ(failed.domain(), Error::lanternwickDomain());
    EXPECT_EQ(failed.code(), MHErrors::MHErrorCodeDatabaseRestoreFailed);
    EXPECT_EQ(failed.description(), "Failed restoring data from backup!");
    EXPECT_EQ(failed.recoverySuggestion(), "Your data was not changed so you can continue using Lanternwick.");
    ASSERT_EQ(failed.underlyingErrors().size(), 1);
    EXPECT_TRUE(failed.underlyingErrors().first() == cause);

    const Error revert = texts.errorForFailedDatabaseRestoreRevertWithUnderlyingError(cause);
    EXPECT_EQ(revert.code(), MHErrors::MHErrorCodeDatabaseRestoreFailed);
    EXPECT_EQ(revert.description(), "Can't revert from failed data restore!");
    EXPECT_TRUE(revert.recoverySuggestion().contains("In folder: ~/.local/share/Lanternwick\n\n"));
    ASSERT_EQ(revert.underlyingErrors().size(), 1);
    EXPECT_TRUE(revert.underlyingErrors().first() == cause);
}

TEST_F(ErrorsTest, SuggestionsNameTheRealDataFolder)
{
    EXPECT_TRUE(texts.simpleErrorRecoverySuggestionForFailedDatabaseInitialization().endsWith(
        "from a backup such as Déjà Dup. If this doesn't work I can delete corrupted files and start from scratch "
        "(WARNING: you will have to rebuild your items list and startup conditions!)\n\n"
        "(path to database is ~/.local/share/Lanternwick)"));

    const QByteArray saved = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", "/srv/data with space");
    const QString elsewhere = texts.simpleErrorRecoverySuggestionForFailedDatabaseInitialization();
    qputenv("XDG_DATA_HOME", saved);
    EXPECT_TRUE(elsewhere.endsWith("(path to database is /srv/data with space/Lanternwick)")) << elsewhere.toStdString();
}

// Checked by whole characters: an emoji is shown as it is, not as two halves.
TEST_F(ErrorsTest, ARefusedNameShowsEveryCharacterItCanKeep)
{
    const QString name = QString::fromUcs4(U"Fire\U0001F525fox\a");
    EXPECT_EQ(texts.notificationTextForRefusedText(name),
              QString::fromUcs4(U"\"Fire\U0001F525fox\uFFFD\" holds control characters the database can't store, so it was not added or changed."));
}
