// The system items states against the real service, activated by a private
// bus from its service file, and against a fake service that never answers,
// answers with chosen callbacks, or leaves the bus.
#include "EngineTestSupport.h"
#include "keelhouse/PrivateBus.h"

#include <QFile>
#include <iostream>

#include "engine/CreateSystemItemsApplicationState.h"
#include "engine/DeleteSystemItemsApplicationState.h"
#include "engine/ReadSystemApplicationState.h"
#include "engine/StateChain.h"
#include "engine/SystemItemsStateFactories.h"
#include "engine/UninstallLanternwickApplicationState.h"
#include "foundation/MHDebugOptions.h"
#include "foundation/MHExecuteNotifications.h"
#include "foundation/MHItemDataKeys.h"
#include "foundation/MHSystemItemsNotifications.h"
#include "foundation/NotificationCenter.h"
#include "keelhouse/DBusRecords.h"
#include "platform/linux/DesktopEntryFile.h"
#include "keelhouse/KeelhouseBus.h"
#include "keelhouse/KeelhouseServiceFile.h"
#include "keelhouse/KeptDesktopEntries.h"
#include "keelhouse/SystemItemsServerForwarder.h"
#include "model/DBFileItem.h"
#include "model/DBLoginGroup.h"
#include "model/ObjectContext.h"
#include "support/FakeModelTexts.h"
#include "support/FakeSystemItemHelpers.h"
#include "support/TestHome.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace MHSystemItemsNotifications;

namespace {

class Helpers : public FakeApplicationHelpers {
public:
    QVariantMap debugOptions() const override { return options; }
    QVariantMap options;
};

// Stands in for the service: owns its name, records the requests and answers
// them with the callbacks a test chooses.
class FakeKeelhouse : public QDBusVirtualObject {
public:
    using Reaction = std::function<void(const QString& request, SystemItemsServerInterface& callbacks)>;

    explicit FakeKeelhouse(const QString& address)
        : connection(QDBusConnection::connectToBus(address, QStringLiteral("fake-keelhouse")))
        , callbacks([this](const QString& name, const QVariantList& arguments) {
            QDBusMessage message = QDBusMessage::createMethodCall(m_client, m_endpoint, KeelhouseBus::systemItemsServerInterface, name);
            message.setArguments(arguments);
            connection.send(message);
        })
    {
        connection.registerVirtualObject(KeelhouseBus::objectPath, this);
        connection.registerService(KeelhouseBus::serviceName());
    }
    ~FakeKeelhouse() override { QDBusConnection::disconnectFromBus(QStringLiteral("fake-keelhouse")); }

    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection&) override
    {
        requests.append(message.member());
        if (message.member() == QLatin1String("SetupServerEndPoint")) {
            m_client = message.service();
            m_endpoint = message.arguments().value(0).value<QDBusObjectPath>().path();
            endpoints.append(m_endpoint);
        } else if (message.member() == QLatin1String("CreateSystemItems")) {
            for (const QVariant& record : DBusRecords::records(message.arguments().value(0)).value_or(QVariantList()))
                sentPaths.append(record.toMap().value("path").toString());
        }
        if (message.member() != QLatin1String("SetupServerEndPoint") && message.member() != QLatin1String("SetupDebugOptions") && reaction) {
            reaction(message.member(), callbacks);
        }
        return true;
    }

    // Sends a callback to an endpoint the application set up.
    void sendTo(const QString& endpoint, const QString& name, const QVariantList& arguments)
    {
        QDBusMessage message = QDBusMessage::createMethodCall(m_client, endpoint, KeelhouseBus::systemItemsServerInterface, name);
        message.setArguments(arguments);
        connection.send(message);
    }

    QDBusConnection connection;
    SystemItemsServerForwarder callbacks;
    Reaction reaction;
    QStringList requests;
    // Every endpoint set up, and the paths of every create request, in order.
    QStringList endpoints;
    QStringList sentPaths;

private:
    QString m_client;
    QString m_endpoint;
};

// Activating the service under the sanitizers on a busy machine can take a while.
bool waitLong(const std::function<bool()>& done)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 20000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return done();
}

class SystemItemsStatesTest : public testing::Test {
protected:
    void SetUp() override
    {
        folder = freshTestFolder(QStringLiteral("system-items"));
        // The activated service gets lists of this test's own.
        QProcessEnvironment extra;
        extra.insert(QStringLiteral("XDG_CONFIG_HOME"), folder + QStringLiteral("/config"));
        extra.insert(QStringLiteral("XDG_CONFIG_DIRS"), folder + QStringLiteral("/xdg"));
        extra.insert(KeelhouseBus::idleTimeEnvironmentVariable, QStringLiteral("2000"));
        bus = std::make_unique<PrivateBus>(folder + QStringLiteral("/bus"), extra);
        ASSERT_TRUE(bus->isRunning());
        connection = std::make_unique<QDBusConnection>(QDBusConnection::connectToBus(bus->address(), QStringLiteral("application")));
        ASSERT_TRUE(connection->isConnected());

        context.setApplicationHelpers(&helpers);
        context.setSystemItemHelpers(&systemItemHelpers);
        context.setManagedObjectContext(&objects);
        context.setNotificationCenter(&center);
        SystemItemsStateFactories::registerWithContext(context, *connection);
        context.setStateFactory(ApplicationStateKind::AutoClose, [this] { return std::make_unique<ImmediateState>(QStringLiteral("Next"), log); });
        for (const QString& name : notificationNames())
            tokens.push_back(center.addObserver(name, nullptr, [this](const Notification& n) { notifications.append(n); }));
    }

    void TearDown() override
    {
        QDBusConnection::disconnectFromBus(QStringLiteral("application"));
        // What the bus and the service said tells why a request went unanswered.
        if (HasFailure()) {
            QFile busLog(bus->logPath());
            if (busLog.open(QIODevice::ReadOnly))
                std::cout << "Bus log:\n" << busLog.readAll().toStdString() << std::endl;
        }
    }

    static QStringList notificationNames()
    {
        return { MHReadSystemItemsDidStartNotification, MHReadSystemItemsDidFindNewItemNotification, MHReadSystemItemsDidEndNotification,
                 MHCreateSystemItemsDidStartNotification, MHCreateSystemItemsDidEndNotification, MHDeleteSystemItemsDidStartNotification,
                 MHDeleteSystemItemsDidEndNotification, MHUninstallLanternwickDidStartNotification, MHUninstallLanternwickDidEndNotification,
                 MHExecuteNotifications::MHExecuteDidCancelNotification };
    }

    void installService() { ASSERT_TRUE(bus->installService(KeelhouseBus::serviceName(), *KeelhouseServiceFile::contentsFor(KEELHOUSE_PROGRAM))); }

    QString autostart() const { return folder + QStringLiteral("/config/autostart"); }
    // Whether an autostart entry names program (the service names its
    // entries after the program's display name).
    bool hasEntryFor(const QString& program) const
    {
        for (const QFileInfo& entry : QDir(autostart()).entryInfoList({ QStringLiteral("*.desktop") })) {
            QFile file(entry.filePath());
            if (file.open(QIODevice::ReadOnly) && file.readAll().contains(program.toUtf8()))
                return true;
        }
        return false;
    }

    // An executable file and a user autostart entry that runs it.
    QString addEntry(const QString& name)
    {
        const QString program = folder + QStringLiteral("/apps/") + name;
        QDir().mkpath(folder + QStringLiteral("/apps"));
        QFile file(program);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        addEntryFile(name, program);
        return QFileInfo(program).canonicalFilePath();
    }
    void addEntryFile(const QString& name, const QString& program)
    {
        QDir().mkpath(autostart());
        QFile entry(autostart() + QLatin1Char('/') + name + QStringLiteral(".desktop"));
        ASSERT_TRUE(entry.open(QIODevice::WriteOnly));
        entry.write(QStringLiteral("[Desktop Entry]\nType=Application\nName=%1\nExec=%2\n").arg(name, program).toUtf8());
    }

    void addToGroup(DBLoginGroup* group, const QString& path)
    {
        objects.createFileItemWithPath(path)->setItemLoginGroup(group);
    }

    // Starts the state and then the "Next" state in one chain whose run
    // carries items; ended is set when the chain got to its end.
    void startChain(ApplicationState* state, bool& ended, const QList<SystemItemData>& items = {})
    {
        StateChain::startRun(context, { { state, {} }, { context.autoCloseState(), {} } }, std::make_shared<ChainRun>(nullptr, items),
                             [&ended](const std::shared_ptr<ChainRun>&) { ended = true; });
    }
    // True when the chain got to its end.
    bool runChain(ApplicationState* state, const QList<SystemItemData>& items = {})
    {
        const qsizetype before = log.events().size();
        bool ended = false;
        startChain(state, ended, items);
        return waitLong([&] { return ended; }) && log.events().size() == before + 1;
    }

    static QList<SystemItemData> itemsAt(const QStringList& paths)
    {
        QList<SystemItemData> items;
        for (const QString& path : paths)
            items.append(SystemItemData(QVariantMap { { "path", path } }));
        return items;
    }

    // A request to create /apps/a and /apps/b (firstOfTwo) that the service
    // answers for /apps/a and then leaves unfinished.
    CreateSystemItemsApplicationState* createAnsweredForTheFirstOfTwo(FakeKeelhouse& service)
    {
        service.reaction = [](const QString&, SystemItemsServerInterface& callbacks) {
            callbacks.keelhouseDidBeginCreating();
            callbacks.keelhouseDidBeginCreatingItem({ { "path", "/apps/a" } });
            callbacks.keelhouseDidEndCreatingItem({ { "path", "/apps/a" } });
        };
        return static_cast<CreateSystemItemsApplicationState*>(context.createSystemItemsState());
    }
    const QList<SystemItemData> firstOfTwo = itemsAt({ "/apps/a", "/apps/b" });
    // The step ended with what the service did and the rest as failed.
    void expectOnlyTheFirstOfTwoCreated() const
    {
        EXPECT_EQ(names(), QStringList({ MHCreateSystemItemsDidStartNotification, MHCreateSystemItemsDidEndNotification }));
        const QVariantMap info = last(MHCreateSystemItemsDidEndNotification);
        EXPECT_EQ(paths(info.value(items)), QStringList({ "/apps/a" }));
        EXPECT_EQ(paths(info.value(failedItems)), QStringList({ "/apps/b" }));
    }

    // The read's one notification is its end, which found nothing and says why.
    void expectReadFailedWith(const QString& cause) const
    {
        EXPECT_EQ(names().filter(QStringLiteral("ReadSystemItems")), QStringList({ MHReadSystemItemsDidEndNotification }));
        // It stays for the user to read.
        EXPECT_TRUE(names().contains(MHExecuteNotifications::MHExecuteDidCancelNotification));
        const QVariantMap end = last(MHReadSystemItemsDidEndNotification);
        EXPECT_EQ(end.value(items).toList(), QVariantList());
        EXPECT_TRUE(end.value(readError).toString().contains(cause)) << end.value(readError).toString().toStdString();
    }
    static void writeServiceFile(const QString& path)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(*KeelhouseServiceFile::contentsFor(KEELHOUSE_PROGRAM));
    }

    QStringList names() const
    {
        QStringList all;
        for (const Notification& n : notifications)
            all.append(n.name);
        return all;
    }
    QVariantMap last(const QString& name) const
    {
        for (auto it = notifications.rbegin(); it != notifications.rend(); ++it) {
            if (it->name == name)
                return it->userInfo;
        }
        return {};
    }
    static QStringList paths(const QVariant& records)
    {
        QStringList all;
        for (const QVariant& record : records.toList())
            all.append(record.toMap().value(QStringLiteral("path")).toString());
        return all;
    }

    QString folder;
    std::unique_ptr<PrivateBus> bus;
    std::unique_ptr<QDBusConnection> connection;
    Helpers helpers;
    FakeSystemItemHelpers systemItemHelpers;
    FakeModelTexts texts;
    ObjectContext objects { texts };
    NotificationCenter center;
    EventLog log;
    std::vector<NotificationCenter::Token> tokens;
    QList<Notification> notifications;
    ApplicationContext context;
};

TEST_F(SystemItemsStatesTest, ReadReportsOnlyNewEntriesAndCreatesTheOwnEntry)
{
    installService();
    const QString known = addEntry(QStringLiteral("known"));
    const QString ignored = addEntry(QStringLiteral("ignored"));
    addToGroup(objects.getOrCreateApplicationLoginGroup(), known);
    addToGroup(objects.getOrCreateIgnoreLoginGroup(), ignored);

    ASSERT_TRUE(runChain(context.readSystemItemsState()));
    EXPECT_EQ(names(), QStringList({ MHReadSystemItemsDidStartNotification, MHReadSystemItemsDidEndNotification }));
    EXPECT_EQ(last(MHReadSystemItemsDidEndNotification).value(items).toList(), QVariantList());
    // The application runs the known item itself, so its entry goes; the own one is made.
    EXPECT_FALSE(QFile::exists(autostart() + QStringLiteral("/known.desktop")));
    EXPECT_TRUE(QFile::exists(autostart() + QStringLiteral("/ignored.desktop")));
    EXPECT_TRUE(hasEntryFor(QCoreApplication::applicationFilePath()));

    // A new entry and one that cannot be resolved are both for the user to
    // see; the new one is named by our copy of it.
    notifications.clear();
    addEntry(QStringLiteral("stranger"));
    const QString stranger = KeptDesktopEntries(KeptDesktopEntries::defaultFolder()).pathForEntryFile(QStringLiteral("stranger.desktop"));
    addEntryFile(QStringLiteral("broken"), QStringLiteral("'unterminated"));
    ASSERT_TRUE(runChain(context.readSystemItemsState()));
    ASSERT_TRUE(processEventsUntil([&] { return names().contains(MHExecuteNotifications::MHExecuteDidCancelNotification); }));
    const QVariantList found = last(MHReadSystemItemsDidEndNotification).value(items).toList();
    ASSERT_EQ(found.size(), 2);
    EXPECT_EQ(names().count(MHReadSystemItemsDidFindNewItemNotification), 2);
    QVariantMap strangerData;
    QVariantMap brokenData;
    for (const QVariant& item : found)
        (item.toMap().contains(MHItemDataKeys::path) ? strangerData : brokenData) = item.toMap();
    EXPECT_EQ(strangerData, QVariantMap({ { "path", stranger }, { "name", "stranger" }, { "icon", "icon:" + stranger },
                                          { "description", "Description of " + stranger } }));
    EXPECT_EQ(brokenData, QVariantMap({ { "name", "broken" }, { "description", "Invalid argument" } }));
    EXPECT_LT(names().indexOf(MHReadSystemItemsDidFindNewItemNotification), names().indexOf(MHReadSystemItemsDidEndNotification));

    // An entry that can be neither moved nor ignored says why, and does not
    // keep the window open at every login.
    notifications.clear();
    QFile::remove(autostart() + QStringLiteral("/stranger.desktop"));
    ASSERT_TRUE(runChain(context.readSystemItemsState()));
    EXPECT_EQ(last(MHReadSystemItemsDidEndNotification).value(items).toList(), QVariantList { brokenData });
    QCoreApplication::processEvents();
    EXPECT_FALSE(names().contains(MHExecuteNotifications::MHExecuteDidCancelNotification));
}

TEST_F(SystemItemsStatesTest, CreateAndDeleteListWhatWasDoneAndWhatFailed)
{
    installService();
    const QString first = addEntry(QStringLiteral("first"));
    const QString second = addEntry(QStringLiteral("second"));
    QDir(autostart()).removeRecursively();

    auto* create = static_cast<CreateSystemItemsApplicationState*>(context.createSystemItemsState());
    // The service cannot create an entry without a file.
    ASSERT_TRUE(runChain(create, { SystemItemData(QVariantMap { { "path", first }, { "name", "First" } }),
                                   SystemItemData(QVariantMap { { "name", "No file" } }),
                                   SystemItemData(QVariantMap { { "path", second }, { "name", "Second" } }) }));
    EXPECT_EQ(names(), QStringList({ MHCreateSystemItemsDidStartNotification, MHCreateSystemItemsDidEndNotification }));
    QVariantMap info = last(MHCreateSystemItemsDidEndNotification);
    EXPECT_EQ(paths(info.value(items)), QStringList({ first, second }));
    EXPECT_EQ(info.value(failedItems).toList(), QVariantList({ QVariantMap { { "name", "No file" } } }));
    EXPECT_TRUE(QFile::exists(autostart() + QStringLiteral("/first.desktop")));

    notifications.clear();
    auto* remove = static_cast<DeleteSystemItemsApplicationState*>(context.deleteSystemItemsState());
    ASSERT_TRUE(runChain(remove, itemsAt({ second, "/nowhere" })));
    EXPECT_EQ(names(), QStringList({ MHDeleteSystemItemsDidStartNotification, MHDeleteSystemItemsDidEndNotification }));
    info = last(MHDeleteSystemItemsDidEndNotification);
    EXPECT_EQ(paths(info.value(items)), QStringList({ second }));
    EXPECT_EQ(info.value(failedItems).toList(), QVariantList());
    EXPECT_FALSE(QFile::exists(autostart() + QStringLiteral("/second.desktop")));
    EXPECT_TRUE(QFile::exists(autostart() + QStringLiteral("/first.desktop")));
}

TEST_F(SystemItemsStatesTest, UninstallRemovesTheOwnEntryAndHandsTheItemsBack)
{
    installService();
    const QString item = addEntry(QStringLiteral("item"));
    const QString off = addEntry(QStringLiteral("off"));
    QDir(autostart()).removeRecursively();
    addEntryFile(QStringLiteral("lanternwick"), QCoreApplication::applicationFilePath());
    addToGroup(objects.getOrCreateApplicationLoginGroup(), item);
    DBFileItem* offItem = objects.createFileItemWithPath(off);
    offItem->setItemLoginGroup(objects.getOrCreateApplicationLoginGroup());
    offItem->setItemStartupMode(ItemStartupModeDisabled);

    ASSERT_TRUE(runChain(context.uninstallLanternwickState()));
    EXPECT_EQ(names(), QStringList({ MHUninstallLanternwickDidStartNotification, MHUninstallLanternwickDidEndNotification }));
    EXPECT_FALSE(QFile::exists(autostart() + QStringLiteral("/lanternwick.desktop")));
    EXPECT_TRUE(QFile::exists(autostart() + QStringLiteral("/item.desktop")));
    // Set not to start, it is handed back switched off.
    const std::optional<DesktopEntryFile> handedBack = DesktopEntryFile::load(autostart() + QStringLiteral("/off.desktop"));
    ASSERT_TRUE(handedBack);
    EXPECT_FALSE(handedBack->boolean(QStringLiteral("X-GNOME-Autostart-enabled"), true));
    EXPECT_FALSE(DesktopEntryFile::load(autostart() + QStringLiteral("/item.desktop"))->hasKey(QStringLiteral("X-GNOME-Autostart-enabled")));
}

TEST_F(SystemItemsStatesTest, AReadPreventedByADebugOptionTimesOutAndTheChainGoesOn)
{
    installService();
    addEntry(QStringLiteral("stranger"));
    helpers.options = { { MHDebugOptions::PreventSystemItemsReading, true } };
    auto* read = static_cast<ReadSystemApplicationState*>(context.readSystemItemsState());
    read->setRequestTimeoutMs(300);
    ASSERT_TRUE(runChain(read));
    expectReadFailedWith(QStringLiteral("The login items service gave no answer for 0.3 seconds"));
    EXPECT_FALSE(hasEntryFor(QCoreApplication::applicationFilePath()));
}

// The bus knows no such name: the read ends at once (the time-out stays
// long) and says where the service file is, or should be.
TEST_F(SystemItemsStatesTest, AServiceTheBusCannotStartFailsTheStepAtOnceAndNamesItsServiceFile)
{
    const QString serviceFile = KeelhouseServiceFile::filePath();
    ASSERT_FALSE(QFile::exists(serviceFile));
    ASSERT_TRUE(runChain(context.readSystemItemsState()));
    expectReadFailedWith("its service file " + serviceFile + " is missing");

    // Written where this bus does not look for it.
    notifications.clear();
    QDir().mkpath(QFileInfo(serviceFile).path());
    writeServiceFile(serviceFile);
    ASSERT_TRUE(runChain(context.readSystemItemsState()));
    QFile::remove(serviceFile);
    expectReadFailedWith("which does not read its service file " + serviceFile);
}

TEST_F(SystemItemsStatesTest, ABusThatLeadsNowhereFailsTheReadAndSaysSo)
{
    const QString socket = folder + "/no-bus";
    auto* read = static_cast<ReadSystemApplicationState*>(context.readSystemItemsState());
    read->setServiceConnection(QDBusConnection::connectToBus("unix:path=" + socket, QStringLiteral("nowhere")));
    ASSERT_TRUE(runChain(read));
    QDBusConnection::disconnectFromBus(QStringLiteral("nowhere"));
    expectReadFailedWith("The session bus cannot be reached: Failed to connect to socket " + socket);
}

TEST_F(SystemItemsStatesTest, AServiceThatNeverAnswersTimesOut)
{
    FakeKeelhouse service(bus->address());
    auto* read = static_cast<ReadSystemApplicationState*>(context.readSystemItemsState());
    read->setRequestTimeoutMs(200);
    ASSERT_TRUE(runChain(read));
    // The set-up comes first, in order.
    EXPECT_EQ(service.requests, QStringList({ "SetupDebugOptions", "SetupServerEndPoint", "ReadSystemItems" }));
    expectReadFailedWith(QStringLiteral("gave no answer"));
}

TEST_F(SystemItemsStatesTest, AServiceThatLeavesMidRequestEndsTheStepWithWhatItBegan)
{
    FakeKeelhouse service(bus->address());
    auto* create = createAnsweredForTheFirstOfTwo(service);
    bool ended = false;
    startChain(create, ended, firstOfTwo);
    ASSERT_TRUE(processEventsUntil([&] { return create->createdItems().size() == 1; }));
    service.connection.unregisterService(KeelhouseBus::serviceName());
    ASSERT_TRUE(processEventsUntil([&] { return ended; }));
    EXPECT_EQ(log.events().size(), 1);
    expectOnlyTheFirstOfTwoCreated();
}

// A service that stays on the bus but falls silent in the middle of a request
// must not hold the chain, nor the state that later chains wait for.
TEST_F(SystemItemsStatesTest, AServiceThatFallsSilentMidRequestTimesOut)
{
    FakeKeelhouse service(bus->address());
    auto* create = createAnsweredForTheFirstOfTwo(service);
    create->setRequestTimeoutMs(300);
    ASSERT_TRUE(runChain(create, firstOfTwo));
    expectOnlyTheFirstOfTwoCreated();
}

TEST_F(SystemItemsStatesTest, AFailedEntryIsListedOnItselfAloneAndTheOthersStayDone)
{
    FakeKeelhouse service(bus->address());
    service.reaction = [](const QString&, SystemItemsServerInterface& callbacks) {
        const QVariantMap a { { "path", "/apps/a" } };
        const QVariantMap b { { "path", "/apps/b" } };
        callbacks.keelhouseDidBeginDeleting();
        callbacks.keelhouseDidBeginDeletingItem(a);
        callbacks.keelhouseDidFailDeletingItem(a);
        callbacks.keelhouseDidFailItem(a);
        callbacks.keelhouseDidEndDeletingItem(a);
        callbacks.keelhouseDidBeginDeletingItem(b);
        callbacks.keelhouseDidEndDeletingItem(b);
        callbacks.keelhouseDidEndDeleting();
    };
    auto* remove = static_cast<DeleteSystemItemsApplicationState*>(context.deleteSystemItemsState());
    ASSERT_TRUE(runChain(remove, firstOfTwo));
    const QVariantMap info = last(MHDeleteSystemItemsDidEndNotification);
    EXPECT_EQ(paths(info.value(items)), QStringList({ "/apps/b" }));
    EXPECT_EQ(paths(info.value(failedItems)), QStringList({ "/apps/a" }));
}

TEST_F(SystemItemsStatesTest, AServiceThatCannotOpenTheListFailsTheStep)
{
    FakeKeelhouse service(bus->address());
    service.reaction = [](const QString&, SystemItemsServerInterface& callbacks) { callbacks.keelhouseDidFailInitializingItemsHandler(); };
    ASSERT_TRUE(runChain(context.uninstallLanternwickState()));
    EXPECT_TRUE(notifications.isEmpty());
}

// Three moves in quick succession, while the first is still with the service:
// each request sends its own items, never those of a later move.
TEST_F(SystemItemsStatesTest, QuickMovesEachSendTheirOwnItems)
{
    FakeKeelhouse service(bus->address());
    service.reaction = [](const QString&, SystemItemsServerInterface& callbacks) {
        callbacks.keelhouseDidBeginCreating();
        callbacks.keelhouseDidEndCreating();
    };
    auto* create = static_cast<CreateSystemItemsApplicationState*>(context.createSystemItemsState());
    bool ended[3] = { false, false, false };
    for (int i = 0; i < 3; ++i)
        startChain(create, ended[i], itemsAt({ QStringLiteral("/apps/%1").arg(i) }));
    ASSERT_TRUE(waitLong([&] { return ended[0] && ended[1] && ended[2]; }));
    EXPECT_EQ(service.sentPaths, QStringList({ "/apps/0", "/apps/1", "/apps/2" }));
}

// A request that timed out gets its answers late, while the next request is
// with the service: they reach an object that is gone and end nothing.
TEST_F(SystemItemsStatesTest, LateCallbacksOfATimedOutRequestNeverEndTheNext)
{
    FakeKeelhouse service(bus->address());
    auto* create = static_cast<CreateSystemItemsApplicationState*>(context.createSystemItemsState());
    create->setRequestTimeoutMs(300);
    ASSERT_TRUE(runChain(create, itemsAt({ "/apps/first" })));
    ASSERT_EQ(service.endpoints.size(), 1);

    notifications.clear();
    create->setRequestTimeoutMs(2000);
    bool ended = false;
    startChain(create, ended, itemsAt({ "/apps/second" }));
    ASSERT_TRUE(waitLong([&] { return service.endpoints.size() == 2; }));
    EXPECT_NE(service.endpoints[0], service.endpoints[1]);
    const QVariantMap first { { "path", "/apps/first" } };
    service.sendTo(service.endpoints[0], "KeelhouseDidBeginCreating", {});
    service.sendTo(service.endpoints[0], "KeelhouseDidEndCreatingItem", { first });
    service.sendTo(service.endpoints[0], "KeelhouseDidEndCreating", {});
    QElapsedTimer quiet;
    quiet.start();
    processEventsUntil([&] { return ended || quiet.elapsed() > 300; });
    EXPECT_FALSE(ended);
    EXPECT_TRUE(notifications.isEmpty());

    const QVariantMap second { { "path", "/apps/second" } };
    service.sendTo(service.endpoints[1], "KeelhouseDidBeginCreating", {});
    service.sendTo(service.endpoints[1], "KeelhouseDidEndCreatingItem", { second });
    service.sendTo(service.endpoints[1], "KeelhouseDidEndCreating", {});
    ASSERT_TRUE(waitLong([&] { return ended; }));
    EXPECT_EQ(paths(last(MHCreateSystemItemsDidEndNotification).value(items)), QStringList({ "/apps/second" }));
}

} // namespace
