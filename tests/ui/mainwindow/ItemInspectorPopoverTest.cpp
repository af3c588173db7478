// The inspector in its popover and torn off into a window of its own.
#include "BottomBarsTestFixture.h"
#include "model/DBConditionalPreviousItem.h"
#include "model/DBDelayItem.h"
#include "model/DBLoginItem.h"
#include "ui/base/PopoverFrame.h"
#include "ui/mainwindow/ItemInspectorPopoverController.h"

#include <QSignalSpy>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

class RecordingInspector : public ViewControllerBase {
public:
    void changeToLaunchSimulationMode(bool active) override
    {
        ViewControllerBase::changeToLaunchSimulationMode(active);
        modes.append(active);
    }
    DBLoginItem* item() const { return dynamic_cast<DBLoginItem*>(representedObject().value<ManagedObject*>()); }
    QList<bool> modes;
};

class ItemInspectorPopoverTest : public BottomBarsTest {
protected:
    void SetUp() override
    {
        BottomBarsTest::SetUp();
        first = addFile("/usr/bin/first");
        second = addFile("/usr/bin/second");
        inspectors = std::make_unique<ItemInspectorPopoverController>(
            [this] {
                auto* inspector = new RecordingInspector;
                inspector->setCommonObjects(CommonObjects::fromHelpers(*helpers));
                inspector->loadView();
                ++made;
                return inspector;
            },
            &window);
        window.show();
    }
    void TearDown() override
    {
        inspectors.reset();
        BottomBarsTest::TearDown();
    }

    RecordingInspector* popoverInspector() { return static_cast<RecordingInspector*>(inspectors->itemInspectorViewController()); }
    RecordingInspector* detachedInspector() { return static_cast<RecordingInspector*>(inspectors->detachedItemInspectorViewController()); }

    DBLoginItem* first = nullptr;
    DBLoginItem* second = nullptr;
    int made = 0;
    std::unique_ptr<ItemInspectorPopoverController> inspectors;
};

TEST_F(ItemInspectorPopoverTest, PopoverThenDetachedWindowFollowingTheSelection)
{
    inspectors->showLoginItemInspector(first, &window, QRect(0, 0, 20, 20));
    EXPECT_TRUE(inspectors->popover()->isVisible());
    EXPECT_EQ(popoverInspector()->item(), first);
    EXPECT_FALSE(inspectors->isItemInspectorDetached());

    QSignalSpy selections(inspectors.get(), &ItemInspectorPopoverController::selectItemRequested);
    inspectors->detachButton()->click();
    EXPECT_FALSE(inspectors->popover()->isVisible());
    ASSERT_TRUE(inspectors->isItemInspectorDetached());
    EXPECT_TRUE(inspectors->itemInspectorDetachedWindow()->isVisible());
    EXPECT_TRUE(inspectors->itemInspectorDetachedWindow()->windowFlags() & Qt::Tool);
    EXPECT_EQ(detachedInspector()->item(), first);
    ASSERT_EQ(selections.count(), 1);
    EXPECT_EQ(selections.takeFirst().at(0).value<DBLoginItem*>(), first);

    inspectors->selectionDidChange({ second });
    EXPECT_EQ(detachedInspector()->item(), second);
    inspectors->changeToLaunchSimulationMode(true);
    EXPECT_EQ(detachedInspector()->modes, QList<bool> { true });

    // Two rows, or none, close the window and drop both inspectors.
    inspectors->selectionDidChange({ first, second });
    EXPECT_FALSE(inspectors->isItemInspectorDetached());
    EXPECT_EQ(inspectors->detachedItemInspectorViewController(), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(made, 2);
    inspectors->showLoginItemInspector(second, &window, QRect(0, 0, 20, 20));
    EXPECT_EQ(made, 3);
    EXPECT_EQ(popoverInspector()->item(), second);
    // Without a detached window a selection changes nothing.
    inspectors->selectionDidChange({});
    EXPECT_EQ(popoverInspector()->item(), second);
}

TEST_F(ItemInspectorPopoverTest, TitlesFollowTheItemsOwnChanges)
{
    auto* delay = static_cast<DBDelayItem*>(editing->createDelayItemsFromData({ 5 }, group, 0).first());
    // Between the two files, which its name tells with its mode.
    auto* conditional = static_cast<DBConditionalPreviousItem*>(editing->createConditionalPreviousItemsFromData({ 0 }, group, 2).first());
    context->processPendingChanges();
    inspectors->showLoginItemInspector(conditional, &window, QRect(0, 0, 20, 20));
    inspectors->detach();
    inspectors->selectionDidChange({ delay });
    inspectors->showLoginItemInspector(conditional, &window, QRect(0, 0, 20, 20));
    QWidget* popover = inspectors->popover();
    QWidget* detached = inspectors->itemInspectorDetachedWindow();
    const QString delayTitle = detached->windowTitle();
    const QString conditionalTitle = popover->windowTitle();

    editing->setDelayItemDelay(delay, 42);
    editing->setConditionalPreviousItemMode(conditional, ConditionalPreviousItemModeIfNotLaunched);
    context->processPendingChanges();
    EXPECT_EQ(detached->windowTitle(), delay->itemNiceDisplayName());
    EXPECT_NE(detached->windowTitle(), delayTitle);
    EXPECT_EQ(detached->accessibleName(), detached->windowTitle());
    EXPECT_EQ(popover->windowTitle(), conditional->itemNiceDisplayName());
    EXPECT_NE(popover->windowTitle(), conditionalTitle);
}

TEST_F(ItemInspectorPopoverTest, ClosingTheWindowByHand)
{
    inspectors->showLoginItemInspector(first, &window, QRect(0, 0, 20, 20));
    inspectors->detach();
    inspectors->itemInspectorDetachedWindow()->close();
    EXPECT_FALSE(inspectors->isItemInspectorDetached());
    inspectors->closeDetachedWindow();
    // Simulation reaches the popover's inspector, made anew when needed.
    inspectors->changeToLaunchSimulationMode(true);
    EXPECT_EQ(popoverInspector()->modes, QList<bool> { true });
}

} // namespace
