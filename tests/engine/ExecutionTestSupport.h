#pragma once
// A whole run of the items on test doubles: a database of items, a machine
// whose keys and network scan the test controls, a workspace (the fake one by
// default), injected sleepers, and every engine notification recorded.
#include "EngineTestSupport.h"

#include "engine/AutoCloseApplicationState.h"
#include "engine/DelayBeforeExecutionApplicationState.h"
#include "engine/ExecutingApplicationState.h"
#include "engine/StateChain.h"
#include "foundation/MHExecuteNotifications.h"
#include "foundation/NotificationCenter.h"
#include "foundation/UserDefaults.h"
#include "model/DBDelayItem.h"
#include "model/DBFileItem.h"
#include "model/DBLoginGroup.h"
#include "model/DBWaitPreviousItem.h"
#include "model/MachineStateSource.h"
#include "model/ObjectContext.h"
#include "model/SystemItemHelping.h"
#include "platform/fake/FakeIdleInhibitor.h"
#include "platform/fake/FakeWorkspace.h"
#include "support/FakeModelTexts.h"
#include "support/FakeSleeper.h"
#include "support/TestHome.h"

#include <QFileInfo>
#include <QHash>
#include <gtest/gtest.h>
#include <mutex>

namespace execution_test {

namespace N = MHExecuteNotifications;

// The machine as the test sets it, noting what is sampled. The first network
// scan never ends unless the test says so; waits for it are counted by thread.
class TestMachineStateSource : public MachineStateSource {
public:
    explicit TestMachineStateSource(ObjectContext& context)
        : m_context(context)
    {
    }

    QDateTime currentTime() const override { return QDateTime(QDate(2024, 5, 6), QTime(9, 0)); }
    ModifierKeys currentModifierKeys() const override
    {
        noteSample("keys");
        std::lock_guard lock(m_mutex);
        return m_keys;
    }
    void setModifierKeys(ModifierKeys keys)
    {
        std::lock_guard lock(m_mutex);
        m_keys = keys;
    }
    uint32_t currentPowerSource() const override
    {
        noteSample("power");
        return powerSource;
    }
    QList<AttachedVolumeData> attachedVolumesData() const override
    {
        noteSample("volumes");
        std::lock_guard lock(m_mutex);
        return m_volumes;
    }
    void setVolumes(const QList<AttachedVolumeData>& volumes)
    {
        std::lock_guard lock(m_mutex);
        m_volumes = volumes;
    }
    QList<NetworkData> cachedNetworks() const override
    {
        noteSample("networks");
        return {};
    }
    bool isNetworkReachable() const override
    {
        noteSample("reachability");
        return true;
    }
    void fetchTimeIntensiveBlockingValues(NetworksCompletion) override {}
    bool hasCompletedNetworkScan() const override { return false; }
    void waitForFirstNetworkScan() const override { ++(isMainThread() ? waitsOnMainThread : waitsElsewhere); }
    QList<DBLoginItem*> sortedLoginItemsForApplicationGroup() const override
    {
        if (!isMainThread())
            ++itemReadsOffMainThread;
        return m_context.sortedLoginItemsForGroup(m_context.getOrCreateApplicationLoginGroup());
    }

    // What was sampled, in order.
    QStringList samples() const
    {
        std::lock_guard lock(m_mutex);
        return m_samples;
    }

    std::atomic<uint32_t> powerSource { PowerSourceTypePowerSupply };
    // Samples taken on the main thread: the rules that read them ran there.
    mutable std::atomic<int> samplesOnMainThread { 0 };
    mutable std::atomic<int> waitsOnMainThread { 0 };
    mutable std::atomic<int> waitsElsewhere { 0 };
    mutable std::atomic<int> itemReadsOffMainThread { 0 };

private:
    void noteSample(const QString& what) const
    {
        if (isMainThread())
            ++samplesOnMainThread;
        std::lock_guard lock(m_mutex);
        m_samples.append(what);
    }

    ObjectContext& m_context;
    mutable std::mutex m_mutex;
    ModifierKeys m_keys;
    QList<AttachedVolumeData> m_volumes;
    mutable QStringList m_samples;
};

// What a file item asks of the desktop, answered by the workspace; the
// questions whether a file is missing are counted by path.
class WorkspaceItemHelpers : public SystemItemHelping {
public:
    explicit WorkspaceItemHelpers(std::shared_ptr<Workspace> workspace)
        : m_workspace(std::move(workspace))
    {
    }
    bool isMissingItemAtPath(const QString& path) const override
    {
        {
            std::lock_guard lock(m_mutex);
            ++m_missingQuestions[path];
        }
        return m_workspace->isMissingItemAtPath(path);
    }
    QHash<QString, int> missingQuestions() const
    {
        std::lock_guard lock(m_mutex);
        return m_missingQuestions;
    }
    QString niceDisplayNameForItemAtPath(const QString& path) const override { return QFileInfo(path).fileName(); }
    QString niceDescriptionForItemAtPath(const QString& path) const override { return path; }
    QString iconNameForItemAtPath(const QString&) const override { return {}; }

private:
    std::shared_ptr<Workspace> m_workspace;
    mutable std::mutex m_mutex;
    mutable QHash<QString, int> m_missingQuestions;
};

class RecordingApplicationHelpers : public FakeApplicationHelpers {
public:
    QVariantMap debugOptions() const override
    {
        std::lock_guard lock(m_mutex);
        return options;
    }
    bool postUserNotificationWithTitle(const QString& title, const QString& text) override
    {
        std::lock_guard lock(m_mutex);
        userNotifications.append(title + " / " + text);
        return true;
    }
    QStringList notifications() const
    {
        std::lock_guard lock(m_mutex);
        return userNotifications;
    }

    QVariantMap options;

private:
    mutable std::mutex m_mutex;
    QStringList userNotifications;
};

// Every engine notification, in order, from any thread.
class NotificationLog {
public:
    explicit NotificationLog(NotificationCenter& center)
    {
        for (const QLatin1String name :
             { N::MHExecuteDelayDidStartNotification, N::MHExecuteDelayDidTickNotification, N::MHExecuteDelayDidEndNotification,
               N::MHExecuteDidStartNotification, N::MHExecuteDidStartItemNotification, N::MHExecuteDidTickItemNotification,
               N::MHExecuteDidFailItemNotification, N::MHExecuteDidEndItemNotification, N::MHExecuteDidEndNotification,
               N::MHExecuteAutoCloseDidStartNotification, N::MHExecuteAutoCloseDidTickNotification,
               N::MHExecuteAutoCloseDidEndNotification }) {
            m_tokens.push_back(center.addObserver(name, nullptr, [this](const Notification& notification) {
                std::function<void(const Notification&)> hook;
                {
                    std::lock_guard lock(m_mutex);
                    m_notifications.append(notification);
                    hook = m_hook;
                }
                if (hook)
                    hook(notification);
            }));
        }
    }

    // Called on the posting thread after each notification is recorded.
    void setHook(std::function<void(const Notification&)> hook)
    {
        std::lock_guard lock(m_mutex);
        m_hook = std::move(hook);
    }

    QList<Notification> all() const
    {
        std::lock_guard lock(m_mutex);
        return m_notifications;
    }

    // "Name" or "Name(value)" for the notifications that carry a remaining
    // time or an item name, without the common prefix.
    QStringList summary() const
    {
        QStringList lines;
        for (const Notification& notification : all()) {
            QString line = notification.name;
            line.remove(QStringLiteral("MHExecute")).remove(QStringLiteral("Notification"));
            if (notification.userInfo.contains(N::itemDisplayName))
                line += "(" + notification.userInfo.value(N::itemDisplayName).toString() + ")";
            else if (notification.userInfo.contains(N::remainingTime))
                line += "(" + QString::number(notification.userInfo.value(N::remainingTime).toDouble()) + ")";
            lines.append(line);
        }
        return lines;
    }

    QList<Notification> named(const QString& name) const
    {
        QList<Notification> found;
        for (const Notification& notification : all()) {
            if (notification.name == name)
                found.append(notification);
        }
        return found;
    }

private:
    mutable std::mutex m_mutex;
    QList<Notification> m_notifications;
    std::function<void(const Notification&)> m_hook;
    std::vector<NotificationCenter::Token> m_tokens;
};

template <typename WorkspaceType>
class ExecutionFixture : public testing::Test {
protected:
    ExecutionFixture()
    {
        defaults.setFloat("Tweaking.Timings.NumberOfExecutionNotificationsPerSecond", 1);
        defaults.setFloat("Tweaking.Timings.NumberOfWaitForPreviousItemChecksPerSecond", 4);
        defaults.setFloat("Tweaking.Timings.MaxWaitForPreviousItemDelay", 3);
        defaults.setFloat("Tweaking.Timings.WaitForPreviousItemPostDelay", 2);
        defaults.setBool("Tweaking.DefaultValues.IsLaunchInBackgroundEnabled", false);
        defaults.setBool("Tweaking.DefaultValues.IsForcedItemHideEnabled", false);
        defaults.setIsDelayBeforeItemsExecutionEnabled(false);
        defaults.setIsDelayBetweenItemsDuringExecutionEnabled(false);
        defaults.setIsAutoCloseAfterItemsExecutionEnabled(false);

        context.setNotificationCenter(&center);
        context.setUserDefaults(&defaults);
        context.setApplicationHelpers(&helpers);
        context.setSystemItemHelpers(itemHelpers.get());
        context.setManagedObjectContext(&objects);
        context.setIdleInhibitor(inhibitor);
        DelayBeforeExecutionApplicationState::registerWithContext(context);
        ExecutingApplicationState::registerWithContext(context, workspace);
        AutoCloseApplicationState::registerWithContext(context);
        execute()->setMachineStateSource(machine);
        delay()->setSleeper(delaySleeper);
        execute()->setSleeper(executeSleeper);
        autoClose()->setSleeper(autoCloseSleeper);
    }

    ~ExecutionFixture() override
    {
        // A failed test must not leave a state asleep for ever.
        context.cancelExecution();
        processEventsUntil([&] { return !context.isExecutionInProgress(); });
    }

    DelayBeforeExecutionApplicationState* delay()
    {
        return static_cast<DelayBeforeExecutionApplicationState*>(context.delayBeforeExecutionState());
    }
    ExecutingApplicationState* execute() { return static_cast<ExecutingApplicationState*>(context.executeItemsState()); }
    AutoCloseApplicationState* autoClose() { return static_cast<AutoCloseApplicationState*>(context.autoCloseState()); }

    DBLoginGroup* group() { return objects.getOrCreateApplicationLoginGroup(); }
    template <typename Item>
    Item* append(Item* item)
    {
        item->setItemSortIndexValue(static_cast<int32_t>(objects.sortedLoginItemsForGroup(group()).size()));
        item->setItemLoginGroup(group());
        return item;
    }
    DBFileItem* fileItem(const QString& path, ItemStartupMode mode = ItemStartupModeShown)
    {
        DBFileItem* item = append(objects.createFileItemWithPath(path));
        item->setItemStartupModeValue(mode);
        item->setSystemItemHelpers(itemHelpers);
        return item;
    }
    DBDelayItem* delayItem(double seconds) { return append(objects.createDelayItemWithDelay(seconds)); }
    DBWaitPreviousItem* waitItem() { return append(objects.createWaitPreviousItem()); }

    static std::shared_ptr<ContextBatchInfo> onDemand()
    {
        auto info = std::make_shared<ContextBatchInfo>();
        info->setIsExecutingOnDemand(true);
        return info;
    }

    // The chain of an on-demand run.
    std::shared_ptr<ChainRun> startRun(std::shared_ptr<ContextBatchInfo> info = onDemand())
    {
        return StateChain::start(context, { delay(), execute(), autoClose() }, std::move(info),
                                 [this](const std::shared_ptr<ChainRun>& run) {
                                     std::lock_guard lock(m_endsMutex);
                                     m_ended.append(run->serial());
                                 });
    }
    bool hasEnded(const std::shared_ptr<ChainRun>& run)
    {
        std::lock_guard lock(m_endsMutex);
        return m_ended.contains(run->serial());
    }
    bool ended(const std::shared_ptr<ChainRun>& run)
    {
        return processEventsUntil([&] { return hasEnded(run); });
    }
    // Runs a whole chain and answers its notifications.
    QStringList runChain(std::shared_ptr<ContextBatchInfo> info = onDemand())
    {
        const auto run = startRun(std::move(info));
        EXPECT_TRUE(ended(run));
        return notifications.summary();
    }

    UserDefaults defaults { freshTestFolder("execution") + "/settings.conf" };
    NotificationCenter center;
    NotificationLog notifications { center };
    RecordingApplicationHelpers helpers;
    FakeModelTexts texts;
    ObjectContext objects { texts };
    std::shared_ptr<WorkspaceType> workspace = std::make_shared<WorkspaceType>();
    std::shared_ptr<WorkspaceItemHelpers> itemHelpers = std::make_shared<WorkspaceItemHelpers>(workspace);
    std::shared_ptr<TestMachineStateSource> machine = std::make_shared<TestMachineStateSource>(objects);
    std::shared_ptr<FakeIdleInhibitor> inhibitor = std::make_shared<FakeIdleInhibitor>();
    std::shared_ptr<FakeSleeper> delaySleeper = std::make_shared<FakeSleeper>();
    std::shared_ptr<FakeSleeper> executeSleeper = std::make_shared<FakeSleeper>();
    std::shared_ptr<FakeSleeper> autoCloseSleeper = std::make_shared<FakeSleeper>();
    ApplicationContext context;

private:
    std::mutex m_endsMutex;
    QList<quint64> m_ended;
};

} // namespace execution_test
