// The inspector as a screen reader reads it: every control, those inside
// the condition rows included, is reached through QAccessible and read by a
// name in words.
#include "InspectorTestCase.h"
#include "model/DBLoginGroup.h"
#include "model/DBLoginItem.h"
#include "model/DBStartupCondition.h"
#include "support/AccessibleControls.h"
#include "ui/inspector/ItemInspectorViewController.h"

#include <QTest>

namespace {

class InspectorAccessibilityTest : public InspectorTestCase { };

TEST_F(InspectorAccessibilityTest, EveryControlOfEveryKindOfRowIsReachedByAHumanName)
{
    DBLoginGroup* group = context->getOrCreateApplicationLoginGroup();
    DBLoginItem* item = editing->createFileItemsFromData({ "/usr/bin/env" }, group, 0).first();
    editing->createScheduledStartupConditionAtIndex(0);
    editing->createHotkeyStartupConditionAtIndex(1);
    editing->createPowerSourceStartupConditionAtIndex(2);
    editing->createMountedVolumeStartupConditionAtIndex(3);
    editing->createNetworkStartupConditionAtIndex(4);
    ItemInspectorViewController inspector;
    inspector.setCommonObjects(common);
    inspector.loadView();
    inspector.setRepresentedObject(RepresentedObject::fromObject(item));
    // Tall enough that no row is scrolled out of view.
    inspector.resize(520, 1400);
    inspector.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&inspector));

    EXPECT_EQ(controlsWithoutHumanNames(&inspector), QStringList());
    const QStringList names = accessibleNames(&inspector);
    for (const char* expected : { "Startup conditions", "Day", "From", "To", "Modifier key", "Key state",
                                  "Power source", "Volume", "Volume state", "Network mode", "Network state", "Add Condition",
                                  "Delete" })
        EXPECT_TRUE(names.contains(QString::fromUtf8(expected))) << expected << " in " << names.join(", ").toStdString();
    // Each condition's check box is named after the condition it checks.
    for (const DBStartupCondition* condition : editing->sortedStartupConditions())
        EXPECT_TRUE(names.contains("Use " + condition->conditionName())) << condition->conditionName().toStdString();
}

} // namespace
