// The logind watcher on the test's session bus: only the wake half of
// PrepareForSleep is reported, and only from the service it watches.
#include "platform/linux/LogindWakeWatcher.h"

#include <QCoreApplication>
#include <QDBusMessage>
#include <QDeadlineTimer>
#include <QThread>
#include <gtest/gtest.h>

namespace {

void sendPrepareForSleep(QDBusConnection& bus, bool sleeping)
{
    QDBusMessage signal = QDBusMessage::createSignal("/org/freedesktop/login1", "org.freedesktop.login1.Manager", "PrepareForSleep");
    signal << sleeping;
    ASSERT_TRUE(bus.send(signal));
}

// Signals travel through the bus daemon: wait until a marker call has made the round trip.
void settle(QDBusConnection& bus)
{
    bus.call(QDBusMessage::createMethodCall("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "GetId"));
    QDeadlineTimer deadline(200);
    while (!deadline.hasExpired()) {
        QCoreApplication::processEvents();
        QThread::msleep(5);
    }
}

TEST(WakeWatcherTest, ReportsOnlyTheWakeFromTheWatchedService)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    ASSERT_TRUE(bus.isConnected());
    QDBusConnection other = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "other-sender");
    ASSERT_TRUE(other.isConnected());

    LogindWakeWatcher watcher(bus, bus.baseService());
    int wakes = 0;
    watcher.setWakeHandler([&wakes] { ++wakes; });

    sendPrepareForSleep(bus, true);
    settle(bus);
    EXPECT_EQ(wakes, 0);
    sendPrepareForSleep(bus, false);
    settle(bus);
    EXPECT_EQ(wakes, 1);
    sendPrepareForSleep(other, false);
    settle(bus);
    EXPECT_EQ(wakes, 1);
    QDBusConnection::disconnectFromBus("other-sender");
}

TEST(WakeWatcherTest, WithoutABusNothingIsReportedAndNothingFails)
{
    LogindWakeWatcher watcher(QDBusConnection(QStringLiteral("not-connected")));
    watcher.setWakeHandler([] { FAIL(); });
    QCoreApplication::processEvents();
}

} // namespace
