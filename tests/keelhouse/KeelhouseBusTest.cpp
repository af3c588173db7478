// The service for real over a bus: per-client callbacks, clients leaving, and
// the program activated by the bus from its service file.
#include "FakeLoginItemsList.h"
#include "PrivateBus.h"
#include "TestClient.h"
#include "support/TestHome.h"

#include "foundation/MHItemDataKeys.h"
#include "foundation/UserDefaults.h"
#include "keelhouse/KeelhouseBus.h"
#include "keelhouse/KeelhouseClient.h"
#include "keelhouse/KeelhouseService.h"
#include "keelhouse/KeelhouseServiceFile.h"
#include "keelhouse/SystemItemsServerExporter.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QThread>
#include <gtest/gtest.h>
#include <csignal>
#include <gio/gio.h>

namespace {

class KeelhouseBusTest : public testing::Test {
protected:
    void SetUp() override
    {
        bus = std::make_unique<PrivateBus>(freshTestFolder("bus"));
        ASSERT_TRUE(bus->isRunning());
    }
    void TearDown() override
    {
        service.reset();
        QDBusConnection::disconnectFromBus(QStringLiteral("service"));
    }

    void startServiceInProcess(int idleMs, const QDBusConnection& connection)
    {
        KeelhouseDelegate delegate([this](const std::optional<QString>&) { return std::make_unique<LoginItemsHandler>(std::make_unique<FakeLoginItemsList>(state)); });
        service = std::make_unique<KeelhouseService>(connection, delegate, idleMs);
        ASSERT_TRUE(service->start());
    }
    void startServiceInProcess(int idleMs) { startServiceInProcess(idleMs, QDBusConnection::connectToBus(bus->address(), QStringLiteral("service"))); }

    std::unique_ptr<PrivateBus> bus;
    std::shared_ptr<FakeListState> state = std::make_shared<FakeListState>();
    std::unique_ptr<KeelhouseService> service;
};

TEST_F(KeelhouseBusTest, TwoClientsReceiveOnlyTheirOwnCallbacks)
{
    startServiceInProcess(60000);
    state->add("Stranger", "/apps/stranger");
    TestClient reader(bus->address(), "reader");
    TestClient creator(bus->address(), "creator");

    reader.client.readSystemItemsWithIgnoredItems({}, { QVariantMap { { MHItemDataKeys::type, "file" }, { MHItemDataKeys::path, "/apps/x" } } }, "/opt/lw/lanternwick");
    creator.client.createSystemItemsWithItems({ QVariantMap { { "path", "/apps/new" }, { "name", "New \"one\"" } } });

    ASSERT_TRUE(waitFor([&] { return reader.server.calls.contains("KeelhouseDidEndReading") && creator.server.calls.contains("KeelhouseDidEndCreating"); }));
    EXPECT_TRUE(reader.server.calls.contains("KeelhouseDidFindUnknownItem /apps/stranger"));
    EXPECT_FALSE(reader.server.calls.contains("KeelhouseDidBeginCreating"));
    EXPECT_EQ(creator.server.calls, QStringList({ "KeelhouseDidBeginCreating", "KeelhouseDidBeginCreatingItem /apps/new",
                                                 "KeelhouseDidEndCreatingItem /apps/new", "KeelhouseDidEndCreating" }));
    EXPECT_EQ(creator.server.items.first().value("name"), "New \"one\"");
    EXPECT_EQ(service->clientCount(), 2);
}

// The program takes its name before its event loop runs, so a client's first
// requests can arrive before it: its connection must hand each over as it
// comes, or a request could overtake the set-up of its endpoint.
TEST_F(KeelhouseBusTest, TheProgramsConnectionHandsOverRequestsThatCameBeforeTheEventLoop)
{
    const QByteArray sessionBus = qgetenv("DBUS_SESSION_BUS_ADDRESS");
    qputenv("DBUS_SESSION_BUS_ADDRESS", bus->address().toUtf8());
    QDBusConnection connection = KeelhouseService::connectToSessionBus();
    qputenv("DBUS_SESSION_BUS_ADDRESS", sessionBus);
    startServiceInProcess(60000, connection);
    TestClient client(bus->address(), "early");
    client.client.createSystemItemsWithItems({ QVariantMap { { "path", "/apps/new" } } });

    // Round trips behind the requests, through the bus and then through the
    // service's connection, so that the requests have reached it.
    ASSERT_TRUE(client.connection.interface()->isServiceRegistered(KeelhouseBus::serviceName()).value());
    ASSERT_TRUE(connection.interface()->isServiceRegistered(client.connection.baseService()).value());
    // Delivers what the connection has handed over, without an event loop.
    QCoreApplication::sendPostedEvents(service.get());
    EXPECT_EQ(service->clientCount(), 1);
    ASSERT_TRUE(waitFor([&] { return client.server.calls.contains("KeelhouseDidEndCreating"); }));
    EXPECT_EQ(client.server.calls, QStringList({ "KeelhouseDidBeginCreating", "KeelhouseDidBeginCreatingItem /apps/new",
                                                "KeelhouseDidEndCreatingItem /apps/new", "KeelhouseDidEndCreating" }));
    service.reset();
    QDBusConnection::disconnectFromBus(connection.name());
}

TEST_F(KeelhouseBusTest, ClientThatLeavesIsDroppedAndTheServiceGoesIdle)
{
    startServiceInProcess(50);
    QSignalSpy idle(service.get(), &KeelhouseService::idle);
    {
        TestClient client(bus->address(), "leaving");
        ASSERT_TRUE(waitFor([&] { return service->clientCount() == 1; }));
        EXPECT_TRUE(idle.isEmpty());
    }
    ASSERT_TRUE(waitFor([&] { return service->clientCount() == 0 && idle.count() == 1; }));
}

// The service writes into the user's journal: only what the application's
// verbosity lets through, never its DEBUG lines at the factory verbosity.
TEST_F(KeelhouseBusTest, TheProgramLogsAtTheApplicationsVerbosity)
{
    for (const int verbosity : { 0, 3 }) {
        const QString config = freshTestFolder(QStringLiteral("verbosity-%1").arg(verbosity));
        UserDefaults(config + "/Lanternwick/Lanternwick.conf").setLoggingVerbosityLevel(quint64(verbosity));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("DBUS_SESSION_BUS_ADDRESS", bus->address());
        environment.insert("XDG_CONFIG_HOME", config);
        environment.insert(KeelhouseBus::idleTimeEnvironmentVariable, "100");
        QProcess program;
        program.setProcessEnvironment(environment);
        program.setProcessChannelMode(QProcess::MergedChannels);
        program.start(KEELHOUSE_PROGRAM, QStringList());
        ASSERT_TRUE(program.waitForFinished(30000)) << verbosity;
        const QString output = QString::fromUtf8(program.readAll());
        EXPECT_EQ(program.exitCode(), 0) << output.toStdString();
        // Its INFO line as it leaves.
        EXPECT_EQ(output.contains("No client left, exiting"), verbosity == 3) << output.toStdString();
        if (verbosity == 0) {
            EXPECT_FALSE(output.contains(" - DEBUG ") || output.contains(" - INFO ")) << output.toStdString();
        }
    }
}

TEST_F(KeelhouseBusTest, BusActivatesTheProgramThatServesEveryOperationAndExitsWhenIdle)
{
    // A bus of its own whose activated services exit soon after their last client.
    QProcessEnvironment extra;
    extra.insert(KeelhouseBus::idleTimeEnvironmentVariable, "300");
    bus = std::make_unique<PrivateBus>(freshTestFolder("activation"), extra);
    ASSERT_TRUE(bus->isRunning());
    ASSERT_TRUE(bus->installService(KeelhouseBus::serviceName(), *KeelhouseServiceFile::contentsFor(KEELHOUSE_PROGRAM)));

    const QString autostart = qEnvironmentVariable("XDG_CONFIG_HOME") + "/autostart";
    const QString apps = freshTestFolder("apps");
    const QString lanternwick = apps + "/lanternwick";
    const QString item = apps + "/item $1 'x'";
    for (const QString& path : { lanternwick, item }) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    std::optional<TestClient> client;
    client.emplace(bus->address(), "application");
    client->client.readSystemItemsWithIgnoredItems({}, {}, lanternwick);
    ASSERT_TRUE(waitFor([&] { return client->server.calls.contains("KeelhouseDidEndReading"); }, 15000));
    EXPECT_TRUE(client->server.calls.contains("KeelhouseDidBeginHandlingLanternwick " + lanternwick));
    EXPECT_TRUE(QFileInfo::exists(autostart + "/lanternwick.desktop"));

    client->client.createSystemItemsWithItems({ QVariantMap { { "path", item }, { "name", "Item" } } });
    ASSERT_TRUE(waitFor([&] { return client->server.calls.contains("KeelhouseDidEndCreating"); }));
    EXPECT_TRUE(QFileInfo::exists(autostart + "/item.desktop"));

    client->client.deleteSystemItemsWithItems({ QVariantMap { { "path", item } } });
    ASSERT_TRUE(waitFor([&] { return client->server.calls.contains("KeelhouseDidEndDeleting"); }));
    EXPECT_TRUE(client->server.calls.contains("KeelhouseDidEndDeletingItem " + item));
    EXPECT_FALSE(QFileInfo::exists(autostart + "/item.desktop"));

    client->client.uninstallLanternwickWithIgnoredItems({}, { QVariantMap { { MHItemDataKeys::type, "file" }, { MHItemDataKeys::path, item } } });
    ASSERT_TRUE(waitFor([&] { return client->server.calls.contains("KeelhouseDidEndUninstalling"); }));
    EXPECT_FALSE(QFileInfo::exists(autostart + "/lanternwick.desktop"));
    EXPECT_EQ(QDir(autostart).entryList({ "*.desktop" }), QStringList({ "item-1-x.desktop" }));
    for (const QVariantMap& record : std::as_const(client->server.items))
        EXPECT_FALSE(record.contains("ref"));

    // A client that vanishes in the middle of a request.
    QDBusConnection observer = QDBusConnection::connectToBus(bus->address(), "observer");
    const uint pid = observer.interface()->servicePid(KeelhouseBus::serviceName()).value();
    ASSERT_GT(pid, 0u);
    {
        TestClient doomed(bus->address(), "doomed");
        doomed.client.readSystemItemsWithIgnoredItems({}, {}, lanternwick);
    }
    client.reset();
    EXPECT_EQ(::kill(pid_t(pid), 0), 0);
    EXPECT_TRUE(waitFor([&] { return !observer.interface()->isServiceRegistered(KeelhouseBus::serviceName()).value(); }, 10000));
    QDBusConnection::disconnectFromBus("observer");
}

TEST(KeelhouseServiceFileTest, WritesAQuotedExecOnceAndRefusesUnsafePaths)
{
    const QString program = freshTestFolder("prog dir") + "/keel 'house'";
    const QByteArray contents = *KeelhouseServiceFile::contentsFor(program);
    EXPECT_TRUE(contents.contains("Name=com.mossharbour.Lanternwick2.Keelhouse\n"));
    gchar** argv = nullptr;
    const QByteArray exec = contents.mid(contents.indexOf("Exec=") + 5).trimmed();
    ASSERT_TRUE(g_shell_parse_argv(exec.constData(), nullptr, &argv, nullptr));
    EXPECT_EQ(QString::fromUtf8(argv[0]), program);
    EXPECT_EQ(g_strv_length(argv), 1u);
    g_strfreev(argv);
    EXPECT_FALSE(KeelhouseServiceFile::contentsFor("/x\nExec=/bin/evil"));

    QDBusConnection none("none");
    ASSERT_TRUE(KeelhouseServiceFile::install(program, none));
    QFile file(KeelhouseServiceFile::filePath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), contents);
}

} // namespace
