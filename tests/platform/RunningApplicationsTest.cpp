// Which items run: first on a /proc tree the test builds, then with real
// processes the test starts.
#include "WorkspaceTestEnvironment.h"
#include "platform/linux/LinuxWorkspace.h"
#include "platform/linux/ProcessTable.h"
#include "support/EndToEnd.h"
#include "support/TestHome.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QDir>
#include <QFile>
#include <QCoreApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace workspace_test;
using State = Workspace::ApplicationState;

namespace {

constexpr double kUptime = 1000.0;

class ProcessTreeTest : public testing::Test {
protected:
    void SetUp() override
    {
        root = freshTestFolder("proc-tree");
        proc = root + "/proc";
        writeFile(proc + "/uptime", QByteArray::number(kUptime, 'f', 2) + " 123.00\n");
        // Programs live in a real folder and are also reached through a link to it.
        QDir().mkpath(root + "/real");
        QFile::link(root + "/real", root + "/linked");
        for (const char* name : { "app", "young", "theirs" }) {
            writeFile(root + "/real/" + name, "program");
            QFile::setPermissions(root + "/real/" + name, QFile::ReadOwner | QFile::ExeOwner);
        }
    }

    struct Process {
        int pid = 0;
        // Where the kernel's exe link leads: the file, never a link to it.
        QString executable;
        QStringList commandLine;
        double ageSeconds = 5.0;
        uid_t uid = getuid();
        QByteArray state = "S";
        QByteArray name = "app";
        // The process whose thread it is; 0 for a process of its own.
        int threadOf = 0;
        int session = 7;
        // "NAME=value" each.
        QStringList environment {};
    };

    void add(const Process& process)
    {
        const QString folder = QStringLiteral("%1/%2").arg(proc).arg(process.pid);
        const int group = process.threadOf ? process.threadOf : process.pid;
        writeFile(folder + "/status", "Name:\tapp\nUmask:\t0022\nTgid:\t" + QByteArray::number(group) + "\nPid:\t"
                + QByteArray::number(process.pid) + "\nUid:\t" + QByteArray::number(process.uid) + "\t0\t0\t0\n");
        const qint64 startTicks = static_cast<qint64>((kUptime - process.ageSeconds) * static_cast<double>(sysconf(_SC_CLK_TCK)));
        // State, parent 1, group and session 7, fields 7 to 21, then the start time as field 22.
        writeFile(folder + "/stat", QByteArray::number(process.pid) + " (" + process.name + ") " + process.state + " 1 "
                + QByteArray::number(process.session) + ' ' + QByteArray::number(process.session)
                + QByteArray(" 0").repeated(15) + " " + QByteArray::number(startTicks) + QByteArray(" 0").repeated(10) + "\n");
        QFile::remove(folder + "/exe");
        QFile::link(process.executable, folder + "/exe");
        QByteArray arguments;
        for (const QString& argument : process.commandLine)
            arguments += argument.toUtf8() + '\0';
        writeFile(folder + "/cmdline", arguments);
        QByteArray environment;
        for (const QString& variable : process.environment)
            environment += QFile::encodeName(variable) + '\0';
        writeFile(folder + "/environ", environment);
        writeFile(folder + "/comm", process.name + "\n");
    }

    static qint64 ticksAtAge(double ageSeconds)
    {
        return static_cast<qint64>((kUptime - ageSeconds) * static_cast<double>(sysconf(_SC_CLK_TCK)));
    }

    QString entry(const QString& name, const QString& exec)
    {
        const QString path = root + "/entries/" + name + ".desktop";
        writeDesktopEntry(path, name, exec);
        return path;
    }

    QString root;
    QString proc;
};

TEST_F(ProcessTreeTest, TheTableReadsOnlyTheUsersLiveProcesses)
{
    add({ .pid = 101, .executable = root + "/real/app (deleted)", .commandLine = { "app", "two words", "" },
        .name = "evil) S 1 2 (name" });
    add({ .pid = 102, .executable = root + "/real/theirs", .commandLine = { "theirs" }, .uid = getuid() + 1 });
    add({ .pid = 103, .executable = root + "/real/app", .commandLine = { "app" }, .state = "Z" });
    QDir().mkpath(proc + "/self");
    QDir().mkpath(proc + "/104"); // ended while being read: nothing in it
    const ProcessTable table(proc, getuid());

    QList<qint64> pids = table.pids();
    std::sort(pids.begin(), pids.end());
    EXPECT_EQ(pids, (QList<qint64> { 101, 102, 103, 104 }));
    const std::optional<ProcessTable::Process> process = table.process(101);
    ASSERT_TRUE(process);
    EXPECT_EQ(process->parentPid, 1);
    EXPECT_EQ(process->session, 7);
    EXPECT_NEAR(process->ageSeconds, 5.0, 0.1);
    EXPECT_EQ(table.executable(101), root + "/real/app");
    EXPECT_EQ(table.commandLine(101), (QStringList { "app", "two words", "" }));
    EXPECT_FALSE(table.process(102));
    EXPECT_TRUE(table.process(103)->hasEnded);
    EXPECT_FALSE(process->hasEnded);
    EXPECT_FALSE(table.process(104));
    EXPECT_TRUE(table.executable(104).isEmpty());
    EXPECT_EQ(table.sessionMembers(7).size(), 1);
}

TEST_F(ProcessTreeTest, ProgramsMatchAsWrittenNeverThroughLinks)
{
    add({ .pid = 101, .executable = root + "/real/app", .commandLine = { root + "/real/app", "--option", "a file" } });
    add({ .pid = 102, .executable = root + "/real/theirs", .commandLine = { root + "/real/theirs" }, .uid = getuid() + 1 });
    add({ .pid = 103, .executable = root + "/real/young", .commandLine = { root + "/linked/young" }, .ageSeconds = 0.5 });
    const LinuxWorkspace workspace(proc);
    const std::unique_ptr<Workspace::RunningItems> running = workspace.runningItems();

    EXPECT_EQ(running->stateForItemAtPath(root + "/real/app/"), State::FinishedLaunching);
    EXPECT_EQ(running->stateForItemAtPath(root + "/linked/app"), State::NotRunning);
    EXPECT_EQ(running->stateForItemAtPath(root + "/linked/../linked/young"), State::Launching);
    EXPECT_EQ(running->stateForItemAtPath(root + "/real/young"), State::NotRunning);
    EXPECT_EQ(running->stateForItemAtPath(root + "/real/theirs"), State::NotRunning);
    EXPECT_EQ(running->stateForItemAtPath(QString()), State::NotRunning);
    EXPECT_EQ(running->stateForItemAtPath(entry("App", execQuoted(root + "/real/app") + " --option %U")),
        State::FinishedLaunching);
    // An entry is its program and the arguments before its first field code.
    EXPECT_EQ(running->stateForItemAtPath(entry("Other", execQuoted(root + "/real/app") + " --other %U")), State::NotRunning);
}

TEST_F(ProcessTreeTest, ALookAgainReadsOnlyWhatBeganOrEnded)
{
    add({ .pid = 101, .executable = root + "/real/app", .commandLine = { root + "/real/app" } });
    ProcessTable table(proc, getuid());
    table.refresh();
    EXPECT_EQ(table.processesRunning(root + "/real/app"), QList<qint64> { 101 });

    // A launcher begins, then becomes its program; the first process ends.
    add({ .pid = 102, .executable = root + "/real/young", .commandLine = { "launcher" } });
    table.refresh();
    EXPECT_EQ(table.processesRunning(root + "/real/young"), QList<qint64> { 102 });
    QFile::remove(proc + "/102/exe");
    QFile::link(root + "/real/app", proc + "/102/exe");
    writeFile(proc + "/102/cmdline", QFile::encodeName(root + "/real/app") + '\0');
    QDir(proc + "/101").removeRecursively();
    table.refresh();
    EXPECT_EQ(table.processesRunning(root + "/real/app"), QList<qint64> { 102 });
    EXPECT_TRUE(table.processesRunning(root + "/real/young").isEmpty());
    EXPECT_EQ(table.commandLine(102), QStringList { root + "/real/app" });
    QList<qint64> pids = table.pids();
    EXPECT_EQ(pids, QList<qint64> { 102 });
}

// Where the kernel tells the last process ID it gave out, a look reads only
// the numbers given out since: never the folder, whatever else runs.
TEST_F(ProcessTreeTest, ALookAgainReadsOnlyTheNumbersGivenOutSince)
{
    const QString lastPid = proc + "/sys/kernel/ns_last_pid";
    writeFile(lastPid, "101\n");
    add({ .pid = 101, .executable = root + "/real/app", .commandLine = { root + "/real/app" } });
    ProcessTable table(proc, getuid());
    table.refresh();
    EXPECT_EQ(table.processesRunning(root + "/real/app"), QList<qint64> { 101 });

    // Only a listing would find it: it took no new number.
    add({ .pid = 90, .executable = root + "/real/theirs", .commandLine = { root + "/real/theirs" } });
    add({ .pid = 102, .executable = root + "/real/app", .commandLine = { root + "/real/app" }, .threadOf = 101 });
    add({ .pid = 103, .executable = root + "/real/young", .commandLine = { root + "/real/young" } });
    // A thread of this program is told by its number alone, whatever else reads.
    add({ .pid = 104, .executable = root + "/real/young", .commandLine = { root + "/real/young" } });
    QDir().mkpath(proc + "/self/task/104");
    writeFile(lastPid, "104\n");
    table.refresh();
    EXPECT_EQ(table.processesRunning(root + "/real/young"), QList<qint64> { 103 });
    EXPECT_EQ(table.processesRunning(root + "/real/app"), QList<qint64> { 101 });
    EXPECT_FALSE(table.process(102)) << "a thread is not a process";
    EXPECT_FALSE(table.process(104)) << "nor is a thread of ours";
    EXPECT_TRUE(table.processesRunning(root + "/real/theirs").isEmpty());

    // An ended process is forgotten when it is read again.
    QDir(proc + "/101").removeRecursively();
    table.refresh();
    EXPECT_FALSE(table.currentProcess(101));
    EXPECT_TRUE(table.processesRunning(root + "/real/app").isEmpty());

    // Numbers that wrapped around: the folder is listed again.
    writeFile(lastPid, "50\n");
    table.refresh();
    EXPECT_EQ(table.processesRunning(root + "/real/theirs"), QList<qint64> { 90 });
    EXPECT_EQ(table.processesRunning(root + "/real/young"), QList<qint64> { 103 });
}

// A launcher seen before its setsid() and its exec is known, by the next
// look, as its program in a session of its own.
TEST_F(ProcessTreeTest, ALauncherSeenBeforeItLeadsItsSessionIsFoundInIt)
{
    const QString lastPid = proc + "/sys/kernel/ns_last_pid";
    writeFile(lastPid, "101\n");
    ProcessTable table(proc, getuid());
    table.refresh();

    add({ .pid = 102, .executable = root + "/real/young", .commandLine = { "launcher" } });
    writeFile(lastPid, "102\n");
    table.refresh();
    EXPECT_EQ(table.sessionMembers(7).size(), 1);
    add({ .pid = 102, .executable = root + "/real/app", .commandLine = { root + "/real/app" }, .session = 102 });
    table.refresh();
    EXPECT_EQ(table.processesRunning(root + "/real/app"), QList<qint64> { 102 });
    EXPECT_EQ(table.commandLine(102), QStringList { root + "/real/app" });
    ASSERT_EQ(table.sessionMembers(102).size(), 1);
    EXPECT_EQ(table.sessionMembers(102).first().pid, 102);
    EXPECT_TRUE(table.sessionMembers(7).isEmpty());

    // One that ends before its session is asked about is forgotten whole: a
    // later process given its number is read.
    add({ .pid = 103, .executable = root + "/real/young", .commandLine = { "launcher" } });
    writeFile(lastPid, "103\n");
    table.refresh();
    table.refresh();
    QDir(proc + "/103").removeRecursively();
    writeFile(lastPid, "50\n");
    table.refresh();
    EXPECT_TRUE(table.sessionMembers(7).isEmpty());
    add({ .pid = 103, .executable = root + "/real/young", .commandLine = { root + "/real/young" }, .session = 103 });
    writeFile(lastPid, "40\n");
    table.refresh();
    EXPECT_EQ(table.processesRunning(root + "/real/young"), QList<qint64> { 103 });
}

// What this program started the table takes as it was given: neither its
// owner nor its environment is read, only what it runs, at the next look.
TEST_F(ProcessTreeTest, WhatThisProgramStartedIsKnownAsItWasStarted)
{
    const QString lastPid = proc + "/sys/kernel/ns_last_pid";
    writeFile(lastPid, "101\n");
    ProcessTable table(proc, getuid());
    table.refresh();
    const QString item = entry("Started", execQuoted(root + "/real/young"));
    // Files that say otherwise, were they read.
    add({ .pid = 102, .executable = root + "/real/young", .commandLine = { root + "/real/young" }, .uid = getuid() + 1,
        .session = 7, .environment = { "LANTERNWICK_LAUNCHED_ITEM=/elsewhere" } });
    table.addStarted({ 102, ticksAtAge(0.5), item, item, "Execution" });
    writeFile(lastPid, "102\n");
    table.refresh();

    EXPECT_EQ(table.processesRunning(root + "/real/young"), QList<qint64> { 102 });
    EXPECT_EQ(table.markOf(102), item);
    EXPECT_EQ(table.processesLaunchedFrom(item), QList<qint64> { 102 });
    const std::optional<ProcessTable::Process> started = table.process(102);
    ASSERT_TRUE(started);
    EXPECT_EQ(started->parentPid, getpid());
    EXPECT_EQ(started->session, 102);
    EXPECT_NEAR(started->ageSeconds, 0.5, 0.1);
    // A table that knows the number already keeps what it read.
    add({ .pid = 103, .executable = root + "/real/app", .commandLine = { root + "/real/app" } });
    writeFile(lastPid, "103\n");
    table.refresh();
    table.addStarted({ 103, ticksAtAge(0.5), item, item, "Execution" });
    EXPECT_TRUE(table.markOf(103).isEmpty());
}

// What this program started is named after the thread that started it until
// its exec is done, then runs our launcher until the launcher replaces itself
// with the program; reading what it runs meanwhile would wait for an exec.
// Its name tells, and what it runs is read once the name is neither, at a
// later look. Only what we started is judged by its name.
TEST_F(ProcessTreeTest, WhatWeStartedIsReadOnceItsExecsAreDone)
{
    const QString launcher = root + "/real/lanternwick-launch";
    writeFile(launcher, "launcher");
    const QByteArray previous = qgetenv("GIO_LAUNCH_DESKTOP");
    qputenv("GIO_LAUNCH_DESKTOP", QFile::encodeName(launcher));
    const QString lastPid = proc + "/sys/kernel/ns_last_pid";
    writeFile(lastPid, "101\n");
    ProcessTable table(proc, getuid());
    table.refresh();
    const QString item = entry("Started", execQuoted(root + "/real/young"));
    // The link already leads to the program: were it read, it would be found.
    const auto started = [&](const QByteArray& name) {
        add({ .pid = 102, .executable = root + "/real/young", .commandLine = { launcher }, .name = name, .session = 102 });
    };
    started("Execution");
    table.addStarted({ 102, ticksAtAge(0.1), item, item, "Execution" });
    // Not ours: read as it is, whatever its name.
    add({ .pid = 103, .executable = root + "/real/app", .commandLine = { root + "/real/app" }, .name = "lanternwick-lau" });
    writeFile(lastPid, "103\n");
    for (const QByteArray name : { "Execution", "lanternwick-lau", "lanternwick-lau" }) {
        started(name);
        table.refresh();
        EXPECT_TRUE(table.processesRunning(root + "/real/young").isEmpty()) << name.constData();
        EXPECT_EQ(table.markOf(102), item);
    }
    EXPECT_EQ(table.processesRunning(root + "/real/app"), QList<qint64> { 103 });

    started("young");
    table.refresh();
    EXPECT_EQ(table.processesRunning(root + "/real/young"), QList<qint64> { 102 });
    EXPECT_EQ(table.markOf(102), item);
    if (previous.isNull())
        qunsetenv("GIO_LAUNCH_DESKTOP");
    else
        qputenv("GIO_LAUNCH_DESKTOP", previous);
}

// GIO names the entry in the environment of the process it launched, which
// its descendants inherit: only the process it names by its own pid is the
// entry's.
TEST_F(ProcessTreeTest, OnlyTheProcessGioLaunchedFromAnEntryIsThatEntry)
{
    const QString terminal = entry("Terminal", execQuoted(root + "/real/young"));
    const QString gioEntry = "GIO_LAUNCHED_DESKTOP_FILE=" + terminal;
    const QString app = root + "/real/app";
    add({ .pid = 201, .executable = app, .commandLine = { app }, .session = 201,
        .environment = { "A=1", gioEntry, "GIO_LAUNCHED_DESKTOP_FILE_PID=150" } });
    const LinuxWorkspace workspace(proc);
    EXPECT_EQ(workspace.applicationStateForItemAtPath(terminal), State::NotRunning);
    add({ .pid = 202, .executable = app, .commandLine = { app }, .session = 202,
        .environment = { "GIO_LAUNCHED_DESKTOP_FILE_PID=202", gioEntry } });
    EXPECT_EQ(workspace.applicationStateForItemAtPath(terminal), State::FinishedLaunching);
}

// A launch is its own process (by pid and start), the members of its session
// while it leads it, and what carries its mark and began while it was
// launching: never a later process given its number, nor what the user
// started from it once it had launched.
TEST_F(ProcessTreeTest, ALaunchIsItsProcessItsSessionWhileItLeadsItAndWhatItMarkedWhileLaunching)
{
    const QString app = root + "/real/app";
    QStringList items;
    for (const char* name : { "reused", "detached", "later", "member" })
        items.append(entry(name, execQuoted(root + "/real/young")));
    const auto mark = [](const QString& item) { return QStringList { "LANTERNWICK_LAUNCHED_ITEM=" + item }; };
    LinuxWorkspace workspace(proc);
    for (int item = 0; item < items.size(); ++item)
        workspace.rememberLaunch(items[item], 301 + 10 * item, ticksAtAge(40));
    // Its number leads the session of a later process, with a member.
    add({ .pid = 301, .executable = app, .commandLine = { app }, .ageSeconds = 10, .session = 301 });
    add({ .pid = 302, .executable = app, .commandLine = { app }, .ageSeconds = 9, .session = 301 });
    // Gone; what it detached runs in a session of its own.
    add({ .pid = 313, .executable = app, .commandLine = { app }, .ageSeconds = 35, .session = 313, .environment = mark(items[1]) });
    // Gone; begun from it 35 s after it, long after any wait for it.
    add({ .pid = 324, .executable = app, .commandLine = { app }, .ageSeconds = 5, .session = 324, .environment = mark(items[2]) });
    // Gone, and so the session it led: only the member it marked is its.
    add({ .pid = 332, .executable = app, .commandLine = { app }, .ageSeconds = 38, .session = 331, .environment = mark(items[3]) });
    add({ .pid = 333, .executable = app, .commandLine = { app }, .ageSeconds = 38, .session = 331 });

    const std::unique_ptr<Workspace::RunningItems> running = workspace.runningItems();
    EXPECT_EQ(running->stateForItemAtPath(items[0]), State::NotRunning);
    EXPECT_EQ(running->stateForItemAtPath(items[1]), State::FinishedLaunching);
    EXPECT_EQ(running->stateForItemAtPath(items[2]), State::NotRunning);
    EXPECT_EQ(running->stateForItemAtPath(items[3]), State::FinishedLaunching);
    QDir(proc + "/332").removeRecursively();
    EXPECT_EQ(workspace.applicationStateForItemAtPath(items[3]), State::NotRunning);
}

// Once a launch has been seen to have finished, what begins with its mark is
// no longer its.
TEST_F(ProcessTreeTest, WhatBeginsWithTheMarkOfALaunchSeenFinishedIsNotIt)
{
    const QString app = root + "/real/app";
    const QString terminal = entry("Terminal", execQuoted(root + "/real/young"));
    const QStringList mark { "LANTERNWICK_LAUNCHED_ITEM=" + terminal };
    LinuxWorkspace workspace(proc);
    workspace.rememberLaunch(terminal, 401, ticksAtAge(30));
    add({ .pid = 401, .executable = app, .commandLine = { app }, .ageSeconds = 30, .session = 401, .environment = mark });
    EXPECT_EQ(workspace.applicationStateForItemAtPath(terminal), State::FinishedLaunching);

    // Five seconds later the user starts a program from it, which detaches; then it ends.
    writeFile(proc + "/uptime", QByteArray::number(kUptime + 10, 'f', 2) + " 123.00\n");
    add({ .pid = 402, .executable = app, .commandLine = { app }, .ageSeconds = -5, .session = 402, .environment = mark });
    QDir(proc + "/401").removeRecursively();
    EXPECT_EQ(workspace.applicationStateForItemAtPath(terminal), State::NotRunning);
}

TEST_F(ProcessTreeTest, AnInterpreterRunsOnlyTheScriptOrCommandItIsGiven)
{
    const QString perl = QFileInfo(QStringLiteral("/usr/bin/perl")).canonicalFilePath();
    const QString shell = QFileInfo(QStringLiteral("/bin/sh")).canonicalFilePath();
    ASSERT_FALSE(perl.isEmpty());
    add({ .pid = 101, .executable = perl, .commandLine = { "perl", "-w", root + "/scripts/./tool.pl", "--quiet" } });
    add({ .pid = 102, .executable = shell, .commandLine = { "/bin/sh", "-c", "exec something" } });
    const LinuxWorkspace workspace(proc);
    const std::unique_ptr<Workspace::RunningItems> running = workspace.runningItems();

    EXPECT_EQ(running->stateForItemAtPath(entry("Tool", "perl -w " + execQuoted(root + "/scripts/tool.pl") + " %F")),
        State::FinishedLaunching);
    EXPECT_EQ(running->stateForItemAtPath(entry("Other", "perl -w " + execQuoted(root + "/scripts/other.pl"))),
        State::NotRunning);
    EXPECT_EQ(running->stateForItemAtPath(entry("Loud", "perl -w " + execQuoted(root + "/scripts/tool.pl") + " --loud")),
        State::NotRunning);
    EXPECT_EQ(running->stateForItemAtPath(entry("Perl", "perl")), State::NotRunning);
    EXPECT_EQ(running->stateForItemAtPath(entry("Shell", "env LANG=C sh -c \"exec something\"")), State::FinishedLaunching);
    EXPECT_EQ(running->stateForItemAtPath(entry("Else", "sh -c \"exec something else\"")), State::NotRunning);
    // A pipe named as the program is never opened to look for a "#!" line.
    const QString pipe = root + "/real/pipe";
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0700), 0);
    EXPECT_EQ(running->stateForItemAtPath(entry("Pipe", execQuoted(pipe))), State::NotRunning);
}

// A child's start, known from the clock read before it was started, is the
// start the kernel tells; so is one read where the clock moved on.
TEST(ChildStartTest, AChildsStartFromTheClockIsTheOneTheKernelTells)
{
    for (int child = 0; child < 50; ++child) {
        const qint64 before = ProcessTable::ticksNow("/proc");
        ASSERT_GE(before, 0);
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            pause();
            _exit(0);
        }
        const qint64 read = ProcessTable::startTicks("/proc", pid);
        EXPECT_EQ(ProcessTable::startTicksOfChild("/proc", pid, before), read);
        EXPECT_EQ(ProcessTable::startTicksOfChild("/proc", pid, before - 1), read);
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
    EXPECT_EQ(ProcessTable::ticksNow("/elsewhere"), -1);
}

// Real processes: shell scripts that keep running while their "stay" file is
// there (at most 30 s), and the copy of the test program.
class RunningProcessesTest : public testing::Test {
protected:
    void SetUp() override
    {
        folder = freshTestFolder("running-" + QString::fromUtf8(testing::UnitTest::GetInstance()->current_test_info()->name()));
        writeFile(stayPath(), "");
    }

    void TearDown() override
    {
        QFile::remove(stayPath());
        for (QProcess* process : processes) {
            process->waitForFinished(5000);
            delete process;
        }
    }

    QString stayPath() const { return folder + "/stay"; }

    QString writeScript(const QString& name)
    {
        const QString path = folder + "/" + name;
        writeStayingScript(path, stayPath());
        return path;
    }

    void start(const QString& program, const QStringList& arguments = {},
        const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment())
    {
        auto* process = new QProcess;
        process->setProcessEnvironment(environment);
        process->start(program, arguments);
        ASSERT_TRUE(process->waitForStarted()) << program.toStdString();
        processes.append(process);
    }

    // Whether the item is seen running, or not, within a few seconds.
    bool isSoonSeen(const QString& item, bool running) const
    {
        const QDeadlineTimer deadline(10000);
        while ((workspace.applicationStateForItemAtPath(item) != State::NotRunning) != running) {
            if (deadline.hasExpired())
                return false;
            QThread::msleep(20);
        }
        return true;
    }

    QString folder;
    QList<QProcess*> processes;
    LinuxWorkspace workspace;
};

TEST_F(RunningProcessesTest, AScriptRunningIsSeenButNotAnotherOfItsInterpreter)
{
    const QString running = writeScript("running.sh");
    const QString other = writeScript("other.sh");
    start(running);

    EXPECT_TRUE(isSoonSeen(running, true));
    EXPECT_EQ(workspace.applicationStateForItemAtPath(other), State::NotRunning);
    const QString entry = folder + "/running.desktop";
    writeDesktopEntry(entry, "Running", "sh " + execQuoted(running));
    EXPECT_NE(workspace.applicationStateForItemAtPath(entry), State::NotRunning);
}

TEST_F(RunningProcessesTest, AKeptCopyIsSeenRunningByTheCommandItRuns)
{
    const QString tool = writeScript("tool.sh");
    const QString copies = qEnvironmentVariable("XDG_DATA_HOME") + "/Lanternwick/AutostartEntries";
    writeDesktopEntry(copies + "/tool.desktop", "Tool", "sh " + execQuoted(tool) + " --quiet");
    writeDesktopEntry(copies + "/tool loud.desktop", "Tool", "sh " + execQuoted(tool) + " --loud");
    // Started as the session starts the entry the copy was made of.
    start("sh", { tool, "--quiet" });

    EXPECT_TRUE(isSoonSeen(copies + "/tool.desktop", true));
    EXPECT_EQ(workspace.applicationStateForItemAtPath(copies + "/tool loud.desktop"), State::NotRunning);
}

// A run reads its items' commands ahead, but an item is judged by what its
// entry says when it is asked about.
TEST_F(RunningProcessesTest, AnEntryRewrittenAfterItWasReadAheadIsJudgedByWhatItSaysNow)
{
    const QString first = writeScript("first.sh");
    const QString second = writeScript("second.sh");
    const QString entry = folder + "/tool.desktop";
    writeDesktopEntry(entry, "Tool", "sh " + execQuoted(first));
    start("sh", { second });
    const std::unique_ptr<Workspace::RunningItems> running = workspace.runningItems();
    running->expectItems({ entry, folder + "/missing.desktop" });
    EXPECT_EQ(running->stateForItemAtPath(entry), State::NotRunning);

    writeDesktopEntry(entry, "Tool", "sh " + execQuoted(second));

    const QDeadlineTimer deadline(10000);
    while (running->stateForItemAtPath(entry) == State::NotRunning && !deadline.hasExpired()) {
        QThread::msleep(20);
        running->refresh();
    }
    EXPECT_NE(running->stateForItemAtPath(entry), State::NotRunning);
    EXPECT_EQ(running->stateForItemAtPath(folder + "/missing.desktop"), State::NotRunning);
}

TEST_F(RunningProcessesTest, TwoEntriesOfOneProgramWithOtherArgumentsAreTwoItems)
{
    const OneProgramEntries entries = writeOneProgramEntries(folder);

    ASSERT_TRUE(workspace.openItemAtPath(entries.htop, {}).succeeded);
    ASSERT_FALSE(waitForRun(entries.program).isEmpty());
    EXPECT_NE(workspace.applicationStateForItemAtPath(entries.htop), State::NotRunning);
    EXPECT_EQ(workspace.applicationStateForItemAtPath(entries.mc), State::NotRunning);
    forgetRun(entries.program); // lets it end
}

// A program started by hand from one an entry opened inherits GIO's name of
// the entry, with the pid of the process GIO launched: it is not the entry.
// The launched process is, also once a wrapper has replaced itself with it.
TEST_F(RunningProcessesTest, AnInheritedDesktopFileNameDoesNotMakeTheEntryRunning)
{
    const QString entry = folder + "/terminal.desktop";
    writeDesktopEntry(entry, "Terminal", execQuoted(folder + "/terminal"));
    const QString byHand = writeScript("by-hand.sh");
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("GIO_LAUNCHED_DESKTOP_FILE", entry);
    environment.insert("GIO_LAUNCHED_DESKTOP_FILE_PID", QString::number(getpid()));
    start(byHand, {}, environment);
    ASSERT_TRUE(isSoonSeen(byHand, true));
    EXPECT_EQ(workspace.applicationStateForItemAtPath(entry), State::NotRunning);

    const QString wrapper = folder + "/wrapper.sh";
    writeFile(wrapper, "#!/bin/sh\nGIO_LAUNCHED_DESKTOP_FILE_PID=$$ exec '" + writeScript("launched.sh").toUtf8() + "'\n");
    QFile::setPermissions(wrapper, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    start(wrapper, {}, environment);
    EXPECT_TRUE(isSoonSeen(entry, true));
}

// A program an item detached (setsid) once the next item had started stays
// that item's: Launch Items Now again, or a later start of the application
// in the same login, does not open it twice.
TEST_F(RunningProcessesTest, AProgramAnItemDetachedStaysThatItemsBackToBackAndAfterARestart)
{
    const QString detached = folder + "/detached";
    installHelper(detached);
    const QString next = folder + "/next";
    installHelper(next);
    const QString launcher = folder + "/launcher.sh";
    writeFile(launcher, "#!/bin/sh\nwhile [ ! -e '" + next.toUtf8() + ".ran' ]; do sleep 0.05; done\nsetsid '"
            + detached.toUtf8() + "' --stay &\n");
    QFile::setPermissions(launcher, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    const Workspace::LaunchResult launched = workspace.openItemAtPath(launcher, {});
    ASSERT_TRUE(launched.succeeded);
    ASSERT_TRUE(workspace.openItemAtPath(next, {}).succeeded);
    ASSERT_FALSE(waitForRun(detached).isEmpty());
    ASSERT_TRUE(waitFor([&] {
        const std::optional<ProcessTable::Process> process = ProcessTable("/proc", getuid()).process(launched.pid);
        return !process || process->hasEnded;
    }, 10000));

    EXPECT_NE(workspace.applicationStateForItemAtPath(launcher), State::NotRunning);
    LinuxWorkspace restarted;
    restarted.rememberLaunch(launcher, launched.pid, launched.startTicks);
    EXPECT_NE(restarted.applicationStateForItemAtPath(launcher), State::NotRunning);
    forgetRun(detached); // lets it end
    EXPECT_TRUE(isSoonSeen(launcher, false));
}

// A launch's number, once it has ended, given to an unrelated session leader
// with a child: that session is not the launch's, whether the launch was
// made by this copy or journaled by an earlier one. The number is given out
// again in a pid namespace of the test's own, where the next one can be set.
TEST_F(RunningProcessesTest, ANumberGivenToAnotherSessionLeaderIsNotTheLaunch)
{
    if (qEnvironmentVariable("LW_TEST_IN_PID_NAMESPACE") != QLatin1String("1")) {
        const QString unshare = QStandardPaths::findExecutable(QStringLiteral("unshare"));
        if (geteuid() != 0 || unshare.isEmpty())
            GTEST_SKIP() << "a pid namespace of the test's own needs root and unshare";
        const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
        QProcess inner;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("LW_TEST_IN_PID_NAMESPACE", "1");
        inner.setProcessEnvironment(environment);
        inner.setProcessChannelMode(QProcess::MergedChannels);
        inner.start(unshare, { "--pid", "--fork", "--mount-proc", QCoreApplication::applicationFilePath(),
                                 QStringLiteral("--gtest_filter=%1.%2").arg(test->test_suite_name(), test->name()) });
        ASSERT_TRUE(inner.waitForFinished(120000));
        const QString output = QString::fromUtf8(inner.readAll());
        if (output.startsWith(QLatin1String("unshare:")))
            GTEST_SKIP() << "no pid namespace here: " << output.toStdString();
        EXPECT_EQ(inner.exitCode(), 0) << output.toStdString();
        EXPECT_TRUE(output.contains("[  PASSED  ] 1 test")) << output.toStdString();
        return;
    }
    const QString item = folder + "/item";
    installHelper(item);
    const Workspace::LaunchResult launched = workspace.openItemAtPath(item, {});
    ASSERT_TRUE(launched.succeeded);
    ASSERT_FALSE(waitForRun(item).isEmpty());
    ASSERT_TRUE(waitFor([&] { return !QFileInfo::exists(QStringLiteral("/proc/%1").arg(launched.pid)); }, 10000));

    const QString child = folder + "/child";
    installHelper(child);
    writeFile("/proc/sys/kernel/ns_last_pid", QByteArray::number(launched.pid - 1));
    QProcess leader;
    leader.start("setsid", { "sh", "-c", "'" + child + "' --stay; :" });
    ASSERT_TRUE(leader.waitForStarted());
    ASSERT_EQ(leader.processId(), launched.pid);
    ASSERT_FALSE(waitForRun(child).isEmpty());

    EXPECT_EQ(workspace.applicationStateForItemAtPath(item), State::NotRunning);
    LinuxWorkspace restarted;
    restarted.rememberLaunch(item, launched.pid, launched.startTicks);
    EXPECT_EQ(restarted.applicationStateForItemAtPath(item), State::NotRunning);
    forgetRun(child); // lets it end
    EXPECT_TRUE(leader.waitForFinished());
}

// Polls as a run's wait does: one look kept for the run, looked at again four
// times a second, until the item has finished launching or the time is up.
State stateAfterWaiting(const Workspace& workspace, const QString& item, int limitMs, qint64* waitedMs)
{
    const std::unique_ptr<Workspace::RunningItems> running = workspace.runningItems();
    QElapsedTimer waited;
    waited.start();
    State state = State::NotRunning;
    while (state != State::FinishedLaunching && waited.elapsed() < limitMs) {
        QThread::msleep(250);
        running->refresh();
        state = running->stateForItemAtPath(item);
    }
    *waitedMs = waited.elapsed();
    return state;
}

TEST_F(RunningProcessesTest, AProgramWithoutWindowsHasLaunchedOnceIdleAndABusyOneNever)
{
    const QString quiet = folder + "/quiet";
    installHelper(quiet);
    const QString idle = folder + "/quiet.desktop";
    writeDesktopEntry(idle, "Quiet", execQuoted(quiet) + " --stay");
    const QString busy = folder + "/busy.sh";
    writeFile(busy, "#!/bin/sh\ni=0\nwhile [ -e '" + stayPath().toUtf8() + "' ] && [ $i -lt 30000000 ]; do i=$((i+1)); done\n");
    QFile::setPermissions(busy, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    ASSERT_TRUE(workspace.openItemAtPath(idle, {}).succeeded);
    qint64 waited = 0;
    EXPECT_EQ(stateAfterWaiting(workspace, idle, 20000, &waited), State::FinishedLaunching);
    forgetRun(quiet); // lets it end
    ASSERT_TRUE(workspace.openItemAtPath(busy, {}).succeeded);
    EXPECT_EQ(stateAfterWaiting(workspace, busy, 3000, &waited), State::Launching);
    EXPECT_GE(waited, 3000);
}

TEST_F(RunningProcessesTest, ALaunchedItemRunsOnInTheProcessesItLeftBehind)
{
    const QString child = folder + "/child";
    installHelper(child);
    const QString launcher = folder + "/launcher.sh";
    writeFile(launcher, "#!/bin/sh\necho $$ > '" + launcher.toUtf8() + ".pid'\n'" + child.toUtf8() + "' --stay &\n");
    QFile::setPermissions(launcher, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    ASSERT_TRUE(workspace.openItemAtPath(launcher, {}).succeeded);
    ASSERT_FALSE(waitForRun(child).isEmpty());
    QFile pidFile(launcher + ".pid");
    ASSERT_TRUE(pidFile.open(QIODevice::ReadOnly));
    const qint64 launcherPid = pidFile.readAll().trimmed().toLongLong();
    // Ended, whether or not the main loop has collected it yet.
    const auto launcherRuns = [&] {
        const std::optional<ProcessTable::Process> process = ProcessTable("/proc", getuid()).process(launcherPid);
        return process && !process->hasEnded;
    };
    const QDeadlineTimer deadline(10000);
    while (launcherRuns() && !deadline.hasExpired())
        QThread::msleep(20);
    ASSERT_FALSE(launcherRuns());

    EXPECT_NE(workspace.applicationStateForItemAtPath(launcher), State::NotRunning);
    forgetRun(child); // lets it end
    EXPECT_TRUE(isSoonSeen(launcher, false));
}

} // namespace
