// The records the handler makes and its coalesced change notifications.
#include "support/TestHome.h"

#include "foundation/MHKeelhouseKeys.h"
#include "foundation/MHSystemItemsNotifications.h"
#include "foundation/NotificationCenter.h"
#include "keelhouse/LoginItemsHandler.h"
#include "keelhouse/XdgAutostartList.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QThread>
#include <gtest/gtest.h>

namespace {

void runEventsFor(int ms)
{
    QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(2);
    }
}

TEST(LoginItemsHandlerTest, BurstOfChangesGivesOneNotification)
{
    const QString root = freshTestFolder("watch");
    auto list = std::make_unique<XdgAutostartList>(root + "/user/autostart", QStringList { root + "/system/autostart" }, QStringList(), root + "/kept");
    LoginItemsHandler handler(std::move(list));
    handler.setItemsChangedNotificationDelay(0.05);
    int notifications = 0;
    const NotificationCenter::Token token = NotificationCenter::defaultCenter().addObserver(
        MHSystemItemsNotifications::MHSystemItemsChangeNotificationDidChange, &handler, [&](const Notification&) { ++notifications; });

    handler.enableChangeNotifications(true);
    handler.enableChangeNotifications(true);
    ASSERT_TRUE(handler.isChangeNotificationEnabled());
    ASSERT_TRUE(QFileInfo::exists(root + "/user/autostart"));
    for (int i = 0; i < 10; ++i) {
        QFile file(QStringLiteral("%1/user/autostart/%2.desktop").arg(root).arg(i));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        runEventsFor(2);
    }
    runEventsFor(300);
    EXPECT_EQ(notifications, 1);

    handler.enableChangeNotifications(false);
    QFile(root + "/user/autostart/late.desktop").open(QIODevice::WriteOnly);
    runEventsFor(150);
    EXPECT_EQ(notifications, 1);
}

TEST(LoginItemsHandlerTest, UnresolvedEntryTravelsWithReasonAndWithoutPath)
{
    const QString root = freshTestFolder("records");
    QDir().mkpath(root + "/autostart");
    QFile file(root + "/autostart/gone.desktop");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    // An entry we wrote for a document that was deleted since.
    file.write("[Desktop Entry]\nType=Application\nName=Gone\nExec=xdg-open \"/no/such/notes.txt\"\nX-Lanternwick-Path=/no/such/notes.txt\n");
    file.close();
    LoginItemsHandler handler(std::make_unique<XdgAutostartList>(root + "/autostart", QStringList(), QStringList(), root + "/kept"));
    QList<QVariantMap> records;
    handler.enumerateItemsWithBlock([&](const QVariantMap& item, qsizetype, bool&) { records.append(item); });
    ASSERT_EQ(records.size(), 1);
    EXPECT_FALSE(records[0].contains(MHKeelhouseKeys::path));
    EXPECT_EQ(records[0].value(MHKeelhouseKeys::error).toUInt(), quint32(ENOENT));
    EXPECT_FALSE(records[0].value(MHKeelhouseKeys::reason).toString().isEmpty());
    EXPECT_EQ(records[0].value(MHKeelhouseKeys::hidden), false);
    EXPECT_EQ(handler.lastErrorCode(), 0u);
}

} // namespace
