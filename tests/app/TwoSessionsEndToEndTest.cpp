// Two logins of one user, each with its own session bus and one home: this
// test is the copy of the first login (its service object and its
// single-instance claim), the built program starts in the second. The
// second says so and quits without touching the database, and the first
// keeps every edit.
#include "../keelhouse/PrivateBus.h"
#include "support/EndToEnd.h"
#include "support/TestHome.h"

#include "model/DBDelayItem.h"
#include "model/DBLoginGroup.h"
#include "model/DatabaseSerializer.h"
#include "model/ObjectContext.h"
#include "shell/ApplicationHelpers.h"
#include "shell/SingleInstance.h"
#include "texts/Localizator.h"

#include <QDBusConnection>
#include <QProcess>
#include <csignal>
#include <gtest/gtest.h>

namespace {

QList<double> delays(ObjectContext& context)
{
    QList<double> values;
    for (DBLoginItem* item : context.sortedLoginItemsForGroup(context.getOrCreateApplicationLoginGroup()))
        values.append(static_cast<DBDelayItem*>(item)->itemDelayValue());
    return values;
}

void addDelay(ObjectContext& context, double delay)
{
    DBDelayItem* item = context.createDelayItemWithDelay(delay);
    item->setItemSortIndexValue(int32_t(context.fetch<DBLoginItem>().size()));
    item->setItemLoginGroup(context.getOrCreateApplicationLoginGroup());
}

TEST(TwoSessionsEndToEnd, ASecondCopyInAnotherSessionSaysSoAndQuitsWithoutSaving)
{
    const QString home = testHome();
    PrivateBus firstBus(freshTestFolder("first-login-bus"));
    ASSERT_TRUE(firstBus.isRunning());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    PrivateBus secondBus(freshTestFolder("second-login-bus"), environment);
    ASSERT_TRUE(secondBus.isRunning());
    environment.insert("DBUS_SESSION_BUS_ADDRESS", secondBus.address());
    environment.insert("DBUS_SYSTEM_BUS_ADDRESS", secondBus.address());
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("LSAN_OPTIONS", "suppressions=" LW_LSAN_SUPPRESSIONS);

    // The first login's copy: it owns the name on its bus and the data folder,
    // where a folder stood in the lock's place.
    ApplicationHelpers helpers;
    ASSERT_TRUE(QDir().mkpath(helpers.applicationLockFilePath()));
    SingleInstance instance(helpers.applicationLockFilePath(), QDBusConnection::connectToBus(firstBus.address(), "first-login"));
    ASSERT_EQ(instance.claim(), SingleInstance::Claim::Owned);
    ObjectContext* context = helpers.managedObjectContext();
    ASSERT_NE(context, nullptr);
    addDelay(*context, 1);
    addDelay(*context, 2);
    ASSERT_TRUE(helpers.saveDataToDiskUsingChangeBackup(true));
    const QString store = helpers.applicationDatabasePath() + "/Lanternwick.plist";
    const QByteArray beforeSecondCopy = readFile(store);

    const QStringList files = QDir(helpers.applicationDatabasePath()).entryList(QDir::Files | QDir::Hidden, QDir::Name);

    // The second login's copy, after the lock file is gone: the claim holds without it.
    ASSERT_TRUE(QFile::remove(helpers.applicationLockFilePath()));
    // Outlives the copy, whose end may still deliver output.
    QString output;
    QProcess second;
    QObject::connect(&second, &QProcess::readyRead, [&] { output += QString::fromUtf8(second.readAll()); });
    second.setProcessEnvironment(environment);
    second.setProcessChannelMode(QProcess::MergedChannels);
    second.start(LANTERNWICK_PROGRAM);
    ASSERT_TRUE(second.waitForStarted(5000));
    const bool toldTheUser = waitFor([&] { return output.contains("already runs in another session"); }, 60000);
    // The user reads the message; the session ends the dialog like a click would.
    waitFor([] { return false; }, 500);
    ::kill(pid_t(second.processId()), SIGTERM);
    const bool ended = waitFor([&] { return second.state() == QProcess::NotRunning; }, 30000);
    if (!ended)
        second.kill();
    second.waitForFinished(5000);
    output += QString::fromUtf8(second.readAll());
    ASSERT_TRUE(toldTheUser) << output.toStdString();
    ASSERT_TRUE(ended) << output.toStdString();
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit) << output.toStdString();
    EXPECT_FALSE(output.contains("Application did finish launching")) << output.toStdString();
    EXPECT_FALSE(output.contains("Sanitizer")) << output.toStdString();
    EXPECT_EQ(readFile(store), beforeSecondCopy);
    EXPECT_EQ(QDir(helpers.applicationDatabasePath()).entryList(QDir::Files | QDir::Hidden, QDir::Name), files);

    // The first copy goes on: its next edit and its quit lose nothing.
    context->deleteObject(context->sortedLoginItemsForGroup(context->getOrCreateApplicationLoginGroup()).first());
    addDelay(*context, 3);
    ASSERT_TRUE(helpers.saveDataToDiskUsingChangeBackup(true));
    ASSERT_TRUE(helpers.saveDataToDiskUsingChangeBackup(false));
    ObjectContext stored(Localizator::shared());
    ASSERT_TRUE(DatabaseSerializer(helpers.applicationDatabasePath(), "Lanternwick", Localizator::shared()).loadDatabaseToManagedObjectContext(stored, nullptr));
    EXPECT_EQ(delays(stored), (QList<double> { 2, 3 }));
}

} // namespace
