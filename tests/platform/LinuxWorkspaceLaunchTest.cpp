// Opening items for real: the programs started are copies of the test program,
// which reports the arguments it received.
#include "WorkspaceTestEnvironment.h"
#include "platform/linux/LinuxWorkspace.h"

#include "support/EndToEnd.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace workspace_test;

namespace {

// Our children, ended or not: each names us as its parent in /proc.
int childCount()
{
    int count = 0;
    const QString self = QString::number(getpid());
    for (const QString& pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        const QByteArray line = stat.readAll();
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (fields.value(1) == self.toUtf8())
            ++count;
    }
    return count;
}

class LinuxWorkspaceLaunchTest : public testing::Test {
protected:
    void SetUp() override
    {
        folder = hostileTestFolder();
        workspace.setDidLaunchHandler([this](const QString& path) { launchedPaths.append(path); });
    }

    QString writeTextFile(const QString& name)
    {
        const QString path = folder + "/" + name;
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("some words\n");
        return path;
    }

    QString folder;
    LinuxWorkspace workspace;
    QStringList launchedPaths;
};

TEST_F(LinuxWorkspaceLaunchTest, StartsAnExecutableByItsPathAsTheOnlyArgument)
{
    const QString program = folder + "/run $(id) `id` 'q' \"d\" %f\nnext";
    installHelper(program);

    const Workspace::LaunchResult result = workspace.openItemAtPath(program, {});

    ASSERT_TRUE(result.succeeded) << result.errorDescription.toStdString();
    EXPECT_EQ(waitForRun(program), QStringList { program });
    EXPECT_EQ(launchedPaths, QStringList { program });
}

TEST_F(LinuxWorkspaceLaunchTest, WithoutActivationTheProgramGetsNoInheritedToken)
{
    const QString program = folder + "/program";
    installHelper(program);
    qputenv("DESKTOP_STARTUP_ID", "token-of-our-own-start");

    ASSERT_TRUE(workspace.openItemAtPath(program, {}).succeeded);
    EXPECT_TRUE(waitForRun(program).contains("DESKTOP_STARTUP_ID=token-of-our-own-start"));
    forgetRun(program);

    ASSERT_TRUE(workspace.openItemAtPath(program, { .hidden = true, .withoutActivation = true }).succeeded);
    EXPECT_EQ(waitForRun(program), QStringList { program });
    qunsetenv("DESKTOP_STARTUP_ID");
}

TEST_F(LinuxWorkspaceLaunchTest, StartsADesktopEntryAndKnowsItsProcessAsLaunchedFromIt)
{
    const QString program = folder + "/program";
    installHelper(program);
    const QString entry = folder + "/My App.desktop";
    writeDesktopEntry(entry, "My App", execQuoted(program) + " --stay");

    const Workspace::LaunchResult result = workspace.openItemAtPath(entry, { .withoutActivation = true });

    ASSERT_TRUE(result.succeeded) << result.errorDescription.toStdString();
    EXPECT_EQ(waitForRun(program), (QStringList { program, "--stay" }));
    EXPECT_EQ(launchedPaths, QStringList { entry });
    EXPECT_NE(workspace.applicationStateForItemAtPath(entry), Workspace::ApplicationState::NotRunning);
    EXPECT_NE(workspace.applicationStateForItemAtPath(program), Workspace::ApplicationState::NotRunning);
    forgetRun(program); // lets it end
}

// A run reads its entries ahead; each starts as it stands when its turn comes.
TEST_F(LinuxWorkspaceLaunchTest, AnEntryReadAheadStartsAsItStandsWhenOpened)
{
    const QString program = folder + "/program";
    installHelper(program);
    const QString changed = folder + "/changed.desktop";
    const QString broken = folder + "/broken.desktop";
    const QString fixed = folder + "/fixed.desktop";
    writeDesktopEntry(changed, "Changed", execQuoted(program) + " --before");
    writeDesktopEntry(broken, "Broken", execQuoted(program));
    writeDesktopEntry(fixed, "Fixed", execQuoted(folder + "/not yet"));
    workspace.prepareToOpen({ changed, broken, fixed });
    QThread::msleep(200);

    writeDesktopEntry(changed, "Changed", execQuoted(program) + " --after");
    writeDesktopEntry(broken, "Broken", execQuoted(folder + "/gone"));
    writeDesktopEntry(fixed, "Fixed", execQuoted(program) + " --fixed");

    ASSERT_TRUE(workspace.openItemAtPath(changed, {}).succeeded);
    EXPECT_EQ(waitForRun(program), (QStringList { program, "--after" }));
    forgetRun(program);
    EXPECT_FALSE(workspace.openItemAtPath(broken, {}).succeeded);
    ASSERT_TRUE(workspace.openItemAtPath(fixed, {}).succeeded);
    EXPECT_EQ(waitForRun(program), (QStringList { program, "--fixed" }));
    forgetRun(program);
}

// Started without a fork of the application, a program still gets what a fork
// used to give it, and none of what the application holds: the mark of the
// launch it belongs to is its own item's.
TEST_F(LinuxWorkspaceLaunchTest, ProgramsLeadTheirOwnSessionAndInheritNothingOfOurs)
{
    const QString program = folder + "/program";
    installHelper(program);
    const QString entry = folder + "/Entry.desktop";
    writeDesktopEntry(entry, "Entry", execQuoted(program));
    // A descriptor that would stay open across exec, and a signal we ignore.
    const int descriptor = ::open("/dev/null", O_RDONLY);
    ASSERT_GE(descriptor, 3);
    const auto previousHandler = std::signal(SIGPIPE, SIG_IGN);
    qputenv("LANTERNWICK_LAUNCHED_ITEM", "/an/item/that/started/us");

    const auto inherited = [&](const QString& path) {
        forgetRun(program);
        EXPECT_TRUE(workspace.openItemAtPath(path, {}).succeeded) << path.toStdString();
        EXPECT_FALSE(waitForRun(program).isEmpty()) << path.toStdString();
        QFile file(program + ".inherited");
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return QString::fromUtf8(file.readAll());
    };
    const QString fromEntry = inherited(entry);
    EXPECT_EQ(fromEntry, "session leader: yes\ndescriptors:\nSIGPIPE ignored: no\n"
                         "launched pid is its own: yes\nGIO_LAUNCH_DESKTOP: unset\nlaunch mark: " + entry + "\n");
    EXPECT_EQ(inherited(program), "session leader: yes\ndescriptors:\nSIGPIPE ignored: no\n"
                                  "launched pid is its own: no\nGIO_LAUNCH_DESKTOP: unset\nlaunch mark: " + program + "\n");

    qunsetenv("LANTERNWICK_LAUNCHED_ITEM");
    std::signal(SIGPIPE, previousHandler);
    ::close(descriptor);
}

// The programs are our children: once they end, the event loop collects them.
TEST_F(LinuxWorkspaceLaunchTest, EndedProgramsAreCollected)
{
    const QString program = folder + "/program";
    installHelper(program);
    const QString entry = folder + "/Entry.desktop";
    writeDesktopEntry(entry, "Entry", execQuoted(program));

    for (const QString& path : { program, entry }) {
        forgetRun(program);
        ASSERT_TRUE(workspace.openItemAtPath(path, {}).succeeded);
        ASSERT_FALSE(waitForRun(program).isEmpty());
        EXPECT_TRUE(waitFor([] { return childCount() == 0; }, 10000)) << path.toStdString();
    }
}

// A program another part of the application starts detached (xdg-open, to
// show a page) is adopted by it, and collected as soon as it ends, with no
// launch of an item to come.
TEST_F(LinuxWorkspaceLaunchTest, AnAdoptedProgramIsCollectedWhenItEnds)
{
    const QString program = folder + "/opener";
    installHelper(program);
    ASSERT_TRUE(QProcess::startDetached(program, {}));
    ASSERT_FALSE(waitForRun(program).isEmpty());
    EXPECT_TRUE(waitFor([] { return childCount() == 0; }, 10000));
}

TEST_F(LinuxWorkspaceLaunchTest, OpensADocumentWithItsDefaultApplication)
{
    const QString document = writeTextFile("notes $HOME `id` 'q' \"d\" %u\n2.txt");
    forgetRun(helperPath());

    const Workspace::LaunchResult result = workspace.openItemAtPath(document, {});

    ASSERT_TRUE(result.succeeded) << result.errorDescription.toStdString();
    EXPECT_EQ(waitForRun(helperPath()), (QStringList { helperPath(), document }));
    EXPECT_EQ(launchedPaths, QStringList { openerEntryPath() });
}

TEST_F(LinuxWorkspaceLaunchTest, FailuresAreNeverReportedAsSuccess)
{
    const QString blob = folder + "/blob";
    QFile file(blob);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray::fromHex("000102fffe") + " binary");
    file.close();
    const QString brokenEntry = folder + "/broken.desktop";
    writeDesktopEntry(brokenEntry, "Broken", execQuoted(folder + "/no such program"));

    for (const QString& path : { QString(), folder + "/missing.txt", blob, brokenEntry }) {
        const Workspace::LaunchResult result = workspace.openItemAtPath(path, {});
        EXPECT_FALSE(result.succeeded) << path.toStdString();
        EXPECT_FALSE(result.errorDescription.isEmpty()) << path.toStdString();
    }
    EXPECT_TRUE(launchedPaths.isEmpty());
}

} // namespace
