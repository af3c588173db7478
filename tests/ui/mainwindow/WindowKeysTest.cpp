// Keys typed on the real main window and its inspector popover: each acts
// where the focus is, never on the window behind.
#include "model/DBLoginItem.h"
#include "model/DBScheduledConditionDataItem.h"
#include "model/DBStartupCondition.h"
#include "shell/ModelEditing.h"
#include "support/WindowTest.h"
#include "ui/base/CommandDispatcher.h"
#include "ui/base/CommandNames.h"
#include "ui/base/PopoverFrame.h"
#include "ui/inspector/ConditionNameEditorViewController.h"
#include "ui/inspector/ItemInspectorViewController.h"
#include "ui/inspector/ScheduleDataItemViewController.h"
#include "ui/inspector/StartupConditionViewControllerBase.h"
#include "ui/mainwindow/ItemInspectorPopoverController.h"
#include "ui/mainwindow/MainItemsViewController.h"
#include "ui/mainwindow/MainWindowController.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QListView>
#include <QScrollBar>
#include <QTableView>
#include <QTest>
#include <QTimeEdit>
#include <QRadioButton>

namespace {

class WindowKeysTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        addFile("/Alpha");
        addFile("/Beta");
        addFile("/Gamma");
    }

    void openWindow()
    {
        startFresh();
        controller = std::make_unique<MainWindowController>();
        handObjectsTo(*controller);
        controller->setCommandDispatcher(&dispatcher);
        controller->showWindow();
        QApplication::setActiveWindow(controller->window());
        ASSERT_TRUE(QTest::qWaitForWindowActive(controller->window()));
        page = controller->itemsSubviewController();
    }

    // The inspector of the first item in its popover, which has the keyboard.
    ItemInspectorViewController* openInspector()
    {
        page->selectItems({ items().first() });
        page->showLoginItemInspector(page->itemsTableView()->model()->index(0, 0), QRect(0, 0, 10, 10));
        PopoverFrame* popover = page->itemInspectors()->popover();
        QApplication::setActiveWindow(popover);
        EXPECT_TRUE(QTest::qWaitForWindowActive(popover));
        return static_cast<ItemInspectorViewController*>(page->itemInspectors()->itemInspectorViewController());
    }

    void type(const QKeySequence& keys) { QTest::keySequence(QApplication::focusWidget(), keys); }
    QKeySequence shortcutOf(const QString& command) const
    {
        return controller->window()->findChild<QAction*>(command + QStringLiteral("Action"))->shortcut();
    }
    QString itemNames() const
    {
        QStringList names;
        for (DBLoginItem* item : items())
            names.append(item->itemNiceDisplayName());
        return names.join(u' ');
    }

    CommandDispatcher dispatcher;
    std::unique_ptr<MainWindowController> controller;
    MainItemsViewController* page = nullptr;
};

TEST_F(WindowKeysTest, DeleteInTheInspectorDeletesItsSelectedConditionsOrNothing)
{
    openWindow();
    ItemInspectorViewController* inspector = openInspector();
    inspector->createScheduledStartupCondition();
    QLineEdit* name = inspector->conditionViewControllers().first()->nameEditorViewController().editorNameView();
    ASSERT_TRUE(QTest::qWaitFor([name] { return name->hasFocus(); }));
    QTest::keyClicks(name, "Mornings");
    QTest::keyClick(name, Qt::Key_Return);
    ASSERT_EQ(context->sortedStartupConditions().size(), 1);
    EXPECT_EQ(context->sortedStartupConditions().first()->conditionName(), "Mornings");
    // Named, the new condition is selected.
    EXPECT_EQ(inspector->selectedStartupConditions(), context->sortedStartupConditions());

    // Delete from a control of its row, and from the table itself.
    ASSERT_TRUE(inspector->startupConditionsTableView()->isAncestorOf(QApplication::focusWidget()));
    type(QKeySequence::Delete);
    EXPECT_TRUE(context->sortedStartupConditions().isEmpty());
    EXPECT_EQ(itemNames(), "Alpha Beta Gamma");
    inspector->startupConditionsTableView()->setFocus();
    type(QKeySequence::Delete);
    EXPECT_EQ(itemNames(), "Alpha Beta Gamma") << "nothing selected: nothing deleted";

    // Elsewhere in the inspector, neither Delete nor another key of the main window acts.
    inspector->itemStartupModeView()->findChild<QRadioButton*>()->setFocus();
    type(QKeySequence::Delete);
    type(shortcutOf(CommandNames::createNewDelayItem));
    type(shortcutOf(CommandNames::moveCurrentSelectionToIgnoredItems));
    EXPECT_EQ(itemNames(), "Alpha Beta Gamma");
    EXPECT_TRUE(page->itemInspectors()->popover()->isVisible());

    // Creating, naming and deleting are undone one step at a time, from the inspector.
    type(shortcutOf(CommandNames::undo));
    EXPECT_EQ(context->sortedStartupConditions().size(), 1);
    EXPECT_EQ(itemNames(), "Alpha Beta Gamma");

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_FALSE(page->itemInspectors()->popover()->isVisible());
}

TEST_F(WindowKeysTest, UndoAfterAStoredTimeUndoesTheModelAndBeforeItTheTyping)
{
    DBStartupCondition* schedule = helpers->modelEditing()->createScheduledStartupConditionAtIndex(0);
    items().first()->appendItemStartupConditionsWithConditionObjectsFromArray({ schedule });
    openWindow();
    ItemInspectorViewController* inspector = openInspector();
    QCoreApplication::processEvents();
    const QList<ScheduleDataItemViewController*> rows = inspector->findChildren<ScheduleDataItemViewController*>();
    ASSERT_EQ(rows.size(), 1);
    DBScheduledConditionDataItem* entry = rows.first()->scheduleItem();
    ASSERT_NE(entry, nullptr);
    QTimeEdit* from = rows.first()->fromTimePicker();
    from->setTime(QTime(6, 0));
    ASSERT_EQ(entry->scheduleFromTime().toLocalTime().time(), QTime(6, 0));
    from->setFocus(Qt::TabFocusReason);

    QTest::keyClicks(from, "0745");
    QTest::keyClick(from, Qt::Key_Return);
    ASSERT_EQ(entry->scheduleFromTime().toLocalTime().time(), QTime(7, 45));
    // Stored: Ctrl+Z undoes the model, and the field follows.
    type(shortcutOf(CommandNames::undo));
    EXPECT_EQ(entry->scheduleFromTime().toLocalTime().time(), QTime(6, 0));
    EXPECT_EQ(from->time(), QTime(6, 0));

    // Typed, not yet stored: Ctrl+Z is the field's own.
    QTest::keyClicks(from, "1");
    ASSERT_NE(from->text(), "06:00");
    type(shortcutOf(CommandNames::undo));
    EXPECT_EQ(entry->scheduleFromTime().toLocalTime().time(), QTime(6, 0));
    EXPECT_TRUE(context->undoManager().canRedo()) << "the model was not undone again";
}

TEST_F(WindowKeysTest, ShiftTabScrollsTheControlItReachesIntoView)
{
    for (int index = 0; index < 8; ++index)
        helpers->modelEditing()->createNetworkStartupConditionAtIndex(index);
    openWindow();
    ItemInspectorViewController* inspector = openInspector();
    QCoreApplication::processEvents();
    QTableView* table = inspector->startupConditionsTableView();
    ASSERT_GT(table->verticalScrollBar()->maximum(), 0) << "the rows must not all fit";
    QWidget* viewport = table->viewport();
    inspector->itemStartupModeView()->findChild<QRadioButton*>()->setFocus(Qt::TabFocusReason);
    bool scrolled = false;
    for (int press = 0; press < 40; ++press) {
        const int before = table->verticalScrollBar()->value();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        QWidget* focus = QApplication::focusWidget();
        scrolled = scrolled || table->verticalScrollBar()->value() != before;
        if (!viewport->isAncestorOf(focus))
            continue;
        const QRect shown(focus->mapTo(viewport, QPoint()), focus->size());
        EXPECT_TRUE(shown.top() >= 0 && shown.bottom() < viewport->height()) << focus->objectName().toStdString() << " at press " << press;
    }
    EXPECT_TRUE(scrolled);
}

TEST_F(WindowKeysTest, MoveUpAndMoveDownAreOneUndoStepAndASaveEach)
{
    openWindow();
    page->selectItems({ items().at(2) });
    page->itemsTableView()->setFocus();
    type(shortcutOf(CommandNames::moveSelectedItemsUp));
    EXPECT_EQ(itemNames(), "Alpha Gamma Beta");
    type(shortcutOf(CommandNames::moveSelectedItemsUp));
    EXPECT_EQ(itemNames(), "Gamma Alpha Beta");
    type(shortcutOf(CommandNames::moveSelectedItemsUp));
    EXPECT_EQ(itemNames(), "Gamma Alpha Beta") << "already first";
    EXPECT_EQ(saves, 2);
    EXPECT_EQ(page->selectedItems().size(), 1);
    EXPECT_EQ(page->selectedItems().first()->itemNiceDisplayName(), "Gamma");

    type(shortcutOf(CommandNames::undo));
    EXPECT_EQ(itemNames(), "Alpha Gamma Beta");
    page->selectItems({ items().at(0), items().at(1) });
    type(shortcutOf(CommandNames::moveSelectedItemsDown));
    EXPECT_EQ(itemNames(), "Beta Alpha Gamma");
    type(shortcutOf(CommandNames::undo));
    EXPECT_EQ(itemNames(), "Alpha Gamma Beta");
}

} // namespace
