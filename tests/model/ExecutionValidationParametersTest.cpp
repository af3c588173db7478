#include "RulesTestFixture.h"
#include "model/DBDelayItem.h"
#include "model/DBNetworkConditionData.h"
#include "model/DBStartupCondition.h"

#include <thread>

namespace {

// Answers what the test set and notes what it was asked; a scan ends when
// the test says so.
class FakeMachineStateSource : public MachineStateSource {
public:
    QDateTime currentTime() const override { return answer("time", time); }
    ModifierKeys currentModifierKeys() const override { return answer("keys", keys); }
    uint32_t currentPowerSource() const override { return answer("power", power); }
    QList<AttachedVolumeData> attachedVolumesData() const override { return answer("volumes", volumes); }
    QList<NetworkData> cachedNetworks() const override { return answer("networks", cache); }
    bool isNetworkReachable() const override { return answer("reachability", reachable); }
    void fetchTimeIntensiveBlockingValues(NetworksCompletion completion) override { pending.push_back(std::move(completion)); }
    bool hasCompletedNetworkScan() const override { return scanCompleted; }
    void waitForFirstNetworkScan() const override
    {
        ++waits;
        if (onWait)
            onWait();
    }
    QList<DBLoginItem*> sortedLoginItemsForApplicationGroup() const override { return items; }

    void finishScan(const QList<NetworkData>& networks)
    {
        cache = networks;
        scanCompleted = true;
        for (const auto& completion : std::exchange(pending, {}))
            completion(cache);
    }

    template <typename T>
    const T& answer(const char* what, const T& value) const
    {
        asked.append(what);
        return value;
    }

    QDateTime time;
    ModifierKeys keys;
    uint32_t power = 0;
    QList<AttachedVolumeData> volumes;
    QList<NetworkData> cache;
    bool reachable = false;
    bool scanCompleted = false;
    std::vector<NetworksCompletion> pending;
    mutable QStringList asked;
    mutable int waits = 0;
    std::function<void()> onWait;
    QList<DBLoginItem*> items;
};

class ExecutionValidationParametersTest : public RulesTest {
protected:
    std::shared_ptr<FakeMachineStateSource> source = std::make_shared<FakeMachineStateSource>();
};

TEST_F(ExecutionValidationParametersTest, NeighboursByIdentity)
{
    DBDelayItem* first = context.createDelayItemWithDelay(1);
    DBDelayItem* middle = context.createDelayItemWithDelay(1);
    DBDelayItem* last = context.createDelayItemWithDelay(1);
    DBDelayItem* outside = context.createDelayItemWithDelay(1);
    params.setAvailableItems({ first, middle, last });

    EXPECT_EQ(params.availableItemBeforeOfItem(first), nullptr);
    EXPECT_EQ(params.availableItemAfterItem(first), middle);
    EXPECT_EQ(params.availableItemBeforeOfItem(middle), first);
    EXPECT_EQ(params.availableItemAfterItem(middle), last);
    EXPECT_EQ(params.availableItemAfterItem(last), nullptr);
    EXPECT_EQ(params.availableItemBeforeOfItem(outside), nullptr);
    EXPECT_EQ(params.availableItemAfterItem(outside), nullptr);
    EXPECT_EQ(params.availableItemAfterItem(nullptr), nullptr);

    params.setAvailableItems({ last, first });
    EXPECT_EQ(params.availableItemAfterItem(last), first);
    EXPECT_EQ(params.availableItemBeforeOfItem(first), last);
    EXPECT_EQ(params.availableItemAfterItem(middle), nullptr);
}

TEST_F(ExecutionValidationParametersTest, LogDescription)
{
    EXPECT_EQ(params.logDescription(), "ExecutionValidationParameters (PWR HD0, NET0)");
    params.setControlKeyPressed(true);
    params.setOptionKeyPressed(true);
    params.setShiftKeyPressed(true);
    params.setCommandKeyPressed(true);
    params.setPowerSource(PowerSourceTypeBattery);
    params.setVolumes({ AttachedVolumeData("/", "Root", true), AttachedVolumeData("/media/x", "x", true) });
    params.setNetworks({ NetworkData("Home") });
    EXPECT_EQ(params.logDescription(), QString::fromUtf8("ExecutionValidationParameters (^⌥⇧⌘ BAT HD2, NET1)"));
    params.setControlKeyPressed(false);
    params.setShiftKeyPressed(false);
    EXPECT_EQ(params.logDescription(), QString::fromUtf8("ExecutionValidationParameters (⌥⌘ BAT HD2, NET1)"));
}

TEST_F(ExecutionValidationParametersTest, RecordTextForms)
{
    EXPECT_EQ(AttachedVolumeData("/media/a", "Backup", true).description(), "Backup a");
    EXPECT_EQ(AttachedVolumeData("/media/a", "Backup", false).description(), "Backup -");
    NetworkData home("Home");
    EXPECT_EQ(home.description(), "Home --");
    home.setAvailable(true);
    home.setConnected(true);
    EXPECT_EQ(home.description(), "Home ac");
}

TEST_F(ExecutionValidationParametersTest, SamplesTheSourceAndTakesTheScannedNetworksLater)
{
    source->time = at(2024, 1, 8, 9, 30);
    source->keys.option = true;
    source->keys.command = true;
    source->power = PowerSourceTypeBattery;
    source->volumes = { AttachedVolumeData("/media/disk", "disk", true) };
    source->cache = { NetworkData("Known") };
    source->reachable = true;
    source->items = { context.createDelayItemWithDelay(2) };

    ExecutionValidationParameters::setDefaultMachineStateSource(source);
    std::shared_ptr<ExecutionValidationParameters> sample = ExecutionValidationParameters::executionValidationParametersFromCurrentValues();
    ExecutionValidationParameters::setDefaultMachineStateSource(nullptr);

    EXPECT_EQ(sample->time(), source->time);
    EXPECT_FALSE(sample->isControlKeyPressed());
    EXPECT_TRUE(sample->isOptionKeyPressed());
    EXPECT_FALSE(sample->isShiftKeyPressed());
    EXPECT_TRUE(sample->isCommandKeyPressed());
    EXPECT_EQ(sample->powerSource(), 1u);
    EXPECT_EQ(sample->volumes(), source->volumes);
    EXPECT_TRUE(sample->isNetworkReachable());
    EXPECT_EQ(sample->networks(), (QList<NetworkData> { NetworkData("Known") }));
    EXPECT_EQ(sample->availableItems(), source->items);
    EXPECT_FALSE(sample->isJustBeforeLaunchCheck());

    ASSERT_EQ(source->pending.size(), 1u);
    source->finishScan({ NetworkData("Scanned"), NetworkData("Known") });
    EXPECT_EQ(sample->networks(), source->cache);
}

TEST_F(ExecutionValidationParametersTest, AFreshSampleReadsEachValueWhenItIsFirstAskedFor)
{
    std::shared_ptr<ExecutionValidationParameters> sample = ExecutionValidationParameters::create(source);
    sample->updateWithCurrentValues();
    EXPECT_EQ(source->asked, QStringList());

    // Unplugged after the refresh, before the rule reads the source.
    source->power = PowerSourceTypeBattery;
    EXPECT_EQ(sample->powerSource(), 1u);
    source->power = PowerSourceTypePowerSupply;
    EXPECT_EQ(sample->powerSource(), 1u);
    source->volumes = { AttachedVolumeData("/media/disk", "disk", true) };
    EXPECT_EQ(sample->volumes(), source->volumes);
    EXPECT_EQ(source->asked, QStringList({ "power", "volumes" }));
    EXPECT_TRUE(source->pending.empty());

    sample->updateWithCurrentValues();
    EXPECT_EQ(sample->powerSource(), 0u);
    // Reading the networks asks for a scan, whose newer list replaces them.
    EXPECT_TRUE(sample->networks().isEmpty());
    ASSERT_EQ(source->pending.size(), 1u);
    source->finishScan({ NetworkData("Home") });
    EXPECT_EQ(sample->networks(), QList<NetworkData> { NetworkData("Home") });
    EXPECT_EQ(source->asked, QStringList({ "power", "volumes", "power", "networks" }));
}

TEST_F(ExecutionValidationParametersTest, ValuesSetByHandAreNeverSampledOver)
{
    std::shared_ptr<ExecutionValidationParameters> sample = ExecutionValidationParameters::create(source);
    sample->updateWithCurrentValues();
    sample->setPowerSource(PowerSourceTypeBattery);
    sample->setShiftKeyPressed(true);
    EXPECT_EQ(sample->powerSource(), 1u);
    EXPECT_TRUE(sample->isShiftKeyPressed());
    EXPECT_EQ(source->asked, QStringList());
}

TEST_F(ExecutionValidationParametersTest, ALateScanOfAReleasedSnapshotIsHarmless)
{
    std::shared_ptr<ExecutionValidationParameters> kept = ExecutionValidationParameters::create(source);
    kept->updateWithCurrentValues();
    kept->networks();
    std::shared_ptr<ExecutionValidationParameters> sample = ExecutionValidationParameters::create(source);
    sample->updateWithCurrentValues();
    sample->networks();
    sample.reset();
    source->finishScan({ NetworkData("Home") });
    EXPECT_TRUE(source->pending.empty());
    // The scan still reaches the snapshot that is alive.
    EXPECT_EQ(kept->networks(), QList<NetworkData> { NetworkData("Home") });
}

TEST_F(ExecutionValidationParametersTest, NamedNetworkConditionWaitsOnceForTheFirstScanOffTheMainThread)
{
    DBStartupCondition* home = context.createNetworkStartupCondition();
    home->conditionNetworkData()->setNetworkName("Home");
    NetworkData scanned("Home");
    scanned.setAvailable(true);
    // The scan ends while the run's thread waits for it.
    source->onWait = [&] { source->finishScan({ scanned }); };

    std::shared_ptr<ExecutionValidationParameters> sample = ExecutionValidationParameters::create(source);
    sample->updateWithCurrentValues();
    std::thread([&] { EXPECT_EQ(sample->networksAfterFirstScan(), QList<NetworkData> { scanned }); }).join();
    std::thread([&] { sample->networksAfterFirstScan(); }).join();
    EXPECT_EQ(source->waits, 1);
    EXPECT_TRUE(home->isExecutionAllowedForParameters(*sample));

    // Sampled after a scan: no waiting.
    std::shared_ptr<ExecutionValidationParameters> later = ExecutionValidationParameters::create(source);
    later->updateWithCurrentValues();
    std::thread([&] { later->networksAfterFirstScan(); }).join();
    EXPECT_EQ(source->waits, 1);
}

TEST_F(ExecutionValidationParametersTest, JudgingOnTheMainThreadNeverWaitsForTheFirstScan)
{
    DBStartupCondition* home = context.createNetworkStartupCondition();
    home->conditionNetworkData()->setNetworkName("Home");
    NetworkData known("Home");
    source->cache = { known };

    std::shared_ptr<ExecutionValidationParameters> sample = ExecutionValidationParameters::create(source);
    sample->updateWithCurrentValues();
    // Judged with the saved networks of the sample: known, but not in range.
    EXPECT_FALSE(home->isExecutionAllowedForParameters(*sample));
    EXPECT_EQ(source->waits, 0);
}

TEST_F(ExecutionValidationParametersTest, InternetConditionAndHandBuiltSnapshotsNeverWait)
{
    DBStartupCondition* internet = context.createNetworkStartupCondition();
    std::shared_ptr<ExecutionValidationParameters> sample = ExecutionValidationParameters::create(source);
    sample->updateWithCurrentValues();
    EXPECT_FALSE(internet->isExecutionAllowedForParameters(*sample));

    DBStartupCondition* home = context.createNetworkStartupCondition();
    home->conditionNetworkData()->setNetworkName("Home");
    EXPECT_FALSE(home->isExecutionAllowedForParameters(params));
    EXPECT_EQ(source->waits, 0);
}

} // namespace
