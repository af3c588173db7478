// The volume and network editors: the volume list with the condition's own
// unmounted volume and after mounts; the network list in its order, after a
// scan, a scan that finds the same and an empty one, the internet connection
// told apart from a network of the same name, and the countdown warning at
// its boundary.
#include "ConditionEditorTestCase.h"
#include "foundation/MHInternalNotifications.h"
#include "model/DBNetworkConditionData.h"
#include "model/DBVolumeConditionData.h"
#include "ui/inspector/ConditionNameEditorViewController.h"
#include "ui/inspector/MountedVolumeConditionViewController.h"
#include "ui/inspector/NetworkConditionViewController.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <algorithm>
#include <thread>

namespace {

class VolumeAndNetworkEditorsTest : public ConditionEditorTestCase {
protected:
    DBStartupCondition* volumeCondition(const QString& path)
    {
        DBStartupCondition* condition = editing->createMountedVolumeStartupConditionAtIndex(100);
        condition->setConditionName("Backup disk");
        condition->conditionVolumeData()->setVolumePath(path);
        return condition;
    }

    DBStartupCondition* networkCondition(const QString& name, const QString& network = QString())
    {
        DBStartupCondition* condition = editing->createNetworkStartupConditionAtIndex(100);
        condition->setConditionName(name);
        if (!network.isNull())
            condition->conditionNetworkData()->setNetworkName(network);
        return condition;
    }

    static QString listedVolumes(const MountedVolumeConditionViewController& editor)
    {
        QStringList listed;
        for (const AttachedVolumeData& volume : editor.mountedVolumes())
            listed << volume.description();
        EXPECT_EQ(editor.volumeNameView()->count(), editor.mountedVolumes().size());
        return listed.join(", ");
    }

    // The titles of the network list, "-" for a line.
    static QString networks(const NetworkConditionViewController& editor)
    {
        QStringList titles;
        for (const QString& title : editor.networkNameView()->titles())
            titles << (title.isEmpty() ? QStringLiteral("-") : title);
        return titles.join(", ");
    }

    // The background scan of the helpers, finished.
    void scan()
    {
        // No periodic scan within the test.
        settings->setFloat("Tweaking.Timings.NetworkScanInterval", 3600);
        helpers->fetchTimeIntensiveBlockingValues();
        ASSERT_TRUE(QTest::qWaitFor([&] {
            const QList<NetworkData> cached = helpers->cachedNetworks();
            return std::any_of(cached.cbegin(), cached.cend(), [](const NetworkData& network) { return network.available(); });
        }));
    }
};

TEST_F(VolumeAndNetworkEditorsTest, TheConditionsVolumeStaysListedUntilItIsMounted)
{
    volumes->setMountedVolumes({ { "/media/photos", "Photos", true } });
    DBStartupCondition* condition = volumeCondition("/media/backup");
    auto editor = editorFor<MountedVolumeConditionViewController>(condition);
    auto other = editorFor<MountedVolumeConditionViewController>(volumeCondition(QString()));
    EXPECT_EQ(listedVolumes(*editor), "Photos a, backup -");
    EXPECT_EQ(editor->volumeNameView()->currentText(), "backup");
    EXPECT_EQ(listedVolumes(*other), "Photos a");

    volumes->setMountedVolumes({ { "/media/photos", "Photos", true }, { "/media/backup", "Backup", true } });
    EXPECT_EQ(listedVolumes(*editor), "Photos a, Backup a");
    EXPECT_EQ(editor->volumeNameView()->currentText(), "Backup");
    volumes->setMountedVolumes({ { "/media/backup", "Backup", true } });
    EXPECT_EQ(listedVolumes(*other), "Backup a") << "unmounted volumes leave every list";
}

TEST_F(VolumeAndNetworkEditorsTest, PickingAVolumeOrItsStateIsOneNamedStep)
{
    volumes->setMountedVolumes({ { "/media/photos", "Photos", true } });
    DBStartupCondition* condition = volumeCondition("/media/backup");
    auto editor = editorFor<MountedVolumeConditionViewController>(condition);
    startFresh();
    choose(editor->volumeNameView(), QStringLiteral("/media/photos"));
    EXPECT_EQ(condition->conditionVolumeData()->volumePath(), "/media/photos");
    EXPECT_EQ(listedVolumes(*editor), "Photos a") << "the former volume is no condition's any more";
    expectOneStep("Change Volume For Backup disk");

    startFresh();
    choose(editor->volumeStatusView(), VolumeStatusNotMounted);
    expectOneStep("Change Volume Status For Backup disk");
}

TEST_F(VolumeAndNetworkEditorsTest, NetworksAreListedInRangeFirstThenSavedThenNamedByConditions)
{
    wifi->setNetworks({ "B", "C" }, { "A" }, "A");
    networkCondition("Other", "D");
    auto editor = editorFor<NetworkConditionViewController>(networkCondition("Mine", "C"));
    EXPECT_EQ(networks(*editor), "Internet Connection, -, B, C, D") << "before the first scan, the saved networks, after one line";
    scan();
    editor->updateKnownNetworks();
    EXPECT_EQ(networks(*editor), "Internet Connection, -, A, -, B, C, D");
    EXPECT_EQ(editor->networkNameView()->currentText(), "C");
}

TEST_F(VolumeAndNetworkEditorsTest, AFinishedScanRefreshesTheListOnTheMainThread)
{
    auto editor = editorFor<NetworkConditionViewController>(networkCondition("Mine"));
    EXPECT_EQ(networks(*editor), "Internet Connection, -") << "an empty scan";
    EXPECT_EQ(editor->networkNameView()->currentText(), "Internet Connection");
    wifi->setNetworks({}, { "Cafe" }, QString());
    scan();
    std::thread([this] { center.post(MHInternalNotifications::MHInternalNotificationNetworkDataFetchDidComplete); }).join();
    EXPECT_TRUE(QTest::qWaitFor([&] { return networks(*editor) == "Internet Connection, -, Cafe"; }));

    // The next scan finds the same: the choices a screen reader may be
    // reading stay, and so does the one shown.
    QSignalSpy removed(editor->networkNameView()->model(), &QAbstractItemModel::rowsRemoved);
    QSignalSpy reset(editor->networkNameView()->model(), &QAbstractItemModel::modelReset);
    std::thread([this] { center.post(MHInternalNotifications::MHInternalNotificationNetworkDataFetchDidComplete); }).join();
    QCoreApplication::processEvents();
    EXPECT_EQ(removed.count() + reset.count(), 0);
    EXPECT_EQ(networks(*editor), "Internet Connection, -, Cafe");
    EXPECT_EQ(editor->networkNameView()->currentText(), "Internet Connection");
}

TEST_F(VolumeAndNetworkEditorsTest, ANetworkNamedLikeTheInternetConnectionIsANetwork)
{
    wifi->setNetworks({}, { "Internet Connection" }, QString());
    scan();
    DBStartupCondition* condition = networkCondition("Mine");
    auto editor = editorFor<NetworkConditionViewController>(condition);
    EXPECT_EQ(networks(*editor), "Internet Connection, -, Internet Connection");
    EXPECT_EQ(editor->networkNameView()->currentIndex(), 0);
    startFresh();

    choose(editor->networkNameView(), 2);
    EXPECT_EQ(condition->conditionNetworkData()->value("networkName"), QVariant(QStringLiteral("Internet Connection")));
    EXPECT_EQ(editor->networkNameView()->currentIndex(), 2);
    expectOneStep("Change Network For Mine");

    startFresh();
    choose(editor->networkNameView(), 0);
    EXPECT_FALSE(condition->conditionNetworkData()->value("networkName").isValid());
    EXPECT_EQ(editor->networkNameView()->currentIndex(), 0);
}

TEST_F(VolumeAndNetworkEditorsTest, ChoosingTheInternetConnectionMakesAConnectedStatusAvailable)
{
    DBStartupCondition* condition = networkCondition("Mine", "Office");
    condition->conditionNetworkData()->setNetworkStatusValue(NetworkStatusConnected);
    auto editor = editorFor<NetworkConditionViewController>(condition);
    startFresh();
    EXPECT_EQ(editor->networkStatusView()->shownValue(), QVariant(NetworkStatusConnected));
    choose(editor->networkNameView(), 0);
    EXPECT_EQ(condition->conditionNetworkData()->networkStatusValue(), NetworkStatusAvailable);
    EXPECT_EQ(editor->networkStatusView()->shownValue(), QVariant(NetworkStatusAvailable));
    expectOneStep("Change Network For Mine");
    undo().undo();
    EXPECT_EQ(condition->conditionNetworkData()->networkName(), "Office");
    EXPECT_EQ(editor->networkStatusView()->shownValue(), QVariant(NetworkStatusConnected));

    startFresh();
    choose(editor->networkModeView(), NetworkModeNot);
    expectOneStep("Change Network Mode For Mine");
}

TEST_F(VolumeAndNetworkEditorsTest, TheWarningShowsForAUsedConditionJudgedBeforeTheFirstScan)
{
    auto editor = editorFor<NetworkConditionViewController>(networkCondition("Mine"));
    ConditionNameEditorViewController& usage = editor->nameEditorViewController();
    settings->setIsDelayBeforeItemsExecutionEnabled(true);
    settings->setFloat("Tweaking.Timings.NetworkScanInterval", 10);
    const auto warnsWith = [&](float delay, bool used) {
        settings->setDelayBeforeItemsExecution(delay);
        usage.setIsConditionUsedByItsParentLoginItem(!used);
        usage.setIsConditionUsedByItsParentLoginItem(used);
        EXPECT_EQ(editor->warningView()->isVisibleTo(editor.get()), editor->isWarningActive());
        return editor->isWarningActive();
    };
    EXPECT_FALSE(warnsWith(10, true)) << "a countdown as long as the scan interval";
    EXPECT_TRUE(warnsWith(9.5, true));
    EXPECT_FALSE(warnsWith(9.5, false)) << "not used by the shown item";
    settings->setIsDelayBeforeItemsExecutionEnabled(false);
    EXPECT_TRUE(warnsWith(60, true)) << "no countdown at all";

    QSignalSpy opened(editor.get(), &NetworkConditionViewController::showGeneralPreferencesRequested);
    editor->warningLinkView()->click();
    EXPECT_EQ(opened.size(), 1);
}

} // namespace
