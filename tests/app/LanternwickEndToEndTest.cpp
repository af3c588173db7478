// The built program on a login of its own: a temporary home, a private
// session bus that activates the login items service, a stored list of real
// helper programs, and settings for a short countdown and auto close.
#include "../keelhouse/PrivateBus.h"
#include "support/EndToEnd.h"
#include "support/ReadOnlyFolder.h"
#include "support/TestHome.h"

#include "foundation/UserDefaults.h"
#include "model/DBConditionalPreviousItem.h"
#include "model/DBDelayItem.h"
#include "model/DBFileItem.h"
#include "model/DBWaitPreviousItem.h"
#include "model/DBLoginGroup.h"
#include "model/DatabaseSerializer.h"
#include "model/ObjectContext.h"
#include "texts/Localizator.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>
#include <csignal>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <utility>

namespace {

class LanternwickEndToEndTest : public testing::Test {
protected:
    void SetUp() override
    {
        home = freshTestFolder("login");
        insertHomeFolders(environment, home);
        // The bus reads the activation files the program writes into its data folder.
        bus = std::make_unique<PrivateBus>(home + "/.local/share/dbus-1", environment);
        ASSERT_TRUE(bus->isRunning());
        environment.insert("DBUS_SESSION_BUS_ADDRESS", bus->address());
        // No logind, NetworkManager or UPower: every such service answers "unknown" at once.
        environment.insert("DBUS_SYSTEM_BUS_ADDRESS", bus->address());
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("LSAN_OPTIONS", "suppressions=" LW_LSAN_SUPPRESSIONS);
    }

    QString helper(const QString& name)
    {
        const QString path = home + "/bin/" + name;
        QDir().mkpath(home + "/bin");
        EXPECT_TRUE(QFile::copy(LW_TEST_TOUCH, path));
        return path;
    }
    static QString marker(const QString& program) { return program + ".ran"; }

    void writeSettings()
    {
        UserDefaults settings(home + "/.config/Lanternwick/Lanternwick.conf");
        settings.setIsLanternwickEnabled(true);
        settings.setIsItemsExecutionAfterLaunchEnabled(true);
        settings.setIsItemsExecutionOnManualLaunchEnabled(true);
        settings.setIsDelayBeforeItemsExecutionEnabled(true);
        settings.setDelayBeforeItemsExecution(1);
        settings.setIsDelayBetweenItemsDuringExecutionEnabled(false);
        settings.setIsAutoCloseAfterItemsExecutionEnabled(true);
        settings.setDelayBeforeAutoClosingAfterItemsExecution(1);
        settings.setShowWelcomeWindow(false);
        settings.setIsNotificationCenterEnabled(false);
        settings.setIsLoggingToFileEnabled(true);
        settings.setLoggingVerbosityLevel(3);
        settings.setFloat("Tweaking.Timings.MaxWaitForPreviousItemDelay", 2);
    }

    // first (a program), a delay of one second, second (a desktop entry),
    // a wait for it, a condition on it, third (a program).
    void writeDatabase()
    {
        const QString entry = home + "/applications/second.desktop";
        writeFile(entry, QStringLiteral("[Desktop Entry]\nType=Application\nName=Second\nExec=%1\n").arg(second).toUtf8());
        writeItems([&](ObjectContext& objects, const std::function<void(DBLoginItem*)>& append) {
            append(objects.createFileItemWithPath(first));
            append(objects.createDelayItemWithDelay(1));
            append(objects.createFileItemWithPath(entry));
            append(objects.createWaitPreviousItem());
            append(objects.createConditionalPreviousItemWithMode(ConditionalPreviousItemModeIfLaunched));
            append(objects.createFileItemWithPath(third));
        });
    }

    void startProgram(QProcess& process, const QStringList& arguments = {})
    {
        process.setProcessEnvironment(environment);
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(LANTERNWICK_PROGRAM, arguments);
        ASSERT_TRUE(process.waitForStarted(5000));
    }

    QString dataFolder() const { return home + "/.local/share/Lanternwick"; }
    QString storePath() const { return dataFolder() + "/Lanternwick.plist"; }

    void writeItems(const std::function<void(ObjectContext&, const std::function<void(DBLoginItem*)>&)>& fill)
    {
        ObjectContext objects(Localizator::shared());
        DBLoginGroup* group = objects.getOrCreateApplicationLoginGroup();
        int index = 0;
        fill(objects, [&](DBLoginItem* item) {
            item->setItemSortIndexValue(index++);
            item->setItemLoginGroup(group);
        });
        QDir().mkpath(dataFolder());
        DatabaseSerializer serializer(dataFolder(), "Lanternwick", Localizator::shared());
        Error error;
        ASSERT_TRUE(serializer.saveDatabaseFromManagedObjectContext(objects, &error)) << error.description().toStdString();
    }

    // Starts the program, waits until ready() holds of its output, then
    // sends signal; answers the output and how long the program took to end.
    struct Ending {
        QString output;
        bool ready = false;
        bool ended = false;
        qint64 milliseconds = -1;
        int exitCode = -1;
        QProcess::ExitStatus exitStatus = QProcess::CrashExit;
    };
    Ending endWithSignal(int signal, const std::function<bool(const QString&)>& ready, int settleMs = 0)
    {
        // Outlives the program, whose end may still deliver output.
        Ending ending;
        QProcess program;
        QObject::connect(&program, &QProcess::readyRead, [&] { ending.output += QString::fromUtf8(program.readAll()); });
        startProgram(program);
        ending.ready = waitFor([&] { return ready(ending.output); }, 60000);
        waitFor([] { return false; }, settleMs);
        QElapsedTimer sinceSignal;
        sinceSignal.start();
        ::kill(pid_t(program.processId()), signal);
        ending.ended = waitFor([&] { return program.state() == QProcess::NotRunning; }, 45000);
        ending.milliseconds = sinceSignal.elapsed();
        collectEnd(program, ending);
        return ending;
    }
    // Starts the program and lets it end by itself, as auto close ends a login run.
    Ending runToItsEnd()
    {
        // Outlives the program, whose end may still deliver output.
        Ending ending;
        QProcess program;
        QObject::connect(&program, &QProcess::readyRead, [&] { ending.output += QString::fromUtf8(program.readAll()); });
        startProgram(program);
        ending.ended = waitFor([&] { return program.state() == QProcess::NotRunning; }, 60000);
        collectEnd(program, ending);
        return ending;
    }
    // The rest of the output and how the program ended; one that did not end is killed.
    static void collectEnd(QProcess& program, Ending& ending)
    {
        ending.output += QString::fromUtf8(program.readAll());
        if (!ending.ended)
            program.kill();
        program.waitForFinished(5000);
        ending.exitCode = program.exitCode();
        ending.exitStatus = program.exitStatus();
    }
    // Ends well within what a logout waits, and long before the step it was
    // in would have ended (a minute), with status 0 and no sanitizer report.
    // The bound is loose: a sanitizer build under a full parallel run is slow.
    static void expectCleanEnd(const Ending& ending, qint64 boundMs)
    {
        const std::string output = ending.output.toStdString();
        EXPECT_TRUE(ending.ready) << output;
        ASSERT_TRUE(ending.ended) << output;
        EXPECT_LT(ending.milliseconds, boundMs) << output;
        EXPECT_EQ(ending.exitStatus, QProcess::NormalExit) << output;
        EXPECT_EQ(ending.exitCode, 0) << output;
        for (const char* report : { "AddressSanitizer", "LeakSanitizer", "runtime error:", "ThreadSanitizer" })
            EXPECT_FALSE(ending.output.contains(QLatin1String(report))) << output;
    }
    // The files of the data folder but the lock of the copy that works on it.
    QStringList dataFiles() const
    {
        QStringList files = QDir(dataFolder()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
        files.removeAll("Lanternwick.lock");
        return files;
    }
    // The one log file of a start.
    QString logFile() const
    {
        const QString folder = home + "/.local/state/Lanternwick/log";
        const QStringList logs = QDir(folder).entryList(QDir::Files);
        EXPECT_EQ(logs.size(), 1);
        return logs.isEmpty() ? QString() : QString::fromUtf8(readFile(folder + "/" + logs.first()));
    }

    QString home;
    QProcessEnvironment environment;
    std::unique_ptr<PrivateBus> bus;
    QString first, second, third;
};

TEST_F(LanternwickEndToEndTest, ALoginRunsTheItemsInOrderAndQuitsByItself)
{
    first = helper("first");
    second = helper("second");
    third = helper("third");
    writeSettings();
    writeDatabase();

    // Outlives the program, whose end may still deliver output.
    QString output;
    QProcess program;
    QObject::connect(&program, &QProcess::readyRead, [&] { output += QString::fromUtf8(program.readAll()); });
    startProgram(program);
    ASSERT_TRUE(waitFor([&] { return output.contains("Application did finish launching"); }, 45000)) << output.toStdString();
    // A second start during the countdown brings the first forward and ends
    // at once; as a relaunch that finds another copy in charge, it leaves no
    // relaunch behind for the next login.
    UserDefaults(home + "/.config/Lanternwick/Lanternwick.conf").setIsLaunchAfterRestart(true);
    QProcess again;
    startProgram(again, { "--relaunch-after", QString::number(program.processId() + 100000) });
    ASSERT_TRUE(again.waitForFinished(45000)) << again.readAll().toStdString();
    EXPECT_EQ(again.exitStatus(), QProcess::NormalExit);
    const QString againOutput = QString::fromUtf8(again.readAll());
    EXPECT_EQ(again.exitCode(), 0) << againOutput.toStdString();
    EXPECT_FALSE(againOutput.contains("Starting initial processes")) << againOutput.toStdString();
    EXPECT_FALSE(UserDefaults(home + "/.config/Lanternwick/Lanternwick.conf").isLaunchAfterRestart());

    // Auto close ends the program by itself.
    const bool ended = waitFor([&] { return program.state() == QProcess::NotRunning; }, 45000);
    output += QString::fromUtf8(program.readAll());
    if (!ended)
        program.kill();
    ASSERT_TRUE(ended) << output.toStdString();
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains("Another start of the program asked this one to come forward")) << output.toStdString();

    // The helpers ran in the stored order, the delay between the first two.
    for (const QString& path : { first, second, third })
        ASSERT_TRUE(QFile::exists(marker(path))) << path.toStdString() << "\n" << output.toStdString();
    const QDateTime firstRan = QFileInfo(marker(first)).lastModified();
    const QDateTime secondRan = QFileInfo(marker(second)).lastModified();
    const QDateTime thirdRan = QFileInfo(marker(third)).lastModified();
    EXPECT_GE(firstRan.msecsTo(secondRan), 900);
    EXPECT_LE(secondRan, thirdRan);

    // The program's own entry was added to the session's list.
    EXPECT_TRUE(QFile::exists(home + "/.config/autostart/lanternwick.desktop"));

    const QString log = logFile();
    EXPECT_TRUE(log.contains("Starting initial processes...")) << log.toStdString();
    EXPECT_TRUE(log.contains("Auto close did end, terminating application...")) << log.toStdString();
    EXPECT_TRUE(log.contains("Terminating app on")) << log.toStdString();
}

// Without any system bus (no logind, NetworkManager or UPower) the items
// still run and the program quits by itself; what it cannot watch is said in
// main(), before the settings are read, and that line reaches the log file.
TEST_F(LanternwickEndToEndTest, WithoutASystemBusTheItemsRunAndTheFirstLinesReachTheLogFile)
{
    first = helper("first");
    writeSettings();
    writeItems([&](ObjectContext& objects, const std::function<void(DBLoginItem*)>& append) { append(objects.createFileItemWithPath(first)); });
    environment.insert("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=" + home + "/no-system-bus");

    const Ending ending = runToItsEnd();
    const QString& output = ending.output;
    ASSERT_TRUE(ending.ended) << output.toStdString();
    EXPECT_EQ(ending.exitCode, 0) << output.toStdString();
    EXPECT_TRUE(QFile::exists(marker(first))) << output.toStdString();
    const QString log = logFile();
    EXPECT_TRUE(log.contains("Wake from sleep cannot be watched")) << log.toStdString();
}

// With execution switched off the items stay put, but the session's list is
// still read: an entry nobody knows is reported and keeps the program open
// for the user, until the session ends it.
TEST_F(LanternwickEndToEndTest, AnUnknownEntryIsReportedEvenWithExecutionOff)
{
    first = helper("first");
    second = helper("second");
    third = helper("third");
    const QString stranger = helper("stranger");
    writeSettings();
    UserDefaults(home + "/.config/Lanternwick/Lanternwick.conf").setIsItemsExecutionAfterLaunchEnabled(false);
    writeDatabase();
    writeFile(home + "/.config/autostart/stranger.desktop",
              QStringLiteral("[Desktop Entry]\nType=Application\nName=Stranger\nExec=%1\n").arg(stranger).toUtf8());

    // Outlives the program, whose end may still deliver output.
    QString output;
    QProcess program;
    QObject::connect(&program, &QProcess::readyRead, [&] { output += QString::fromUtf8(program.readAll()); });
    startProgram(program);
    const bool reported = waitFor([&] { return output.contains(QRegularExpression("Found new system item .*stranger")); }, 45000);
    program.terminate();
    const bool ended = waitFor([&] { return program.state() == QProcess::NotRunning; }, 45000);
    output += QString::fromUtf8(program.readAll());
    if (!ended)
        program.kill();
    ASSERT_TRUE(reported) << output.toStdString();
    ASSERT_TRUE(ended) << output.toStdString();
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains("Terminating app on")) << output.toStdString();

    for (const QString& path : { first, second, third, stranger })
        EXPECT_FALSE(QFile::exists(marker(path))) << path.toStdString();
    EXPECT_TRUE(QFile::exists(home + "/.config/autostart/lanternwick.desktop"));
    EXPECT_TRUE(UserDefaults(home + "/.config/Lanternwick/Lanternwick.conf").lastBootTime().isValid());
}

// A script that counts its starts in "<script>.count", one line each.
QString countingScript(const QString& folder, const QString& name)
{
    const QString path = folder + "/" + name;
    writeFile(path, "#!/bin/sh\necho started >> \"$0.count\"\n");
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

qsizetype startsOf(const QString& script)
{
    return readFile(script + ".count").count('\n');
}

// Whether the run journal under home keeps the start of the item at path.
// A kill between a start and its line may start the item again: the kills
// of these tests wait for the line.
bool journaled(const QString& home, const QString& path)
{
    return readFile(home + "/.local/state/Lanternwick/RunJournal").contains(' ' + QFile::encodeName(path).toPercentEncoding("/") + " .");
}

// A kill (SIGKILL, a crash) during the login's run: the next start in the
// same login starts only what the killed run had not started, each once; a
// start after that runs nothing, and so does one that cannot tell its login,
// which leaves the stored login as it was.
TEST_F(LanternwickEndToEndTest, AKilledLoginRunGoesOnWithWhatItHadNotStarted)
{
    writeSettings();
    UserDefaults(home + "/.config/Lanternwick/Lanternwick.conf").setIsItemsExecutionOnManualLaunchEnabled(false);
    for (const char* variable : { "DISPLAY", "XDG_VTNR", "WAYLAND_DISPLAY" })
        environment.remove(variable);
    environment.insert("XDG_SESSION_ID", "lw-test-login");
    QStringList scripts;
    for (const char* name : { "one", "two", "three", "four" })
        scripts.append(countingScript(home + "/bin", name));
    writeItems([&](ObjectContext& objects, const std::function<void(DBLoginItem*)>& append) {
        append(objects.createFileItemWithPath(scripts[0]));
        append(objects.createDelayItemWithDelay(3));
        append(objects.createFileItemWithPath(scripts[1]));
        append(objects.createFileItemWithPath(scripts[2]));
        append(objects.createDelayItemWithDelay(1));
        append(objects.createFileItemWithPath(scripts[3]));
    });

    const Ending killed = endWithSignal(SIGKILL, [&](const QString&) { return startsOf(scripts[0]) == 1 && journaled(home, scripts[0]); });
    ASSERT_TRUE(killed.ready) << killed.output.toStdString();
    EXPECT_EQ(startsOf(scripts[1]), 0) << "killed during the delay";

    // The same login again: the run goes on, and auto close ends it.
    const Ending again = runToItsEnd();
    const QString& output = again.output;
    ASSERT_TRUE(again.ended) << output.toStdString();
    for (const QString& script : scripts)
        EXPECT_EQ(startsOf(script), 1) << script.toStdString() << "\n" << output.toStdString();
    EXPECT_TRUE(output.contains("was started earlier in this login, skipping")) << output.toStdString();

    const auto runsNothing = [&](const QString& why) {
        const Ending ending = endWithSignal(SIGTERM, [](const QString& log) { return log.contains("Execution is not allowed"); });
        expectCleanEnd(ending, 45000);
        for (const QString& script : scripts)
            EXPECT_EQ(startsOf(script), 1) << why.toStdString() << ": " << script.toStdString();
    };
    runsNothing("a later start in the same login");
    environment.remove("XDG_SESSION_ID");
    runsNothing("a start that cannot tell its login");
    EXPECT_EQ(UserDefaults(home + "/.config/Lanternwick/Lanternwick.conf").lastLoginSessionID(), QStringLiteral("lw-test-login"));
    environment.insert("XDG_SESSION_ID", "lw-test-login");
    runsNothing("the first login again");
}

// A wrapper that counts its starts and writes its pid, then execs a program
// that stays: the running process shows only that program, never the wrapper.
QString wrapperScript(const QString& folder, const QString& name)
{
    const QString path = folder + "/" + name;
    writeFile(path, "#!/bin/sh\necho started >> \"$0.count\"\necho $$ >> \"$0.pid\"\nexec sleep 120\n");
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

// A second start in the same login runs the list again (as the setting asks)
// and knows what the first one started through wrappers: by the process the
// first one journaled, by the desktop file it was launched from, and by the
// mark of its launch that a program it detached (setsid) carries.
TEST_F(LanternwickEndToEndTest, AProgramStartedThroughAWrapperIsNotStartedTwiceInALogin)
{
    writeSettings();
    environment.insert("XDG_SESSION_ID", "lw-wrapper-login");
    const QString bare = wrapperScript(home + "/bin", "bare-wrapper");
    const QString entryWrapper = wrapperScript(home + "/bin", "entry-wrapper");
    const QString entry = home + "/applications/wrapped.desktop";
    writeFile(entry, QStringLiteral("[Desktop Entry]\nType=Application\nName=Wrapped\nExec=%1\n").arg(entryWrapper).toUtf8());
    const QString detached = helper("detached");
    const QString detaching = home + "/bin/detaching";
    writeFile(detaching, "#!/bin/sh\necho started >> \"$0.count\"\nsetsid '" + detached.toUtf8() + "' --stay &\n");
    QFile::setPermissions(detaching, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    writeItems([&](ObjectContext& objects, const std::function<void(DBLoginItem*)>& append) {
        append(objects.createFileItemWithPath(bare));
        append(objects.createFileItemWithPath(entry));
        append(objects.createFileItemWithPath(detaching));
    });
    QString output;
    for (int start = 0; start < 2; ++start) {
        const Ending ending = runToItsEnd();
        output += ending.output;
        ASSERT_TRUE(ending.ended) << output.toStdString();
    }
    EXPECT_EQ(startsOf(bare), 1) << output.toStdString();
    EXPECT_EQ(startsOf(entryWrapper), 1) << output.toStdString();
    EXPECT_EQ(startsOf(detaching), 1) << output.toStdString();
    EXPECT_EQ(output.count("is already running, preventing execution"), 3) << output.toStdString();
    QFile::remove(marker(detached)); // lets it end

    // The programs the wrappers became, by the pids the journal kept.
    for (const QByteArray& line : readFile(home + "/.local/state/Lanternwick/RunJournal").split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.value(0) == "item" && fields.value(1).toLongLong() > 0)
            ::kill(static_cast<pid_t>(fields.value(1).toLongLong()), SIGTERM);
    }
}

// Logout (SIGTERM) at any moment of a login: during each timed step the
// program ends at once and cleanly, after saving the database.
enum class TimedStep { Countdown, DelayItem, WaitForPrevious, AutoClose, SystemItemsRequest };

class QuitDuringTimedStepTest : public LanternwickEndToEndTest, public testing::WithParamInterface<TimedStep> {};

std::string nameOfStep(const testing::TestParamInfo<TimedStep>& step)
{
    static const char* const names[] = { "Countdown", "DelayItem", "WaitForPrevious", "AutoClose", "SystemItemsRequest" };
    return names[static_cast<int>(step.param)];
}

// The log line after which the program sleeps in the step.
QString startOfStep(TimedStep step)
{
    switch (step) {
    case TimedStep::Countdown:
        return "DelayBeforeExecutionApplicationState starts";
    case TimedStep::DelayItem:
    case TimedStep::WaitForPrevious:
        return "ExecutingApplicationState starts";
    case TimedStep::AutoClose:
        return "AutoCloseApplicationState starts";
    case TimedStep::SystemItemsRequest:
        return "Reading system items...";
    }
    return {};
}

TEST_P(QuitDuringTimedStepTest, EndsAtOnceAfterItsQuitSteps)
{
    first = helper("first");
    third = helper("third");
    writeSettings();
    UserDefaults settings(home + "/.config/Lanternwick/Lanternwick.conf");
    const TimedStep step = GetParam();
    settings.setIsDelayBeforeItemsExecutionEnabled(step == TimedStep::Countdown);
    settings.setDelayBeforeItemsExecution(60);
    settings.setIsAutoCloseAfterItemsExecutionEnabled(step == TimedStep::AutoClose);
    settings.setDelayBeforeAutoClosingAfterItemsExecution(60);
    settings.setFloat("Tweaking.Timings.MaxWaitForPreviousItemDelay", 60);
    writeItems([&](ObjectContext& objects, const std::function<void(DBLoginItem*)>& append) {
        append(objects.createFileItemWithPath(first));
        append(step == TimedStep::WaitForPrevious ? static_cast<DBLoginItem*>(objects.createWaitPreviousItem())
                                                  : objects.createDelayItemWithDelay(step == TimedStep::DelayItem ? 60 : 0));
        append(objects.createFileItemWithPath(third));
    });
    const QByteArray stored = readFile(storePath());
    // A service that takes the requests and never answers keeps the read waiting.
    QDBusConnection squatter = QDBusConnection::connectToBus(bus->address(), "squatter");
    if (step == TimedStep::SystemItemsRequest) {
        ASSERT_TRUE(squatter.registerService("com.mossharbour.Lanternwick2.Keelhouse"));
    }

    const Ending ending = endWithSignal(SIGTERM, [&](const QString& output) { return output.contains(startOfStep(step)); }, 1500);
    QDBusConnection::disconnectFromBus("squatter");

    expectCleanEnd(ending, 30000);
    const std::string output = ending.output.toStdString();
    EXPECT_TRUE(ending.output.contains("Terminating app on")) << output;
    // A run changes nothing of the database: the quit leaves the store as it
    // was, and gives it the session backup it did not have yet.
    EXPECT_EQ(readFile(storePath()), stored) << output;
    EXPECT_EQ(readFile(storePath() + ".backup"), stored) << output;
    if (step == TimedStep::Countdown) {
        EXPECT_FALSE(QFile::exists(marker(first))) << output;
    }
    if (step == TimedStep::DelayItem || step == TimedStep::WaitForPrevious) {
        EXPECT_TRUE(QFile::exists(marker(first))) << output;
        EXPECT_FALSE(QFile::exists(marker(third))) << output;
    }
}

INSTANTIATE_TEST_SUITE_P(EachTimedStep, QuitDuringTimedStepTest,
                         testing::Values(TimedStep::Countdown, TimedStep::DelayItem, TimedStep::WaitForPrevious,
                                         TimedStep::AutoClose, TimedStep::SystemItemsRequest),
                         nameOfStep);

// The session's signals end the program while the dialog of a store that
// cannot be read is open: the dialog answers Quit, nothing is written,
// archived or restored.
TEST_F(LanternwickEndToEndTest, AQuitSignalDuringTheDatabaseFailureDialogLeavesTheFilesAsTheyAre)
{
    writeSettings();
    first = helper("first");
    writeItems([&](ObjectContext& objects, const std::function<void(DBLoginItem*)>& append) {
        append(objects.createFileItemWithPath(first));
    });
    const QByteArray stored = readFile(storePath());
    writeFile(storePath(), stored.left(stored.size() / 2));
    writeFile(storePath() + ".backup", stored);
    const QByteArray truncated = readFile(storePath());
    const QStringList files = dataFiles();

    for (const int signal : { SIGTERM, SIGINT, SIGHUP }) {
        const Ending ending = endWithSignal(signal, [](const QString& output) { return output.contains("Showing dialog"); });
        expectCleanEnd(ending, 30000);
        EXPECT_EQ(readFile(storePath()), truncated) << signal;
        EXPECT_EQ(readFile(storePath() + ".backup"), stored) << signal;
        EXPECT_EQ(dataFiles(), files) << signal;
        EXPECT_FALSE(QFile::exists(marker(first))) << signal;
    }
}

// A store that has no session backup (the last session changed nothing
// since the quit wrote none) gets one at the next quit, even without a
// change: a store that later fails to load has something to be restored from.
TEST_F(LanternwickEndToEndTest, AStartAndAQuitWithoutAChangeGiveAStoreItsSessionBackup)
{
    writeSettings();
    UserDefaults(home + "/.config/Lanternwick/Lanternwick.conf").setIsLanternwickEnabled(false);
    first = helper("first");
    writeItems([&](ObjectContext& objects, const std::function<void(DBLoginItem*)>& append) {
        append(objects.createFileItemWithPath(first));
    });
    const QByteArray stored = readFile(storePath());
    ASSERT_FALSE(QFile::exists(storePath() + ".backup"));

    const Ending ending = endWithSignal(SIGTERM, [](const QString& output) { return output.contains("Starting initial processes"); });
    expectCleanEnd(ending, 30000);
    EXPECT_EQ(readFile(storePath()), stored);
    EXPECT_EQ(readFile(storePath() + ".backup"), stored);
}

// A kill during the wait for an item: the next start in the same login
// neither waits out again the delay before it nor waits the whole limit for
// that item, which it started before the kill and which has ended since.
TEST_F(LanternwickEndToEndTest, AKilledLoginRunWaitsNeitherADelayAgainNorForAnItemThatEnded)
{
    writeSettings();
    UserDefaults settings(home + "/.config/Lanternwick/Lanternwick.conf");
    settings.setIsItemsExecutionOnManualLaunchEnabled(false);
    // Longer than a start may take: only an end of the wait by the item counts.
    settings.setFloat("Tweaking.Timings.MaxWaitForPreviousItemDelay", 120);
    environment.insert("XDG_SESSION_ID", "lw-wait-login");
    const QString one = countingScript(home + "/bin", "one");
    // Still launching while it sleeps.
    const QString two = wrapperScript(home + "/bin", "two");
    const QString three = countingScript(home + "/bin", "three");
    writeItems([&](ObjectContext& objects, const std::function<void(DBLoginItem*)>& append) {
        append(objects.createFileItemWithPath(one));
        append(objects.createDelayItemWithDelay(2));
        append(objects.createFileItemWithPath(two));
        append(objects.createWaitPreviousItem());
        append(objects.createFileItemWithPath(three));
    });

    const Ending killed = endWithSignal(SIGKILL, [&](const QString&) { return startsOf(two) == 1 && journaled(home, two); });
    ASSERT_TRUE(killed.ready) << killed.output.toStdString();
    // The program two became, by the pid it wrote.
    const pid_t sleeper = static_cast<pid_t>(readFile(two + ".pid").trimmed().toLongLong());
    ASSERT_GT(sleeper, 1);
    ::kill(sleeper, SIGTERM);
    // Gone, or left unreaped by a parent that does not collect its orphans.
    ASSERT_TRUE(waitFor([&] {
        const QByteArray stat = readFile(QStringLiteral("/proc/%1/stat").arg(sleeper));
        return stat.isEmpty() || stat.mid(stat.lastIndexOf(')') + 2, 1) == "Z";
    }, 10000));

    // Within runToItsEnd's bound only when the wait ends by the item.
    const Ending again = runToItsEnd();
    const QString& output = again.output;
    ASSERT_TRUE(again.ended) << output.toStdString();
    for (const QString& script : { one, two, three })
        EXPECT_EQ(startsOf(script), 1) << script.toStdString() << "\n" << output.toStdString();
    EXPECT_TRUE(output.contains("was waited out earlier in this login, skipping")) << output.toStdString();
    EXPECT_TRUE(output.contains("has ended, proceeding with next item")) << output.toStdString();
}

// Something in the journal's way, and a kill during the login's run: no item
// is lost, none runs twice. A folder in the journal's place is set aside, and
// the next start goes on with the run. A file in place of the state folder
// leaves the run unkept: the login is recorded as handled only when the run
// ends, so the next start in the same login runs the list again, and what
// still runs is not started twice.
TEST_F(LanternwickEndToEndTest, AKilledRunLosesNoItemWhateverIsInTheJournalsWay)
{
    writeSettings();
    UserDefaults(home + "/.config/Lanternwick/Lanternwick.conf").setIsItemsExecutionOnManualLaunchEnabled(false);
    const QString state = home + "/.local/state/Lanternwick";
    for (const auto& [obstacle, isKept] : { std::pair { "journal-folder", true }, std::pair { "state-file", false } }) {
        SCOPED_TRACE(obstacle);
        const QString login = QStringLiteral("lw-%1-login").arg(obstacle);
        environment.insert("XDG_SESSION_ID", login);
        QDir(state).removeRecursively();
        QFile::remove(state);
        if (isKept)
            ASSERT_TRUE(QDir().mkpath(state + "/RunJournal"));
        else
            writeFile(state, "not a folder");
        // Known running by the desktop file they were launched from.
        QStringList wrappers;
        QStringList entries;
        for (const char* name : { "one", "two", "three" }) {
            wrappers.append(wrapperScript(home + "/bin", QStringLiteral("%1-%2").arg(obstacle, name)));
            entries.append(home + QStringLiteral("/applications/%1-%2.desktop").arg(obstacle, name));
            writeFile(entries.constLast(), QStringLiteral("[Desktop Entry]\nType=Application\nName=%1\nExec=%2\n")
                                               .arg(name, wrappers.constLast()).toUtf8());
        }
        writeItems([&](ObjectContext& objects, const std::function<void(DBLoginItem*)>& append) {
            append(objects.createFileItemWithPath(entries[0]));
            append(objects.createDelayItemWithDelay(3));
            append(objects.createFileItemWithPath(entries[1]));
            append(objects.createFileItemWithPath(entries[2]));
        });

        const Ending killed = endWithSignal(SIGKILL, [&](const QString&) {
            // An unkept run has no line to wait for.
            return startsOf(wrappers[0]) == 1 && (!isKept || journaled(home, entries[0]));
        });
        ASSERT_TRUE(killed.ready) << killed.output.toStdString();
        EXPECT_EQ(killed.output.contains("should Lanternwick stop before this run ends, its next start runs the items again"), !isKept)
            << killed.output.toStdString();
        EXPECT_EQ(UserDefaults(home + "/.config/Lanternwick/Lanternwick.conf").lastLoginSessionID() == login, isKept);

        const Ending again = runToItsEnd();
        const QString& output = again.output;
        ASSERT_TRUE(again.ended) << output.toStdString();
        for (const QString& wrapper : wrappers)
            EXPECT_EQ(startsOf(wrapper), 1) << wrapper.toStdString() << "\n" << output.toStdString();
        EXPECT_TRUE(output.contains(isKept ? "was started earlier in this login, skipping" : "is already running, preventing execution"))
            << output.toStdString();
        EXPECT_EQ(UserDefaults(home + "/.config/Lanternwick/Lanternwick.conf").lastLoginSessionID(), login);
        // A later start in the login runs nothing.
        const Ending later = endWithSignal(SIGTERM, [](const QString& log) { return log.contains("Execution is not allowed"); });
        ASSERT_TRUE(later.ready) << later.output.toStdString();
        for (const QString& wrapper : wrappers)
            EXPECT_EQ(startsOf(wrapper), 1) << wrapper.toStdString() << "\n" << later.output.toStdString();

        // The programs the wrappers became, by the pids they wrote.
        for (const QString& wrapper : wrappers) {
            for (const QByteArray& line : readFile(wrapper + ".pid").split('\n')) {
                if (line.toLongLong() > 1)
                    ::kill(static_cast<pid_t>(line.toLongLong()), SIGTERM);
            }
        }
    }
}

// The same for the dialog of an old store that cannot be read, shown before
// the event loop runs.
TEST_F(LanternwickEndToEndTest, AQuitSignalDuringTheOldStoreDialogLeavesTheOldStoreAsItIs)
{
    writeSettings();
    const QByteArray garbage("not a database at all");
    writeFile(dataFolder() + "/Lanternwick.data", garbage);

    const Ending ending = endWithSignal(SIGTERM, [](const QString& output) { return output.contains("Showing dialog"); });
    expectCleanEnd(ending, 30000);
    EXPECT_EQ(readFile(dataFolder() + "/Lanternwick.data"), garbage);
    EXPECT_EQ(dataFiles(), QStringList { "Lanternwick.data" });
}

// Folder links that lead back into an applications folder (the user's and
// a system one), where GIO's walk of the folders never ends: the login runs
// its program and desktop entry items all the same and the program ends.
TEST_F(LanternwickEndToEndTest, FolderLinksThatLoopAmongTheApplicationsNeverHoldTheProgram)
{
    first = helper("first");
    second = helper("second");
    third = helper("third");
    const QString systemData = home + "/usr-share";
    environment.insert("XDG_DATA_DIRS", systemData);
    for (const QString& applications : { home + "/.local/share/applications", systemData + "/applications" }) {
        QDir().mkpath(applications);
        for (const char* link : { "/self1", "/self2" })
            ASSERT_TRUE(QFile::link(".", applications + link));
    }
    writeSettings();
    writeDatabase();

    const Ending ending = runToItsEnd();
    ASSERT_TRUE(ending.ended) << ending.output.toStdString();
    EXPECT_EQ(ending.exitCode, 0) << ending.output.toStdString();
    for (const QString& path : { first, second, third })
        EXPECT_TRUE(QFile::exists(marker(path))) << path.toStdString() << "\n" << ending.output.toStdString();
}

// Files in the way in the program's own folders: a link in the journal's
// place is not followed (its target stays as it was), a pipe is not waited
// on (the items run and a logout ends the program at once), and a pipe in
// place of the backup of a store that cannot be read does not keep the
// dialog from showing.
TEST_F(LanternwickEndToEndTest, ALinkOrAPipeInPlaceOfAFileIsNeitherFollowedNorWaitedOn)
{
    first = helper("first");
    writeSettings();
    writeItems([&](ObjectContext& objects, const std::function<void(DBLoginItem*)>& append) {
        append(objects.createFileItemWithPath(first));
    });
    const QString journal = home + "/.local/state/Lanternwick/RunJournal";
    const QString precious = home + "/precious";
    writeFile(precious, "precious user data");
    QDir().mkpath(QFileInfo(journal).path());
    ASSERT_EQ(::symlink(QFile::encodeName(precious).constData(), QFile::encodeName(journal).constData()), 0);
    const Ending linked = runToItsEnd();
    ASSERT_TRUE(linked.ended) << linked.output.toStdString();
    EXPECT_TRUE(QFile::exists(marker(first))) << linked.output.toStdString();
    EXPECT_EQ(readFile(precious), "precious user data");

    QFile::remove(journal);
    QFile::remove(marker(first));
    ASSERT_EQ(::mkfifo(QFile::encodeName(journal).constData(), 0600), 0);
    // A quit held up by the pipe would end only by the quit's own deadline,
    // with status 1; the time bound itself stays loose for a loaded machine.
    const Ending piped = endWithSignal(SIGTERM, [&](const QString&) { return QFile::exists(marker(first)); });
    expectCleanEnd(piped, 30000);

    const QByteArray stored = readFile(storePath());
    writeFile(storePath(), stored.left(stored.size() / 2));
    QFile::remove(storePath() + ".backup");
    ASSERT_EQ(::mkfifo(QFile::encodeName(storePath() + ".backup").constData(), 0600), 0);
    const Ending damaged = endWithSignal(SIGTERM, [](const QString& output) { return output.contains("Showing dialog"); });
    expectCleanEnd(damaged, 30000);
}

// The temporary files of writes that were killed (the program's in its data
// folder, the service's in the autostart folder) are gone after a start.
TEST_F(LanternwickEndToEndTest, AStartRemovesTheTemporaryFilesOfKilledWrites)
{
    first = helper("first");
    writeSettings();
    writeItems([&](ObjectContext& objects, const std::function<void(DBLoginItem*)>& append) {
        append(objects.createFileItemWithPath(first));
    });
    // No process has a number this high.
    const QString leftover = "lanternwick-999999999-aB3dE9";
    writeFile(dataFolder() + "/.Lanternwick.plist." + leftover, readFile(storePath()));
    writeFile(home + "/.config/autostart/.e0700.desktop." + leftover, "[Desktop Entry]\n");
    const Ending ending = runToItsEnd();
    ASSERT_TRUE(ending.ended) << ending.output.toStdString();
    EXPECT_FALSE(QFile::exists(dataFolder() + "/.Lanternwick.plist." + leftover)) << ending.output.toStdString();
    EXPECT_FALSE(QFile::exists(home + "/.config/autostart/.e0700.desktop." + leftover)) << ending.output.toStdString();
    for (const QString& folder : { dataFolder(), home + "/.config/autostart" })
        EXPECT_TRUE(QDir(folder).entryList({ "*lanternwick-*" }, QDir::Files | QDir::Hidden).isEmpty()) << folder.toStdString();
}

// The session's entries cannot be read: the items still run, and the window
// says why, with the path to mend, instead of "No New System Item"; it stays
// open for the user to read it.
class UnreadableSessionListTest : public LanternwickEndToEndTest {
protected:
    void expectSystemItemsPageSays(const QString& cause)
    {
        first = helper("first");
        writeSettings();
        writeItems([&](ObjectContext& objects, const std::function<void(DBLoginItem*)>& append) {
            append(objects.createFileItemWithPath(first));
        });
        const QString shownLine = "Showing why the session's login items could not be read";
        const Ending ending = endWithSignal(SIGTERM, [&](const QString& output) { return output.contains(shownLine); });
        expectCleanEnd(ending, 30000);
        const std::string output = ending.output.toStdString();
        const qsizetype shown = ending.output.indexOf(shownLine);
        const QString said = ending.output.mid(shown, ending.output.indexOf('\n', shown) - shown);
        EXPECT_TRUE(said.contains(cause)) << said.toStdString();
        EXPECT_TRUE(QFile::exists(marker(first))) << output;
        EXPECT_FALSE(ending.output.contains("Auto close did end")) << output;
    }
};

// Its socket is there, nobody listens.
TEST_F(UnreadableSessionListTest, AnUnreachableBusIsShownOnTheSystemItemsPage)
{
    const QString socketPath = home + "/dead-bus";
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    const QByteArray encoded = QFile::encodeName(socketPath);
    ASSERT_LT(size_t(encoded.size()), sizeof(address.sun_path));
    std::memcpy(address.sun_path, encoded.constData(), size_t(encoded.size()));
    const int dead = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_EQ(::bind(dead, reinterpret_cast<const sockaddr*>(&address), sizeof(address)), 0);
    ::close(dead);
    environment.insert("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + socketPath);
    expectSystemItemsPageSays("The session bus cannot be reached: Failed to connect to socket " + socketPath + ": Connection refused");
}

// Nothing says where a session bus would be, and none can be started.
TEST_F(UnreadableSessionListTest, NoSessionBusIsShownOnTheSystemItemsPage)
{
    for (const char* variable : { "DBUS_SESSION_BUS_ADDRESS", "DISPLAY", "WAYLAND_DISPLAY" })
        environment.remove(variable);
    environment.insert("XDG_RUNTIME_DIR", freshTestFolder("runtime-without-bus"));
    expectSystemItemsPageSays("There is no session bus (DBUS_SESSION_BUS_ADDRESS is not set)");
}

// A bus that does not look where the program writes the service file.
TEST_F(UnreadableSessionListTest, AServiceTheBusDoesNotKnowNamesItsServiceFile)
{
    bus = std::make_unique<PrivateBus>(home + "/other-bus");
    ASSERT_TRUE(bus->isRunning());
    environment.insert("DBUS_SESSION_BUS_ADDRESS", bus->address());
    environment.insert("DBUS_SYSTEM_BUS_ADDRESS", bus->address());
    expectSystemItemsPageSays("The login items service is not on the session bus, which does not read its service file " + home
                              + "/.local/share/dbus-1/services/com.mossharbour.Lanternwick2.Keelhouse.service");
}

// The data folder cannot be made: the dialog names the cause and the folder
// that failed, offers only to quit, and nothing is written.
TEST_F(LanternwickEndToEndTest, AnUnwritableHomeOrAFileInAFoldersPlaceIsNamedInTheDialog)
{
    writeSettings();
    const auto expectDialogSays = [&](const QString& cause) {
        const Ending ending = endWithSignal(SIGTERM, [](const QString& output) { return output.contains("Showing dialog"); });
        expectCleanEnd(ending, 30000);
        const qsizetype shown = ending.output.indexOf("Showing dialog");
        const QString said = ending.output.mid(shown, ending.output.indexOf("Quitting", shown) - shown);
        EXPECT_TRUE(said.contains(cause)) << said.toStdString();
        // Closed by the session, the dialog quits; nothing else is offered.
        EXPECT_TRUE(ending.output.contains("User chose to quit")) << ending.output.toStdString();
    };

    // A file where a folder on the way belongs.
    QDir(home + "/.local").removeRecursively();
    writeFile(home + "/.local", "not a folder");
    expectDialogSays("Cannot make the folder " + home + "/.local: Not a directory");
    QFile::remove(home + "/.local");

    // A home that cannot be written.
    const ReadOnlyFolder local(home + "/.local");
    if (!local.isReadOnly())
        GTEST_SKIP() << local.skipReason().toStdString();
    expectDialogSays("Cannot make the folder " + home + "/.local/share: " + local.cause());
    EXPECT_FALSE(QFileInfo::exists(dataFolder()));
}

} // namespace
