#include "foundation/Log.h"
#include "support/TestHome.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

QString readFile(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return QString::fromUtf8(file.readAll());
}

void touch(const QString& path)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}

class LogFileTest : public testing::Test {
protected:
    void SetUp() override
    {
        savedMask = gLogMask;
        state = freshTestFolder(QString::fromUtf8(testing::UnitTest::GetInstance()->current_test_info()->name()));
        qputenv("XDG_STATE_HOME", state.toUtf8());
        logs = state + "/Lanternwick/log";
    }
    void TearDown() override
    {
        gLogMask = savedMask;
        log_initialize(false);
    }
    QStringList entries() const { return QDir(logs).entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name); }

    int32_t savedMask = 0;
    QString state;
    QString logs;
};

} // namespace

TEST(LogLevels, VerbosityTableAndNames)
{
    EXPECT_EQ(log_mask_for_verbosity(1), 31);
    EXPECT_EQ(log_mask_for_verbosity(2), 63);
    EXPECT_EQ(log_mask_for_verbosity(3), 127);
    for (int other : { 0, 4, -1, 100, INT32_MIN })
        EXPECT_EQ(log_mask_for_verbosity(other), 7) << other;

    EXPECT_EQ(log_level_name(LOG_LEVEL_FATAL), "FATAL");
    EXPECT_EQ(log_level_name(LOG_LEVEL_WARN), "WARN");
    EXPECT_EQ(log_level_name(LOG_LEVEL_NORMAL), "NORMAL");
    EXPECT_EQ(log_level_name(LOG_LEVEL_VERBOSE), "VERBOSE");
    EXPECT_EQ(log_level_name(LOG_LEVEL_DEBUG), "DEBUG");
    EXPECT_EQ(log_level_name(3), "UNKNOWN");
}

TEST(LogLevels, DisabledLevelFormatsNothing)
{
    const int32_t saved = gLogMask;
    gLogMask = log_mask_for_verbosity(0);
    int evaluated = 0;
    auto expensive = [&] { ++evaluated; return QStringLiteral("x"); };
    LOG_DEBUG("never %1", expensive());
    LOG_INFO("never %1", expensive());
    EXPECT_EQ(evaluated, 0);
    gLogViewsEnabled = false;
    gLogMask = 127;
    LOG_VIEW_DEBUG("gated %1", expensive());
    EXPECT_EQ(evaluated, 0);
    gLogMask = saved;
}

TEST_F(LogFileTest, LineFormatInFileAndOnStandardOutput)
{
    log_initialize(true, 10);
    ASSERT_FALSE(log_file_path().isEmpty());
    testing::internal::CaptureStdout();
    LOG_NORMAL("Grüße %1 at %2 (%3)", QStringLiteral("naïve 日本"), 42, QStringLiteral("100%1 $HOME `x`"));
    const QByteArray printed = QByteArray::fromStdString(testing::internal::GetCapturedStdout());

    QFile file(log_file_path());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray written = file.readAll();
    EXPECT_EQ(written, printed);
    static const QRegularExpression line(
        "^\\d\\d:\\d\\d:\\d\\d\\.\\d{3} \\[LogTest\\.cpp:\\d+\\] - NORMAL Grüße naïve 日本 at 42 \\(100%1 \\$HOME `x`\\)\n$");
    EXPECT_TRUE(line.match(QString::fromUtf8(written)).hasMatch()) << written.toStdString();
    EXPECT_EQ(QFile(log_file_path()).permissions() & (QFile::WriteGroup | QFile::WriteOther), 0);
}

// A path from a request is one piece of one line, whatever characters it holds.
TEST_F(LogFileTest, TextFromOutsideCannotForgeLines)
{
    log_initialize(false);
    testing::internal::CaptureStdout();
    const QString path = QStringLiteral("/tmp/a\n12:00:00.000 [x.cpp:1] - ERROR forged\r\x1b[2J\\x0a") + QChar(0x2028) + QStringLiteral("end");
    LOG_NORMAL("Creating %1", log_escaped(path));
    const QString printed = QString::fromStdString(testing::internal::GetCapturedStdout());
    EXPECT_EQ(printed.count(QLatin1Char('\n')), 1) << printed.toStdString();
    EXPECT_TRUE(printed.endsWith(QStringLiteral(
        "Creating /tmp/a\\x0a12:00:00.000 [x.cpp:1] - ERROR forged\\x0d\\x1b[2J\\x5cx0a\\x2028end\n")))
        << printed.toStdString();
}

// The steps before the set-up (the container migration) log into the file,
// at the verbosity the set-up brings.
TEST_F(LogFileTest, LinesHeldBeforeTheSetUpReachTheFileAtItsVerbosity)
{
    gLogMask = 127;
    log_hold_until_initialized();
    testing::internal::CaptureStdout();
    LOG_DEBUG("Moving %1 out of the container...", 1);
    LOG_WARN("Failed moving %1 out of the container!", 2);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");

    gLogMask = log_mask_for_verbosity(0);
    testing::internal::CaptureStdout();
    log_initialize(true, 10);
    const QString printed = QString::fromStdString(testing::internal::GetCapturedStdout());
    const QString written = readFile(log_file_path());
    EXPECT_TRUE(written.contains("WARN Failed moving 2 out of the container!")) << written.toStdString();
    EXPECT_FALSE(written.contains("Moving 1")) << written.toStdString();
    EXPECT_EQ(printed, written);

    // Once set up, lines go out at once.
    testing::internal::CaptureStdout();
    LOG_ERROR("Later");
    EXPECT_TRUE(QString::fromStdString(testing::internal::GetCapturedStdout()).contains("ERROR Later"));
}

TEST_F(LogFileTest, NoFileWhenFileLoggingIsOff)
{
    log_initialize(false);
    EXPECT_TRUE(log_file_path().isEmpty());
    EXPECT_FALSE(QDir(logs).exists());
    LOG_NORMAL("standard output only");
}

TEST_F(LogFileTest, RotationRemovesOnlyOurOldestFiles)
{
    QDir().mkpath(logs);
    // 12 of our own files, created in a scrambled order, and foreign entries.
    for (int day : { 7, 1, 12, 3, 9, 2, 11, 4, 10, 5, 8, 6 })
        touch(logs + QStringLiteral("/Lanternwick-2016-03-%1-081502.log").arg(day, 2, 10, QChar('0')));
    touch(logs + "/notes.txt");
    touch(logs + "/Lanternwick-backup.log");
    QDir().mkpath(logs + "/Lanternwick-2000-01-01-000000.log");

    log_initialize(true, 10);

    const QStringList left = entries();
    EXPECT_FALSE(left.contains("Lanternwick-2016-03-01-081502.log"));
    EXPECT_FALSE(left.contains("Lanternwick-2016-03-02-081502.log"));
    EXPECT_FALSE(left.contains("Lanternwick-2016-03-03-081502.log"));
    EXPECT_TRUE(left.contains("Lanternwick-2016-03-04-081502.log"));
    EXPECT_TRUE(left.contains("notes.txt"));
    EXPECT_TRUE(left.contains("Lanternwick-backup.log"));
    EXPECT_TRUE(QFileInfo(logs + "/Lanternwick-2000-01-01-000000.log").isDir());
    EXPECT_EQ(left.filter(QRegularExpression("^Lanternwick-\\d{4}-\\d\\d-\\d\\d-\\d{6}(-\\d+)?\\.log$")).size(), 10 + 1)
        << "ten files of ours plus the foreign folder that merely looks like one";
}

TEST_F(LogFileTest, FilesToKeepZeroMeansTenAndOneKeepsOnlyTheNewFile)
{
    QDir().mkpath(logs);
    for (int day = 1; day <= 12; ++day)
        touch(logs + QStringLiteral("/Lanternwick-2016-03-%1-081502.log").arg(day, 2, 10, QChar('0')));
    log_initialize(true, 0);
    EXPECT_EQ(entries().size(), 10);

    log_initialize(true, 1);
    EXPECT_EQ(entries(), QStringList { QFileInfo(log_file_path()).fileName() });
}

TEST_F(LogFileTest, SameSecondStartsKeepTheEarlierLog)
{
    log_initialize(true, 10);
    const QString first = log_file_path();
    LOG_NORMAL("first start");
    log_initialize(true, 10);
    const QString second = log_file_path();
    LOG_NORMAL("second start");
    log_initialize(true, 10);
    const QString third = log_file_path();

    EXPECT_NE(first, second);
    EXPECT_NE(second, third);
    EXPECT_TRUE(readFile(first).contains("first start"));
    EXPECT_FALSE(readFile(first).contains("second start"));
    EXPECT_TRUE(readFile(second).contains("second start"));
    EXPECT_EQ(entries().size(), 3);
}

TEST_F(LogFileTest, UncreatableFolderLeavesStandardOutputOnly)
{
    touch(state + "/Lanternwick");  // a file where the folder should be
    log_initialize(true, 10);
    EXPECT_TRUE(log_file_path().isEmpty());
    LOG_NORMAL("still written to standard output");
}
