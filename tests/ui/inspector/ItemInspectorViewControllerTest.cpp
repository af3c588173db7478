// The inspector of one item: where new conditions go, the commands with their
// undo steps and saves, the creation limits, the usage check boxes through
// undo and redo, reordering by drag, and the header by the kind of item.
#include "InspectorTestCase.h"
#include "support/AccessibleControls.h"
#include "foundation/UserDefaults.h"
#include "model/DBFileItem.h"
#include "model/DBLoginGroup.h"
#include "ui/base/CommandNames.h"
#include "ui/inspector/ConditionNameEditorViewController.h"
#include "ui/inspector/ConditionalPreviousItemInfoViewController.h"
#include "ui/inspector/DelayItemInfoViewController.h"
#include "ui/inspector/FileItemInfoViewController.h"
#include "ui/inspector/ItemInspectorViewController.h"
#include "ui/inspector/StartupConditionRowsModel.h"
#include "ui/inspector/StartupConditionViewControllerBase.h"
#include "ui/inspector/WaitPreviousItemInfoViewController.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMimeData>
#include <QTableView>
#include <QTest>
#include <QAbstractButton>
#include <QButtonGroup>

namespace {

using Inspector = ItemInspectorViewController;

class ItemInspectorTest : public InspectorTestCase {
protected:
    void SetUp() override
    {
        InspectorTestCase::SetUp();
        group = context->getOrCreateApplicationLoginGroup();
    }

    std::unique_ptr<Inspector> makeInspector()
    {
        auto inspector = std::make_unique<Inspector>();
        inspector->setCommonObjects(common);
        inspector->loadView();
        inspector->resize(400, 500);
        inspector->show();
        return inspector;
    }

    DBLoginItem* fileItem(const QString& path = "/usr/bin/env")
    {
        return editing->createFileItemsFromData({ path }, group, 100).first();
    }

    static QString rowOrder(const Inspector& inspector)
    {
        QStringList names;
        for (const DBStartupCondition* condition : inspector.startupConditionsModel()->conditions())
            names << condition->conditionName();
        return names.join(' ');
    }

    static void selectRows(Inspector& inspector, const QList<int>& rows)
    {
        QItemSelectionModel* selection = inspector.startupConditionsTableView()->selectionModel();
        selection->clearSelection();
        for (const int row : rows)
            selection->select(inspector.startupConditionsModel()->index(row), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }

    static bool isEnabled(Inspector& inspector, const QString& command)
    {
        return inspector.actionForCommand(command)->isEnabled();
    }

    static QCheckBox* usageBox(Inspector& inspector, int row)
    {
        return inspector.conditionViewControllers()[row]->nameEditorViewController().usageView();
    }

    void waitForMove(Inspector& inspector)
    {
        EXPECT_TRUE(inspector.hasPendingConditionMove());
        EXPECT_TRUE(QTest::qWaitFor([&] { return !inspector.hasPendingConditionMove(); }));
    }

    DBLoginGroup* group = nullptr;
};

TEST_F(ItemInspectorTest, NewConditionsGoAfterTheLastSelectedConditionOrAtTheEnd)
{
    namedConditions("ABCDEF");
    auto inspector = makeInspector();
    EXPECT_EQ(rowOrder(*inspector), "A B C D E F");
    EXPECT_EQ(inspector->insertionIndexForNewlyCreatedConditions(), 6);
    selectRows(*inspector, { 1, 3 });
    EXPECT_EQ(inspector->insertionIndexForNewlyCreatedConditions(), 4);
    selectRows(*inspector, { 2, 5 });
    EXPECT_EQ(inspector->insertionIndexForNewlyCreatedConditions(), 6);

    selectRows(*inspector, { 0 });
    startFresh();
    inspector->performCommand(CommandNames::createNetworkStartupCondition);
    EXPECT_EQ(conditionOrder(), "A New Condition B C D E F");
    EXPECT_EQ(rowOrder(*inspector), conditionOrder());
    // The user types the name at once.
    ConditionNameEditorViewController& nameEditor = inspector->conditionViewControllers()[1]->nameEditorViewController();
    EXPECT_TRUE(nameEditor.isEditing());
    EXPECT_EQ(nameEditor.editorNameView()->text(), "New Condition");
    EXPECT_EQ(saves, 1);
}

TEST_F(ItemInspectorTest, EachCreationIsOneNamedStepFollowedByOneSave)
{
    const QList<std::pair<QString, QString>> commands {
        { CommandNames::createScheduledStartupCondition, "Create Scheduled Condition" },
        { CommandNames::createHotkeyStartupCondition, "Create Hotkey Condition" },
        { CommandNames::createPowerSourceStartupCondition, "Create Power Source Condition" },
        { CommandNames::createMountedVolumeStartupCondition, "Create Mounted Volume Startup Condition" },
        { CommandNames::createNetworkStartupCondition, "Create Network Startup Condition" },
    };
    auto inspector = makeInspector();
    for (const auto& [command, actionName] : commands) {
        startFresh();
        inspector->actionForCommand(command)->trigger();
        EXPECT_EQ(undo().undoActionName(), actionName);
        EXPECT_EQ(saves, 1) << command.toStdString();
        context->processPendingChanges();
        undo().undo();
        EXPECT_FALSE(undo().canUndo()) << command.toStdString() << " was more than one step";
        context->processPendingChanges();
        EXPECT_TRUE(inspector->conditionViewControllers().isEmpty());
    }
}

TEST_F(ItemInspectorTest, CreationLimitsFollowTheConditionsAndSimulationModeBlocksChanges)
{
    auto inspector = makeInspector();
    for (int made = 0; made < 4; ++made) {
        EXPECT_TRUE(isEnabled(*inspector, CommandNames::createHotkeyStartupCondition));
        inspector->createHotkeyStartupCondition();
    }
    EXPECT_FALSE(inspector->isCreatingHotkeyConditionAllowed());
    EXPECT_FALSE(isEnabled(*inspector, CommandNames::createHotkeyStartupCondition));
    // Deleting one elsewhere (as an undo would) lets a fourth be made again.
    editing->deleteStartupConditions({ context->sortedStartupConditions().first() });
    context->processPendingChanges();
    EXPECT_TRUE(isEnabled(*inspector, CommandNames::createHotkeyStartupCondition));

    inspector->createPowerSourceStartupCondition();
    EXPECT_TRUE(isEnabled(*inspector, CommandNames::createPowerSourceStartupCondition));
    inspector->createPowerSourceStartupCondition();
    EXPECT_FALSE(isEnabled(*inspector, CommandNames::createPowerSourceStartupCondition));

    selectRows(*inspector, { 0 });
    QAction* deleteAction = inspector->actionForCommand(CommandNames::deleteCurrentSelection);
    EXPECT_TRUE(deleteAction->isEnabled());
    const QString title = deleteAction->text();
    EXPECT_TRUE(title.startsWith("Delete ")) << title.toStdString();
    inspector->changeToLaunchSimulationMode(true);
    EXPECT_FALSE(isEnabled(*inspector, CommandNames::createHotkeyStartupCondition));
    EXPECT_FALSE(isEnabled(*inspector, CommandNames::createPowerSourceStartupCondition));
    EXPECT_FALSE(deleteAction->isEnabled());
    EXPECT_TRUE(isEnabled(*inspector, CommandNames::unselectStartupConditions));
    for (const QString& command : { CommandNames::createScheduledStartupCondition, CommandNames::createMountedVolumeStartupCondition,
                                    CommandNames::createNetworkStartupCondition })
        EXPECT_TRUE(isEnabled(*inspector, command)) << command.toStdString();
    selectRows(*inspector, { 0, 1 });
    EXPECT_EQ(deleteAction->text(), title) << "the title stays in simulation mode";
    inspector->changeToLaunchSimulationMode(false);
    inspector->actionForCommand(CommandNames::unselectStartupConditions)->trigger();
    EXPECT_TRUE(inspector->selectedStartupConditions().isEmpty());
    EXPECT_FALSE(deleteAction->isEnabled());
    EXPECT_FALSE(isEnabled(*inspector, CommandNames::unselectStartupConditions));
}

TEST_F(ItemInspectorTest, TheUsageBoxWritesTheItemAndFollowsUndoAndRedo)
{
    namedConditions("AB");
    DBLoginItem* item = fileItem();
    auto inspector = makeInspector();
    EXPECT_FALSE(usageBox(*inspector, 0)->isEnabled()) << "no item shown";
    inspector->setRepresentedObject(RepresentedObject::fromObject(item));
    ASSERT_TRUE(usageBox(*inspector, 0)->isEnabled());

    startFresh();
    usageBox(*inspector, 0)->click();
    EXPECT_EQ(item->itemStartupConditions(), QList<DBStartupCondition*>({ context->sortedStartupConditions().first() }));
    EXPECT_EQ(undo().undoActionName(), "Add A To " + item->itemNiceDisplayName());
    EXPECT_EQ(saves, 1);

    context->processPendingChanges();
    undo().undo();
    EXPECT_FALSE(usageBox(*inspector, 0)->isChecked());
    EXPECT_TRUE(item->itemStartupConditions().isEmpty());
    EXPECT_FALSE(undo().canUndo()) << "refreshing the box recorded nothing";
    undo().redo();
    EXPECT_TRUE(usageBox(*inspector, 0)->isChecked());
    EXPECT_FALSE(usageBox(*inspector, 1)->isChecked());

    startFresh();
    usageBox(*inspector, 0)->click();
    EXPECT_EQ(undo().undoActionName(), "Remove A From " + item->itemNiceDisplayName());
    EXPECT_TRUE(item->itemStartupConditions().isEmpty());

    // Another item: the boxes follow it; without an item nothing is touched.
    DBLoginItem* other = fileItem("/usr/bin/true");
    other->addItemStartupConditionsObject(context->sortedStartupConditions().last());
    inspector->setRepresentedObject(RepresentedObject::fromObject(other));
    EXPECT_FALSE(usageBox(*inspector, 0)->isChecked());
    EXPECT_TRUE(usageBox(*inspector, 1)->isChecked());
    inspector->setRepresentedObject(QVariant());
    startFresh();
    inspector->conditionViewControllers()[0]->nameEditorViewController().setIsConditionUsedByItsParentLoginItem(true);
    EXPECT_FALSE(usageBox(*inspector, 0)->isChecked());
    EXPECT_FALSE(undo().canUndo());
    EXPECT_TRUE(item->itemStartupConditions().isEmpty());
}

TEST_F(ItemInspectorTest, DraggingSeveralRowsPutsThemAboveTheDropRowAmongTheRest)
{
    const QList<DBStartupCondition*> conditions = namedConditions("ABCDEF");
    auto inspector = makeInspector();
    startFresh();
    inspector->acceptDrop({ conditions[0]->objectID(), conditions[1]->objectID() }, 4);
    EXPECT_EQ(rowOrder(*inspector), "C D A B E F") << "the rows move at once";
    EXPECT_EQ(conditionOrder(), "A B C D E F") << "the database follows after a moment";
    EXPECT_EQ(inspector->selectedStartupConditions(), QList<DBStartupCondition*>({ conditions[0], conditions[1] }));
    waitForMove(*inspector);
    EXPECT_EQ(conditionOrder(), "C D A B E F");
    EXPECT_EQ(rowOrder(*inspector), conditionOrder());
    EXPECT_EQ(undo().undoActionName(), "Reorder 2 Conditions");
    EXPECT_EQ(saves, 1);
}

TEST_F(ItemInspectorTest, DraggingOneRowDownOrUp)
{
    const QList<DBStartupCondition*> conditions = namedConditions("ABCD");
    auto inspector = makeInspector();
    startFresh();
    inspector->acceptDrop({ conditions[0]->objectID() }, 3);
    EXPECT_EQ(rowOrder(*inspector), "B C A D");
    waitForMove(*inspector);
    EXPECT_EQ(conditionOrder(), "B C A D");
    EXPECT_EQ(undo().undoActionName(), "Reorder A");

    inspector->acceptDrop({ conditions[3]->objectID() }, 0);
    waitForMove(*inspector);
    EXPECT_EQ(conditionOrder(), "D B C A");
    EXPECT_EQ(saves, 2);
}

TEST_F(ItemInspectorTest, DropsThatChangeNothingOrComeFromElsewhereAreLeftAlone)
{
    const QList<DBStartupCondition*> conditions = namedConditions("ABC");
    auto inspector = makeInspector();
    StartupConditionRowsModel& model = *inspector->startupConditionsModel();
    startFresh();
    // Onto its own place, just below itself, or nothing known.
    inspector->acceptDrop({ conditions[1]->objectID() }, 1);
    inspector->acceptDrop({ conditions[1]->objectID() }, 2);
    inspector->acceptDrop({ ObjectID(context->identifier(), "StartupCondition", 999) }, 0);
    inspector->acceptDrop({ group->objectID() }, 0);
    EXPECT_FALSE(inspector->hasPendingConditionMove());
    EXPECT_EQ(rowOrder(*inspector), "A B C");

    std::unique_ptr<QMimeData> ours(model.mimeData({ model.index(2) }));
    EXPECT_TRUE(model.canDropMimeData(ours.get(), Qt::MoveAction, 0, 0, QModelIndex()));
    EXPECT_FALSE(model.canDropMimeData(ours.get(), Qt::MoveAction, -1, -1, model.index(0))) << "onto a row";
    EXPECT_FALSE(model.canDropMimeData(ours.get(), Qt::CopyAction, 0, 0, QModelIndex()));
    StartupConditionRowsModel otherTable;
    EXPECT_FALSE(otherTable.canDropMimeData(ours.get(), Qt::MoveAction, 0, 0, QModelIndex())) << "rows of another table";

    const QByteArray source = QJsonDocument::fromJson(ours->data(StartupConditionRowsModel::mimeType)).object().value("source").toString().toUtf8();
    ASSERT_FALSE(source.isEmpty());
    const QList<QByteArray> hostile {
        "", "not json", "[]", "{\"source\": 1}", "{\"conditions\": \"x\"}",
        "{\"source\":\"" + source + "\",\"conditions\":[1]}",
        "{\"source\":\"" + source + "\",\"conditions\":[\"x-lanternwick://\"]}",
        "{\"source\":\"" + source + "\",\"conditions\":{}}",
    };
    for (const QByteArray& payload : hostile) {
        QMimeData data;
        data.setData(StartupConditionRowsModel::mimeType, payload);
        EXPECT_FALSE(model.dropMimeData(&data, Qt::MoveAction, 0, 0, QModelIndex())) << payload.toStdString();
    }
    EXPECT_TRUE(model.dropMimeData(ours.get(), Qt::MoveAction, -1, -1, QModelIndex())) << "below the last row";
    EXPECT_FALSE(inspector->hasPendingConditionMove()) << "C is already last";
    QCoreApplication::processEvents();
    EXPECT_FALSE(undo().canUndo());
    EXPECT_EQ(saves, 0);
}

TEST_F(ItemInspectorTest, AConditionDeletedBeforeTheDelayedMoveIsLeftOut)
{
    const QList<DBStartupCondition*> conditions = namedConditions("ABCD");
    auto inspector = makeInspector();
    inspector->acceptDrop({ conditions[0]->objectID(), conditions[1]->objectID() }, 4);
    editing->deleteStartupConditions({ conditions[1] });
    waitForMove(*inspector);
    EXPECT_EQ(conditionOrder(), "C D A");
    EXPECT_EQ(rowOrder(*inspector), conditionOrder());
}

TEST_F(ItemInspectorTest, ConditionsOfNoKnownKindHaveNoRowAndShiftNoOtherRow)
{
    const QList<DBStartupCondition*> conditions = namedConditions("AXB");
    conditions[1]->setConditionTypeValue(9);
    auto inspector = makeInspector();
    EXPECT_EQ(rowOrder(*inspector), "A B");
    selectRows(*inspector, { 1 });
    EXPECT_EQ(inspector->selectedStartupConditions(), QList<DBStartupCondition*>({ conditions[2] }));
    EXPECT_EQ(inspector->insertionIndexForNewlyCreatedConditions(), 3);
    startFresh();
    inspector->deleteCurrentSelection();
    EXPECT_EQ(conditionOrder(), "A X");
    EXPECT_EQ(undo().undoActionName(), "Delete B");
    EXPECT_EQ(saves, 1);
}

TEST_F(ItemInspectorTest, DeletingIsOneStepAndNeedsASelection)
{
    namedConditions("ABCD");
    auto inspector = makeInspector();
    startFresh();
    inspector->deleteCurrentSelection();
    QCoreApplication::processEvents();
    EXPECT_FALSE(undo().canUndo());
    selectRows(*inspector, { 0, 2 });
    inspector->actionForCommand(CommandNames::deleteCurrentSelection)->trigger();
    EXPECT_EQ(conditionOrder(), "B D");
    EXPECT_EQ(rowOrder(*inspector), "B D");
    EXPECT_EQ(undo().undoActionName(), "Delete 2 Conditions");
    EXPECT_EQ(saves, 1);
    context->processPendingChanges();
    undo().undo();
    context->processPendingChanges();
    EXPECT_EQ(rowOrder(*inspector), "A B C D");

    // The Delete key on the table.
    QApplication::setActiveWindow(inspector.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(inspector.get()));
    inspector->startupConditionsTableView()->setFocus();
    selectRows(*inspector, { 3 });
    QTest::keyClick(inspector->startupConditionsTableView(), Qt::Key_Delete);
    EXPECT_EQ(rowOrder(*inspector), "A B C");
}

TEST_F(ItemInspectorTest, AScreenReadersToggleAndAProgramsSetCheckedStoreAsAClickDoes)
{
    namedConditions("AB");
    auto* file = static_cast<DBFileItem*>(fileItem());
    auto inspector = makeInspector();
    inspector->setRepresentedObject(RepresentedObject::fromObject(file));
    auto* hidden = inspector->itemStartupModeView()->findChild<QAbstractButton*>("itemStartupModeButton1");
    auto* disabled = inspector->itemStartupModeView()->findChild<QAbstractButton*>("itemStartupModeButton2");
    ASSERT_TRUE(hidden && disabled);

    startFresh();
    ASSERT_TRUE(doAccessibleAction(hidden, QAccessibleActionInterface::toggleAction()));
    EXPECT_EQ(file->itemStartupModeValue(), ItemStartupModeHidden);
    EXPECT_EQ(saves, 1);
    disabled->setChecked(true);
    EXPECT_EQ(file->itemStartupModeValue(), ItemStartupModeDisabled);
    EXPECT_EQ(saves, 2);
    context->processPendingChanges();
    undo().undo();
    EXPECT_EQ(file->itemStartupModeValue(), ItemStartupModeHidden) << "one undo step per change";
    EXPECT_TRUE(hidden->isChecked());

    startFresh();
    ASSERT_TRUE(doAccessibleAction(usageBox(*inspector, 1), QAccessibleActionInterface::toggleAction()));
    EXPECT_EQ(file->itemStartupConditions(), QList<DBStartupCondition*>({ context->sortedStartupConditions().last() }));
    EXPECT_EQ(saves, 1);
    usageBox(*inspector, 0)->setChecked(true);
    EXPECT_EQ(file->itemStartupConditions().size(), 2);
    EXPECT_EQ(saves, 2);
    context->processPendingChanges();
    undo().undo();
    EXPECT_EQ(file->itemStartupConditions().size(), 1) << "one undo step per change";
    EXPECT_FALSE(usageBox(*inspector, 0)->isChecked());
}

TEST_F(ItemInspectorTest, TheStartupModeIsWrittenForFileItemsOnly)
{
    auto* file = static_cast<DBFileItem*>(fileItem());
    auto inspector = makeInspector();
    inspector->setRepresentedObject(RepresentedObject::fromObject(file));
    EXPECT_TRUE(inspector->isStartupModeViewEnabled());
    auto* hidden = inspector->itemStartupModeView()->findChild<QAbstractButton*>("itemStartupModeButton1");
    ASSERT_NE(hidden, nullptr);
    startFresh();
    hidden->click();
    EXPECT_EQ(file->itemStartupModeValue(), ItemStartupModeHidden);
    EXPECT_EQ(undo().undoActionName(), QString("Change %1 Startup Mode To Hidden").arg(file->itemNiceDisplayName()));
    EXPECT_EQ(saves, 1);
    startFresh();
    inspector->setRepresentedItemStartupMode(ItemStartupModeHidden);
    hidden->click();
    QCoreApplication::processEvents();
    EXPECT_FALSE(undo().canUndo()) << "the mode it already has";
    file->setItemStartupModeValue(ItemStartupModeDisabled);
    EXPECT_EQ(inspector->representedItemStartupMode(), ItemStartupModeDisabled) << "a change made elsewhere";

    DBLoginItem* delay = editing->createDelayItemsFromData({ 5 }, group, 0).first();
    inspector->setRepresentedObject(RepresentedObject::fromObject(delay));
    EXPECT_FALSE(inspector->isStartupModeViewEnabled());
    EXPECT_FALSE(inspector->itemStartupModeView()->isEnabled());
    EXPECT_EQ(inspector->representedItemStartupMode(), ItemStartupModeShown);
    startFresh();
    inspector->setRepresentedItemStartupMode(ItemStartupModeDisabled);
    QCoreApplication::processEvents();
    EXPECT_FALSE(undo().canUndo());
}

TEST_F(ItemInspectorTest, TheHeaderFollowsTheKindOfTheItem)
{
    DBLoginItem* file = fileItem();
    DBLoginItem* delay = editing->createDelayItemsFromData({ 5 }, group, 0).first();
    DBLoginItem* wait = editing->createWaitPreviousItemsFromData({ 0 }, group, 0).first();
    DBLoginItem* marker = editing->createConditionalPreviousItemsFromData({ 0 }, group, 0).first();
    const int defaultHeight = 100;
    UserDefaults::standard().setFloat("Layout.ItemInspectorView.DefaultItemInfoHeight", defaultHeight);
    auto inspector = makeInspector();
    EXPECT_EQ(inspector->currentInfoViewController(), nullptr);

    inspector->setRepresentedObject(RepresentedObject::fromObject(delay));
    EXPECT_EQ(inspector->currentInfoViewController(), &inspector->delayItemInfoViewController());
    EXPECT_EQ(inspector->placeholderView()->maximumHeight(), defaultHeight);
    // A setting too small for the header's controls does not cut them off.
    UserDefaults::standard().setFloat("Layout.ItemInspectorView.DefaultItemInfoHeight", 10);
    inspector->setRepresentedObject(RepresentedObject::fromObject(marker));
    inspector->setRepresentedObject(RepresentedObject::fromObject(delay));
    EXPECT_EQ(inspector->placeholderView()->maximumHeight(), inspector->delayItemInfoViewController().sizeHint().height());
    UserDefaults::standard().setFloat("Layout.ItemInspectorView.DefaultItemInfoHeight", defaultHeight);
    inspector->setRepresentedObject(RepresentedObject::fromObject(wait));
    EXPECT_EQ(inspector->currentInfoViewController(), &inspector->waitPreviousItemInfoViewController());
    EXPECT_EQ(inspector->delayItemInfoViewController().representedObject(), QVariant()) << "a header put aside lets go";
    inspector->setRepresentedObject(RepresentedObject::fromObject(marker));
    EXPECT_EQ(inspector->currentInfoViewController(), &inspector->conditionalPreviousItemInfoViewController());
    inspector->setRepresentedObject(RepresentedObject::fromObject(file));
    EXPECT_EQ(inspector->currentInfoViewController(), &inspector->fileItemInfoViewController());
    EXPECT_EQ(inspector->fileItemInfoViewController().itemPath(), "/usr/bin/env");
    EXPECT_GT(inspector->placeholderView()->maximumHeight(), defaultHeight) << "the file header takes its own height";
    inspector->setRepresentedObject(QVariant());
    EXPECT_EQ(inspector->currentInfoViewController(), nullptr);
}

TEST_F(ItemInspectorTest, RowHeightsComeFromTheEditorsAndChangesAreCoalesced)
{
    namedConditions("AB");
    auto inspector = makeInspector();
    QTableView* table = inspector->startupConditionsTableView();
    for (int row = 0; row < 2; ++row)
        EXPECT_GE(table->rowHeight(row), 24);
    StartupConditionViewControllerBase* editor = inspector->conditionViewControllers()[1];
    // Heights the row does not have yet, whatever its editor measured.
    const int initial = table->rowHeight(1);
    editor->setRequiredRowHeight(initial + 20);
    editor->setRequiredRowHeight(initial + 40);
    EXPECT_EQ(table->rowHeight(1), initial) << "after a pause";
    EXPECT_TRUE(QTest::qWaitFor([&] { return table->rowHeight(1) == initial + 40; }));
}

TEST_F(ItemInspectorTest, AResetOfTheDatabaseLeavesNothingBehind)
{
    namedConditions("AB");
    DBLoginItem* item = fileItem();
    auto inspector = makeInspector();
    inspector->setRepresentedObject(RepresentedObject::fromObject(item));
    context->reset();
    EXPECT_TRUE(inspector->conditionViewControllers().isEmpty());
    EXPECT_EQ(inspector->startupConditionsModel()->rowCount(), 0);
    EXPECT_EQ(inspector->representedItem(), nullptr);
    EXPECT_EQ(inspector->currentInfoViewController(), nullptr);
    namedConditions("C");
    context->processPendingChanges();
    EXPECT_EQ(rowOrder(*inspector), "C");
}

} // namespace
