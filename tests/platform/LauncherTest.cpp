// The launcher GIO runs for each desktop entry, run on its own: what the
// programs it starts receive is tested through the workspace.
#include <QFileInfo>
#include <QProcess>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

const QString kLauncher = QStringLiteral(LW_LAUNCHER_PROGRAM);

TEST(LauncherTest, AProgramThatCannotStartEndsWith127AndSaysWhy)
{
    QProcess launcher;
    launcher.start(kLauncher, { QStringLiteral("/no such program") });
    ASSERT_TRUE(launcher.waitForFinished());
    EXPECT_EQ(launcher.exitCode(), 127);
    EXPECT_TRUE(launcher.readAllStandardError().contains("/no such program could not be started"));
}

// Output bound for a journal that cannot be reached is not lost.
TEST(LauncherTest, OutputForAJournalOutOfReachStaysWhereItWent)
{
    if (QFileInfo::exists(QStringLiteral("/run/systemd/journal/stdout")))
        GTEST_SKIP() << "the journal is reachable here";
    int pair[2];
    ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair), 0);
    struct stat status = {};
    ASSERT_EQ(fstat(pair[1], &status), 0);
    const QByteArray stream = "JOURNAL_STREAM=" + QByteArray::number(quint64(status.st_dev)) + ':'
        + QByteArray::number(quint64(status.st_ino));
    std::vector<char*> environment { const_cast<char*>(stream.constData()) };
    for (char** variable = environ; *variable; ++variable)
        environment.push_back(*variable);
    environment.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pair[1], STDOUT_FILENO);
    const QByteArray program = kLauncher.toLocal8Bit();
    char echo[] = "/bin/echo";
    char words[] = "kept";
    char* const argv[] = { const_cast<char*>(program.constData()), echo, words, nullptr };

    pid_t pid = 0;
    ASSERT_EQ(posix_spawn(&pid, program.constData(), &actions, nullptr, argv, environment.data()), 0);
    posix_spawn_file_actions_destroy(&actions);
    close(pair[1]);
    int exitStatus = 0;
    ASSERT_EQ(waitpid(pid, &exitStatus, 0), pid);
    char output[64] = {};
    const ssize_t length = read(pair[0], output, sizeof output - 1);
    close(pair[0]);
    EXPECT_EQ(WEXITSTATUS(exitStatus), 0);
    EXPECT_EQ(QByteArray(output, int(qMax<ssize_t>(length, 0))), "kept\n");
}

} // namespace
