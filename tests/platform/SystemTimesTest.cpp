#include "FakeDBusService.h"
#include "platform/linux/LinuxIdleInhibitor.h"
#include "platform/linux/LinuxSystemTimesProvider.h"
#include "support/EndToEnd.h"
#include "support/TestHome.h"
#include "support/UtmpFixture.h"

#include <QDBusObjectPath>
#include <QDBusUnixFileDescriptor>
#include <QFile>
#include <QRandomGenerator>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>
#include <utmpx.h>
#include <gtest/gtest.h>

namespace {

TEST(SystemTimes, BootTimeComesFromTheBtimeLine)
{
    EXPECT_EQ(LinuxSystemTimesProvider::bootTimeFromProcStat("cpu  1 2 3\nintr 5\nbtime 1700000000\nprocesses 9\n"), 1700000000);
    EXPECT_FALSE(LinuxSystemTimesProvider::bootTimeFromProcStat("cpu 1 2\n"));
    EXPECT_FALSE(LinuxSystemTimesProvider::bootTimeFromProcStat("btime\nbtime abc\nbtime -5\nbtimes 12\n"));
    EXPECT_FALSE(LinuxSystemTimesProvider::bootTimeFromProcStat(QByteArray()));
}

TEST(SystemTimes, ReadsAFakeProcRootAndAnswersUnknownWithoutOne)
{
    const QString root = freshTestFolder(QStringLiteral("proc"));
    writeFile(root + "/stat", "cpu 1\nbtime 1700000000\n");
    EXPECT_EQ(LinuxSystemTimesProvider(root).bootTime(), QDateTime::fromSecsSinceEpoch(1700000000));
    EXPECT_FALSE(LinuxSystemTimesProvider(root + "/missing").bootTime().isValid());
}

utmpx loginRecordOn(const char* line, const char* host, pid_t pid, qint64 seconds)
{
    return loginRecord(USER_PROCESS, "alice", seconds, line, host, pid);
}

// Another login of the user still open (a console, ssh) is another session:
// only this session's own record tells when it began.
TEST(SystemTimes, LoginTimeIsTheLoginRecordOfThisSession)
{
    const QString root = freshTestFolder(QStringLiteral("login"));
    writeFile(root + "/stat", "btime 1700000000\n");
    const QString utmp = root + "/utmp";
    writeFile(utmp, bytesOf({ loginRecord(USER_PROCESS, "alice", 1699990000), // an earlier boot
                              loginRecord(USER_PROCESS, "bob", 1700000100),
                              loginRecordOn("tty1", "", 7001, 1700000200), // a text console, still open
                              loginRecordOn("pts/3", "192.0.2.4", 7002, 1700000250), // ssh
                              loginRecordOn("tty7", ":0", 7003, 1700000900), // the desktop
                              loginRecord(DEAD_PROCESS, "alice", 1700000050) }));
    qunsetenv("XDG_VTNR");
    qunsetenv("DISPLAY");
    const LinuxSystemTimesProvider times(root, utmp, "alice");
    EXPECT_FALSE(times.loginTime().isValid()) << "never merely some login of the user";
    qputenv("DISPLAY", ":0.0");
    EXPECT_EQ(times.loginTime(), QDateTime::fromSecsSinceEpoch(1700000900)) << "by the display";
    qunsetenv("DISPLAY");
    qputenv("XDG_VTNR", "1");
    EXPECT_EQ(times.loginTime(), QDateTime::fromSecsSinceEpoch(1700000200)) << "by the terminal";
    qputenv("XDG_VTNR", "7");
    EXPECT_EQ(times.loginTime(), QDateTime::fromSecsSinceEpoch(1700000900));
    EXPECT_FALSE(LinuxSystemTimesProvider(root, utmp, "carol").loginTime().isValid());
    EXPECT_FALSE(LinuxSystemTimesProvider(root, root + "/no-utmp", "alice").loginTime().isValid());
}

// The session's login process is an ancestor of this start: the real process
// tree is read, with a console login of the user open beside it.
TEST(SystemTimes, LoginTimeIsTheRecordOfAnAncestorOfThisStart)
{
    const QString root = freshTestFolder(QStringLiteral("ancestor"));
    const QString utmp = root + "/utmp";
    const qint64 now = QDateTime::currentSecsSinceEpoch();
    qunsetenv("XDG_VTNR");
    qunsetenv("DISPLAY");
    writeFile(utmp, bytesOf({ loginRecordOn("tty1", "", 1, now - 2),
                              loginRecordOn("tty9", "", getppid(), now - 1),
                              loginRecordOn("tty2", "", 999999999, now) }));
    const LinuxSystemTimesProvider times(QStringLiteral("/proc"), utmp, "alice");
    EXPECT_EQ(times.loginTime(), QDateTime::fromSecsSinceEpoch(now - 1));
}

TEST(SystemTimes, LoginTimeIsTheStartOfLogindsSessionElseTheLoginRecords)
{
    const QString root = freshTestFolder(QStringLiteral("logind"));
    writeFile(root + "/stat", "btime 1700000000\n");
    const QString utmp = root + "/utmp";
    writeFile(utmp, bytesOf({ loginRecord(USER_PROCESS, "alice", 1700000300) }));
    FakeDBusService logind;
    const QString manager = QStringLiteral("org.freedesktop.login1.Manager");
    logind.setMethod("/org/freedesktop/login1", manager, "GetSession", [](const QDBusMessage& call) {
        if (call.arguments().value(0).toString() != QLatin1String("c4"))
            return QVariantList {};
        return QVariantList { QVariant::fromValue(QDBusObjectPath(QStringLiteral("/org/freedesktop/login1/session/c4"))) };
    });
    logind.setProperty("/org/freedesktop/login1/session/c4", "org.freedesktop.login1.Session", "Timestamp",
                       QVariant::fromValue<qulonglong>(1700000123456789ULL));
    const LinuxSystemTimesProvider times(root, utmp, "alice", QDBusConnection::sessionBus(), logind.serviceName());
    qputenv("XDG_VTNR", "2");

    qputenv("XDG_SESSION_ID", "c4");
    EXPECT_EQ(times.loginSessionID(), QStringLiteral("c4"));
    EXPECT_EQ(times.loginTime(), QDateTime::fromMSecsSinceEpoch(1700000123456));
    // A session logind does not know, and no session at all: the login records answer.
    qputenv("XDG_SESSION_ID", "c5");
    EXPECT_EQ(times.loginTime(), QDateTime::fromSecsSinceEpoch(1700000300));
    qunsetenv("XDG_SESSION_ID");
    EXPECT_TRUE(times.loginSessionID().isEmpty());
    EXPECT_EQ(times.loginTime(), QDateTime::fromSecsSinceEpoch(1700000300));
    EXPECT_EQ(logind.callCount("/org/freedesktop/login1", manager, "GetSession"), 2);
}

TEST(SystemTimes, GarbageLoginRecordsDoNotCrash)
{
    const QString root = freshTestFolder(QStringLiteral("garbage"));
    writeFile(root + "/stat", "btime 1\n");
    QByteArray noise(static_cast<qsizetype>(sizeof(utmpx) * 3 + 17), '\0');
    for (char& byte : noise)
        byte = static_cast<char>(QRandomGenerator::global()->bounded(256));
    // A user name that fills its field with no terminator.
    utmpx full = loginRecord(USER_PROCESS, "", 100);
    std::memset(full.ut_user, 'x', sizeof full.ut_user);
    writeFile(root + "/utmp", bytesOf({ full }) + noise);
    const QString longName(static_cast<qsizetype>(sizeof full.ut_user), 'x');
    qputenv("XDG_VTNR", "2");
    EXPECT_EQ(LinuxSystemTimesProvider(root, root + "/utmp", longName).loginTime(), QDateTime::fromSecsSinceEpoch(100));
}

TEST(SystemTimes, TimeSinceStartupCountsFromTheBoot)
{
    EXPECT_GT(LinuxSystemTimesProvider().timeSinceStartup(), 0);
}

TEST(IdleInhibitor, HoldsLogindsLockOnlyDuringTheBlock)
{
    int pipeEnds[2];
    ASSERT_EQ(pipe2(pipeEnds, O_CLOEXEC), 0);
    FakeDBusService logind;
    QVariantList arguments;
    logind.setMethod("/org/freedesktop/login1", "org.freedesktop.login1.Manager", "Inhibit", [&](const QDBusMessage& call) {
        arguments = call.arguments();
        // The reply takes the writing end itself, so once it is sent only the
        // inhibitor's copy keeps it open.
        QDBusUnixFileDescriptor lock;
        lock.giveFileDescriptor(pipeEnds[1]);
        return QVariantList { QVariant::fromValue(lock) };
    });
    LinuxIdleInhibitor inhibitor(QDBusConnection::sessionBus(), logind.serviceName());
    auto writerClosed = [&](int timeoutMs) {
        pollfd reader { pipeEnds[0], POLLIN, 0 };
        return poll(&reader, 1, timeoutMs) == 1 && (reader.revents & POLLHUP);
    };
    bool heldDuringBlock = false;
    int blocks = 0;
    inhibitor.performActivity("delay before executing", [&] {
        ++blocks;
        heldDuringBlock = !writerClosed(0);
    });
    EXPECT_EQ(blocks, 1);
    EXPECT_TRUE(heldDuringBlock);
    // Idle only: a suspend the user asks for is never held up by a run.
    EXPECT_EQ(arguments, QVariantList({ "idle", "Lanternwick", "delay before executing", "block" }));
    EXPECT_TRUE(writerClosed(2000)) << "the lock is let go after the block";
    close(pipeEnds[0]);
}

TEST(IdleInhibitor, WithoutLogindTheBlockStillRunsOnce)
{
    LinuxIdleInhibitor inhibitor(QDBusConnection::sessionBus(), QStringLiteral("org.lanternwick.Test.NoLogind"));
    int blocks = 0;
    inhibitor.performActivity("delay before executing", [&] { ++blocks; });
    EXPECT_EQ(blocks, 1);
}

} // namespace
