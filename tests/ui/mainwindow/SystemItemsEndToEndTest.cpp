// The system items page on a login of its own: this test is the running
// program (its delegate, its chains and windows) on a temporary home, and the
// bus of the test starts the real login items service. Entries nobody knows
// appear on the page; taking one over stores it and the next reading removes
// it from the session's list; deleting one removes exactly its file.
#include "../../keelhouse/PrivateBus.h"
#include "support/EndToEnd.h"
#include "support/TestHome.h"

#include "foundation/UserDefaults.h"
#include "keelhouse/KeptDesktopEntries.h"
#include "model/DatabaseSerializer.h"
#include "model/DBFileItem.h"
#include "model/DBLoginGroup.h"
#include "model/ObjectContext.h"
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

// The paths the stored database lists in the application group.
QStringList storedApplicationPaths(const QString& dataFolder)
{
    ObjectContext objects(Localizator::shared());
    DatabaseSerializer serializer(dataFolder, "Lanternwick", Localizator::shared());
    Error error;
    if (!serializer.loadDatabaseToManagedObjectContext(objects, &error))
        return { "unreadable: " + error.description() };
    QStringList paths;
    for (DBLoginItem* item : objects.sortedLoginItemsForGroup(objects.getOrCreateApplicationLoginGroup()))
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
    QDir().mkpath(home + "/bin");
    for (const QString name : { "alpha", "beta", "gamma" }) {
        const QString program = home + "/bin/" + name;
        ASSERT_TRUE(QFile::copy(LW_TEST_TOUCH, program));
        programs.insert(name, program);
        writeFile(autostart + "/" + name + ".desktop",
                  QStringLiteral("[Desktop Entry]\nType=Application\nName=%1\nExec=%2\n").arg(name, program).toUtf8());
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
    const QString alphaCopy = KeptDesktopEntries(KeptDesktopEntries::folderInDataFolder(helpers.applicationDatabasePath())).pathForEntryFile("alpha.desktop");
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

    delegate.applicationWillTerminate();
}

} // namespace
