// User notifications through a notification server on the test's session bus.
#include "FakeDBusService.h"
#include "support/ShellTest.h"

namespace {

const QString kPath = "/org/freedesktop/Notifications";
const QString kInterface = "org.freedesktop.Notifications";

class UserNotificationsTest : public ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        settings->setBool(QStringLiteral("IsNotificationCenterEnabled"), true);
        server.setMethod(kPath, kInterface, "Notify", [this](const QDBusMessage& message) {
            std::lock_guard lock(mutex);
            received.append(message.arguments());
            return QVariantList { uint(7) };
        });
    }

    void serveCapabilities(const QStringList& capabilities)
    {
        server.setMethod(kPath, kInterface, "GetCapabilities", [capabilities](const QDBusMessage&) { return QVariantList { capabilities }; });
    }

    ApplicationHelpers& startWithServer()
    {
        return start(std::make_shared<DesktopNotifications>(QDBusConnection::sessionBus(), "Lanternwick", server.serviceName()));
    }

    QList<QVariantList> notifications()
    {
        std::lock_guard lock(mutex);
        return received;
    }

    FakeDBusService server;
    std::mutex mutex;
    QList<QVariantList> received;
};

TEST_F(UserNotificationsTest, NotificationReachesTheServer)
{
    serveCapabilities({ "body" });
    ASSERT_TRUE(startWithServer().postUserNotificationWithTitle("Items launched", "Mail <b>& co</b>"));
    ASSERT_EQ(notifications().size(), 1);
    const QVariantList arguments = notifications().first();
    ASSERT_EQ(arguments.size(), 8);
    EXPECT_EQ(arguments[0].toString(), "Lanternwick");
    EXPECT_EQ(arguments[3].toString(), "Items launched");
    // A server without markup shows the text as it is.
    EXPECT_EQ(arguments[4].toString(), "Mail <b>& co</b>");
}

TEST_F(UserNotificationsTest, MarkupInNamesIsNotActedOn)
{
    serveCapabilities({ "body", "body-markup" });
    ASSERT_TRUE(startWithServer().postUserNotificationWithTitle("Items launched", "Mail <b>& co</b>"));
    ASSERT_EQ(notifications().size(), 1);
    EXPECT_EQ(notifications().first()[4].toString(), "Mail &lt;b&gt;&amp; co&lt;/b&gt;");
}

TEST_F(UserNotificationsTest, SwitchedOffInTheSettingsShowsNothing)
{
    settings->setBool(QStringLiteral("IsNotificationCenterEnabled"), false);
    ASSERT_FALSE(settings->isNotificationCenterEnabled());
    EXPECT_TRUE(startWithServer().postUserNotificationWithTitle("Title", "Text"));
    EXPECT_TRUE(notifications().isEmpty());
}

TEST_F(UserNotificationsTest, MissingServerFailsWithoutHarm)
{
    ApplicationHelpers& helpers = start();
    EXPECT_FALSE(helpers.postUserNotificationWithTitle("Title", "Text"));
    EXPECT_FALSE(helpers.postUserNotificationWithTitle("Title", "Text"));
}

} // namespace
