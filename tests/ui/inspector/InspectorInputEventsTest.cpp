// The inspector driven by real key presses, wheel turns and focus changes:
// finishing a rename leaves the selection where the user put it, Tab walks
// the editors inside the rows, the keys typed in a row act on that row, and
// the wheel scrolls the table unless the control under it has the keyboard
// focus.
#include "InspectorTestCase.h"
#include "model/DBLoginGroup.h"
#include "model/DBLoginItem.h"
#include "support/TurnWheel.h"
#include "ui/base/CommandNames.h"
#include "ui/inspector/ConditionNameEditorViewController.h"
#include "ui/inspector/ItemInspectorViewController.h"
#include "ui/inspector/NetworkConditionViewController.h"
#include "ui/inspector/StartupConditionRowsModel.h"
#include "ui/views/ChoicePopUpButton.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSet>
#include <QTableView>
#include <QTest>
#include <QToolButton>

namespace {

using Inspector = ItemInspectorViewController;

class InspectorInputEventsTest : public InspectorTestCase {
protected:
    void SetUp() override
    {
        InspectorTestCase::SetUp();
        conditions = namedConditions("ABCDEFGH");
        inspector = std::make_unique<Inspector>();
        inspector->setCommonObjects(common);
        inspector->loadView();
        // With an item shown, the rows' check boxes are live.
        DBLoginItem* item = editing->createFileItemsFromData({ "/usr/bin/env" }, context->getOrCreateApplicationLoginGroup(), 0).first();
        inspector->setRepresentedObject(RepresentedObject::fromObject(item));
        inspector->resize(420, 420);
        inspector->show();
        QApplication::setActiveWindow(inspector.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(inspector.get()));
        startFresh();
    }

    QTableView* table() const { return inspector->startupConditionsTableView(); }
    ConditionNameEditorViewController& nameEditor(int row) const
    {
        return inspector->conditionViewControllers()[row]->nameEditorViewController();
    }
    NetworkConditionViewController* network(int row) const
    {
        return qobject_cast<NetworkConditionViewController*>(inspector->conditionViewControllers()[row]);
    }

    void selectRow(int row) const
    {
        table()->selectionModel()->select(inspector->startupConditionsModel()->index(row),
                                          QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }

    QString selectedNames() const
    {
        QStringList names;
        for (const DBStartupCondition* condition : inspector->selectedStartupConditions())
            names << condition->conditionName();
        return names.join(' ');
    }

    // Opens the row's name editor and waits for its field to take the focus.
    QLineEdit* startRenaming(int row) const
    {
        nameEditor(row).showNameEditor();
        QLineEdit* field = nameEditor(row).editorNameView();
        EXPECT_TRUE(QTest::qWaitFor([field] { return field->hasFocus(); }));
        return field;
    }

    QList<DBStartupCondition*> conditions;
    std::unique_ptr<Inspector> inspector;
};

TEST_F(InspectorInputEventsTest, EveryWayOfFinishingARenameLeavesTheSelectionOnTheRenamedRow)
{
    const std::pair<const char*, std::function<void(int row)>> finishes[] {
        { "Return", [this](int row) { QTest::keyClick(nameEditor(row).editorNameView(), Qt::Key_Return); } },
        { "Done", [this](int row) { QTest::mouseClick(nameEditor(row).editorDoneView(), Qt::LeftButton); } },
        { "Escape", [this](int row) { QTest::keyClick(nameEditor(row).editorNameView(), Qt::Key_Escape); } },
        { "focus leaving",
          [this](int) { inspector->findChild<QToolButton*>("createStartupConditionButton")->setFocus(Qt::MouseFocusReason); } },
    };
    int row = 2;
    for (const auto& [how, finish] : finishes) {
        SCOPED_TRACE(how);
        selectRow(row);
        const QString name = conditions[row]->conditionName();
        const QString typed = QStringLiteral("Renamed %1").arg(row);
        QTest::keyClicks(startRenaming(row), typed);
        finish(row);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !nameEditor(row).isEditing(); }));
        QCoreApplication::processEvents();
        EXPECT_EQ(conditions[row]->conditionName(), how == std::string("Escape") ? name : typed);
        EXPECT_EQ(selectedNames(), conditions[row]->conditionName()) << "the table took no Tab";
        ++row;
    }
    // The next Delete removes the renamed condition and no other.
    inspector->actionForCommand(CommandNames::deleteCurrentSelection)->trigger();
    EXPECT_EQ(conditionOrder(), "A B Renamed 2 Renamed 3 E G H");
}

TEST_F(InspectorInputEventsTest, TabWalksTheEditorsInsideARowAndLeavesTheSelectionAlone)
{
    selectRow(1);
    nameEditor(0).usageView()->setFocus(Qt::TabFocusReason);
    QSet<QWidget*> reached;
    // Round the whole inspector once: eight rows of four controls and the buttons.
    for (int press = 0; press < 60; ++press) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        reached.insert(QApplication::focusWidget());
    }
    NetworkConditionViewController* row = network(1);
    for (QWidget* control : std::initializer_list<QWidget*> { nameEditor(1).usageView(), row->networkModeView(), row->networkStatusView() })
        EXPECT_TRUE(reached.contains(control)) << control->accessibleName().toStdString() << " after " << reached.size() << " controls";
    EXPECT_EQ(selectedNames(), "B");
}

TEST_F(InspectorInputEventsTest, KeysTypedOnARowsCheckBoxActOnThatRowAndReturnNeverTogglesIt)
{
    DBLoginItem* item = RepresentedObject::liveObjectAs<DBLoginItem>(inspector->representedObject());
    selectRow(1);
    QCheckBox* box = nameEditor(4).usageView();
    box->setFocus(Qt::TabFocusReason);
    for (const Qt::Key key : { Qt::Key_F2, Qt::Key_Return, Qt::Key_Enter }) {
        SCOPED_TRACE(key);
        QList<QWidget*> focused;
        const QMetaObject::Connection watch =
            QObject::connect(qApp, &QApplication::focusChanged, [&focused](QWidget*, QWidget* now) { focused.append(now); });
        QTest::keyClick(box, key);
        QObject::disconnect(watch);
        EXPECT_EQ(focused, QList<QWidget*>({ nameEditor(4).editorNameView() })) << "from the check box straight to the name field";
        EXPECT_TRUE(nameEditor(4).isEditing()) << "the row with the focus is renamed";
        EXPECT_FALSE(nameEditor(1).isEditing()) << "not the selected one";
        EXPECT_EQ(selectedNames(), "E");
        EXPECT_FALSE(box->isChecked());
        QLineEdit* field = nameEditor(4).editorNameView();
        EXPECT_TRUE(QTest::qWaitFor([field] { return field->hasFocus(); }));
        QTest::keyClick(field, Qt::Key_Escape);
        EXPECT_TRUE(box->hasFocus());
    }
    context->processPendingChanges();
    EXPECT_FALSE(undo().canUndo());
    EXPECT_EQ(saves, 0);
    EXPECT_TRUE(item->itemStartupConditions().isEmpty());

    // Space is the check box's own key; the table's Space checks its current row.
    QTest::keyClick(box, Qt::Key_Space);
    EXPECT_EQ(item->itemStartupConditions(), QList<DBStartupCondition*>({ conditions[4] }));
    EXPECT_EQ(saves, 1);
    table()->setFocus();
    table()->setCurrentIndex(inspector->startupConditionsModel()->index(2));
    QTest::keyClick(table(), Qt::Key_Space);
    EXPECT_EQ(item->itemStartupConditions().size(), 2);
    EXPECT_TRUE(nameEditor(2).usageView()->isChecked());
    EXPECT_EQ(saves, 2);

    // Alt+Up and Delete on a row's check box act on that row, which joins the selection.
    selectRow(0);
    box->setFocus(Qt::TabFocusReason);
    QTest::keyClick(box, Qt::Key_Up, Qt::AltModifier);
    EXPECT_EQ(conditionOrder(), "A B C E D F G H");
    EXPECT_EQ(selectedNames(), "E");
    selectRow(0);
    QCheckBox* fRow = nameEditor(5).usageView();
    fRow->setFocus(Qt::TabFocusReason);
    QTest::keyClick(fRow, Qt::Key_Delete);
    EXPECT_EQ(conditionOrder(), "A B C E D G H");
}

TEST_F(InspectorInputEventsTest, TheWheelScrollsTheTableUnlessThePopUpUnderItHasTheFocus)
{
    QScrollBar* scroll = table()->verticalScrollBar();
    ASSERT_GT(scroll->maximum(), 0) << "the table must be taller than its view";
    ChoicePopUpButton* state = network(0)->networkStatusView();
    const QVariant shown = state->shownValue();
    ASSERT_EQ(state->focusPolicy(), Qt::StrongFocus);

    table()->setFocus(Qt::MouseFocusReason);
    EXPECT_TRUE(turnWheel(state, -1));
    EXPECT_EQ(state->shownValue(), shown);
    EXPECT_GT(scroll->value(), 0) << "the table scrolled instead";
    context->processPendingChanges();
    EXPECT_FALSE(undo().canUndo());
    EXPECT_EQ(saves, 0);

    // With the keyboard focus the wheel is the user's way of choosing. Tab
    // brings the control into view first.
    state->setFocus(Qt::TabFocusReason);
    const int scrolled = scroll->value();
    turnWheel(state, -1);
    EXPECT_NE(state->shownValue(), shown);
    EXPECT_EQ(scroll->value(), scrolled);
    context->processPendingChanges();
    EXPECT_TRUE(undo().canUndo());
    EXPECT_EQ(saves, 1);
}

} // namespace
