// Desktop entries read ahead of their launch: what is handed over is what
// the entry says at the moment it is opened, each entry is read once, and
// the one who opens an entry never waits for the entries before it.
#include "WorkspaceTestEnvironment.h"
#include "platform/linux/PreparedApplications.h"

#include <QFile>
#include <QHash>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <future>
#include <gtest/gtest.h>
#include <mutex>

using namespace workspace_test;
using namespace std::chrono_literals;

namespace {

class PreparedApplicationsTest : public testing::Test {
protected:
    void SetUp() override
    {
        folder = hostileTestFolder();
        for (const QString name : { "one", "two", "three" }) {
            paths.append(folder + "/" + name + ".desktop");
            write(paths.last(), "Name=" + name.toUtf8());
        }
    }

    static void write(const QString& path, const QByteArray& line)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Append));
        file.write(line + "\n");
    }

    // Reads an entry as an application, unless the entry says it cannot start.
    PreparedApplications::Reader reader()
    {
        return [this](const QString& path) -> GioPtr<GAppInfo> {
            {
                std::unique_lock lock(mutex);
                ++reads[path];
                changed.notify_all();
                changed.wait(lock, [&] { return !heldPaths.contains(path); });
            }
            QFile file(path);
            if (!file.open(QIODevice::ReadOnly) || file.readAll().contains("NoDisplay"))
                return nullptr;
            return GioPtr<GAppInfo>(g_app_info_create_from_commandline("true", nullptr, G_APP_INFO_CREATE_NONE, nullptr));
        };
    }

    int readsOf(const QString& path)
    {
        const std::lock_guard lock(mutex);
        return reads.value(path);
    }

    void waitForReads(const QStringList& waited)
    {
        std::unique_lock lock(mutex);
        const bool read = changed.wait_for(lock, 10s, [&] {
            return std::all_of(waited.cbegin(), waited.cend(), [&](const QString& path) { return reads.value(path) > 0; });
        });
        ASSERT_TRUE(read);
    }

    void release(const QString& path)
    {
        const std::lock_guard lock(mutex);
        heldPaths.removeOne(path);
        changed.notify_all();
    }

    QString folder;
    QStringList paths;
    std::mutex mutex;
    std::condition_variable changed;
    QHash<QString, int> reads;
    // Their reads wait until they are released.
    QStringList heldPaths;
};

TEST_F(PreparedApplicationsTest, EachEntryIsReadOnceAheadAndHandedOverOnce)
{
    PreparedApplications prepared(reader());
    prepared.prepare(paths);
    waitForReads(paths);

    for (const QString& path : paths) {
        EXPECT_NE(prepared.take(path), nullptr) << path.toStdString();
        EXPECT_EQ(prepared.take(path), nullptr) << "handed over twice: " << path.toStdString();
        EXPECT_EQ(readsOf(path), 1);
    }
}

TEST_F(PreparedApplicationsTest, AnEntryChangedOrGoneSinceItWasReadIsNotHandedOver)
{
    const QString replacement = folder + "/replacement";
    write(replacement, "Name=other");
    PreparedApplications prepared(reader());
    prepared.prepare(paths);
    waitForReads(paths);

    write(paths[0], "Exec=changed");
    ASSERT_TRUE(QFile::remove(paths[1]));
    ASSERT_EQ(std::rename(QFile::encodeName(replacement).constData(), QFile::encodeName(paths[2]).constData()), 0);

    for (const QString& path : paths)
        EXPECT_EQ(prepared.take(path), nullptr) << path.toStdString();
}

// It may start now: its opener reads it again.
TEST_F(PreparedApplicationsTest, AnEntryThatCouldNotStartWhenReadIsNotHandedOver)
{
    write(paths[0], "NoDisplay=true");
    PreparedApplications prepared(reader());
    prepared.prepare(paths);
    waitForReads(paths);

    EXPECT_EQ(prepared.take(paths[0]), nullptr);
    EXPECT_NE(prepared.take(paths[1]), nullptr);
}

TEST_F(PreparedApplicationsTest, ANewRunDropsWhatTheLastOneLeft)
{
    PreparedApplications prepared(reader());
    prepared.prepare({ paths[0] });
    waitForReads({ paths[0] });
    prepared.prepare({ paths[1] });
    waitForReads({ paths[1] });

    EXPECT_EQ(prepared.take(paths[0]), nullptr);
    EXPECT_NE(prepared.take(paths[1]), nullptr);
}

// The first entry's read hangs: the opener of the second reads it itself and
// the queue never does; the opener of the first waits for the read under way.
TEST_F(PreparedApplicationsTest, AnOpenerWaitsOnlyForTheReadOfItsOwnEntry)
{
    heldPaths = { paths[0] };
    {
        PreparedApplications prepared(reader());
        prepared.prepare(paths);
        waitForReads({ paths[0] });

        EXPECT_EQ(prepared.take(paths[1]), nullptr);
        std::future<GioPtr<GAppInfo>> first = std::async(std::launch::async, [&] { return prepared.take(paths[0]); });
        EXPECT_EQ(first.wait_for(100ms), std::future_status::timeout);
        release(paths[0]);
        EXPECT_NE(first.get(), nullptr);
        waitForReads({ paths[2] });
    }
    EXPECT_EQ(readsOf(paths[0]), 1);
    EXPECT_EQ(readsOf(paths[1]), 0);
}

TEST_F(PreparedApplicationsTest, EndingStopsAfterTheEntryBeingRead)
{
    heldPaths = { paths[0] };
    std::future<void> ended;
    {
        auto prepared = std::make_unique<PreparedApplications>(reader());
        prepared->prepare(paths);
        waitForReads({ paths[0] });
        ended = std::async(std::launch::async, [&] { prepared.reset(); });
        EXPECT_EQ(ended.wait_for(100ms), std::future_status::timeout);
        release(paths[0]);
        ended.get();
    }
    EXPECT_EQ(readsOf(paths[1]), 0);
    EXPECT_EQ(readsOf(paths[2]), 0);
}

} // namespace
