// Folder links that lead back into an applications folder: GIO's walk of the
// folders would never end there. The workspace names, starts and knows
// desktop entries all the same, and says why a document cannot be opened.
#include "WorkspaceTestEnvironment.h"
#include "platform/linux/ApplicationFolders.h"
#include "platform/linux/LinuxWorkspace.h"

#include "support/EndToEnd.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace workspace_test;
using State = Workspace::ApplicationState;

namespace {

class ApplicationFolderLoopsTest : public testing::Test {
protected:
    void SetUp() override { folder = hostileTestFolder(); }
    void TearDown() override { setLoops(0); }

    // The user's applications folder and a system one, each with this many links to itself.
    static void setLoops(int count)
    {
        for (const QString& data : { qEnvironmentVariable("XDG_DATA_HOME"), qEnvironmentVariable("XDG_DATA_DIRS") }) {
            const QString applications = data + "/applications";
            QDir().mkpath(applications);
            for (int link = 1; link <= 2; ++link) {
                const QString path = applications + "/self" + QString::number(link);
                QFile::remove(path);
                if (link <= count) {
                    ASSERT_TRUE(QFile::link(".", path));
                }
            }
        }
    }

    QString folder;
    LinuxWorkspace workspace;
};

TEST_F(ApplicationFolderLoopsTest, GiosWalkIsJudgedAgainWheneverTheFoldersChange)
{
    EXPECT_TRUE(ApplicationFolders::gioWalkEnds());
    // One link ends where the system stops following links.
    setLoops(1);
    EXPECT_TRUE(ApplicationFolders::gioWalkEnds());
    setLoops(2);
    EXPECT_FALSE(ApplicationFolders::gioWalkEnds());
    EXPECT_FALSE(ApplicationFolders::gioWalkEnds());
    setLoops(0);
    EXPECT_TRUE(ApplicationFolders::gioWalkEnds());
}

TEST_F(ApplicationFolderLoopsTest, EntriesAreNamedFromTheirOwnFiles)
{
    setLoops(2);
    const QString bare = folder + "/bare.desktop";
    writeDesktopEntry(bare, "Bare", execQuoted(helperPath()));

    EXPECT_EQ(workspace.typeForItemAtPath(openerEntryPath()), ItemPathTypeApplication);
    EXPECT_EQ(workspace.displayNameForItemAtPath(openerEntryPath()), "Test Opener");
    EXPECT_EQ(workspace.descriptionForItemAtPath(openerEntryPath()), "Opens test files");
    EXPECT_EQ(workspace.iconNameForItemAtPath(openerEntryPath()), "lw-test-icon");
    EXPECT_EQ(workspace.displayNameForItemAtPath(bare), "Bare");
    EXPECT_EQ(workspace.iconNameForItemAtPath(bare), "application-x-executable");
}

// Started by GIO where its walk ends, from the entry's Exec line where it
// would not: either way the program is known by the entry it was started
// from, also to a later run that did not start it (the wrapper's exec leaves
// no command to know it by).
TEST_F(ApplicationFolderLoopsTest, EntriesStartAndTheirProgramsAreKnownByTheEntry)
{
    const QString program = folder + "/program";
    installHelper(program);
    const QString entry = folder + "/Wrapped.desktop";
    writeDesktopEntry(entry, "Wrapped", "sh -c " + execQuoted("exec \"$0\" --stay") + " " + execQuoted(program));

    for (const int loops : { 0, 2 }) {
        setLoops(loops);
        ASSERT_EQ(ApplicationFolders::gioWalkEnds(), loops == 0);
        forgetRun(program);
        const Workspace::LaunchResult result = workspace.openItemAtPath(entry, { .withoutActivation = true });

        ASSERT_TRUE(result.succeeded) << loops << " " << result.errorDescription.toStdString();
        EXPECT_EQ(waitForRun(program), (QStringList { program, "--stay" })) << loops;
        EXPECT_EQ(QString::fromUtf8(readFile(program + ".inherited")).count("launched pid is its own: yes"), 1) << loops;
        EXPECT_NE(workspace.applicationStateForItemAtPath(entry), State::NotRunning) << loops;
        const LinuxWorkspace laterRun;
        EXPECT_NE(laterRun.applicationStateForItemAtPath(entry), State::NotRunning) << loops;
        forgetRun(program); // lets it end
        EXPECT_TRUE(waitFor([&] { return laterRun.applicationStateForItemAtPath(entry) == State::NotRunning; }, 30000)) << loops;
    }
}

TEST_F(ApplicationFolderLoopsTest, ADocumentFailsWithTheReasonAndEntriesThatCannotStartStayFailures)
{
    setLoops(2);
    const QString document = folder + "/notes.txt";
    writeFile(document, "some words\n");
    const QString brokenEntry = folder + "/broken.desktop";
    writeDesktopEntry(brokenEntry, "Broken", execQuoted(folder + "/no such program"));

    const Workspace::LaunchResult opened = workspace.openItemAtPath(document, {});
    EXPECT_FALSE(opened.succeeded);
    EXPECT_TRUE(opened.errorDescription.contains("folder links")) << opened.errorDescription.toStdString();
    EXPECT_FALSE(workspace.openItemAtPath(brokenEntry, {}).succeeded);
}

} // namespace
