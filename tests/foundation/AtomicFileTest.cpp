// Replacing a file: all or nothing, synced before the rename, the cause of a
// failure in the system's words.
#include "foundation/AtomicFile.h"
#include "support/EndToEnd.h"
#include "support/SmallTmpfs.h"
#include "support/TestHome.h"

#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <cerrno>
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QStringList entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

mode_t modeOf(const QString& path)
{
    struct stat status {};
    ::stat(QFile::encodeName(path).constData(), &status);
    return status.st_mode & 07777;
}

} // namespace

TEST(AtomicFile, ReplacesOrKeepsTheFileWithExactlyItsMode)
{
    const QString folder = freshTestFolder("atomic-modes");
    const QString path = folder + "/file";
    const mode_t oldMask = ::umask(077);
    EXPECT_EQ(AtomicFile::write(path, "one", 0644), 0);
    ::umask(oldMask);
    EXPECT_EQ(readFile(path), "one");
    EXPECT_EQ(modeOf(path), mode_t(0644)) << "the umask does not apply";

    EXPECT_EQ(AtomicFile::write(path, "two", 0600), 0);
    EXPECT_EQ(readFile(path), "two");
    EXPECT_EQ(modeOf(path), mode_t(0600));

    EXPECT_EQ(AtomicFile::write(path, "three", 0600, AtomicFile::Existing::Keep), EEXIST);
    EXPECT_EQ(readFile(path), "two");
    EXPECT_EQ(AtomicFile::write(folder + "/new", "four", 0600, AtomicFile::Existing::Keep), 0);
    EXPECT_EQ(readFile(folder + "/new"), "four");
    EXPECT_EQ(entries(folder), (QStringList { "file", "new" })) << "no temporary file is left";

    EXPECT_EQ(AtomicFile::write(folder + "/missing/file", "five", 0600), ENOENT);
    EXPECT_EQ(AtomicFile::describe(ENOSPC), "No space left on device");
}

TEST(AtomicFile, AFullDiskLeavesTheOldFileAndNoTrace)
{
    const QString folder = freshTestFolder("atomic-full") + "/disk";
    const SmallTmpfs disk(folder, 64);
    if (!disk.isMounted())
        GTEST_SKIP() << disk.skipReason().toStdString();
    const QString path = folder + "/file";
    ASSERT_EQ(AtomicFile::write(path, "old", 0600), 0);
    disk.fill();
    bool replacing = false;
    EXPECT_EQ(AtomicFile::write(path, QByteArray(16 * 1024, 'n'), 0600, AtomicFile::Existing::Replace, [&] { replacing = true; }), ENOSPC);
    EXPECT_FALSE(replacing);
    EXPECT_EQ(readFile(path), "old");
    EXPECT_EQ(entries(folder), (QStringList { ".filler", "file" }));
}

TEST(AtomicFile, SyncsTheDataBeforeTheRename)
{
    const QString trace = freshTestFolder("atomic-trace") + "/trace";
    QProcess strace;
    // LeakSanitizer cannot run under a tracer.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    const QString sanitizer = environment.value("ASAN_OPTIONS");
    environment.insert("ASAN_OPTIONS", sanitizer.isEmpty() ? QStringLiteral("detect_leaks=0") : sanitizer + ":detect_leaks=0");
    strace.setProcessEnvironment(environment);
    strace.start("strace", { "-f", "-e", "trace=openat,fsync,fdatasync,rename,renameat,renameat2", "-o", trace,
                             LW_TEST_ATOMIC_WRITE, freshTestFolder("atomic-traced") + "/traced" });
    if (!strace.waitForStarted(5000))
        GTEST_SKIP() << "strace is not installed";
    ASSERT_TRUE(strace.waitForFinished(60000));
    if (strace.exitCode() != 0 && readFile(trace).contains("PTRACE"))
        GTEST_SKIP() << "this test may not trace: " << readFile(trace).left(200).toStdString();
    ASSERT_EQ(strace.exitCode(), 0) << strace.readAll().toStdString();
    const QString calls = QString::fromUtf8(readFile(trace));
    // The temporary file's descriptor, its sync, then the rename onto "traced".
    const QRegularExpressionMatch opened = QRegularExpression(R"(openat\([^"]*"[^"]*/\.traced\.[\w.-]+", [^)]*\) = (\d+))").match(calls);
    ASSERT_TRUE(opened.hasMatch()) << calls.toStdString();
    const qsizetype synced = calls.indexOf(QRegularExpression(QStringLiteral(R"(\bf(data)?sync\(%1\)\s+= 0)").arg(opened.captured(1))), opened.capturedEnd());
    const qsizetype renamed = calls.indexOf(QRegularExpression(R"(rename(at2?)?\(.*/\.traced\.[\w.-]+".*/traced")"), opened.capturedEnd());
    ASSERT_GT(synced, 0) << calls.toStdString();
    ASSERT_GT(renamed, 0) << calls.toStdString();
    EXPECT_LT(synced, renamed) << calls.toStdString();
}

// A link, a pipe or a folder where our file belongs: never followed, never
// waited on; refused for reading, set aside when a file is to be made there.
TEST(AtomicFile, OpensOnlyRegularFilesAndSetsAsideWhatIsInTheWay)
{
    const QString folder = freshTestFolder("atomic-in-the-way");
    const QString target = folder + "/precious";
    ASSERT_EQ(AtomicFile::write(target, "precious user data", 0600), 0);
    ASSERT_EQ(::symlink("precious", QFile::encodeName(folder + "/link").constData()), 0);
    ASSERT_EQ(::mkfifo(QFile::encodeName(folder + "/pipe").constData(), 0600), 0);
    ASSERT_TRUE(QDir(folder).mkdir("folder"));

    for (const QString name : { "link", "pipe", "folder" }) {
        const QString path = folder + "/" + name;
        QByteArray data;
        EXPECT_EQ(AtomicFile::read(path, 1024, &data), AtomicFile::kNotARegularFile) << name.toStdString();
        int descriptor = -1;
        EXPECT_EQ(AtomicFile::open(path, O_WRONLY | O_APPEND, 0600, &descriptor), AtomicFile::kNotARegularFile) << name.toStdString();
        EXPECT_EQ(descriptor, -1);

        ASSERT_EQ(AtomicFile::open(path, O_WRONLY | O_CREAT | O_TRUNC, 0600, &descriptor), 0) << name.toStdString();
        EXPECT_EQ(::write(descriptor, "new", 3), 3);
        ::close(descriptor);
        EXPECT_EQ(readFile(path), "new");
        EXPECT_EQ(QDir(folder).entryList({ name + ".in-the-way-*" }, QDir::AllEntries | QDir::System).size(), 1)
            << name.toStdString() << " is set aside";
    }
    EXPECT_EQ(readFile(target), "precious user data");
    EXPECT_EQ(AtomicFile::describe(AtomicFile::kNotARegularFile), "Not a regular file");

    QByteArray data;
    EXPECT_EQ(AtomicFile::read(target, 8, &data), EFBIG);
    EXPECT_EQ(AtomicFile::read(folder + "/link.in-the-way-*", 8, &data), ENOENT);
    // The desktop's own files may be links; a pipe is still refused.
    ASSERT_EQ(::symlink("precious", QFile::encodeName(folder + "/entry").constData()), 0);
    EXPECT_EQ(AtomicFile::read(folder + "/entry", 1024, &data, AtomicFile::Links::Follow), 0);
    EXPECT_EQ(data, "precious user data");
    ASSERT_EQ(::mkfifo(QFile::encodeName(folder + "/pipe2").constData(), 0600), 0);
    EXPECT_EQ(AtomicFile::read(folder + "/pipe2", 1024, &data, AtomicFile::Links::Follow), AtomicFile::kNotARegularFile);
}

// A link takes a file's place in one step, as a write does; Keep leaves
// what is there.
TEST(AtomicFile, MakesALinkInPlaceOfAFileOrBesideIt)
{
    const QString folder = freshTestFolder("atomic-link");
    ASSERT_EQ(AtomicFile::write(folder + "/entry", "override", 0644), 0);
    EXPECT_EQ(AtomicFile::makeLink(folder + "/entry", "../dotfiles/entry", AtomicFile::Existing::Keep), EEXIST);
    EXPECT_FALSE(QFileInfo(folder + "/entry").isSymLink());
    EXPECT_EQ(AtomicFile::makeLink(folder + "/entry", "../dotfiles/entry", AtomicFile::Existing::Replace), 0);
    EXPECT_EQ(AtomicFile::makeLink(folder + "/other", "dotfiles/other", AtomicFile::Existing::Keep), 0);
    for (const auto& [name, target] : { std::pair { "entry", "../dotfiles/entry" }, std::pair { "other", "dotfiles/other" } }) {
        char written[256] = {};
        ASSERT_GT(::readlink(QFile::encodeName(folder + "/" + name).constData(), written, sizeof written - 1), 0);
        EXPECT_STREQ(written, target);
    }
    EXPECT_EQ(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name),
              QStringList({ "entry", "other" }));
}

// Only temporary files of writers that no longer run are removed.
TEST(AtomicFile, RemovesTheLeftoversOfWritersThatNoLongerRun)
{
    const QString folder = freshTestFolder("atomic-leftovers");
    // Above the highest process ID the kernel gives out.
    const QString dead = QStringLiteral(".store.plist.lanternwick-999999999-aB3dE9");
    const QString running = QStringLiteral(".store.plist.lanternwick-%1-Zz09aq").arg(::getpid());
    const QStringList others { ".store.plist.XXXXXX", "store.plist", ".other.lanternwick-notapid-aB3dE9" };
    for (const QString& name : QStringList { dead, running } + others)
        ASSERT_EQ(AtomicFile::write(folder + "/" + name, "bytes", 0600), 0);
    // The link a killed writer was about to put in place, dangling or not.
    const QString deadLink = QStringLiteral(".entry.desktop.lanternwick-999999999-Qw12Er");
    ASSERT_EQ(::symlink("../dotfiles/entry.desktop", QFile::encodeName(folder + "/" + deadLink).constData()), 0);

    AtomicFile::removeLeftovers(folder);
    EXPECT_FALSE(QFileInfo(folder + "/" + deadLink).isSymLink());
    const QStringList kept = others + QStringList { running };
    const QStringList left = entries(folder);
    EXPECT_EQ(QSet<QString>(left.cbegin(), left.cend()), QSet<QString>(kept.cbegin(), kept.cend()));
}
