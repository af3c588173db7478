// One copy per session by the bus name, and one per data folder across
// sessions by the lock: two private buses stand for two logins of one user.
#include "../keelhouse/PrivateBus.h"
#include "shell/SingleInstance.h"
#include "support/ReadOnlyFolder.h"
#include "support/TestHome.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

using Claim = SingleInstance::Claim;

class SingleInstanceTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(firstBus.isRunning());
        ASSERT_TRUE(secondBus.isRunning());
    }

    // A connection of its own, as another process would have.
    static QDBusConnection connect(const PrivateBus& bus)
    {
        static int connections = 0;
        return QDBusConnection::connectToBus(bus.address(), QStringLiteral("single-instance-%1").arg(++connections));
    }
    static bool owns(const QDBusConnection& connection)
    {
        const QDBusReply<QString> owner = connection.interface()->serviceOwner(SingleInstance::ServiceName);
        return owner.isValid() && owner.value() == connection.baseService();
    }

    const QString folder = freshTestFolder("single-instance");
    PrivateBus firstBus { folder + "/first-bus" };
    PrivateBus secondBus { folder + "/second-bus" };
    const QString lock = folder + "/data/Lanternwick/Lanternwick.lock";
};

TEST_F(SingleInstanceTest, OneCopyPerSessionAndOnePerDataFolderAcrossSessions)
{
    auto owner = std::make_unique<SingleInstance>(lock, connect(firstBus));
    ASSERT_EQ(owner->claim(), Claim::Owned);
    struct stat status {};
    ASSERT_EQ(::stat(QFile::encodeName(QFileInfo(lock).path()).constData(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, mode_t(0700)) << "the data folder is made owner-only";

    SingleInstance sameSession(lock, connect(firstBus));
    EXPECT_EQ(sameSession.claim(), Claim::RunningInThisSession);

    const QDBusConnection otherConnection = connect(secondBus);
    SingleInstance otherSession(lock, otherConnection);
    EXPECT_EQ(otherSession.claim(), Claim::RunningInAnotherSession);
    EXPECT_FALSE(owns(otherConnection)) << "the name on the other bus is given back";

    // Without a bus the lock alone decides.
    SingleInstance busless(lock, QDBusConnection(QStringLiteral("no-such-connection")));
    EXPECT_EQ(busless.claim(), Claim::RunningInAnotherSession);

    owner.reset();
    SingleInstance next(lock, otherConnection);
    EXPECT_EQ(next.claim(), Claim::Owned);
    EXPECT_TRUE(owns(otherConnection));
}

// A data folder nothing can be written into is no sign of another copy: the
// claim alone decides, and still lets only one copy in.
TEST_F(SingleInstanceTest, AFolderThatCannotBeWrittenLeavesItToTheClaim)
{
    const ReadOnlyFolder data(QFileInfo(lock).path());
    if (!data.isReadOnly())
        GTEST_SKIP() << data.skipReason().toStdString();
    SingleInstance owner(lock, connect(firstBus));
    EXPECT_EQ(owner.claim(), Claim::Owned);
    EXPECT_EQ(SingleInstance(lock, connect(secondBus)).claim(), Claim::RunningInAnotherSession);
}

// A relaunch waits a while for the old copy to let go.
TEST_F(SingleInstanceTest, AClaimWaitsForTheLockAsLongAsItIsTold)
{
    QDir().mkpath(QFileInfo(lock).path());
    const int held = ::open(QFile::encodeName(lock).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    ASSERT_GE(held, 0);
    ASSERT_EQ(::flock(held, LOCK_EX | LOCK_NB), 0);

    QElapsedTimer waited;
    waited.start();
    EXPECT_EQ(SingleInstance(lock, connect(firstBus)).claim(300), Claim::RunningInAnotherSession);
    EXPECT_GE(waited.elapsed(), 300);

    std::thread oldCopy([held] {
        QThread::msleep(300);
        ::close(held);
    });
    SingleInstance relaunched(lock, connect(secondBus));
    EXPECT_EQ(relaunched.claim(10000), Claim::Owned);
    oldCopy.join();
}

// Whatever happens on the disk, the data folder has one owner: a folder in
// the lock's place is set aside, and a lock deleted under the owner does not
// let a second copy in.
TEST_F(SingleInstanceTest, TheDataFolderHasOneOwnerWhateverHappensToTheLock)
{
    ASSERT_TRUE(QDir().mkpath(lock));
    auto owner = std::make_unique<SingleInstance>(lock, connect(firstBus));
    ASSERT_EQ(owner->claim(), Claim::Owned);
    EXPECT_TRUE(QFileInfo(lock).isFile()) << "the folder is set aside for the lock";
    EXPECT_EQ(SingleInstance(lock, connect(secondBus)).claim(), Claim::RunningInAnotherSession);

    ASSERT_TRUE(QFile::remove(lock));
    EXPECT_EQ(SingleInstance(lock, connect(secondBus)).claim(), Claim::RunningInAnotherSession);
    ASSERT_TRUE(QDir(QFileInfo(lock).path()).removeRecursively());
    EXPECT_EQ(SingleInstance(lock, connect(secondBus)).claim(), Claim::RunningInAnotherSession);

    owner.reset();
    EXPECT_EQ(SingleInstance(lock, connect(secondBus)).claim(), Claim::Owned);
}

} // namespace
