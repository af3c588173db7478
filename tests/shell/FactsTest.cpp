// Facts about files on the real workspace, and volumes and networks on fakes.
#include "support/ShellTest.h"
#include "WorkspaceTestEnvironment.h"
#include "platform/linux/LinuxWorkspace.h"
#include "texts/Localizator.h"

namespace {

using FactsTest = ShellTest;

TEST_F(FactsTest, FilesOnTheRealWorkspace)
{
    const QString folder = workspace_test::hostileTestFolder();
    ApplicationHelpers::Parts parts;
    parts.workspace = std::make_shared<LinuxWorkspace>();
    parts.wifi = wifi;
    parts.volumes = volumes;
    parts.reachability = reachability;
    parts.userDefaults = settings.get();
    parts.notificationCenter = &center;
    parts.notifications = std::make_shared<DesktopNotifications>(QDBusConnection::sessionBus(), "Lanternwick", "org.lanternwick.test.None");
    const ApplicationHelpers helpers(parts);

    const QString text = folder + "/read me $x.txt";
    writeFile(text, "words\n");
    EXPECT_FALSE(helpers.isMissingItemAtPath(text));
    EXPECT_EQ(helpers.typeForItemAtPath(text), ItemPathTypeDocument);
    EXPECT_EQ(helpers.displayNameForItemAtPath(text), "read me $x.txt");
    EXPECT_EQ(helpers.niceDisplayNameForItemAtPath(text), "read me $x.txt");
    EXPECT_EQ(helpers.niceDescriptionForItemAtPath(text), "plain text document");
    EXPECT_EQ(helpers.iconNameForItemAtPath(text), "text-x-generic");

    EXPECT_EQ(helpers.typeForItemAtPath(workspace_test::openerEntryPath()), ItemPathTypeApplication);
    // A desktop entry is named as the desktop names it.
    EXPECT_EQ(helpers.niceDisplayNameForItemAtPath(workspace_test::openerEntryPath()), "Test Opener");
    EXPECT_EQ(helpers.niceDisplayNameForItemAtPath("/Applications/Mail.app/"), "Mail");

    const QString blob = folder + "/blob";
    writeFile(blob, QByteArray::fromHex("000102fffe"));
    EXPECT_EQ(helpers.typeForItemAtPath(blob), ItemPathTypeUnknown);

    // A removed file, and no path at all, are missing.
    QFile::remove(text);
    for (const QString& missing : { text, QString() }) {
        EXPECT_TRUE(helpers.isMissingItemAtPath(missing));
        EXPECT_EQ(helpers.niceDescriptionForItemAtPath(missing), Localizator::shared().niceDescriptionStringForMissingItem());
        EXPECT_EQ(helpers.iconNameForItemAtPath(missing), "dialog-warning");
    }
    EXPECT_EQ(helpers.typeForItemAtPath(QString()), ItemPathTypeUnknown);
}

TEST_F(FactsTest, VolumesAndNetworksComeFromTheMachine)
{
    volumes->setMountedVolumes({ { "/media/user/Backup Disk", "Backup Disk", true } });
    wifi->setNetworks({ "Home", "Work" }, { "Office", "Cafe", "Home" }, "Home");
    reachability->setReachable(true);
    ApplicationHelpers& helpers = start();

    ASSERT_EQ(helpers.attachedVolumesData().size(), 1);
    EXPECT_EQ(helpers.attachedVolumesData()[0].path(), "/media/user/Backup Disk");
    EXPECT_TRUE(helpers.isNetworkReachable());

    QStringList inRange;
    for (const NetworkData& network : helpers.currentNetworks())
        inRange.append(network.name());
    EXPECT_EQ(inRange, (QStringList { "Home", "Cafe", "Office" }));
    EXPECT_EQ(helpers.currentNetwork().name(), "Home");

    // Saved networks are read once per process.
    ASSERT_EQ(helpers.knownNetworks().size(), 2);
    wifi->setNetworks({ "Other" }, {}, "wlan0");
    EXPECT_EQ(helpers.knownNetworks().size(), 2);
    EXPECT_EQ(helpers.currentNetwork().name(), "wlan0");
    EXPECT_TRUE(helpers.currentNetworks().isEmpty());
}

TEST_F(FactsTest, AKeptCopyOfASessionEntryShowsAsThatEntry)
{
    ApplicationHelpers::Parts parts;
    parts.workspace = std::make_shared<LinuxWorkspace>();
    parts.userDefaults = settings.get();
    parts.notificationCenter = &center;
    parts.notifications = std::make_shared<DesktopNotifications>(QDBusConnection::sessionBus(), "Lanternwick", "org.lanternwick.test.None");
    const ApplicationHelpers helpers(parts);

    const QString copy = dataFolder() + "/AutostartEntries/org.example.App.desktop";
    workspace_test::writeDesktopEntry(copy, "Example App", workspace_test::execQuoted(workspace_test::helperPath()) + " --background",
                                      "Syncs things", "example-icon");
    EXPECT_EQ(helpers.niceDisplayNameForItemAtPath(copy), "Example App");
    EXPECT_EQ(helpers.niceDescriptionForItemAtPath(copy), "Syncs things");
    EXPECT_EQ(helpers.iconNameForItemAtPath(copy), "example-icon");
    // Any other desktop entry too, by its Name; a missing one by its file.
    EXPECT_EQ(helpers.niceDisplayNameForItemAtPath(workspace_test::openerEntryPath()), "Test Opener");
    EXPECT_EQ(helpers.niceDisplayNameForItemAtPath(dataFolder() + "/gone.desktop"), "gone");
}

} // namespace
