// Running applications read from a /proc tree the test builds.
#include "WorkspaceTestEnvironment.h"
#include "platform/CanonicalPath.h"
#include "platform/linux/LinuxWorkspace.h"
#include "support/TestHome.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace workspace_test;

namespace {

constexpr double kUptime = 1000.0;

class RunningApplicationsTest : public testing::Test {
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

    static void writeFile(const QString& path, const QByteArray& contents)
    {
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(contents);
    }

    void addProcess(int pid, uid_t uid, const QString& executable, double ageSeconds, const QByteArray& name = "app")
    {
        const QString folder = QStringLiteral("%1/%2").arg(proc).arg(pid);
        writeFile(folder + "/status", "Name:\tapp\nUmask:\t0022\nUid:\t" + QByteArray::number(uid) + "\t0\t0\t0\n");
        const qint64 startTicks = static_cast<qint64>((kUptime - ageSeconds) * static_cast<double>(sysconf(_SC_CLK_TCK)));
        // State, fields 4 to 21, then the start time as field 22.
        writeFile(folder + "/stat", QByteArray::number(pid) + " (" + name + ") S" + QByteArray(" 0").repeated(18) + " "
                + QByteArray::number(startTicks) + QByteArray(" 0").repeated(10) + "\n");
        QFile::link(executable, folder + "/exe");
    }

    QString root;
    QString proc;
};

TEST_F(RunningApplicationsTest, ListsTheUsersProcessesWithCanonicalExecutables)
{
    addProcess(101, getuid(), root + "/linked/app", 5.0, "evil) S 1 2 (name");
    addProcess(102, getuid() + 1, root + "/real/theirs", 5.0);
    addProcess(103, getuid(), root + "/real/young", 0.5);
    QDir().mkpath(proc + "/self");
    QDir().mkpath(proc + "/104"); // ended while being read: nothing in it

    const QList<Workspace::RunningApplication> running = LinuxWorkspace(proc).runningApplications();

    ASSERT_EQ(running.size(), 2);
    EXPECT_EQ(running[0].pid, 101);
    EXPECT_EQ(running[0].executablePath, canonicalPath(root + "/real/app"));
    EXPECT_TRUE(running[0].isFinishedLaunching);
    EXPECT_TRUE(running[0].launchedFromPath.isEmpty());
    EXPECT_EQ(running[1].pid, 103);
    EXPECT_FALSE(running[1].isFinishedLaunching);
}

TEST_F(RunningApplicationsTest, ItemPathsMatchThroughLinksAndTrailingSlashes)
{
    addProcess(101, getuid(), root + "/real/app", 5.0);
    addProcess(102, getuid() + 1, root + "/real/theirs", 5.0);
    addProcess(103, getuid(), root + "/linked/young", 0.5);
    const LinuxWorkspace workspace(proc);

    EXPECT_EQ(workspace.applicationStateForItemAtPath(root + "/linked/app/"),
        Workspace::ApplicationState::FinishedLaunching);
    EXPECT_EQ(workspace.applicationStateForItemAtPath(root + "/real/../linked/young"),
        Workspace::ApplicationState::Launching);
    EXPECT_EQ(workspace.applicationStateForItemAtPath(root + "/real/theirs"), Workspace::ApplicationState::NotRunning);
    EXPECT_EQ(workspace.applicationStateForItemAtPath(QString()), Workspace::ApplicationState::NotRunning);
}

TEST_F(RunningApplicationsTest, DesktopEntriesMatchTheProgramTheyRunButNotAShell)
{
    addProcess(101, getuid(), root + "/real/app", 5.0);
    addProcess(102, getuid(), "/bin/sh", 5.0);
    const QString entry = root + "/entries/app.desktop";
    writeDesktopEntry(entry, "App", execQuoted(root + "/linked/app") + " --option");
    const QString shellEntry = root + "/entries/shell.desktop";
    writeDesktopEntry(shellEntry, "Shell", "sh -c \"exec something\"");
    const LinuxWorkspace workspace(proc);

    EXPECT_EQ(workspace.applicationStateForItemAtPath(entry), Workspace::ApplicationState::FinishedLaunching);
    EXPECT_EQ(workspace.applicationStateForItemAtPath(shellEntry), Workspace::ApplicationState::NotRunning);
}

} // namespace
