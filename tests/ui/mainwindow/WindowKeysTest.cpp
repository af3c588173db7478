// Keys typed on the real main window and its inspector popover: each acts
// where the focus is, never on the window behind. And the room those windows
// take on a small screen (the offscreen screen is 800 by 600).
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
#include "ui/inspector/ScheduledConditionViewController.h"
#include "ui/inspector/StartupConditionViewControllerBase.h"
#include "ui/mainwindow/ItemInspectorPopoverController.h"
#include "ui/mainwindow/MainItemsViewController.h"
#include "ui/mainwindow/MainWindowController.h"
#include "ui/views/ChoicePopUpButton.h"
#include "ui/views/ElidingLabel.h"

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

// Whether widget is wholly inside the table's visible rows.
bool isShownIn(const QTableView& table, const QWidget& widget)
{
    const QRect shown(widget.mapTo(table.viewport(), QPoint()), widget.size());
    return widget.isVisible() && table.viewport()->rect().contains(shown);
}

TEST_F(WindowKeysTest, ANewConditionInATableThatScrollsIsNamedInViewAndStaysThere)
{
    for (int index = 0; index < 8; ++index)
        helpers->modelEditing()->createScheduledStartupConditionAtIndex(index);
    openWindow();
    ItemInspectorViewController* inspector = openInspector();
    QTableView* table = inspector->startupConditionsTableView();
    ASSERT_TRUE(QTest::qWaitFor([table] { return table->verticalScrollBar()->maximum() > 0; })) << "the rows must not all fit";
    table->verticalScrollBar()->setValue(0);

    // The menu's action, as the Add Condition button's menu fires it.
    inspector->actionForCommand(CommandNames::createScheduledStartupCondition)->trigger();
    ASSERT_EQ(context->sortedStartupConditions().size(), 9);
    ConditionNameEditorViewController& nameEditor =
        inspector->conditionViewControllerForCondition(context->sortedStartupConditions().last())->nameEditorViewController();
    QLineEdit* name = nameEditor.editorNameView();
    ASSERT_TRUE(QTest::qWaitFor([name] { return name->hasFocus(); }));
    EXPECT_TRUE(isShownIn(*table, *name));
    // Once the row has its full height (the row heights follow a moment later).
    QTest::qWait(300);
    EXPECT_TRUE(isShownIn(*table, *name)) << "the row grew and pushed its field out of view";

    QTest::keyClicks(name, "Evenings");
    QTest::keyClick(name, Qt::Key_Return);
    QTest::qWait(300);
    EXPECT_EQ(context->sortedStartupConditions().last()->conditionName(), "Evenings");
    EXPECT_TRUE(isShownIn(*table, *nameEditor.nameView())) << "the named row stays in view";

    // A new time of its schedule: the row grows, and the time's first control has the keyboard, in view.
    auto* scheduled = static_cast<ScheduledConditionViewController*>(
        inspector->conditionViewControllerForCondition(context->sortedStartupConditions().last()));
    table->verticalScrollBar()->setValue(0);
    QTest::keyClick(scheduled->scheduleItemViewControllers().last()->insertButton(), Qt::Key_Space);
    ASSERT_EQ(scheduled->scheduleItemViewControllers().size(), 2);
    QTest::qWait(600);
    QWidget* day = scheduled->scheduleItemViewControllers().last()->dayButton();
    EXPECT_TRUE(day->hasFocus());
    EXPECT_TRUE(isShownIn(*table, *day)) << "the new time is in view once its row has grown";
    table->setFocus();
    table->selectRow(table->model()->rowCount() - 1);
    // Delete acts on the row the user sees.
    type(QKeySequence::Delete);
    EXPECT_EQ(context->sortedStartupConditions().size(), 8);
}

TEST_F(WindowKeysTest, F2AndReturnRenameTheSelectedConditionAndAltArrowsMoveIt)
{
    for (const char* conditionName : { "A", "B", "C" }) {
        DBStartupCondition* condition = helpers->modelEditing()->createNetworkStartupConditionAtIndex(context->sortedStartupConditions().size());
        condition->setConditionName(QString::fromLatin1(conditionName));
    }
    openWindow();
    ItemInspectorViewController* inspector = openInspector();
    QTableView* table = inspector->startupConditionsTableView();
    const auto conditionNames = [this] {
        QStringList names;
        for (const DBStartupCondition* condition : context->sortedStartupConditions())
            names.append(condition->conditionName());
        return names.join(u' ');
    };
    const auto nameEditorOfRow = [inspector](int row) -> ConditionNameEditorViewController& {
        return inspector->conditionViewControllers().at(row)->nameEditorViewController();
    };

    // F2, then Return, each open the selected row's name field with the keyboard in it.
    table->selectRow(0);
    table->setFocus();
    for (const Qt::Key key : { Qt::Key_F2, Qt::Key_Return }) {
        QTest::keyClick(table, key);
        QLineEdit* name = nameEditorOfRow(0).editorNameView();
        ASSERT_TRUE(nameEditorOfRow(0).isEditing()) << key;
        ASSERT_TRUE(QTest::qWaitFor([name] { return name->hasFocus(); })) << key;
        EXPECT_TRUE(isShownIn(*table, *name));
        QTest::keyClick(name, Qt::Key_Escape);
        EXPECT_FALSE(nameEditorOfRow(0).isEditing());
    }
    QTest::keyClick(table, Qt::Key_F2);
    QLineEdit* name = nameEditorOfRow(0).editorNameView();
    ASSERT_TRUE(QTest::qWaitFor([name] { return name->hasFocus(); }));
    name->selectAll();
    QTest::keyClicks(name, "First");
    QTest::keyClick(name, Qt::Key_Return);
    EXPECT_EQ(conditionNames(), "First B C");
    EXPECT_FALSE(nameEditorOfRow(0).isEditing()) << "the Return that commits does not open the field again";

    // Alt+Down and Alt+Up move the selected condition one row: one undo step and one save each.
    startFresh();
    table->selectRow(0);
    table->setFocus();
    QTest::keyClick(table, Qt::Key_Down, Qt::AltModifier);
    EXPECT_EQ(conditionNames(), "B First C");
    QTest::keyClick(table, Qt::Key_Down, Qt::AltModifier);
    EXPECT_EQ(conditionNames(), "B C First");
    QTest::keyClick(table, Qt::Key_Down, Qt::AltModifier);
    EXPECT_EQ(conditionNames(), "B C First") << "already last";
    EXPECT_EQ(saves, 2);
    ASSERT_EQ(inspector->selectedStartupConditions().size(), 1);
    EXPECT_EQ(inspector->selectedStartupConditions().first()->conditionName(), "First") << "the moved row stays selected";
    EXPECT_EQ(nameEditorOfRow(2).condition()->conditionName(), "First") << "the rows follow";
    QTest::keyClick(table, Qt::Key_Up, Qt::AltModifier);
    EXPECT_EQ(conditionNames(), "B First C");
    type(shortcutOf(CommandNames::undo));
    EXPECT_EQ(conditionNames(), "B C First");
    EXPECT_EQ(itemNames(), "Alpha Beta Gamma") << "the main window's Move Up and Move Down stay out of it";
}

TEST_F(WindowKeysTest, ALongNameElidesAndNoWindowOutgrowsTheScreen)
{
    const QString longName = QString(230, QLatin1Char('n'));
    addFile("/" + longName);
    addDelay();
    openWindow();
    const QRect screen = controller->window()->screen()->availableGeometry();
    ASSERT_LE(screen.width(), 800);
    EXPECT_LE(controller->window()->width(), screen.width());
    EXPECT_LE(controller->window()->height() + 40, screen.height()) << "room for the frame";
    EXPECT_LE(controller->window()->minimumWidth(), 800);
    EXPECT_LE(controller->window()->minimumHeight() + 40, 600);

    // The list's rows fit its width: no horizontal scroll hides their buttons.
    QListView* list = page->itemsTableView();
    for (int row = 0; row < list->model()->rowCount(); ++row)
        EXPECT_LE(list->visualRect(list->model()->index(row, 0)).right(), list->viewport()->width()) << row;
    EXPECT_FALSE(list->horizontalScrollBar()->isVisible());

    page->selectItems({ items().at(3) });
    page->showLoginItemInspector(page->itemsTableView()->model()->index(3, 0), QRect(0, 0, 10, 10));
    PopoverFrame* popover = page->itemInspectors()->popover();
    QTest::qWait(100);
    EXPECT_LE(popover->width(), screen.width());
    EXPECT_TRUE(screen.contains(popover->frameGeometry())) << "the detach button and the editors stay on screen";
    auto* title = popover->findChild<ElidingLabel*>("itemDisplayNameView");
    ASSERT_NE(title, nullptr);
    EXPECT_TRUE(title->text().endsWith(QChar(0x2026))) << "the title elides";
    EXPECT_EQ(title->toolTip(), longName);
    EXPECT_EQ(title->accessibleName(), longName);
    EXPECT_EQ(title->accessibleDescription(), longName);

    // The popover has the same size at every opening, whatever the item.
    const QSize first = popover->size();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    for (int row : { 0, 4, 3, 1 }) {
        page->showLoginItemInspector(page->itemsTableView()->model()->index(row, 0), QRect(0, 0, 10, 10));
        QTest::qWait(100);
        EXPECT_EQ(popover->size(), first) << "opening for row " << row;
        popover->hide();
    }
}

} // namespace
