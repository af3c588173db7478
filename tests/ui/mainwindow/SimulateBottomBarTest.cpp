// Launch simulation: the bar builds a snapshot from the user's choices alone,
// posts it once per change, and the rows judge a stored list against it
// exactly as the engine judges the same facts sampled from the machine.
#include "BottomBarsTestFixture.h"
#include "foundation/MHInternalNotifications.h"
#include "model/DBHotkeyConditionData.h"
#include "model/DBNetworkConditionData.h"
#include "model/DBPowerSourceConditionData.h"
#include "model/DBScheduledConditionData.h"
#include "model/DBScheduledConditionDataItem.h"
#include "model/DBStartupCondition.h"
#include "model/DBVolumeConditionData.h"
#include "model/ExecutionValidationParameters.h"
#include "model/MachineStateSource.h"
#include "platform/fake/FakeModifierKeysProvider.h"
#include "support/TurnWheel.h"
#include "ui/mainwindow/MainDefaultBottomBarViewController.h"
#include "ui/mainwindow/MainExecuteBottomBarViewController.h"
#include "ui/mainwindow/MainSimulateBottomBarViewController.h"
#include "ui/mainwindow/SimulateNetworkDataBottomBarViewController.h"
#include "ui/mainwindow/SimulateScheduleDataBottomBarViewController.h"
#include "ui/mainwindow/SimulateVolumeDataBottomBarViewController.h"
#include "ui/mainwindow/SimulatedNetworksModel.h"
#include "ui/mainwindow/SimulatedVolumesModel.h"
#include "ui/views/ItemRunStates.h"

#include <QApplication>
#include <QComboBox>
#include <QTest>
#include <QTimeEdit>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

namespace I = MHInternalNotifications;
namespace N = MHExecuteNotifications;
using Parameters = std::shared_ptr<ExecutionValidationParameters>;

// The machine as the engine would sample it, holding the simulated facts.
class FactsSource : public MachineStateSource {
public:
    explicit FactsSource(const ExecutionValidationParameters& facts)
        : m_facts(facts)
    {
    }
    QDateTime currentTime() const override { return m_facts.time(); }
    ModifierKeys currentModifierKeys() const override
    {
        return { m_facts.isControlKeyPressed(), m_facts.isOptionKeyPressed(), m_facts.isShiftKeyPressed(), m_facts.isCommandKeyPressed() };
    }
    uint32_t currentPowerSource() const override { return m_facts.powerSource(); }
    QList<AttachedVolumeData> attachedVolumesData() const override
    {
        QList<AttachedVolumeData> mounted;
        for (const AttachedVolumeData& volume : m_facts.volumes()) {
            if (volume.attached())
                mounted.append(volume);
        }
        return mounted;
    }
    QList<NetworkData> cachedNetworks() const override { return m_facts.networks(); }
    bool isNetworkReachable() const override { return m_facts.isNetworkReachable(); }
    void fetchTimeIntensiveBlockingValues(NetworksCompletion completion) override
    {
        if (completion)
            completion(cachedNetworks());
    }
    bool hasCompletedNetworkScan() const override { return true; }
    void waitForFirstNetworkScan() const override {}
    QList<DBLoginItem*> sortedLoginItemsForApplicationGroup() const override { return m_facts.availableItems(); }

private:
    const ExecutionValidationParameters& m_facts;
};

class SimulateBottomBarTest : public BottomBarsTest {
protected:
    void SetUp() override
    {
        BottomBarsTest::SetUp();
        postsObserver = center.addObserver(I::MHInternalNotificationSimulationParameterDidChange, nullptr, [this](const Notification& posted) {
            ++posts;
            lastPosted = posted.userInfo.value(I::parameters).value<Parameters>();
        });
    }

    MainSimulateBottomBarViewController* simulateBar()
    {
        MainSimulateBottomBarViewController* bar = bars->simulateBottomBarViewController();
        bar->loadView();
        return bar;
    }

    DBStartupCondition* condition(DBStartupCondition* created, const QString& name)
    {
        created->setConditionName(name);
        return created;
    }

    int posts = 0;
    Parameters lastPosted;
    NotificationCenter::Token postsObserver;
};

TEST_F(SimulateBottomBarTest, EnteringSimulationShowsTheBarWithAFreshSnapshot)
{
    bars->changeToLaunchSimulationMode(true);
    EXPECT_EQ(bars->currentBottomBar(), bars->simulateBottomBarViewController());
    EXPECT_TRUE(bars->isStatusDisplayOn());
    // The bar's first values arrive once the main thread gets to them.
    EXPECT_GE(posts, 3);
    QCoreApplication::processEvents();
    ASSERT_NE(bars->launchSimulationParameters(), nullptr);
    EXPECT_EQ(bars->rowParameters(), bars->launchSimulationParameters());

    bars->changeToLaunchSimulationMode(false);
    EXPECT_EQ(bars->currentBottomBar(), bars->defaultBottomBarViewController());
    EXPECT_FALSE(bars->isStatusDisplayOn());
    EXPECT_EQ(bars->rowParameters(), nullptr);

    // Later entries show nothing until the user changes a value.
    bars->changeToLaunchSimulationMode(true);
    QCoreApplication::processEvents();
    EXPECT_EQ(bars->launchSimulationParameters(), nullptr);
    simulateBar()->setSimulatedPowerSource(PowerSourceTypeBattery);
    QCoreApplication::processEvents();
    ASSERT_NE(bars->launchSimulationParameters(), nullptr);
    EXPECT_EQ(bars->launchSimulationParameters()->powerSource(), uint32_t(PowerSourceTypeBattery));
}

TEST_F(SimulateBottomBarTest, OneSnapshotPerChange)
{
    MainSimulateBottomBarViewController* bar = simulateBar();
    posts = 0;
    bar->setSimulatedShiftState(false);
    EXPECT_EQ(posts, 0);
    bar->setSimulatedShiftState(true);
    EXPECT_EQ(posts, 1);
    bar->setSimulatedPowerSource(bar->simulatedPowerSource());
    EXPECT_EQ(posts, 2);

    // Shift and Super held together: one snapshot with both.
    auto keys = std::make_shared<FakeModifierKeysProvider>();
    keys->setModifierKeys({ false, false, true, true });
    helpers->setModifierKeysProvider(keys);
    bars->changeToLaunchSimulationMode(true);
    posts = 0;
    bars->updateContentAccordingToModifierKeysState();
    EXPECT_EQ(posts, 1);
    EXPECT_TRUE(lastPosted->isShiftKeyPressed());
    EXPECT_TRUE(lastPosted->isCommandKeyPressed());
    EXPECT_FALSE(lastPosted->isControlKeyPressed());
    EXPECT_TRUE(bar->findChild<QToolButton*>("simulatedCommand")->isChecked());

    // The toggles of the bar are the same states.
    bar->findChild<QToolButton*>("simulatedControl")->click();
    EXPECT_EQ(posts, 2);
    EXPECT_TRUE(lastPosted->isControlKeyPressed());
}

TEST_F(SimulateBottomBarTest, ConditionTargetsAbsentFromTheMachineAreOfferedUnchecked)
{
    DBStartupCondition* backup = condition(editing->createMountedVolumeStartupConditionAtIndex(0), "Backup disk");
    backup->conditionVolumeData()->setVolumePath("/media/Backup");
    DBStartupCondition* office = condition(editing->createNetworkStartupConditionAtIndex(1), "Office");
    office->conditionNetworkData()->setNetworkName("Office");
    volumes->setMountedVolumes({ { "/media/Data", "Data" } });

    MainSimulateBottomBarViewController* bar = simulateBar();
    const QList<AttachedVolumeData> offered = bar->volumeDataViewController()->volumes();
    ASSERT_EQ(offered.size(), 2);
    EXPECT_TRUE(offered[0].attached());
    EXPECT_EQ(offered[1].path(), "/media/Backup");
    EXPECT_FALSE(offered[1].attached());
    EXPECT_EQ(bar->simulatedVolumesLabel(), "D");
    const QList<NetworkData> networks = bar->networkDataViewController()->networks();
    ASSERT_EQ(networks.size(), 1);
    EXPECT_EQ(networks[0].name(), "Office");
    EXPECT_FALSE(networks[0].available());
    EXPECT_EQ(bar->simulatedNetworksLabel(), "-");

    // Joining a network puts it in range; leaving keeps it there.
    SimulatedNetworksModel* networksModel = bar->networkDataViewController()->networksModel();
    ASSERT_TRUE(networksModel->setData(networksModel->index(0, SimulatedNetworksModel::ConnectedColumn), Qt::Checked, Qt::CheckStateRole));
    EXPECT_TRUE(lastPosted->networks()[0].available());
    EXPECT_EQ(bar->simulatedNetworksLabel(), "O");
    EXPECT_TRUE(lastPosted->isNetworkReachable());
    networksModel->setData(networksModel->index(0, SimulatedNetworksModel::ConnectedColumn), Qt::Unchecked, Qt::CheckStateRole);
    EXPECT_TRUE(lastPosted->networks()[0].available());

    // A mount rebuilds the list, keeps the choices and posts what is shown.
    SimulatedVolumesModel* volumesModel = bar->volumeDataViewController()->volumesModel();
    volumesModel->setData(volumesModel->index(0), Qt::Unchecked, Qt::CheckStateRole);
    posts = 0;
    volumes->setMountedVolumes({ { "/media/Data", "Data" }, { "/media/Stick", "Stick" } });
    EXPECT_EQ(posts, 1);
    EXPECT_EQ(lastPosted->volumes(), (QList<AttachedVolumeData> { { "/media/Data", "Data", false },
                                                                   { "/media/Stick", "Stick", true },
                                                                   { "/media/Backup", offered[1].name(), false } }));
    EXPECT_EQ(bar->simulatedVolumesLabel(), "S");
}

TEST_F(SimulateBottomBarTest, AStoredListIsJudgedAsTheEngineJudgesTheSameFacts)
{
    DBLoginItem* withShift = addFile("/usr/bin/shift");
    DBLoginItem* onTuesdayMorning = addFile("/usr/bin/tuesday");
    DBLoginItem* onMains = addFile("/usr/bin/mains");
    DBLoginItem* waitForMains = editing->createWaitPreviousItemsFromData({ 0 }, group, 3).value(0);
    DBLoginItem* withBackup = addFile("/usr/bin/backup");
    DBLoginItem* notAtOffice = addFile("/usr/bin/office");
    DBLoginItem* ifLaunched = editing->createConditionalPreviousItemsFromData({ 0 }, group, 6).value(0);
    DBLoginItem* afterOffice = addFile("/usr/bin/after");

    DBStartupCondition* shift = condition(editing->createHotkeyStartupConditionAtIndex(0), "Shift");
    shift->conditionHotkeyData()->setHotkeyCombinationValue(HotkeyCombinationShift);
    shift->conditionHotkeyData()->setHotkeyStatusValue(HotkeyStatusPressed);
    withShift->addItemStartupConditionsObject(shift);

    DBStartupCondition* tuesday = condition(editing->createScheduledStartupConditionAtIndex(1), "Tuesday");
    DBScheduledConditionDataItem* entry = editing->sortedScheduleDataItemsForCondition(tuesday).value(0);
    if (!entry)
        entry = editing->createScheduledConditionDataItemForCondition(tuesday, 0);
    entry->setScheduleDayValue(ScheduleDayTuesday);
    entry->setScheduleFromTime(QDateTime(QDate(2026, 1, 1), QTime(9, 0)));
    entry->setScheduleToTime(QDateTime(QDate(2026, 1, 1), QTime(12, 0)));
    onTuesdayMorning->addItemStartupConditionsObject(tuesday);

    DBStartupCondition* mains = condition(editing->createPowerSourceStartupConditionAtIndex(2), "Mains");
    mains->conditionPowerSourceData()->setPowerSourceTypeValue(PowerSourceTypePowerSupply);
    onMains->addItemStartupConditionsObject(mains);

    DBStartupCondition* backup = condition(editing->createMountedVolumeStartupConditionAtIndex(3), "Backup");
    backup->conditionVolumeData()->setVolumePath("/media/Backup");
    backup->conditionVolumeData()->setVolumeStatusValue(VolumeStatusMounted);
    withBackup->addItemStartupConditionsObject(backup);

    DBStartupCondition* office = condition(editing->createNetworkStartupConditionAtIndex(4), "Not at the office");
    office->conditionNetworkData()->setNetworkName("Office");
    office->conditionNetworkData()->setNetworkModeValue(NetworkModeNot);
    office->conditionNetworkData()->setNetworkStatusValue(NetworkStatusAvailable);
    notAtOffice->addItemStartupConditionsObject(office);

    // Shift held, on battery, Tuesday 10:30, the backup disk mounted, the office in range.
    MainSimulateBottomBarViewController* bar = simulateBar();
    bar->setSimulatedShiftState(true);
    bar->setSimulatedPowerSource(PowerSourceTypeBattery);
    bar->scheduleDataViewController()->setSimulatedDay(1);
    bar->scheduleDataViewController()->setSimulatedTime(10 * 60 + 30);
    SimulatedVolumesModel* volumesModel = bar->volumeDataViewController()->volumesModel();
    volumesModel->setData(volumesModel->index(int(volumesModel->volumes().size()) - 1), Qt::Checked, Qt::CheckStateRole);
    SimulatedNetworksModel* networksModel = bar->networkDataViewController()->networksModel();
    networksModel->setData(networksModel->index(0, SimulatedNetworksModel::AvailableColumn), Qt::Checked, Qt::CheckStateRole);
    ASSERT_NE(lastPosted, nullptr);
    EXPECT_EQ(lastPosted->time().date().dayOfWeek(), Qt::Tuesday);

    ItemRunStates rows;
    rows.setStatusDisplayOn(true);
    rows.setParameters(lastPosted);
    rows.judgeItems(context->sortedLoginItemsForGroup(group));

    const Parameters sampled = ExecutionValidationParameters::create(std::make_shared<FactsSource>(*lastPosted));
    sampled->updateWithCurrentValues();
    sampled->updateAvailableItems();
    ASSERT_EQ(sampled->availableItems(), context->sortedLoginItemsForGroup(group));

    const struct {
        DBLoginItem* item;
        uint32_t status;
    } expected[] = {
        { withShift, LastExecutionStatusAllowed },
        { onTuesdayMorning, LastExecutionStatusAllowed },
        { onMains, LastExecutionStatusPreventedByConditions },
        { waitForMains, LastExecutionStatusPreventedByNeighbors },
        { withBackup, LastExecutionStatusAllowed },
        { notAtOffice, LastExecutionStatusPreventedByConditions },
        { ifLaunched, LastExecutionStatusAllowed },
        { afterOffice, LastExecutionStatusPreventedByNeighbors },
    };
    for (const auto& [item, status] : expected) {
        SCOPED_TRACE(item->itemNiceDisplayName().toStdString());
        item->isExecutionAllowedForParameters(*sampled);
        EXPECT_EQ(rows.statusOfItem(item->objectID()), sampled->executionStatusForItem(item));
        EXPECT_EQ(rows.statusOfItem(item->objectID()), status);
    }

    // Wednesday: the schedule refuses, in simulation as in the engine.
    bar->scheduleDataViewController()->setSimulatedDay(2);
    rows.setParameters(lastPosted);
    rows.judgeItems(context->sortedLoginItemsForGroup(group));
    EXPECT_EQ(rows.statusOfItem(onTuesdayMorning->objectID()), LastExecutionStatusPreventedByConditions);
}

} // namespace

namespace {

TEST_F(SimulateBottomBarTest, ARunEndingInSimulationBringsBackTheBarWithTheUsersValues)
{
    addFile("/usr/bin/mail");
    bars->changeToLaunchSimulationMode(true);
    simulateBar()->setSimulatedPowerSource(PowerSourceTypeBattery);
    QCoreApplication::processEvents();
    const Parameters simulated = bars->launchSimulationParameters();
    ASSERT_NE(simulated, nullptr);

    post(N::MHExecuteDidStartNotification);
    EXPECT_EQ(bars->currentBottomBar(), bars->executeBottomBarViewController());
    post(N::MHExecuteDidEndNotification, withBatch(std::make_shared<ContextBatchInfo>()));
    EXPECT_EQ(bars->currentBottomBar(), bars->simulateBottomBarViewController());
    EXPECT_EQ(bars->rowParameters(), simulated) << "the rows show the user's values again";
    EXPECT_EQ(simulateBar()->simulatedPowerSource(), PowerSourceTypeBattery);

    // A cancelled run too.
    post(N::MHExecuteDidStartNotification);
    post(N::MHExecuteDidCancelNotification);
    EXPECT_EQ(bars->currentBottomBar(), bars->simulateBottomBarViewController());
}

TEST_F(SimulateBottomBarTest, TheWheelChangesTheDayOrTimeOnlyWithTheKeyboardFocus)
{
    MainSimulateBottomBarViewController* bar = simulateBar();
    bar->scheduleDataViewController()->loadView();
    auto* day = bar->scheduleDataViewController()->findChild<QComboBox*>("simulatedDay");
    auto* time = bar->scheduleDataViewController()->findChild<QTimeEdit*>("simulatedTime");
    ASSERT_NE(day, nullptr);
    ASSERT_NE(time, nullptr);
    const int shownDay = day->currentIndex();
    const QTime shownTime = time->time();
    posts = 0;
    turnWheel(day, -1);
    turnWheel(time, 1);
    EXPECT_EQ(day->currentIndex(), shownDay);
    EXPECT_EQ(time->time(), shownTime);
    EXPECT_EQ(posts, 0);
    EXPECT_EQ(day->focusPolicy(), Qt::StrongFocus);
    EXPECT_EQ(time->focusPolicy(), Qt::StrongFocus);
}

TEST_F(SimulateBottomBarTest, TheTimeFieldTakesTypedDigits)
{
    MainSimulateBottomBarViewController* bar = simulateBar();
    bar->showTimeSimulationControls(bar);
    SimulateScheduleDataBottomBarViewController* schedule = bar->scheduleDataViewController();
    auto* time = schedule->findChild<QTimeEdit*>("simulatedTime");
    ASSERT_NE(time, nullptr);
    QApplication::setActiveWindow(time->window());
    ASSERT_TRUE(QTest::qWaitForWindowActive(time->window()));
    time->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(time, "1745");
    QTest::keyClick(time, Qt::Key_Return);
    EXPECT_EQ(time->time(), QTime(17, 45));
    EXPECT_EQ(schedule->simulatedTime(), 17 * 60 + 45);
}

} // namespace
