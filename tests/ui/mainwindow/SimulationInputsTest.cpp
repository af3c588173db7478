// What the simulation bar makes of the user's choices: the simulated moment,
// the volumes and networks offered, and the labels of its buttons.
#include "ui/mainwindow/SimulationInputs.h"

#include <gtest/gtest.h>

namespace {

const QTimeZone berlin("Europe/Berlin");

QDateTime berlinTime(int year, int month, int day, int hour, int minute)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute), berlin);
}

TEST(SimulationInputsTest, SimulatedDateLiesInTheNextWeek)
{
    // Wednesday 9 December 2026.
    const QDateTime now = berlinTime(2026, 12, 9, 15, 30);
    EXPECT_EQ(SimulationInputs::simulatedDate(now, 0, 0, berlin), berlinTime(2026, 12, 14, 0, 0));
    EXPECT_EQ(SimulationInputs::simulatedDate(now, 6, 1439, berlin), berlinTime(2026, 12, 20, 23, 59));
    // From Monday and from Sunday of the same week alike.
    EXPECT_EQ(SimulationInputs::simulatedDate(berlinTime(2026, 12, 7, 0, 0), 2, 600, berlin), berlinTime(2026, 12, 16, 10, 0));
    EXPECT_EQ(SimulationInputs::simulatedDate(berlinTime(2026, 12, 13, 23, 59), 2, 600, berlin), berlinTime(2026, 12, 16, 10, 0));
    // Across the year's end.
    EXPECT_EQ(SimulationInputs::simulatedDate(berlinTime(2026, 12, 31, 12, 0), 4, 61, berlin), berlinTime(2027, 1, 8, 1, 1));
    // The week is the zone's: late Sunday in UTC is already Monday in Berlin.
    const QDateTime sundayNightUtc(QDate(2026, 12, 13), QTime(23, 30), QTimeZone::utc());
    EXPECT_EQ(SimulationInputs::simulatedDate(sundayNightUtc, 0, 0, berlin), berlinTime(2026, 12, 21, 0, 0));
}

TEST(SimulationInputsTest, DayAndMinuteAreClampedAndAMissingMinuteMovesOn)
{
    const QDateTime now = berlinTime(2026, 12, 9, 15, 30);
    EXPECT_EQ(SimulationInputs::simulatedDate(now, -3, -20, berlin), berlinTime(2026, 12, 14, 0, 0));
    EXPECT_EQ(SimulationInputs::simulatedDate(now, 99, 5000, berlin), berlinTime(2026, 12, 20, 23, 59));
    // Sunday 28 March 2027 the clocks in Berlin go from 02:00 to 03:00.
    const QDateTime beforeChange = berlinTime(2027, 3, 17, 12, 0);
    const QDateTime inGap = SimulationInputs::simulatedDate(beforeChange, 6, 2 * 60 + 30, berlin);
    EXPECT_EQ(inGap, berlinTime(2027, 3, 28, 3, 0));
    EXPECT_EQ(inGap.time(), QTime(3, 0));
    EXPECT_EQ(SimulationInputs::simulatedDate(beforeChange, 6, 3 * 60 + 5, berlin).time(), QTime(3, 5));
}

TEST(SimulationInputsTest, VolumeRowsListMountedThenNamedPathsOnce)
{
    const auto nameForPath = [](const QString& path) { return QStringLiteral("name of ") + path; };
    const QList<AttachedVolumeData> mounted { { "/media/Data", "Data", true }, { "", "No path", true }, { "/media/Data", "Again", true } };
    const QList<AttachedVolumeData> rows =
        SimulationInputs::volumeRows(mounted, { "/media/Backup", "", "/media/Data", "/media/Backup" }, {}, nameForPath);
    EXPECT_EQ(rows, (QList<AttachedVolumeData> { { "/media/Data", "Data", true }, { "/media/Backup", "name of /media/Backup", false } }));

    // Made again after a mount: the user's choices stay with their paths.
    QList<AttachedVolumeData> chosen = rows;
    chosen[0].setAttached(false);
    chosen[1].setAttached(true);
    const QList<AttachedVolumeData> remounted { { "/media/Stick", "Stick", true }, { "/media/Data", "Data", true } };
    EXPECT_EQ(SimulationInputs::volumeRows(remounted, { "/media/Backup" }, chosen, nameForPath),
              (QList<AttachedVolumeData> { { "/media/Stick", "Stick", true },
                                           { "/media/Data", "Data", false },
                                           { "/media/Backup", "name of /media/Backup", true } }));
}

TEST(SimulationInputsTest, NetworkRowsListKnownThenNamedNetworksOnce)
{
    NetworkData home("Home");
    home.setAvailable(true);
    NetworkData unnamed;
    const QList<NetworkData> rows = SimulationInputs::networkRows({ home, unnamed, NetworkData("Home") }, { "Office", "", "Home", "Office" });
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0], home);
    EXPECT_EQ(rows[1], NetworkData("Office"));
    EXPECT_FALSE(rows[1].available());
}

TEST(SimulationInputsTest, LabelsAndReachability)
{
    EXPECT_EQ(SimulationInputs::volumesLabel({}), "-");
    EXPECT_EQ(SimulationInputs::volumesLabel({ { "/a", "Data", true }, { "/b", "", true }, { "/c", "Other", false }, { "/d", "Backup", true } }),
              "DB");
    EXPECT_EQ(SimulationInputs::volumesLabel({ { "/a", QStringLiteral("\U0001F4BE disk"), true } }), QStringLiteral("\U0001F4BE"));

    NetworkData office("Office");
    office.setConnected(true);
    NetworkData home("Home");
    NetworkData hidden;
    hidden.setAvailable(true);
    EXPECT_EQ(SimulationInputs::networksLabel({ home }), "-");
    EXPECT_FALSE(SimulationInputs::isAtLeastOneNetworkReachable({ home }));
    // A marked network without a name adds nothing but still counts as reachable.
    EXPECT_EQ(SimulationInputs::networksLabel({ home, hidden }), "-");
    EXPECT_TRUE(SimulationInputs::isAtLeastOneNetworkReachable({ home, hidden }));
    EXPECT_EQ(SimulationInputs::networksLabel({ office, home }), "O");

    QList<NetworkData> networks { office, home };
    SimulationInputs::makeConnectedNetworksAvailable(networks);
    EXPECT_TRUE(networks[0].available());
    EXPECT_FALSE(networks[1].available());
    networks[0].setConnected(false);
    SimulationInputs::makeConnectedNetworksAvailable(networks);
    EXPECT_TRUE(networks[0].available());
}

} // namespace
