#pragma once
// A service object on fakes, in a fresh data folder of its own.
#include "foundation/NotificationCenter.h"
#include "foundation/PropertyList.h"
#include "foundation/UserDefaults.h"
#include "platform/fake/FakeMountedVolumesProvider.h"
#include "platform/fake/FakePowerSourceProvider.h"
#include "platform/fake/FakeReachabilityProvider.h"
#include "platform/fake/FakeSystemTimesProvider.h"
#include "platform/fake/FakeWifiProvider.h"
#include "platform/fake/FakeWorkspace.h"
#include "shell/ApplicationHelpers.h"
#include "shell/DesktopNotifications.h"
#include "support/EndToEnd.h"
#include "support/TestHome.h"

#include <QDBusConnection>
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

class ShellTest : public testing::Test {
protected:
    void SetUp() override
    {
        QDir(testHome() + "/.local/share/Lanternwick").removeRecursively();
        settings = std::make_unique<UserDefaults>(freshTestFolder("settings") + "/Lanternwick.conf");
    }

    // A new service object, as at a new start of the program.
    ApplicationHelpers& start(std::shared_ptr<DesktopNotifications> notifications = nullptr)
    {
        ApplicationHelpers::Parts parts;
        parts.workspace = workspace;
        parts.wifi = wifi;
        parts.volumes = volumes;
        parts.reachability = reachability;
        parts.powerSource = std::make_shared<FakePowerSourceProvider>();
        parts.systemTimes = times;
        // No server on this name: notifications fail quietly unless a test gives one.
        parts.notifications = notifications ? notifications
                                            : std::make_shared<DesktopNotifications>(QDBusConnection::sessionBus(), "Lanternwick",
                                                                                     "org.lanternwick.test.NoSuchServer");
        parts.userDefaults = settings.get();
        parts.notificationCenter = &center;
        helpers.reset();
        helpers = std::make_unique<ApplicationHelpers>(parts);
        return *helpers;
    }

    QString dataFolder() const { return testHome() + "/.local/share/Lanternwick"; }
    QString store() const { return dataFolder() + "/Lanternwick.plist"; }
    QString sessionBackup() const { return store() + ".backup"; }
    QString lastChangeBackup() const { return store() + ".backup~"; }


    std::shared_ptr<FakeWorkspace> workspace = std::make_shared<FakeWorkspace>();
    std::shared_ptr<FakeWifiProvider> wifi = std::make_shared<FakeWifiProvider>();
    std::shared_ptr<FakeMountedVolumesProvider> volumes = std::make_shared<FakeMountedVolumesProvider>();
    std::shared_ptr<FakeReachabilityProvider> reachability = std::make_shared<FakeReachabilityProvider>();
    std::shared_ptr<FakeSystemTimesProvider> times = std::make_shared<FakeSystemTimesProvider>();
    std::unique_ptr<UserDefaults> settings;
    NotificationCenter center;
    std::unique_ptr<ApplicationHelpers> helpers;
};
