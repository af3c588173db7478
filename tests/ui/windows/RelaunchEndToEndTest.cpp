// A restore from the menu on a login of its own: this test is the running
// copy (its delegate, its windows, its single-instance name on a private
// bus), the built program is the copy the relaunch starts. The store ends up equal to the
// chosen backup, the new copy owns the name, and it does not run the items
// again.
#include "../../keelhouse/PrivateBus.h"
#include "support/EndToEnd.h"
#include "support/TestHome.h"

#include "foundation/UserDefaults.h"
#include "model/DBFileItem.h"
#include "model/DBLoginGroup.h"
#include "model/DatabaseSerializer.h"
#include "model/ObjectContext.h"
#include "shell/AppDelegate.h"
#include "shell/ApplicationCommands.h"
#include "shell/ApplicationHelpers.h"
#include "shell/ChainStarter.h"
#include "shell/SingleInstance.h"
#include "texts/DialogPresenter.h"
#include "texts/Localizator.h"
#include "ui/mainwindow/MainWindowController.h"
#include "ui/windows/ApplicationWindowControllers.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QMainWindow>
#include <QMenuBar>
#include <QProcess>
#include <QThread>
#include <csignal>
#include <gtest/gtest.h>

namespace {

class NoChains : public ChainStarter {
public:
    void startChain(const QList<Step>&, std::shared_ptr<ContextBatchInfo>) override {}
};

class ChooseFirst : public DialogPresenter {
public:
    Answer runModal(const Request&) override { return { 0, false }; }
};

// A database whose only item is the program at path.
void writeDatabase(const QString& folder, const QString& name, const QString& program)
{
    ObjectContext objects(Localizator::shared());
    DBFileItem* item = objects.createFileItemWithPath(program);
    item->setItemSortIndexValue(0);
    item->setItemLoginGroup(objects.getOrCreateApplicationLoginGroup());
    QDir().mkpath(folder);
    DatabaseSerializer serializer(folder, name, Localizator::shared());
    Error error;
    ASSERT_TRUE(serializer.saveDatabaseFromManagedObjectContext(objects, &error)) << error.description().toStdString();
}

TEST(RelaunchEndToEnd, ARestoreFromTheMenuHandsOverToANewCopyThatDoesNotRunTheItems)
{
    const QString home = testHome();
    const QString dataFolder = home + "/.local/share/Lanternwick";
    const QString store = dataFolder + "/Lanternwick.plist";
    const QString program = home + "/bin/restored";
    QDir().mkpath(home + "/bin");
    ASSERT_TRUE(QFile::copy(LW_TEST_TOUCH, program));
    const QString marker = program + ".ran";

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // The bus activates the login items service from the file the program writes.
    PrivateBus bus(home + "/.local/share/dbus-1", environment);
    ASSERT_TRUE(bus.isRunning());
    environment.insert("DBUS_SESSION_BUS_ADDRESS", bus.address());
    environment.insert("DBUS_SYSTEM_BUS_ADDRESS", bus.address());
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("LSAN_OPTIONS", "suppressions=" LW_LSAN_SUPPRESSIONS);

    {
        UserDefaults settings(UserDefaults::standardFilePath());
        settings.setIsLanternwickEnabled(true);
        settings.setIsItemsExecutionAfterLaunchEnabled(true);
        settings.setIsDelayBeforeItemsExecutionEnabled(false);
        settings.setIsAutoCloseAfterItemsExecutionEnabled(false);
        settings.setShowWelcomeWindow(false);
        settings.setIsNotificationCenterEnabled(false);
        settings.setLoggingVerbosityLevel(3);
    }
    // The backup holds the program; the store the user wants to leave does not.
    writeDatabase(home + "/backup", "Lanternwick", program);
    writeDatabase(dataFolder, "Lanternwick", home + "/bin/unchosen");
    QFile::remove(store + ".backup");
    ASSERT_TRUE(QFile::copy(home + "/backup/Lanternwick.plist", store + ".backup"));
    const QByteArray backup = readFile(store + ".backup");

    // The running copy.
    QDBusConnection connection = QDBusConnection::connectToBus(bus.address(), "running-copy");
    ApplicationHelpers helpers;
    auto instance = std::make_unique<SingleInstance>(helpers.applicationLockFilePath(), connection);
    ASSERT_EQ(instance->claim(), SingleInstance::Claim::Owned);
    NoChains chains;
    ApplicationWindowControllers windows(helpers, [&] { instance.reset(); });
    ChooseFirst dialogs;
    qint64 newCopy = 0;
    const QString newCopyOutput = home + "/new-copy.out";
    AppDelegate::Collaborators parts;
    parts.helpers = &helpers;
    parts.chains = &chains;
    parts.windows = &windows;
    parts.dialogs = &dialogs;
    parts.terminate = [&] { instance.reset(); };
    parts.startNewCopy = [&](QString* reason) {
        QProcess process;
        process.setProgram(LANTERNWICK_PROGRAM);
        process.setArguments({ "--relaunch-after", QString::number(QCoreApplication::applicationPid()) });
        process.setProcessEnvironment(environment);
        process.setStandardOutputFile(newCopyOutput);
        process.setStandardErrorFile(newCopyOutput + ".err");
        if (process.startDetached(&newCopy))
            return true;
        *reason = process.errorString();
        return false;
    };
    AppDelegate delegate(parts);
    windows.setApplicationDelegate(&delegate);
    ASSERT_NE(helpers.managedObjectContext(), nullptr);

    windows.prepareMainWindow();
    QCoreApplication::processEvents();
    auto* menuBar = static_cast<QMainWindow*>(windows.mainWindowController().window())->menuBar();
    auto* restore = menuBar->findChild<QAction*>(ApplicationCommands::restoreDatabaseFromBackup + "Action");
    ASSERT_NE(restore, nullptr);
    restore->trigger();
    ASSERT_GT(newCopy, 0);
    EXPECT_EQ(instance, nullptr);
    delegate.applicationWillTerminate();
    EXPECT_EQ(readFile(store), backup);

    const auto owner = [&] {
        const QDBusReply<uint> pid = connection.interface()->servicePid(SingleInstance::ServiceName);
        return pid.isValid() ? qint64(pid.value()) : qint64(0);
    };
    const bool owned = waitFor([&] { return owner() == newCopy; }, 60000);
    const bool settled = waitFor([&] { return readFile(newCopyOutput).contains("Relaunching..."); }, 60000);
    ::kill(pid_t(newCopy), SIGTERM);
    waitFor([&] { return !QFile::exists(QStringLiteral("/proc/%1").arg(newCopy)); }, 30000);
    const std::string output = readFile(newCopyOutput).toStdString() + readFile(newCopyOutput + ".err").toStdString();
    ASSERT_TRUE(owned) << output;
    ASSERT_TRUE(settled) << output;
    EXPECT_NE(output.find("We're relaunching"), std::string::npos) << output;
    EXPECT_FALSE(QFile::exists(marker));
    EXPECT_EQ(readFile(store), backup);
}

} // namespace
