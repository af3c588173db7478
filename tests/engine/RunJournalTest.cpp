#include "engine/RunJournal.h"
#include "support/EndToEnd.h"
#include "support/TestHome.h"

#include <gtest/gtest.h>

namespace {

QString journalPath()
{
    return freshTestFolder(QStringLiteral("journal")) + QStringLiteral("/state/RunJournal");
}

TEST(RunJournal, ARunCutShortGoesOnWithWhatItHadNotStarted)
{
    const QString path = journalPath();
    RunJournal journal(path);
    EXPECT_FALSE(journal.hasUnfinishedLaunchRun(QStringLiteral("boot/c2/1000")));
    EXPECT_TRUE(journal.beginLaunchRun(QStringLiteral("boot/c2/1000")).startedPaths.isEmpty());
    journal.recordStartedItem({ QStringLiteral("/opt/my apps/one\nline"), 41, 900 });
    journal.recordWaitedDelay(1);
    journal.recordStartedItem({ QStringLiteral("/opt/two"), 0, -1 });

    // The program was killed: a new start reads what the run had done.
    RunJournal later(path);
    EXPECT_TRUE(later.hasUnfinishedLaunchRun(QStringLiteral("boot/c2/1000")));
    EXPECT_FALSE(later.hasUnfinishedLaunchRun(QStringLiteral("boot/c3/1000"))) << "another login";
    const RunJournal::LaunchRun cutShort = later.beginLaunchRun(QStringLiteral("boot/c2/1000"));
    EXPECT_EQ(cutShort.startedPaths, QSet<QString>({ QStringLiteral("/opt/my apps/one\nline"), QStringLiteral("/opt/two") }));
    EXPECT_EQ(cutShort.waitedDelays, QSet<qint32>({ 1 }));
    later.recordStartedItem({ QStringLiteral("/opt/three"), 43, 950 });
    later.recordWaitedDelay(4);
    // Killed again: the run still goes on with everything done so far.
    const RunJournal::LaunchRun again = RunJournal(path).beginLaunchRun(QStringLiteral("boot/c2/1000"));
    EXPECT_EQ(again.startedPaths.size(), 3);
    EXPECT_EQ(again.waitedDelays, QSet<qint32>({ 1, 4 }));
    later.endLaunchRun();
    EXPECT_FALSE(later.hasUnfinishedLaunchRun(QStringLiteral("boot/c2/1000")));

    // Every run of the login knows the processes started.
    const QList<RunJournal::Launch> launches = later.openForLogin(QStringLiteral("boot/c2/1000"));
    ASSERT_EQ(launches.size(), 3);
    EXPECT_EQ(launches[0].path, QStringLiteral("/opt/my apps/one\nline"));
    EXPECT_EQ(launches[0].pid, 41);
    EXPECT_EQ(launches[0].startTicks, 900);
    // A new run after a finished one starts afresh.
    const RunJournal::LaunchRun next = later.beginLaunchRun(QStringLiteral("boot/c2/1000"));
    EXPECT_TRUE(next.startedPaths.isEmpty());
    EXPECT_TRUE(next.waitedDelays.isEmpty());
}

TEST(RunJournal, AnotherLoginAndACutLineStartAfresh)
{
    const QString path = journalPath();
    RunJournal journal(path);
    journal.beginLaunchRun(QStringLiteral("boot/c2/1000"));
    journal.recordStartedItem({ QStringLiteral("/opt/one"), 41, 900 });
    EXPECT_TRUE(journal.openForLogin(QStringLiteral("boot/c5/2000")).isEmpty());
    EXPECT_FALSE(journal.hasUnfinishedLaunchRun(QStringLiteral("boot/c2/1000"))) << "the journal is the new login's";

    journal.beginLaunchRun(QStringLiteral("boot/c5/2000"));
    // A kill in the middle of a write leaves a line without its end.
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write("item 52 1200 /opt/tw");
    file.close();
    EXPECT_TRUE(journal.beginLaunchRun(QStringLiteral("boot/c5/2000")).startedPaths.isEmpty());
    journal.recordStartedItem({ QStringLiteral("/opt/two"), 53, 1300 });
    EXPECT_EQ(journal.beginLaunchRun(QStringLiteral("boot/c5/2000")).startedPaths, QSet<QString>({ QStringLiteral("/opt/two") }));
    // Garbage is no login's journal.
    writeFile(path, QByteArray("\0\xff run\nitem x y\n", 16));
    EXPECT_FALSE(journal.hasUnfinishedLaunchRun(QStringLiteral("boot/c5/2000")));
    EXPECT_TRUE(journal.openForLogin(QStringLiteral("boot/c5/2000")).isEmpty());
}

} // namespace
