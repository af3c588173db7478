// What the workspace tells about files on disk.
#include "WorkspaceTestEnvironment.h"
#include "platform/linux/LinuxWorkspace.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace workspace_test;

namespace {

class LinuxWorkspaceFactsTest : public testing::Test {
protected:
    void SetUp() override { folder = hostileTestFolder(); }

    QString writeFile(const QString& name, const QByteArray& contents)
    {
        const QString path = folder + "/" + name;
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(contents);
        return path;
    }

    QString folder;
    LinuxWorkspace workspace;
};

TEST_F(LinuxWorkspaceFactsTest, ExecutablesAndDesktopEntriesAreApplications)
{
    const QString program = folder + "/program";
    installHelper(program);
    const QString bare = folder + "/bare.desktop";
    writeDesktopEntry(bare, "Bare", execQuoted(program));

    EXPECT_EQ(workspace.typeForItemAtPath(program), ItemPathTypeApplication);
    EXPECT_FALSE(workspace.iconNameForItemAtPath(program).isEmpty());

    EXPECT_EQ(workspace.typeForItemAtPath(openerEntryPath()), ItemPathTypeApplication);
    EXPECT_EQ(workspace.displayNameForItemAtPath(openerEntryPath()), "Test Opener");
    EXPECT_EQ(workspace.descriptionForItemAtPath(openerEntryPath()), "Opens test files");
    EXPECT_EQ(workspace.iconNameForItemAtPath(openerEntryPath()), "lw-test-icon");
    // Without a comment the entry is described by the kind of file it is,
    // never by its name again.
    EXPECT_FALSE(workspace.descriptionForItemAtPath(bare).isEmpty());
    EXPECT_NE(workspace.descriptionForItemAtPath(bare), "Bare");
    EXPECT_EQ(workspace.iconNameForItemAtPath(bare), "application-x-executable");
}

TEST_F(LinuxWorkspaceFactsTest, FilesWithADefaultApplicationAreDocuments)
{
    const QString text = writeFile("read me %f\n.txt", "some words\n");

    EXPECT_EQ(workspace.typeForItemAtPath(text), ItemPathTypeDocument);
    EXPECT_EQ(workspace.displayNameForItemAtPath(text), "read me %f\n.txt");
    EXPECT_EQ(workspace.descriptionForItemAtPath(text), "plain text document");
    EXPECT_EQ(workspace.iconNameForItemAtPath(text), "text-x-generic");
}

TEST_F(LinuxWorkspaceFactsTest, FilesNothingOpensAreUnknown)
{
    const QString blob = writeFile("blob", QByteArray::fromHex("000102fffe") + " binary");
    // A plain text file with the executable bit is a script, an application.
    const QString script = writeFile("script", "#!/bin/sh\n");
    QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    EXPECT_EQ(workspace.typeForItemAtPath(blob), ItemPathTypeUnknown);
    EXPECT_FALSE(workspace.isMissingItemAtPath(blob));
    EXPECT_EQ(workspace.typeForItemAtPath(script), ItemPathTypeApplication);
    // A folder is no program, whatever its permission bits say.
    EXPECT_NE(workspace.typeForItemAtPath(folder), ItemPathTypeApplication);
}

TEST_F(LinuxWorkspaceFactsTest, MissingFilesHaveNoKindNoDescriptionAndNoIcon)
{
    for (const QString& path : { QString(), folder + "/gone.txt", folder + "/gone.desktop" }) {
        EXPECT_TRUE(workspace.isMissingItemAtPath(path));
        EXPECT_EQ(workspace.typeForItemAtPath(path), ItemPathTypeUnknown);
        EXPECT_TRUE(workspace.descriptionForItemAtPath(path).isEmpty());
        EXPECT_TRUE(workspace.iconNameForItemAtPath(path).isEmpty());
    }
    EXPECT_EQ(workspace.displayNameForItemAtPath(folder + "/gone.txt"), "gone.txt");
}

} // namespace
