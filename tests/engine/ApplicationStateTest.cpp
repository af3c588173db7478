#include "EngineTestSupport.h"

#include "foundation/MHItemDataKeys.h"
#include "foundation/NotificationCenter.h"
#include "foundation/UserDefaults.h"
#include "model/DBConditionalPreviousItem.h"
#include "model/DBDelayItem.h"
#include "model/DBFileItem.h"
#include "model/DBLoginGroup.h"
#include "model/DBWaitPreviousItem.h"
#include "model/ObjectContext.h"
#include "platform/fake/FakeIdleInhibitor.h"
#include "support/EndToEnd.h"
#include "support/FakeModelTexts.h"
#include "support/FakeSystemItemHelpers.h"
#include "support/TestHome.h"
#include "support/UtmpFixture.h"
#include "engine/LoginRecord.h"
#include "platform/linux/LinuxSystemTimesProvider.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

namespace {

const QDateTime bootTime = QDateTime::fromSecsSinceEpoch(1'700'000'000);

// Answers the gate inside its execution and remembers the answer.
class GateProbe : public ApplicationState {
public:
    GateProbe()
        : ApplicationState(QStringLiteral("GateProbe"))
    {
    }
    void executeState() override
    {
        answer = isExecutionAllowed();
        cleanupState();
        proceedWithCompletionBlock();
    }
    bool answer = false;
};

class ApplicationStateTest : public testing::Test {
protected:
    ApplicationStateTest()
    {
        defaults.registerDefaults({ { QStringLiteral("Tweaking"),
                                      QVariantMap { { QStringLiteral("Timings"),
                                                      QVariantMap { { QStringLiteral("SystemBootDetectionAllowedDifference"), 5.0 } } } } } });
        helpers.times.setBootTime(bootTime);
        probe.setUserDefaults(&defaults);
        probe.setApplicationHelpers(&helpers);
        probe.setNotificationCenter(&center);
    }
    ~ApplicationStateTest() override
    {
        // Let the probe's proceeds finish before it goes.
        QCoreApplication::processEvents();
    }

    bool gateAnswer(std::shared_ptr<ChainRun> run)
    {
        probe.executeWithCompletionBlock(std::move(run), {});
        return probe.answer;
    }

    // A start after launch that tells its login by the system's times, as
    // the program's start does; the login is stored as handled.
    bool startsTheItems(const SystemTimesProvider& system, const char* session)
    {
        helpers.times.setLoginTime(system.loginTime());
        helpers.times.setLoginSessionID(QString::fromLatin1(session));
        auto info = std::make_shared<ContextBatchInfo>();
        info->setIsExecutingAfterLaunch(true);
        const bool runs = gateAnswer(std::make_shared<ChainRun>(info));
        QCoreApplication::processEvents();
        LoginRecord::storeCurrentLogin(defaults, helpers);
        return runs;
    }

    UserDefaults defaults { freshTestFolder(QStringLiteral("gate")) + QStringLiteral("/settings.conf") };
    FakeApplicationHelpers helpers;
    NotificationCenter center;
    GateProbe probe;
};

enum class Batch { None, AfterLaunch, AfterWake, OnDemand };

struct GateRow {
    const char* name;
    Batch batch;
    bool cancelled;
    bool afterLaunchEnabled;
    bool onManualLaunchEnabled;
    bool afterWakeEnabled;
    // Seconds between the stored and the current boot time; < 0: none stored.
    double storedBootOffset;
    bool allowed;
};

TEST_F(ApplicationStateTest, GateRules)
{
    const GateRow rows[] = {
        { "cancelled run", Batch::AfterLaunch, true, true, true, true, 0, false },
        { "cancelled run without batch info", Batch::None, true, true, true, true, 0, false },
        { "after launch switched off", Batch::AfterLaunch, false, false, true, true, -1, false },
        { "manual start after the same boot", Batch::AfterLaunch, false, true, false, true, 1, false },
        { "launch after a new boot", Batch::AfterLaunch, false, true, false, true, 60, true },
        { "launch with no stored boot time", Batch::AfterLaunch, false, true, false, true, -1, true },
        { "manual starts allowed", Batch::AfterLaunch, false, true, true, true, 0, true },
        { "after wake switched off", Batch::AfterWake, false, true, true, false, 0, false },
        { "after wake on", Batch::AfterWake, false, false, false, true, 0, true },
        { "on demand ignores the launch and wake settings", Batch::OnDemand, false, false, false, false, 0, true },
        { "no batch info passes rules 2 to 4", Batch::None, false, false, false, false, 0, true },
    };
    for (const GateRow& row : rows) {
        SCOPED_TRACE(row.name);
        defaults.setIsItemsExecutionAfterLaunchEnabled(row.afterLaunchEnabled);
        defaults.setIsItemsExecutionOnManualLaunchEnabled(row.onManualLaunchEnabled);
        defaults.setIsItemsExecutionAfterAwakingFromSleepEnabled(row.afterWakeEnabled);
        if (row.storedBootOffset < 0)
            defaults.removeValue(QStringLiteral("LastBootTime"));
        else
            defaults.setLastBootTime(bootTime.addSecs(static_cast<qint64>(row.storedBootOffset)));

        std::shared_ptr<ContextBatchInfo> info;
        if (row.batch != Batch::None) {
            info = std::make_shared<ContextBatchInfo>();
            info->setIsExecutingAfterLaunch(row.batch == Batch::AfterLaunch);
            info->setIsExecutingAfterAwakeFromSleep(row.batch == Batch::AfterWake);
            info->setIsExecutingOnDemand(row.batch == Batch::OnDemand);
        }
        auto run = std::make_shared<ChainRun>(info);
        if (row.cancelled)
            run->cancelExecution();
        EXPECT_EQ(gateAnswer(run), row.allowed);
        QCoreApplication::processEvents();
    }
}

TEST_F(ApplicationStateTest, OnlyTheAutoCloseStopsForACancelledAutoClose)
{
    EventLog log;
    ImmediateState execution(QStringLiteral("Execute"), log, { false, true, false });
    ImmediateState autoClose(QStringLiteral("AutoClose"), log, { false, true, true });
    auto run = std::make_shared<ChainRun>(std::make_shared<ContextBatchInfo>());
    run->cancelAutoClose();
    execution.executeWithCompletionBlock(run, {});
    autoClose.executeWithCompletionBlock(run, {});
    EXPECT_EQ(log.events(), QStringList({ "Execute:%1:start", "Execute:%1:work", "AutoClose:%1:start", "AutoClose:%1:skipped" })
                                .replaceInStrings("%1", QString::number(run->serial())));
    QCoreApplication::processEvents();
}

TEST_F(ApplicationStateTest, BootDecision)
{
    const QString kind = QStringLiteral("system boot");
    EXPECT_TRUE(probe.determineFirstExecutionWithTime(bootTime, QDateTime(), kind, 5.0)) << "nothing stored";
    EXPECT_TRUE(probe.determineFirstExecutionWithTime(bootTime, bootTime.addSecs(5), kind, 5.0)) << "equal to the allowance";
    EXPECT_TRUE(probe.determineFirstExecutionWithTime(bootTime, bootTime.addSecs(-5), kind, 5.0)) << "earlier by the allowance";
    EXPECT_FALSE(probe.determineFirstExecutionWithTime(bootTime, bootTime.addMSecs(4999), kind, 5.0));
    EXPECT_FALSE(probe.determineFirstExecutionWithTime(bootTime, bootTime.addMSecs(-4999), kind, 5.0));
    EXPECT_TRUE(probe.determineFirstExecutionWithTime(bootTime, bootTime.addDays(-1), kind, 5.0));
}

TEST_F(ApplicationStateTest, EveryLoginSessionRunsTheItemsOnceAManualStartDoesNot)
{
    defaults.setIsItemsExecutionAfterLaunchEnabled(true);
    defaults.setIsItemsExecutionOnManualLaunchEnabled(false);
    defaults.setLastBootTime(bootTime);
    const auto afterLaunch = [] {
        auto info = std::make_shared<ContextBatchInfo>();
        info->setIsExecutingAfterLaunch(true);
        return std::make_shared<ChainRun>(info);
    };
    // Each answer lets the probe finish before the next is asked.
    const auto gateAnswer = [this](std::shared_ptr<ChainRun> run) {
        const bool answer = this->gateAnswer(std::move(run));
        QCoreApplication::processEvents();
        return answer;
    };
    const QDateTime login = bootTime.addSecs(40);
    helpers.times.setLoginTime(login);
    defaults.setLastLoginTime(login);
    EXPECT_FALSE(gateAnswer(afterLaunch())) << "a manual start in the same session";
    // A log out and in again, quicker than the boot time's allowance.
    helpers.times.setLoginTime(login.addSecs(3));
    EXPECT_TRUE(gateAnswer(afterLaunch())) << "a new login of the same boot";
    defaults.setIsItemsExecutionOnManualLaunchEnabled(true);
    helpers.times.setLoginTime(login);
    EXPECT_TRUE(gateAnswer(afterLaunch())) << "manual starts run the items when the setting says so";
    defaults.setIsItemsExecutionOnManualLaunchEnabled(false);

    // Where the session's start cannot be told, its ID tells a new login.
    helpers.times.setLoginTime(QDateTime());
    helpers.times.setLoginSessionID(QStringLiteral("c2"));
    defaults.setLastLoginSessionID(QStringLiteral("c2"));
    EXPECT_FALSE(gateAnswer(afterLaunch())) << "the same session ID";
    helpers.times.setLoginSessionID(QStringLiteral("c3"));
    EXPECT_TRUE(gateAnswer(afterLaunch())) << "a second session ID of the same boot";
    // Nothing known of the login: the boot alone decides.
    helpers.times.setLoginSessionID(QString());
    EXPECT_FALSE(gateAnswer(afterLaunch()));
    defaults.setLastBootTime(bootTime.addDays(-1));
    EXPECT_TRUE(gateAnswer(afterLaunch()));
}

// Logins as a desktop has them, told by the login records: a console login
// of the user stays open while the user logs in on the desktop.
TEST_F(ApplicationStateTest, ANewDesktopLoginRunsTheItemsWithAConsoleLoginStillOpen)
{
    defaults.setIsItemsExecutionAfterLaunchEnabled(true);
    defaults.setIsItemsExecutionOnManualLaunchEnabled(false);
    const QString root = freshTestFolder(QStringLiteral("logins"));
    writeFile(root + "/stat", QByteArray("btime ") + QByteArray::number(bootTime.toSecsSinceEpoch()) + "\n");
    const QString utmp = root + "/utmp";
    const qint64 boot = bootTime.toSecsSinceEpoch();
    std::vector<utmpx> records { loginRecord(USER_PROCESS, "alice", boot + 60, "tty1") };
    writeFile(utmp, bytesOf(records));
    const LinuxSystemTimesProvider system(root, utmp, QStringLiteral("alice"));
    const auto start = [&](const char* session) { return startsTheItems(system, session); };
    defaults.setLastBootTime(bootTime);
    qunsetenv("DISPLAY");
    qputenv("XDG_VTNR", "1");
    EXPECT_TRUE(start("3")) << "the console login";
    records.push_back(loginRecord(USER_PROCESS, "alice", boot + 900, "tty7", ":0"));
    writeFile(utmp, bytesOf(records));
    qputenv("DISPLAY", ":0");
    qputenv("XDG_VTNR", "7");
    EXPECT_TRUE(start("5")) << "the desktop login";
    EXPECT_FALSE(start("5")) << "a manual start on the desktop";
    // A start that cannot tell its login runs nothing and keeps the login stored.
    qunsetenv("DISPLAY");
    qunsetenv("XDG_VTNR");
    EXPECT_FALSE(start(""));
    EXPECT_EQ(defaults.lastLoginSessionID(), QStringLiteral("5"));
    EXPECT_EQ(defaults.lastLoginTime(), QDateTime::fromSecsSinceEpoch(boot + 900));
    qputenv("DISPLAY", ":0");
    EXPECT_FALSE(start("5")) << "the desktop login is still known";
    // A new session ID is a new login, whatever the records say (an old record
    // left on the display).
    EXPECT_TRUE(start("8"));
}

// Without logind: a terminal window opened on the desktop writes a login
// record of its own (its pseudo-terminal, on the display's host), and a start
// from that terminal is still a start in the desktop's login.
TEST_F(ApplicationStateTest, ATerminalsLoginRecordIsNoNewLogin)
{
    defaults.setIsItemsExecutionAfterLaunchEnabled(true);
    defaults.setIsItemsExecutionOnManualLaunchEnabled(false);
    const QString root = freshTestFolder(QStringLiteral("terminal-login"));
    const qint64 boot = bootTime.toSecsSinceEpoch();
    writeFile(root + "/stat", QByteArray("btime ") + QByteArray::number(boot) + "\n");
    const QString utmp = root + "/utmp";
    std::vector<utmpx> records { loginRecord(USER_PROCESS, "alice", boot + 60, ":0", ":0") };
    writeFile(utmp, bytesOf(records));
    const LinuxSystemTimesProvider system(root, utmp, QStringLiteral("alice"));
    defaults.setLastBootTime(bootTime);
    qunsetenv("XDG_VTNR");
    qputenv("DISPLAY", ":0");
    EXPECT_TRUE(startsTheItems(system, "")) << "the desktop login";

    // A terminal window: a pseudo-terminal.
    const int terminal = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(terminal, 0);
    ASSERT_EQ(grantpt(terminal), 0);
    ASSERT_EQ(unlockpt(terminal), 0);
    const QByteArray line = QByteArray(ptsname(terminal)).replace("/dev/", "");
    records.push_back(loginRecord(USER_PROCESS, "alice", boot + 600, line.constData(), ":0"));
    writeFile(utmp, bytesOf(records));
    EXPECT_FALSE(startsTheItems(system, "")) << "a start from the menu after the terminal opened";
    // The start's own input is that terminal.
    const int savedInput = dup(STDIN_FILENO);
    const int terminalSide = open(ptsname(terminal), O_RDWR | O_NOCTTY);
    ASSERT_GE(terminalSide, 0);
    dup2(terminalSide, STDIN_FILENO);
    EXPECT_FALSE(startsTheItems(system, "")) << "a start from the terminal";
    EXPECT_EQ(defaults.lastLoginTime(), QDateTime::fromSecsSinceEpoch(boot + 60));

    // A start that finds only the terminal's record cannot tell its login.
    records.erase(records.begin());
    writeFile(utmp, bytesOf(records));
    EXPECT_FALSE(system.loginTime().isValid());
    EXPECT_FALSE(startsTheItems(system, ""));
    EXPECT_EQ(defaults.lastLoginTime(), QDateTime::fromSecsSinceEpoch(boot + 60));
    dup2(savedInput, STDIN_FILENO);
    close(savedInput);
    close(terminalSide);
    close(terminal);
}

TEST_F(ApplicationStateTest, UnknownBootTimeCountsAsANewBoot)
{
    helpers.times.setBootTime(QDateTime());
    defaults.setLastBootTime(bootTime);
    EXPECT_TRUE(probe.isFirstExecutionAfterSystemBoot());
}

TEST_F(ApplicationStateTest, NotificationsCarryTheBatchInfoOnlyWhenTheRunHasOne)
{
    std::vector<Notification> received;
    auto token = center.addObserver(QStringLiteral("Test"), nullptr, [&](const Notification& n) { received.push_back(n); });
    const QVariantMap given { { QStringLiteral("remainingTime"), 2.5 } };

    class Poster : public ApplicationState {
    public:
        Poster(QVariantMap info)
            : ApplicationState(QStringLiteral("Poster"))
            , m_info(std::move(info))
        {
        }
        void executeState() override
        {
            postNotification(QStringLiteral("Test"), m_info);
            postNotification(QStringLiteral("Test"));
            cleanupState();
            proceedWithCompletionBlock();
        }
        QVariantMap m_info;
    } poster(given);
    poster.setNotificationCenter(&center);

    poster.executeWithCompletionBlock(std::make_shared<ChainRun>(nullptr), {});
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[0].userInfo, given);
    EXPECT_TRUE(received[1].userInfo.isEmpty());
    EXPECT_EQ(received[0].sender, &poster);
    QCoreApplication::processEvents();

    const auto info = std::make_shared<ContextBatchInfo>();
    info->setIsExecutingOnDemand(true);
    poster.executeWithCompletionBlock(std::make_shared<ChainRun>(info), {});
    ASSERT_EQ(received.size(), 4u);
    EXPECT_EQ(ContextBatchInfo::fromUserInfo(received[2].userInfo), info);
    EXPECT_EQ(received[2].userInfo.value(QStringLiteral("remainingTime")), 2.5);
    EXPECT_EQ(ContextBatchInfo::fromUserInfo(received[3].userInfo), info);
    EXPECT_TRUE(ContextBatchInfo::fromUserInfo(received[3].userInfo)->isExecutingOnDemand());
    QCoreApplication::processEvents();
}

TEST_F(ApplicationStateTest, TimedWorkRunsInsideAnIdleInhibitor)
{
    auto inhibitor = std::make_shared<FakeIdleInhibitor>();
    probe.setIdleInhibitor(inhibitor);
    bool activeDuringBlock = false;
    probe.executeBlockSuppressingSystemNap([&] { activeDuringBlock = inhibitor->isActive(); });
    EXPECT_TRUE(activeDuringBlock);
    EXPECT_FALSE(inhibitor->isActive());
    EXPECT_EQ(inhibitor->reasons(), QStringList { "delay before executing" });
}

class ItemDataTest : public testing::Test {
protected:
    FakeModelTexts texts;
    ObjectContext context { texts };
    std::shared_ptr<FakeSystemItemHelpers> systemHelpers = std::make_shared<FakeSystemItemHelpers>();
    GateProbe state;
};

TEST_F(ItemDataTest, RecordsOfEveryKindInSortOrderFromAWorkerQueue)
{
    DBLoginGroup* group = context.getOrCreateApplicationLoginGroup();
    DBFileItem* file = context.createFileItemWithPath(QStringLiteral("/opt/App $1/it's.desktop"));
    file->setSystemItemHelpers(systemHelpers);
    DBDelayItem* delay = context.createDelayItemWithDelay(2.5);
    DBWaitPreviousItem* wait = context.createWaitPreviousItem();
    DBConditionalPreviousItem* conditional = context.createConditionalPreviousItem();
    conditional->setItemModeValue(ConditionalPreviousItemModeIfNotLaunched);
    int index = 0;
    for (DBLoginItem* item : QList<DBLoginItem*> { conditional, file, delay, wait }) {
        item->setItemSortIndexValue(index == 0 ? 10 : index);
        item->setItemLoginGroup(group);
        ++index;
    }

    DispatchQueue worker(QStringLiteral("ItemDataTest"));
    QVariantList records;
    std::atomic<bool> done { false };
    worker.async([&] {
        records = state.arrayOfItemsDataForGroup(group);
        done = true;
    });
    ASSERT_TRUE(processEventsUntil([&] { return done.load(); }));
    ASSERT_EQ(records.size(), 4);

    const QVariantMap fileRecord = records[0].toMap();
    EXPECT_EQ(fileRecord.value(MHItemDataKeys::type), "file");
    EXPECT_EQ(fileRecord.value(MHItemDataKeys::path), "/opt/App $1/it's.desktop");
    EXPECT_EQ(fileRecord.value(MHItemDataKeys::name), "Name of /opt/App $1/it's.desktop");
    EXPECT_EQ(fileRecord.value(MHItemDataKeys::description), "Description of /opt/App $1/it's.desktop");
    EXPECT_EQ(fileRecord.value(MHItemDataKeys::id), file->objectID().uriRepresentation());

    const QVariantMap delayRecord = records[1].toMap();
    EXPECT_EQ(delayRecord.value(MHItemDataKeys::type), "delay");
    EXPECT_EQ(delayRecord.value(MHItemDataKeys::delay).toDouble(), 2.5);
    EXPECT_FALSE(delayRecord.contains(MHItemDataKeys::path));

    EXPECT_EQ(records[2].toMap().value(MHItemDataKeys::type), "waitprevious");
    const QVariantMap conditionalRecord = records[3].toMap();
    EXPECT_EQ(conditionalRecord.value(MHItemDataKeys::type), "conditionalprevious");
    EXPECT_EQ(conditionalRecord.value(MHItemDataKeys::mode).toInt(), 1);
    EXPECT_EQ(conditionalRecord.value(MHItemDataKeys::id), conditional->objectID().uriRepresentation());
}

TEST_F(ItemDataTest, NoGroupGivesNoRecords)
{
    EXPECT_TRUE(state.arrayOfItemsDataForGroup(nullptr).isEmpty());
    EXPECT_TRUE(state.itemDataForLoginItem(nullptr).isEmpty());
}

} // namespace
