// The launcher GIO runs for each desktop entry, run on its own: what the
// programs it starts receive is tested through the workspace.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
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

// Writes an executable file of the given text.
void writeProgram(const QString& path, const QByteArray& text, QFile::Permissions permissions)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
    file.close();
    file.setPermissions(permissions);
}

constexpr QFile::Permissions kRunnable = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;

// An entry's program is found and run as the C library's execvp runs it.
TEST(LauncherTest, ProgramsAreFoundAndRunAsExecvpDoes)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QDir root(folder.path());
    ASSERT_TRUE(root.mkpath(QStringLiteral("denied")) && root.mkpath(QStringLiteral("allowed")));
    // A script without a "#!" line is read by the shell.
    writeProgram(root.filePath(QStringLiteral("allowed/tool")), "echo \"$0 $1\" > \"$OUT\"\n", kRunnable);
    // The first folder holds a file of that name that may not be run: the search goes on.
    writeProgram(root.filePath(QStringLiteral("denied/tool")), "echo wrong > \"$OUT\"\n", QFile::ReadOwner);
    const QString out = root.filePath(QStringLiteral("out"));
    const auto run = [&](const QString& program, const QString& path) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("PATH"), path);
        environment.insert(QStringLiteral("OUT"), out);
        QProcess launcher;
        launcher.setProcessEnvironment(environment);
        launcher.start(kLauncher, { program, QStringLiteral("word") });
        EXPECT_TRUE(launcher.waitForFinished());
        QFile written(out);
        const QByteArray text = written.open(QIODevice::ReadOnly) ? written.readAll().trimmed() : QByteArray();
        written.remove();
        return std::make_pair(launcher.exitCode(), text);
    };

    const QString tool = root.filePath(QStringLiteral("allowed/tool"));
    EXPECT_EQ(run(tool, QString()), std::make_pair(0, (tool + QStringLiteral(" word")).toUtf8()));
    const QString path = root.filePath(QStringLiteral("missing")) + ':' + root.filePath(QStringLiteral("denied")) + ':'
        + root.filePath(QStringLiteral("allowed"));
    EXPECT_EQ(run(QStringLiteral("tool"), path), std::make_pair(0, (tool + QStringLiteral(" word")).toUtf8()));
    // Found only where it may not be run: refused, and said so.
    EXPECT_EQ(run(QStringLiteral("tool"), root.filePath(QStringLiteral("denied"))).first, 127);
}

} // namespace
