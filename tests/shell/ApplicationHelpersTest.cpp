// Names, the data folder, debug options, report texts, help and system times.
#include "support/ShellTest.h"
#include "../texts/FakeDialogPresenter.h"
#include "texts/Localizator.h"
#include "engine/ApplicationContext.h"
#include "model/ExecutionValidationParameters.h"
#include "foundation/Log.h"
#include "shell/ApplicationBundle.h"
#include "shell/HelpOpener.h"

#include <QFileInfo>

namespace {

using ApplicationHelpersTest = ShellTest;

TEST_F(ApplicationHelpersTest, NamesAndFilesDeriveFromTheCleanName)
{
    EXPECT_EQ(ApplicationBundle::cleanApplicationName("Lanternwick2"), "Lanternwick");
    EXPECT_EQ(ApplicationBundle::cleanApplicationName("Lanternwick 2"), "Lanternwick");
    EXPECT_EQ(ApplicationBundle::cleanApplicationName("Lantern wick"), "Lanternwick");
    EXPECT_EQ(ApplicationBundle::cleanApplicationName("2"), "2");

    ApplicationHelpers& helpers = start();
    helpers.setApplicationName("Lanternwick2");
    EXPECT_EQ(helpers.applicationBundleID(), "com.mossharbour.Lanternwick2");
    EXPECT_EQ(helpers.applicationVersion(), LW_VERSION);
    EXPECT_EQ(helpers.applicationDatabasePath(), dataFolder());
    EXPECT_EQ(helpers.applicationStoreFilenameForTextStorage(true), "Lanternwick.plist");
    EXPECT_EQ(helpers.applicationStoreFilenameForTextStorage(false), "Lanternwick.data");
    EXPECT_EQ(helpers.applicationSessionBackupFilename(), "Lanternwick.plist.backup");
    EXPECT_EQ(helpers.applicationLastChangeBackupFilename(), "Lanternwick.plist.backup~");
    EXPECT_EQ(helpers.logFilesPath(), testHome() + "/.local/state/Lanternwick/log");
}

TEST_F(ApplicationHelpersTest, BundleFindsItsFilesInTheBuildTreeAndInAnInstalledPrefix)
{
    const ApplicationBundle built(freshTestFolder("build/tests"));
    EXPECT_FALSE(built.pathForResource("FactoryDefaults.plist").isEmpty());
    EXPECT_TRUE(QFileInfo(built.keelhouseProgramPath()).isExecutable());

    const QString prefix = freshTestFolder("prefix");
    writeFile(prefix + "/share/lanternwick/FactoryDefaults.plist", "x");
    writeFile(prefix + "/libexec/lanternwick/keelhouse", "x");
    QFile::setPermissions(prefix + "/libexec/lanternwick/keelhouse", QFile::ReadOwner | QFile::ExeOwner);
    QDir().mkpath(prefix + "/bin");
    const ApplicationBundle installed(prefix + "/bin");
    EXPECT_EQ(installed.pathForResource("FactoryDefaults.plist"), prefix + "/share/lanternwick/FactoryDefaults.plist");
    EXPECT_EQ(installed.keelhouseProgramPath(), prefix + "/libexec/lanternwick/keelhouse");
    EXPECT_TRUE(installed.pathForResource("Missing.plist").isEmpty());
}

TEST_F(ApplicationHelpersTest, DataFolderIsCreatedForTheOwnerOnly)
{
    ApplicationHelpers& helpers = start();
    ASSERT_TRUE(helpers.initializeAppDataFolder());
    const QFileInfo folder(dataFolder());
    EXPECT_TRUE(folder.isDir());
    EXPECT_EQ(folder.permissions() & (QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther | QFile::WriteOther | QFile::ExeOther),
              QFile::Permissions());
    // Again: it is there.
    EXPECT_TRUE(helpers.initializeAppDataFolder());
}

// The user is told why, with the folder to mend, and can only quit: there is
// nothing to restore or delete.
TEST_F(ApplicationHelpersTest, DataFolderBlockedByAFileFailsWithItsCauseInTheDialog)
{
    writeFile(dataFolder(), "not a folder");
    EXPECT_FALSE(start().initializeAppDataFolder());
    EXPECT_EQ(start().managedObjectContext(), nullptr);
    ASSERT_TRUE(helpers->databaseInitializationError().has_value());
    EXPECT_EQ(helpers->databaseInitializationError()->recoveryOptions(),
              QStringList { Localizator::shared().errorForFailedDatabaseInitializationQuitButton() });
    FakeDialogPresenter presenter;
    presenter.answer.button = -1;
    EXPECT_FALSE(helpers->presentDatabaseInitializationError(presenter));
    EXPECT_TRUE(helpers->databaseInitializationUserChoseQuit());
    ASSERT_EQ(presenter.shown.size(), 1);
    const QString said = presenter.shown.first().informativeText;
    EXPECT_TRUE(said.contains("Cannot make the folder " + dataFolder() + ": Not a directory")) << said.toStdString();
    QFile::remove(dataFolder());
}

TEST_F(ApplicationHelpersTest, DebugOptions)
{
    QDir().mkpath(dataFolder());
    // Absent: no options, every one off.
    EXPECT_TRUE(start().debugOptions().isEmpty());

    // Valid: known Boolean keys only.
    ASSERT_TRUE(PropertyList::toFile(QVariantMap { { "PreventSave", true }, { "PreventFileItemExecution", false },
                                                   { "Unknown", true }, { "PreventDelayItemExecution", "yes" } },
                                     dataFolder() + "/DebugOptions.plist"));
    const QVariantMap options = start().debugOptions();
    EXPECT_EQ(options, (QVariantMap { { "PreventSave", true }, { "PreventFileItemExecution", false } }));
    // Kept for the process: a change of the file is seen at the next start.
    QFile::remove(dataFolder() + "/DebugOptions.plist");
    EXPECT_EQ(helpers->debugOptions(), options);

    // Hostile: no options, and read again at the next access.
    writeFile(dataFolder() + "/DebugOptions.plist", "<?xml version=\"1.0\"?><plist><dict><key>PreventSave</key>");
    ApplicationHelpers& hostile = start();
    EXPECT_TRUE(hostile.debugOptions().isEmpty());
    ASSERT_TRUE(PropertyList::toFile(QVariantList { true }, dataFolder() + "/DebugOptions.plist"));
    EXPECT_TRUE(hostile.debugOptions().isEmpty());
    ASSERT_TRUE(PropertyList::toFile(QVariantMap { { "PreventSave", true } }, dataFolder() + "/DebugOptions.plist"));
    EXPECT_EQ(hostile.debugOptions().value("PreventSave"), true);
}

TEST_F(ApplicationHelpersTest, ReportTextsTakeTheNewestLogFilesAndTheStore)
{
    ApplicationHelpers& helpers = start();
    EXPECT_EQ(helpers.contentsOfDatabase(), "");
    QDir(helpers.logFilesPath()).removeRecursively();
    EXPECT_EQ(helpers.contentsOfLastLogFiles(), "");

    for (int i = 1; i <= 4; ++i)
        writeFile(helpers.logFilesPath() + QString("/log-%1.txt").arg(i), QString("line %1").arg(i).toUtf8());
    EXPECT_EQ(helpers.contentsOfLastLogFiles(),
              "### log-4.txt ###\nline 4\n\n### log-3.txt ###\nline 3\n\n### log-2.txt ###\nline 2\n\n");

    // A file that is not UTF-8 text is skipped and does not count.
    writeFile(helpers.logFilesPath() + "/log-5.txt", QByteArray("\xff\xfe\x00", 3));
    EXPECT_EQ(helpers.contentsOfLastLogFiles(),
              "### log-4.txt ###\nline 4\n\n### log-3.txt ###\nline 3\n\n### log-2.txt ###\nline 2\n\n");

    writeFile(store(), "<plist/>");
    EXPECT_EQ(helpers.contentsOfDatabase(), "### database.xml ###\n<plist/>\n\n");
}

class RecordingHelpOpener : public HelpOpener {
public:
    bool openUrl(const QUrl& url) override
    {
        opened.append(url);
        return true;
    }
    QList<QUrl> opened;
};

TEST_F(ApplicationHelpersTest, HelpAnchorsNeverLeaveTheHelpFolder)
{
    ApplicationHelpers& helpers = start();
    EXPECT_FALSE(helpers.openHelpAnchor("anything")); // nothing to show it with
    auto opener = std::make_shared<RecordingHelpOpener>();
    helpers.setHelpOpener(opener);
    EXPECT_FALSE(helpers.openHelpAnchor("no-such-page"));
    EXPECT_FALSE(helpers.openHelpAnchor("../FactoryDefaults"));
    EXPECT_FALSE(helpers.openHelpAnchor("a/b"));
    EXPECT_FALSE(helpers.openHelpAnchor(""));
    EXPECT_TRUE(opener->opened.isEmpty());
}

TEST_F(ApplicationHelpersTest, BootAndLoginTimesComeFromTheSystem)
{
    ApplicationHelpers& helpers = start();
    EXPECT_FALSE(helpers.calculatedLoginTime().isValid());
    const QDateTime boot = QDateTime::fromSecsSinceEpoch(1700000000);
    times->setBootTime(boot);
    times->setLoginTime(boot.addSecs(30));
    EXPECT_EQ(helpers.calculatedBootTime(), boot);
    EXPECT_EQ(helpers.calculatedLoginTime(), boot.addSecs(30));
}

} // namespace

namespace {

TEST_F(ApplicationHelpersTest, EngineContextIsWiredToTheServiceObjectAndTheMachine)
{
    ApplicationHelpers& helpers = start();
    ApplicationContext& engine = helpers.applicationContext();
    EXPECT_EQ(&helpers.applicationContext(), &engine);
    EXPECT_EQ(engine.applicationHelpers(), &helpers);
    EXPECT_EQ(engine.modelObjectHelpers(), &helpers);
    EXPECT_EQ(engine.systemItemHelpers(), &helpers);
    ASSERT_NE(engine.managedObjectContext(), nullptr);
    EXPECT_EQ(engine.managedObjectContext(), helpers.managedObjectContext());

    const std::shared_ptr<MachineStateSource> source = ExecutionValidationParameters::defaultMachineStateSource();
    ASSERT_NE(source, nullptr);
    volumes->setMountedVolumes({ { "/media/disk", "disk", true } });
    EXPECT_EQ(source->attachedVolumesData().size(), 1);

    // A service object that goes away takes its machine source with it.
    this->helpers.reset();
    EXPECT_EQ(ExecutionValidationParameters::defaultMachineStateSource(), nullptr);
}

} // namespace
