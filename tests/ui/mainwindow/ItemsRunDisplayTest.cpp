// The items page follows a run and the simulation row by row: the rows'
// run states live in the list's model, the bars switch under the list, and
// the inspector opens from a row's button.
#include "engine/ContextBatchInfo.h"
#include "foundation/MHExecuteNotifications.h"
#include "model/ExecutionValidationParameters.h"
#include "model/DBPowerSourceConditionData.h"
#include "model/DBStartupCondition.h"
#include "support/WindowTest.h"
#include "ui/base/LoginItemsListModel.h"
#include "ui/base/PopoverFrame.h"
#include "ui/mainwindow/ItemInspectorPopoverController.h"
#include "ui/mainwindow/MainBottomBarsController.h"
#include "ui/mainwindow/MainDefaultBottomBarViewController.h"
#include "ui/mainwindow/MainExecuteBottomBarViewController.h"
#include "ui/mainwindow/MainItemsViewController.h"
#include "ui/mainwindow/MainSimulateBottomBarViewController.h"
#include "ui/views/LoginItemDelegate.h"

#include <QListView>
#include <QMouseEvent>
#include <QSignalSpy>
#include <gtest/gtest.h>
#include <thread>

namespace {

namespace N = MHExecuteNotifications;

class ItemsRunDisplayTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        helpers->initializeUserDefaults();
        helpers->applicationContext();
        mail = addFile("/usr/bin/mail");
        delay = addDelay();
        handObjectsTo(page);
        page.setRepresentedObject(QVariant::fromValue(group));
        page.resize(500, 300);
        page.loadView();
    }

    void post(const QString& name, const QVariantMap& userInfo = {})
    {
        std::thread worker([&] { center.post(name, nullptr, userInfo); });
        worker.join();
        QCoreApplication::processEvents();
    }
    static QVariantMap itemInfo(const DBLoginItem* item) { return { { N::itemID, QVariant::fromValue(item->objectID()) } }; }
    ItemRunStates& states() { return page.itemsModel()->runStates(); }

    MainItemsViewController page;
    DBLoginItem* mail = nullptr;
    DBLoginItem* delay = nullptr;
};

TEST_F(ItemsRunDisplayTest, RowsFollowARun)
{
    settings->setBool(QStringLiteral("Tweaking.DefaultValues.IsLaunchParametersStatusEnabled"), true);
    post(N::MHExecuteDelayDidStartNotification);
    EXPECT_EQ(page.bottomBars()->currentBottomBar(), page.bottomBars()->executeBottomBarViewController());
    EXPECT_TRUE(states().isStatusDisplayOn());
    EXPECT_EQ(states().statusOfItem(mail->objectID()), LastExecutionStatusAllowed);

    post(N::MHExecuteDidStartNotification);
    post(N::MHExecuteDidStartItemNotification, itemInfo(mail));
    EXPECT_TRUE(states().isItemExecuting(mail->objectID()));
    post(N::MHExecuteDidEndItemNotification, itemInfo(mail));
    post(N::MHExecuteDidStartItemNotification, itemInfo(delay));
    EXPECT_FALSE(states().isItemExecuting(mail->objectID()));
    EXPECT_TRUE(states().didItemRun(mail->objectID()));
    // A row made again (a new item added meanwhile) loses nothing.
    addFile("/usr/bin/late");
    EXPECT_TRUE(states().didItemRun(mail->objectID()));
    EXPECT_TRUE(states().isItemExecuting(delay->objectID()));

    post(N::MHExecuteDidEndNotification);
    EXPECT_EQ(page.bottomBars()->currentBottomBar(), page.bottomBars()->defaultBottomBarViewController());
    EXPECT_FALSE(states().isStatusDisplayOn());
    EXPECT_FALSE(states().didItemRun(mail->objectID()));
    EXPECT_FALSE(states().isItemExecuting(delay->objectID()));
}

// An item's start and end change its row's marks only: the statuses stay as
// judged against the run's snapshot when the run began.
TEST_F(ItemsRunDisplayTest, ARunsProgressNeverJudgesTheListAgain)
{
    settings->setBool(QStringLiteral("Tweaking.DefaultValues.IsLaunchParametersStatusEnabled"), true);
    post(N::MHExecuteDidStartNotification);
    ASSERT_NE(states().parameters(), nullptr);
    ExecutionValidationParameters& snapshot = *states().parameters();
    snapshot.clearExecutionStatuses();

    post(N::MHExecuteDidStartItemNotification, itemInfo(mail));
    post(N::MHExecuteDidEndItemNotification, itemInfo(mail));
    post(N::MHExecuteDidStartItemNotification, itemInfo(delay));
    EXPECT_TRUE(states().isItemExecuting(delay->objectID()));
    EXPECT_FALSE(snapshot.executionStatusForItem(mail).has_value());
    EXPECT_EQ(states().statusOfItem(mail->objectID()), LastExecutionStatusAllowed);
}

TEST_F(ItemsRunDisplayTest, RowsChangedTogetherArePaintedOnce)
{
    DBLoginItem* late = addFile("/usr/bin/late");
    QCoreApplication::processEvents();
    LoginItemsListModel& model = *page.itemsModel();
    QSignalSpy repaints(&model, &QAbstractItemModel::dataChanged);
    const auto rows = [&] {
        const QList<QVariant> arguments = repaints.takeFirst();
        return std::pair(arguments[0].value<QModelIndex>().row(), arguments[1].value<QModelIndex>().row());
    };

    model.repaintRowOfItem(delay->objectID());
    model.repaintRowOfItem(mail->objectID());
    model.repaintRowOfItem(delay->objectID());
    EXPECT_EQ(repaints.count(), 0);
    ASSERT_TRUE(repaints.wait(2000));
    EXPECT_EQ(repaints.count(), 1);
    EXPECT_EQ(rows(), std::pair(0, 1));

    model.repaintAllRows();
    ASSERT_TRUE(repaints.wait(2000));
    EXPECT_EQ(rows(), std::pair(0, model.rowOfItem(late)));
}

TEST_F(ItemsRunDisplayTest, SimulationJudgesTheRowsAndFollowsEdits)
{
    page.changeToLaunchSimulationMode(true);
    QCoreApplication::processEvents();
    ASSERT_TRUE(states().isStatusDisplayOn());
    ASSERT_NE(states().parameters(), nullptr);
    EXPECT_EQ(states().statusOfItem(delay->objectID()), LastExecutionStatusAllowed);

    // An edit is judged at once against the simulated facts (power supply).
    DBStartupCondition* battery = helpers->modelEditing()->createPowerSourceStartupConditionAtIndex(0);
    battery->conditionPowerSourceData()->setPowerSourceTypeValue(PowerSourceTypeBattery);
    delay->addItemStartupConditionsObject(battery);
    QCoreApplication::processEvents();
    EXPECT_EQ(states().statusOfItem(delay->objectID()), LastExecutionStatusPreventedByConditions);
    page.bottomBars()->simulateBottomBarViewController()->setSimulatedPowerSource(PowerSourceTypeBattery);
    QCoreApplication::processEvents();
    EXPECT_EQ(states().statusOfItem(delay->objectID()), LastExecutionStatusAllowed);

    page.changeToLaunchSimulationMode(false);
    EXPECT_FALSE(states().isStatusDisplayOn());
    EXPECT_FALSE(states().statusOfItem(delay->objectID()).has_value());
}

TEST_F(ItemsRunDisplayTest, TheRowButtonOpensTheInspectorAndARunClosesItsWindow)
{
    page.show();
    QListView* list = page.itemsTableView();
    const QModelIndex index = page.itemsModel()->index(0);
    QStyleOptionViewItem option;
    option.initFrom(list);
    option.rect = list->visualRect(index);
    const QRect button = page.itemDelegate()->framesForRow(option, *mail).actionButton.toRect();
    QMouseEvent press(QEvent::MouseButtonPress, button.center(), list->viewport()->mapToGlobal(button.center()), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, button.center(), list->viewport()->mapToGlobal(button.center()),
                        Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(list->viewport(), &press);
    QCoreApplication::sendEvent(list->viewport(), &release);
    ItemInspectorPopoverController* inspectors = page.itemInspectors();
    ASSERT_TRUE(inspectors->popover()->isVisible());
    EXPECT_EQ(inspectors->itemInspectorViewController()->representedObject().value<ManagedObject*>(), mail);
    EXPECT_TRUE(page.selectedItems().isEmpty());

    inspectors->detach();
    EXPECT_EQ(page.selectedItems(), QList<DBLoginItem*> { mail });
    EXPECT_TRUE(inspectors->isItemInspectorDetached());
    post(N::MHExecuteDidStartNotification);
    EXPECT_FALSE(inspectors->isItemInspectorDetached());
}

} // namespace
