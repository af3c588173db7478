// A run that opens real items on a temporary desktop: each program started
// must receive exactly its own arguments, whatever the names hold.
#include "ExecutionTestSupport.h"
#include "../platform/WorkspaceTestEnvironment.h"
#include "support/EndToEnd.h"

#include "platform/linux/LinuxWorkspace.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QThread>

using namespace execution_test;
using namespace workspace_test;

namespace {

using ExecutionLaunchTest = ExecutionFixture<LinuxWorkspace>;

// A program that shows no window has finished launching at once.
class SettledAtOnceWorkspace : public LinuxWorkspace {
public:
    SettledAtOnceWorkspace()
        : LinuxWorkspace(QStringLiteral("/proc"), 0.0)
    {
    }
};
using SettledExecutionLaunchTest = ExecutionFixture<SettledAtOnceWorkspace>;

TEST_F(ExecutionLaunchTest, ARunOpensProgramsAndDocumentsWithExactlyTheirArguments)
{
    const QString folder = hostileTestFolder();
    const QString program = folder + "/run $(id) `id` 'q' \"d\" %f\nnext";
    installHelper(program);
    const QString document = folder + "/notes $(id) `id` 'q' \"d\" %u\nnext.txt";
    QFile file(document);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("some words\n");
    file.close();
    forgetRun(helperPath());

    fileItem(program);
    fileItem(document);
    // No running program has a document's path: the wait runs to its time-out.
    // Each check reads the process table, so only a few are made.
    defaults.setFloat("Tweaking.Timings.NumberOfWaitForPreviousItemChecksPerSecond", 1);
    waitItem();

    const QStringList lines = runChain();
    EXPECT_FALSE(lines.join(' ').contains("DidFailItem")) << lines.join('\n').toStdString();
    EXPECT_EQ(waitForRun(program), QStringList { program });
    EXPECT_EQ(waitForRun(helperPath()), QStringList({ helperPath(), document }));
    EXPECT_EQ(executeSleeper->sleeps(), std::vector<double>({ 1, 1, 1, 1, 1 }));
}

TEST_F(ExecutionLaunchTest, AnItemThatCannotBeOpenedFailsTheRun)
{
    const QString folder = hostileTestFolder();
    const QString entry = folder + "/broken.desktop";
    writeDesktopEntry(entry, "Broken", execQuoted(folder + "/no such program"));
    fileItem(entry);

    const QStringList lines = runChain();
    EXPECT_TRUE(lines.contains("DidFailItem(broken.desktop)")) << lines.join('\n').toStdString();
}

TEST_F(ExecutionLaunchTest, AnInterpreterItemStartsBesideAnotherScriptOfItsInterpreterButNeverTwice)
{
    const QString folder = freshTestFolder("interpreter-items");
    const QString stay = folder + "/stay";
    QFile(stay).open(QIODevice::WriteOnly);
    const QString app = folder + "/app.pl";
    const QString other = folder + "/other.pl";
    writeStayingScript(app, stay, ScriptLanguage::Perl);
    writeStayingScript(other, stay, ScriptLanguage::Perl);
    QProcess unrelated;
    unrelated.start("perl", { other });
    ASSERT_TRUE(unrelated.waitForStarted());
    const QString entry = folder + "/app.desktop";
    writeDesktopEntry(entry, "App", "perl " + execQuoted(app));
    fileItem(entry);

    // The launcher becomes the program soon after the run has started it.
    runChain();
    EXPECT_TRUE(waitFor([&] { return processesRunning({ "perl", app }) == 1; }, 5000));
    runChain();
    EXPECT_FALSE(waitFor([&] { return processesRunning({ "perl", app }) > 1; }, 1000));

    QFile::remove(stay);
    EXPECT_TRUE(unrelated.waitForFinished());
}

TEST_F(ExecutionLaunchTest, TwoEntriesOfOneProgramWithOtherArgumentsBothStart)
{
    const OneProgramEntries entries = writeOneProgramEntries(freshTestFolder("one-program"));
    const QString& program = entries.program;
    fileItem(entries.htop);
    fileItem(entries.mc);
    defaults.setIsDelayBetweenItemsDuringExecutionEnabled(true);
    defaults.setDelayBetweenItemsDuringExecution(1);

    const QStringList lines = runChain();
    EXPECT_FALSE(lines.join(' ').contains("DidFailItem")) << lines.join('\n').toStdString();
    EXPECT_TRUE(waitFor([&] { return processesRunning({ program, "--stay", "-e", "htop" }) == 1; }, 5000));
    EXPECT_TRUE(waitFor([&] { return processesRunning({ program, "--stay", "-e", "mc" }) == 1; }, 5000));
    EXPECT_EQ(executeSleeper->sleeps(), std::vector<double>({ 1 }));
    forgetRun(program); // lets both end
}

TEST_F(SettledExecutionLaunchTest, AWaitAfterAProgramThatShowsNoWindowEndsOnceItHasSettled)
{
    const QString folder = freshTestFolder("windowless");
    const QString program = folder + "/quiet";
    installHelper(program);
    const QString entry = folder + "/quiet.desktop";
    writeDesktopEntry(entry, "Quiet", execQuoted(program) + " --stay");
    fileItem(entry);
    waitItem();

    runChain();
    // One check, then the pause after the wait.
    EXPECT_EQ(executeSleeper->sleeps(), std::vector<double>({ 0.25, 1, 1 }));
    forgetRun(program);
}

} // namespace
