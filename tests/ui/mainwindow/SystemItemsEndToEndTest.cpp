// The system items page on a login of its own: this test is the running
// program (its delegate, its chains and windows) on a temporary home, and the
// bus of the test starts the real login items service. Entries nobody knows
// appear on the page; taking one over stores it and the next reading removes
// it from the session's list; deleting one removes exactly its file; undo and
// redo of a move change the session's list with it.
#include "../../keelhouse/PrivateBus.h"
#include "support/EndToEnd.h"
#include "support/TestHome.h"

#include "foundation/UserDefaults.h"
#include "keelhouse/KeptDesktopEntries.h"
#include "model/DatabaseSerializer.h"
#include "model/DBFileItem.h"
#include "model/DBLoginGroup.h"
#include "model/ObjectContext.h"
#include "model/UndoManager.h"
#include "shell/AppDelegate.h"
#include "shell/ApplicationHelpers.h"
#include "shell/ContextChainStarter.h"
#include "texts/DialogPresenter.h"
#include "texts/Localizator.h"
#include "ui/base/AnimatedPlaceholderContext.h"
#include "ui/mainwindow/MainSystemViewController.h"
#include "ui/mainwindow/MainWindowController.h"
#include "ui/mainwindow/SystemItemsListModel.h"
#include "ui/windows/ApplicationWindowControllers.h"

#include <QProcessEnvironment>

// The program's parts run in this process: GIO's process-wide allocations
// are left out as in the program's own end-to-end runs.
extern "C" const char* __lsan_default_options();
extern "C" const char* __lsan_default_options()
{
    return "suppressions=" LW_LSAN_SUPPRESSIONS;
}

namespace {

class NoDialogs : public DialogPresenter {
public:
    Answer runModal(const Request&) override { return { -1, false }; }
};

// The paths the stored database lists in the application group, or in the ignored one.
QStringList storedApplicationPaths(const QString& dataFolder, bool ignored = false)
{
    ObjectContext objects(Localizator::shared());
    DatabaseSerializer serializer(dataFolder, "Lanternwick", Localizator::shared());
    Error error;
    if (!serializer.loadDatabaseToManagedObjectContext(objects, &error))
        return { "unreadable: " + error.description() };
    QStringList paths;
    DBLoginGroup* group = ignored ? objects.getOrCreateIgnoreLoginGroup() : objects.getOrCreateApplicationLoginGroup();
    for (DBLoginItem* item : objects.sortedLoginItemsForGroup(group))
        if (auto* file = dynamic_cast<DBFileItem*>(item))
            paths << file->itemPath();
    return paths;
}

TEST(SystemItemsEndToEnd, NewEntriesAreTakenOverAndDeletedThroughTheService)
{
    const QString home = testHome();
    const QString autostart = home + "/.config/autostart";
    QProcessEnvironment environment;
    environment.insert("LSAN_OPTIONS", "suppressions=" LW_LSAN_SUPPRESSIONS);
    // The bus activates the service from the file the program writes into its data folder.
    PrivateBus bus(home + "/.local/share/dbus-1", environment);
    ASSERT_TRUE(bus.isRunning());
    // Before anything in this process opens a bus. No logind, NetworkManager
    // or UPower there: every such service answers "unknown" at once.
    qputenv("DBUS_SESSION_BUS_ADDRESS", bus.address().toUtf8());
    qputenv("DBUS_SYSTEM_BUS_ADDRESS", bus.address().toUtf8());

    {
        UserDefaults settings(UserDefaults::standardFilePath());
        settings.setIsLanternwickEnabled(true);
        settings.setIsItemsExecutionAfterLaunchEnabled(false);
        settings.setShowWelcomeWindow(false);
        settings.setIsNotificationCenterEnabled(false);
        settings.setSkipDeleteSystemItemsDialog(true);
        settings.setLoggingVerbosityLevel(3);
    }
    QMap<QString, QString> programs;
    QMap<QString, QByteArray> entries;
    QDir().mkpath(home + "/bin");
    for (const QString name : { "alpha", "beta", "gamma" }) {
        const QString program = home + "/bin/" + name;
        ASSERT_TRUE(QFile::copy(LW_TEST_TOUCH, program));
        programs.insert(name, program);
        entries.insert(name, QStringLiteral("[Desktop Entry]\nType=Application\nName=%1\nName[de]=%1 auf Deutsch\nExec=%2\n").arg(name, program).toUtf8());
        writeFile(autostart + "/" + name + ".desktop", entries.value(name));
    }

    ApplicationHelpers helpers;
    ContextChainStarter chains(helpers);
    ApplicationWindowControllers windows(helpers, [] {});
    NoDialogs dialogs;
    AppDelegate::Collaborators parts;
    parts.helpers = &helpers;
    parts.chains = &chains;
    parts.windows = &windows;
    parts.dialogs = &dialogs;
    parts.terminate = [] {};
    parts.startNewCopy = [](QString*) { return false; };
    AppDelegate delegate(parts);
    windows.setApplicationDelegate(&delegate);
    delegate.applicationWillFinishLaunching();
    delegate.applicationDidFinishLaunching();

    MainWindowController& window = windows.mainWindowController();
    MainSystemViewController* page = window.systemSubviewController();
    // The page is made when the reading ends.
    const auto shownNames = [&] {
        QStringList names;
        if (!page->itemsModel())
            return QString();
        for (const SystemItemData& item : page->itemsModel()->items())
            names << item.itemNiceDisplayName();
        names.sort();
        return names.join(' ');
    };
    const auto rowOf = [&](const QString& name) {
        const QList<SystemItemData>& items = page->itemsModel()->items();
        for (int row = 0; row < items.size(); ++row)
            if (items[row].itemNiceDisplayName() == name)
                return row;
        return -1;
    };
    const auto busLog = [&] { return readFile(bus.logPath()).toStdString(); };
    ASSERT_TRUE(waitFor([&] { return shownNames() == "alpha beta gamma"; }, 60000)) << shownNames().toStdString() << busLog();
    window.placeholderContext()->finishSlide();
    EXPECT_EQ(window.placeholderContext()->currentViewController(), page);

    // The item runs the entry's very command: our copy of the entry.
    const KeptDesktopEntries kept(KeptDesktopEntries::folderInDataFolder(helpers.applicationDatabasePath()));
    const QString alphaCopy = kept.pathForEntryFile("alpha.desktop");
    const QString gammaCopy = kept.pathForEntryFile("gamma.desktop");
    page->selectRows({ rowOf("alpha") });
    page->moveSelectedItemsToLanternwick();
    EXPECT_EQ(storedApplicationPaths(helpers.applicationDatabasePath()), QStringList({ alphaCopy }));
    ASSERT_TRUE(waitFor([&] { return !QFile::exists(autostart + "/alpha.desktop"); }, 60000)) << busLog();
    ASSERT_TRUE(waitFor([&] { return shownNames() == "beta gamma"; }, 60000)) << shownNames().toStdString();

    page->selectRows({ rowOf("beta") });
    page->deleteCurrentSelection();
    ASSERT_TRUE(waitFor([&] { return !QFile::exists(autostart + "/beta.desktop"); }, 60000)) << busLog();
    ASSERT_TRUE(waitFor([&] { return shownNames() == "gamma"; }, 60000)) << shownNames().toStdString();
    EXPECT_TRUE(QFile::exists(autostart + "/gamma.desktop"));
    EXPECT_TRUE(QFile::exists(autostart + "/lanternwick.desktop"));
    EXPECT_EQ(storedApplicationPaths(helpers.applicationDatabasePath()), QStringList({ alphaCopy }));
    for (const QString& program : programs)
        EXPECT_FALSE(QFile::exists(program + ".ran")) << program.toStdString();

    // Undo of the take-over gives the session its entry back as it was, and
    // the page shows it again; redo takes it over again.
    UndoManager& undo = helpers.managedObjectContext()->undoManager();
    ASSERT_TRUE(undo.canUndo());
    undo.undo();
    ASSERT_TRUE(waitFor([&] { return QFile::exists(autostart + "/alpha.desktop") && shownNames() == "alpha gamma"; }, 60000))
        << shownNames().toStdString() << busLog();
    EXPECT_EQ(readFile(autostart + "/alpha.desktop"), entries.value("alpha"));
    EXPECT_TRUE(storedApplicationPaths(helpers.applicationDatabasePath()).isEmpty());
    undo.redo();
    ASSERT_TRUE(waitFor([&] { return !QFile::exists(autostart + "/alpha.desktop") && shownNames() == "gamma"; }, 60000))
        << shownNames().toStdString() << busLog();

    // Undo of marking as ignored lists the entry again at once; the entry itself never changes.
    page->selectRows({ rowOf("gamma") });
    page->markSelectedItemsAsIgnored();
    EXPECT_EQ(shownNames(), "");
    undo.undo();
    ASSERT_TRUE(waitFor([&] { return shownNames() == "gamma"; }, 60000)) << busLog();
    undo.redo();
    ASSERT_TRUE(waitFor([&] { return shownNames() == ""; }, 60000)) << busLog();
    EXPECT_TRUE(QFile::exists(autostart + "/gamma.desktop"));
    undo.undo();
    undo.redo();
    ASSERT_TRUE(waitFor([&] { return storedApplicationPaths(helpers.applicationDatabasePath(), true) == QStringList { gammaCopy }; }, 60000));

    // After a quit, the files are what the last redo left.
    delegate.applicationWillTerminate();
    EXPECT_FALSE(QFile::exists(autostart + "/alpha.desktop"));
    EXPECT_EQ(readFile(autostart + "/gamma.desktop"), entries.value("gamma"));
    EXPECT_EQ(storedApplicationPaths(helpers.applicationDatabasePath()), QStringList({ alphaCopy }));
    EXPECT_EQ(storedApplicationPaths(helpers.applicationDatabasePath(), true), QStringList({ gammaCopy }));
}

} // namespace
