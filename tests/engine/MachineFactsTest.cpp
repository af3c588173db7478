#include "engine/MachineFacts.h"
#include "platform/fake/FakeMountedVolumesProvider.h"
#include "platform/fake/FakeReachabilityProvider.h"
#include "platform/fake/FakeWifiProvider.h"

#include <gtest/gtest.h>

namespace {

class MachineFactsTest : public testing::Test {
protected:
    static NetworkData inRange(const QString& name, bool current)
    {
        NetworkData network(name);
        network.setAvailable(true);
        network.setConnected(current);
        network.setCurrent(current);
        return network;
    }

    std::shared_ptr<FakeWifiProvider> wifi = std::make_shared<FakeWifiProvider>();
    std::shared_ptr<FakeMountedVolumesProvider> volumes = std::make_shared<FakeMountedVolumesProvider>();
    std::shared_ptr<FakeReachabilityProvider> reachability = std::make_shared<FakeReachabilityProvider>();
    MachineFacts facts { wifi, volumes, reachability };
};

TEST_F(MachineFactsTest, NetworksInRangeSortedWithTheCurrentFirst)
{
    wifi->setNetworks({}, { "Office", "Cafe", "Home" }, "Home");
    EXPECT_EQ(facts.currentNetworks(), (QList<NetworkData> { inRange("Home", true), inRange("Cafe", false), inRange("Office", false) }));
    EXPECT_EQ(facts.currentNetwork(), NetworkData("Home"));
}

TEST_F(MachineFactsTest, NotAssociatedMarksNothingCurrent)
{
    wifi->setNetworks({}, { "Cafe", "Home" }, "wlan0");
    EXPECT_EQ(facts.currentNetwork().name(), "wlan0");
    EXPECT_EQ(facts.currentNetworks(), (QList<NetworkData> { inRange("Cafe", false), inRange("Home", false) }));

    // Without a Wi-Fi device a nameless (hidden) network is not the current one.
    wifi->setNetworks({}, { "", "Cafe" }, "");
    EXPECT_EQ(facts.currentNetworks(), (QList<NetworkData> { inRange("", false), inRange("Cafe", false) }));
}

TEST_F(MachineFactsTest, SeveralAccessPointsOfTheCurrentNetwork)
{
    wifi->setNetworks({}, { "Home", "Cafe", "Home", "Zoo" }, "Home");
    EXPECT_EQ(facts.currentNetworks(),
              (QList<NetworkData> { inRange("Home", true), inRange("Cafe", false), inRange("Home", true), inRange("Zoo", false) }));
}

TEST_F(MachineFactsTest, KnownNetworksAreReadOnce)
{
    wifi->setNetworks({ "Home", "Office" }, {}, "");
    EXPECT_EQ(facts.knownNetworks(), (QList<NetworkData> { NetworkData("Home"), NetworkData("Office") }));
    wifi->setNetworks({ "Elsewhere" }, {}, "");
    EXPECT_EQ(facts.knownNetworks(), (QList<NetworkData> { NetworkData("Home"), NetworkData("Office") }));
}

TEST_F(MachineFactsTest, VolumesAndReachability)
{
    volumes->setMountedVolumes({ { "/", "Root", true }, { "/media/my disk", "my disk", true } });
    EXPECT_EQ(facts.attachedVolumesData(),
              (QList<AttachedVolumeData> { AttachedVolumeData("/", "Root", true), AttachedVolumeData("/media/my disk", "my disk", true) }));
    EXPECT_FALSE(facts.isNetworkReachable());
    reachability->setReachable(true);
    EXPECT_TRUE(facts.isNetworkReachable());
}

} // namespace
