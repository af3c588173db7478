// The inspector as a screen reader reads it: every control, those inside
// the condition rows included, is reached through QAccessible and read by a
// name in words; the condition rows are items of a list, named, checked and
// selected as they show.
#include "InspectorTestCase.h"
#include "model/DBLoginGroup.h"
#include "model/DBLoginItem.h"
#include "model/DBStartupCondition.h"
#include "support/AccessibleControls.h"
#include "ui/inspector/ConditionNameEditorViewController.h"
#include "ui/inspector/ItemInspectorViewController.h"
#include "ui/inspector/StartupConditionRowsModel.h"
#include "ui/inspector/StartupConditionViewControllerBase.h"

#include <QApplication>
#include <QCheckBox>
#include <QTableView>
#include <QTest>

namespace {

class InspectorAccessibilityTest : public InspectorTestCase {
protected:
    DBLoginItem* makeItem() const
    {
        return editing->createFileItemsFromData({ "/usr/bin/env" }, context->getOrCreateApplicationLoginGroup(), 0).first();
    }

    // The inspector of item on screen, tall enough that no row is scrolled out of view.
    void show(DBLoginItem* item)
    {
        inspector.setCommonObjects(common);
        inspector.loadView();
        inspector.setRepresentedObject(RepresentedObject::fromObject(item));
        inspector.resize(520, 1400);
        inspector.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&inspector));
    }

    ItemInspectorViewController inspector;
};

TEST_F(InspectorAccessibilityTest, EveryControlOfEveryKindOfRowIsReachedByAHumanName)
{
    DBLoginItem* item = makeItem();
    editing->createScheduledStartupConditionAtIndex(0);
    editing->createHotkeyStartupConditionAtIndex(1);
    editing->createPowerSourceStartupConditionAtIndex(2);
    editing->createMountedVolumeStartupConditionAtIndex(3);
    editing->createNetworkStartupConditionAtIndex(4);
    show(item);

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

TEST_F(InspectorAccessibilityTest, ConditionRowsAreListItemsNamedCheckedAndSelectedAsTheyShow)
{
    DBLoginItem* item = makeItem();
    const QList<DBStartupCondition*> conditions = namedConditions("ABC");
    editing->setStartupConditionUsedByLoginItem(conditions[1], item, true);
    show(item);
    QTableView* table = inspector.startupConditionsTableView();
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(table);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->role(), QAccessible::List);
    EXPECT_TRUE(list->state().multiSelectable);
    ASSERT_EQ(list->childCount(), 3);
    const auto row = [list](int index) { return list->child(index); };
    for (int index = 0; index < 3; ++index) {
        SCOPED_TRACE(index);
        ASSERT_NE(row(index), nullptr);
        EXPECT_EQ(row(index)->role(), QAccessible::ListItem);
        EXPECT_EQ(row(index)->text(QAccessible::Name), conditions[index]->conditionName());
        EXPECT_TRUE(row(index)->state().checkable);
        EXPECT_EQ(row(index)->state().checked, index == 1) << "only B is used by the item";
        EXPECT_FALSE(row(index)->state().selected);
        EXPECT_EQ(row(index)->parent(), list) << "the row hangs from the list, not from its viewport";
        EXPECT_EQ(list->indexOfChild(row(index)), index);
        ASSERT_NE(row(index)->tableCellInterface(), nullptr);
        EXPECT_EQ(row(index)->tableCellInterface()->rowIndex(), index);
        // The row's controls are its children.
        EXPECT_TRUE(accessibleNames(row(index)->object()).contains("Use " + conditions[index]->conditionName()));
    }

    // Selected with the row, whichever way it was selected.
    table->selectionModel()->select(inspector.startupConditionsModel()->index(2), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    EXPECT_TRUE(row(2)->state().selected);
    QAccessibleTableInterface* selection = list->tableInterface();
    ASSERT_NE(selection, nullptr);
    EXPECT_EQ(selection->selectedRows(), QList<int>({ 2 }));
    EXPECT_TRUE(selection->selectRow(0));
    EXPECT_EQ(inspector.selectedStartupConditions(), QList<DBStartupCondition*>({ conditions[0], conditions[2] }));
    EXPECT_TRUE(selection->unselectRow(2));
    EXPECT_EQ(selection->selectedCells(), QList<QAccessibleInterface*>({ row(0) }));
    EXPECT_FALSE(selection->selectRow(3));

    // The current row has the focus while the table has the keyboard.
    QApplication::setActiveWindow(&inspector);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&inspector));
    table->setFocus();
    table->setCurrentIndex(inspector.startupConditionsModel()->index(1));
    EXPECT_TRUE(row(1)->state().focused);
    EXPECT_FALSE(row(0)->state().focused);
    EXPECT_EQ(list->focusChild(), row(1));

    // The check follows the box, whoever changes it.
    inspector.conditionViewControllers()[0]->nameEditorViewController().usageView()->click();
    EXPECT_TRUE(row(0)->state().checked);
    editing->setStartupConditionUsedByLoginItem(conditions[1], item, false);
    context->processPendingChanges();
    EXPECT_FALSE(row(1)->state().checked);
}

} // namespace
