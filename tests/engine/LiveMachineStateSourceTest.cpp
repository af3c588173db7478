#include "engine/LiveMachineStateSource.h"
#include "engine/MachineFacts.h"
#include "foundation/MHInternalNotifications.h"
#include "foundation/NotificationCenter.h"
#include "foundation/SystemClock.h"
#include "foundation/UserDefaults.h"
#include "model/DBNetworkConditionData.h"
#include "model/DBStartupCondition.h"
#include "model/ExecutionValidationParameters.h"
#include "model/ObjectContext.h"
#include "platform/fake/FakeModifierKeysProvider.h"
#include "platform/fake/FakeMountedVolumesProvider.h"
#include "platform/fake/FakePowerSourceProvider.h"
#include "platform/fake/FakeReachabilityProvider.h"
#include "platform/fake/FakeWifiProvider.h"
#include "support/FakeClock.h"
#include "support/FakeModelTexts.h"
#include "support/TestHome.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <thread>

namespace {

using namespace std::chrono_literals;

// Scans block until the test opens the gate.
class GatedWifiProvider : public FakeWifiProvider {
public:
    QStringList scanNetworkNames() const override
    {
        m_gate.wait();
        return FakeWifiProvider::scanNetworkNames();
    }
    void open() { m_opened.set_value(); }

private:
    std::promise<void> m_opened;
    std::shared_future<void> m_gate = m_opened.get_future().share();
};

// Polls in millisecond steps, for at most a few seconds.
template <typename Predicate>
bool eventually(Predicate predicate)
{
    for (int i = 0; i < 5000; ++i) {
        if (predicate())
            return true;
        std::this_thread::sleep_for(1ms);
    }
    return predicate();
}

class LiveMachineStateSourceTest : public testing::Test {
protected:
    void SetUp() override { defaults.setFloat("Tweaking.Timings.NetworkScanInterval", 10); }

    std::unique_ptr<LiveMachineStateSource> makeSource(std::shared_ptr<const Clock> clock)
    {
        return std::make_unique<LiveMachineStateSource>(std::make_shared<MachineFacts>(wifi, volumes, reachability), keys, power,
                                                        std::move(clock), &defaults, &center);
    }

    static NetworkData scanned(const QString& name, bool current)
    {
        NetworkData network(name);
        network.setAvailable(true);
        network.setConnected(current);
        network.setCurrent(current);
        return network;
    }

    UserDefaults defaults { freshTestFolder("live-source") + "/settings.conf" };
    NotificationCenter center;
    std::shared_ptr<FakeClock> clock = std::make_shared<FakeClock>();
    std::shared_ptr<GatedWifiProvider> wifi = std::make_shared<GatedWifiProvider>();
    std::shared_ptr<FakeMountedVolumesProvider> volumes = std::make_shared<FakeMountedVolumesProvider>();
    std::shared_ptr<FakeReachabilityProvider> reachability = std::make_shared<FakeReachabilityProvider>();
    std::shared_ptr<FakeModifierKeysProvider> keys = std::make_shared<FakeModifierKeysProvider>();
    std::shared_ptr<FakePowerSourceProvider> power = std::make_shared<FakePowerSourceProvider>();
};

TEST_F(LiveMachineStateSourceTest, SamplesTheProviders)
{
    wifi->open();
    auto source = makeSource(clock);
    keys->setModifierKeys({ .control = false, .option = true, .shift = false, .command = true });
    power->setPowerSource(PowerSourceProvider::Battery);
    volumes->setMountedVolumes({ { "/media/disk", "disk", true } });
    reachability->setReachable(true);

    const MachineStateSource::ModifierKeys sampled = source->currentModifierKeys();
    EXPECT_TRUE(sampled.option && sampled.command && !sampled.control && !sampled.shift);
    EXPECT_EQ(source->currentPowerSource(), 1u);
    power->setPowerSource(PowerSourceProvider::PowerSupply);
    EXPECT_EQ(source->currentPowerSource(), 0u);
    EXPECT_EQ(source->attachedVolumesData(), (QList<AttachedVolumeData> { AttachedVolumeData("/media/disk", "disk", true) }));
    EXPECT_TRUE(source->isNetworkReachable());
}

// Keys the window system does not tell (Wayland, no window of ours in front)
// count as not held, and the log says so once.
TEST_F(LiveMachineStateSourceTest, UnknownKeysCountAsNotHeldAndAreLoggedOnce)
{
    auto source = makeSource(clock);
    keys->setModifierKeysUnknown();
    testing::internal::CaptureStdout();
    const MachineStateSource::ModifierKeys first = source->currentModifierKeys();
    source->currentModifierKeys();
    const QString printed = QString::fromStdString(testing::internal::GetCapturedStdout());
    EXPECT_FALSE(first.control || first.option || first.shift || first.command);
    EXPECT_EQ(printed.count("The modifier keys cannot be read now"), 1) << printed.toStdString();
}

TEST_F(LiveMachineStateSourceTest, ScanIntervalZeroNeverScans)
{
    wifi->open();
    defaults.setFloat("Tweaking.Timings.NetworkScanInterval", 0);
    wifi->setNetworks({ "Home" }, { "Cafe" }, "Cafe");
    auto source = makeSource(clock);
    int notifications = 0;
    const NotificationCenter::Token token = center.addObserver(MHInternalNotifications::MHInternalNotificationNetworkDataFetchDidComplete,
                                                               nullptr, [&](const Notification&) { ++notifications; });

    bool completed = false;
    source->fetchTimeIntensiveBlockingValues([&](const QList<NetworkData>&) { completed = true; });
    EXPECT_TRUE(completed);
    source->fetchTimeIntensiveBlockingValues();
    clock->advance(60);
    source->waitForFirstNetworkScan();

    EXPECT_FALSE(source->hasCompletedNetworkScan());
    EXPECT_EQ(source->cachedNetworks(), (QList<NetworkData> { NetworkData("Home") }));
    EXPECT_EQ(wifi->scanCount(), 0);
    EXPECT_EQ(notifications, 0);
}

TEST_F(LiveMachineStateSourceTest, CachedNetworksListScannedThenKnownOnce)
{
    wifi->open();
    wifi->setNetworks({ "Office", "Home", "Office", "Attic" }, { "Home", "Cafe" }, "Home");
    auto source = makeSource(clock);
    std::atomic<bool> completed = false;
    source->fetchTimeIntensiveBlockingValues([&](const QList<NetworkData>&) { completed = true; });
    ASSERT_TRUE(eventually([&] { return completed.load(); }));

    EXPECT_TRUE(source->hasCompletedNetworkScan());
    EXPECT_EQ(source->cachedNetworks(), (QList<NetworkData> { scanned("Home", true), scanned("Cafe", false), NetworkData("Office"),
                                                              NetworkData("Attic") }));
}

TEST_F(LiveMachineStateSourceTest, AScanOnItsWayIsNotQueuedAgain)
{
    wifi->setNetworks({}, { "Cafe" }, "");
    auto source = makeSource(clock);
    std::atomic<int> completions = 0;
    for (int i = 0; i < 3; ++i)
        source->fetchTimeIntensiveBlockingValues([&](const QList<NetworkData>&) { ++completions; });
    wifi->open();
    ASSERT_TRUE(eventually([&] { return completions == 3; }));
    EXPECT_EQ(wifi->scanCount(), 1);

    // Once that scan has ended, a new request scans again.
    source->fetchTimeIntensiveBlockingValues([&](const QList<NetworkData>&) { ++completions; });
    ASSERT_TRUE(eventually([&] { return completions == 4; }));
    EXPECT_EQ(wifi->scanCount(), 2);
}

TEST_F(LiveMachineStateSourceTest, PeriodicScanPostsTheNetworks)
{
    wifi->open();
    wifi->setNetworks({}, { "Cafe" }, "");
    auto source = makeSource(clock);
    std::mutex mutex;
    QList<Notification> posted;
    const NotificationCenter::Token token = center.addObserver(MHInternalNotifications::MHInternalNotificationNetworkDataFetchDidComplete,
                                                               nullptr, [&](const Notification& notification) {
                                                                   std::lock_guard lock(mutex);
                                                                   posted.append(notification);
                                                               });
    source->fetchTimeIntensiveBlockingValues();
    ASSERT_TRUE(eventually([&] { return source->hasCompletedNetworkScan(); }));
    {
        std::lock_guard lock(mutex);
        EXPECT_TRUE(posted.isEmpty());
    }

    clock->advance(10);
    ASSERT_TRUE(eventually([&] {
        std::lock_guard lock(mutex);
        return posted.size() == 1;
    }));
    EXPECT_EQ(wifi->scanCount(), 2);
    {
        std::lock_guard lock(mutex);
        EXPECT_EQ(posted[0].sender, source.get());
        EXPECT_EQ(posted[0].userInfo.value(MHInternalNotifications::networks).value<QList<NetworkData>>(),
                  (QList<NetworkData> { scanned("Cafe", false) }));
    }

    clock->advance(10);
    ASSERT_TRUE(eventually([&] {
        std::lock_guard lock(mutex);
        return posted.size() == 2;
    }));
}

TEST_F(LiveMachineStateSourceTest, WaitingForTheFirstScanIsBounded)
{
    auto source = makeSource(SystemClock::shared());
    source->setFirstScanTimeout(0.02);
    source->fetchTimeIntensiveBlockingValues();
    const auto started = std::chrono::steady_clock::now();
    source->waitForFirstNetworkScan();
    EXPECT_LT(std::chrono::steady_clock::now() - started, 2s);
    EXPECT_FALSE(source->hasCompletedNetworkScan());
    wifi->open();
}

TEST_F(LiveMachineStateSourceTest, FirstJudgementAtLoginSeesTheFirstScan)
{
    wifi->setNetworks({}, { "Home" }, "Home");
    std::shared_ptr<LiveMachineStateSource> source = makeSource(SystemClock::shared());
    FakeModelTexts texts;
    ObjectContext context(texts);
    DBStartupCondition* atHome = context.createNetworkStartupCondition();
    atHome->conditionNetworkData()->setNetworkName("Home");
    atHome->conditionNetworkData()->setNetworkStatusValue(NetworkStatusConnected);

    std::shared_ptr<ExecutionValidationParameters> atLogin = ExecutionValidationParameters::create(source);
    atLogin->updateWithCurrentValues();
    EXPECT_TRUE(atLogin->networks().isEmpty());

    std::thread scanEnds([this] {
        std::this_thread::sleep_for(5ms);
        wifi->open();
    });
    // Settled off the main thread, as the run does before judging there.
    std::thread([&] { atLogin->networksAfterFirstScan(); }).join();
    EXPECT_TRUE(atHome->isExecutionAllowedForParameters(*atLogin));
    scanEnds.join();
    EXPECT_EQ(wifi->scanCount(), 1);
}

// Reading the saved networks blocks until the test opens the gate; the test
// learns when the read has begun.
class SlowSavedNetworksWifiProvider : public FakeWifiProvider {
public:
    QStringList knownNetworkNames() const override
    {
        m_reading.set_value();
        m_gate.wait();
        return FakeWifiProvider::knownNetworkNames();
    }
    void waitUntilReading() { m_readingFuture.wait(); }
    void open() { m_opened.set_value(); }

private:
    mutable std::promise<void> m_reading;
    std::future<void> m_readingFuture = m_reading.get_future();
    std::promise<void> m_opened;
    std::shared_future<void> m_gate = m_opened.get_future().share();
};

// The holders let a snapshot and its source go while the scan the snapshot
// asked for is still busy: the scan must not be left holding the last of
// them, since the source cannot be destroyed from its own scan queue.
TEST_F(LiveMachineStateSourceTest, ASnapshotAndItsSourceLetGoDuringAScanAreDestroyedByTheirHolder)
{
    wifi->open();
    auto slowWifi = std::make_shared<SlowSavedNetworksWifiProvider>();
    std::shared_ptr<LiveMachineStateSource> source = std::make_shared<LiveMachineStateSource>(
        std::make_shared<MachineFacts>(slowWifi, volumes, reachability), keys, power, clock, &defaults, &center);
    std::shared_ptr<ExecutionValidationParameters> snapshot = ExecutionValidationParameters::create(source);
    // The saved networks are first read on the scan's thread, for the scan's result.
    snapshot->refetchAndAssignTimeIntensiveBlockingValues();
    slowWifi->waitUntilReading();

    const std::weak_ptr<LiveMachineStateSource> watched = source;
    std::atomic<bool> letGo = false;
    // Opened once the holder has let go, or while it waits for the scan.
    std::thread opener([&] {
        while (!letGo && !watched.expired())
            std::this_thread::sleep_for(1ms);
        slowWifi->open();
    });
    snapshot.reset();
    source.reset();
    letGo = true;
    opener.join();
    // Whoever released the source last has destroyed it, and with it the facts.
    ASSERT_TRUE(eventually([&] { return slowWifi.use_count() == 1; }));
}

} // namespace
