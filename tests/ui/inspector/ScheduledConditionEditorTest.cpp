// The schedule editor: one row per entry placed by sort index, insert and
// delete as named undo steps with the delete buttons shown only while more
// than one row exists, the delayed slide of the rows, the row height per
// row, a way to add an entry to an empty schedule, and times written when
// the user commits them, by arrow, typing or picking.
#include "ConditionEditorTestCase.h"
#include "model/DBScheduledConditionData.h"
#include "model/DBScheduledConditionDataItem.h"
#include "ui/inspector/ScheduleDataItemViewController.h"
#include "ui/inspector/ScheduledConditionViewController.h"

#include <QApplication>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimeEdit>
#include <QToolButton>

namespace {

using Editor = ScheduledConditionViewController;
constexpr int kRow = Editor::scheduleRowHeight;

class ScheduledConditionEditorTest : public ConditionEditorTestCase {
protected:
    // A schedule named "Work" with entries for the given days, in order.
    DBStartupCondition* schedule(const QList<int32_t>& days)
    {
        DBStartupCondition* condition = editing->createScheduledStartupConditionAtIndex(0);
        condition->setConditionName("Work");
        // Instead of the entry a new schedule starts with.
        for (DBScheduledConditionDataItem* made : entries(condition))
            editing->deleteScheduledConditionDataItem(made, condition);
        for (const int32_t day : days)
            editing->createScheduledConditionDataItemForCondition(condition, 100)->setScheduleDayValue(day);
        return condition;
    }

    QList<DBScheduledConditionDataItem*> entries(const DBStartupCondition* condition) const
    {
        return editing->sortedScheduleDataItemsForCondition(condition);
    }

    // The days of the entries in order, after checking the rows show them.
    QString days(const Editor& editor, const DBStartupCondition* condition) const
    {
        QStringList days;
        const QList<ScheduleDataItemViewController*> rows = editor.scheduleItemViewControllers();
        const QList<DBScheduledConditionDataItem*> items = entries(condition);
        EXPECT_EQ(rows.size(), items.size());
        for (qsizetype index = 0; index < items.size() && index < rows.size(); ++index) {
            EXPECT_EQ(rows[index]->scheduleItem(), items[index]);
            days << QString::number(items[index]->scheduleDayValue());
        }
        return days.join(' ');
    }

    static bool slidTo(const Editor& editor, const QList<int>& tops)
    {
        const QList<ScheduleDataItemViewController*> rows = editor.scheduleItemViewControllers();
        if (rows.size() != tops.size() || editor.hasPendingLayout())
            return false;
        for (qsizetype index = 0; index < rows.size(); ++index)
            if (rows[index]->y() != tops[index])
                return false;
        return true;
    }

    static bool deleteButtonsShown(const Editor& editor)
    {
        bool shown = true;
        for (const ScheduleDataItemViewController* row : editor.scheduleItemViewControllers()) {
            EXPECT_EQ(row->showDeleteButton(), !row->deleteButton()->isHidden());
            shown = shown && row->showDeleteButton();
        }
        return shown;
    }
};

TEST_F(ScheduledConditionEditorTest, InsertingAfterTheFirstRowSlidesTheOthersDown)
{
    DBStartupCondition* condition = schedule({ ScheduleDayMonday });
    auto editor = editorFor<Editor>(condition);
    startFresh();
    EXPECT_FALSE(deleteButtonsShown(*editor)) << "the only entry cannot be deleted";

    editor->scheduleItemViewControllers()[0]->insertButton()->click();
    expectOneStep("Add Schedule Item To Work");
    EXPECT_EQ(days(*editor, condition), "0 7") << "new entries are week days";
    EXPECT_TRUE(deleteButtonsShown(*editor));

    entries(condition)[1]->setScheduleDayValue(ScheduleDayFriday);
    EXPECT_TRUE(QTest::qWaitFor([&] { return slidTo(*editor, { 0, kRow }); }));
    startFresh();
    editor->scheduleItemViewControllers()[0]->insertButton()->click();
    EXPECT_EQ(days(*editor, condition), "0 7 4") << "after the first, before the former second";
    EXPECT_TRUE(editor->hasPendingLayout()) << "the rows move only after the delay";
    EXPECT_TRUE(QTest::qWaitFor([&] { return slidTo(*editor, { 0, kRow, 2 * kRow }); }));
}

TEST_F(ScheduledConditionEditorTest, DeletingTheMiddleRowFadesItOutAndSlidesTheLastUp)
{
    DBStartupCondition* condition = schedule({ ScheduleDayMonday, ScheduleDayTuesday, ScheduleDayWednesday });
    auto editor = editorFor<Editor>(condition);
    startFresh();
    EXPECT_TRUE(slidTo(*editor, { 0, kRow, 2 * kRow }));
    QPointer<ScheduleDataItemViewController> middle = editor->scheduleItemViewControllers()[1];

    middle->deleteButton()->click();
    EXPECT_FALSE(middle.isNull()) << "it fades out first";
    expectOneStep("Remove Schedule Item From Work");
    EXPECT_EQ(days(*editor, condition), "0 2");
    EXPECT_TRUE(QTest::qWaitFor([&] { return middle.isNull(); }));
    EXPECT_TRUE(QTest::qWaitFor([&] { return slidTo(*editor, { 0, kRow }); }));
}

TEST_F(ScheduledConditionEditorTest, UndoingAnInsertionRemovesTheRowAgain)
{
    DBStartupCondition* condition = schedule({ ScheduleDayMonday });
    auto editor = editorFor<Editor>(condition);
    startFresh();
    editor->scheduleItemViewControllers()[0]->insertButton()->click();
    context->processPendingChanges();
    QCoreApplication::processEvents();
    QPointer<ScheduleDataItemViewController> added = editor->scheduleItemViewControllers()[1];

    undo().undo();
    EXPECT_EQ(days(*editor, condition), "0");
    EXPECT_FALSE(deleteButtonsShown(*editor));
    EXPECT_TRUE(QTest::qWaitFor([&] { return added.isNull(); }));
    undo().redo();
    EXPECT_EQ(days(*editor, condition), "0 7");
    EXPECT_TRUE(deleteButtonsShown(*editor));
}

TEST_F(ScheduledConditionEditorTest, TheRowHeightGrowsByARowAndALinePerEntry)
{
    DBStartupCondition* condition = schedule({ ScheduleDayMonday });
    auto editor = editorFor<Editor>(condition);
    QList<double> heights { editor->requiredRowHeight() };
    for (int added = 0; added < 2; ++added) {
        editing->createScheduledConditionDataItemForCondition(condition, 0);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !editor->hasPendingLayout() && editor->requiredRowHeight() != heights.last(); }));
        heights << editor->requiredRowHeight();
    }
    EXPECT_EQ(heights[1] - heights[0], kRow + 1);
    EXPECT_EQ(heights[2] - heights[1], kRow + 1);
    EXPECT_GT(heights[0], kRow + 1) << "the name and the explanation count too";
}

TEST_F(ScheduledConditionEditorTest, AnEmptyScheduleOffersToAddAnEntry)
{
    DBStartupCondition* condition = schedule({});
    auto editor = editorFor<Editor>(condition);
    startFresh();
    EXPECT_FALSE(editor->addScheduleItemButton()->isHidden());
    editor->addScheduleItemButton()->click();
    expectOneStep("Add Schedule Item To Work");
    EXPECT_EQ(days(*editor, condition), "7");
    EXPECT_TRUE(QTest::qWaitFor([&] { return editor->addScheduleItemButton()->isHidden(); }));
}

TEST_F(ScheduledConditionEditorTest, ATimeIsWrittenOnceForEachChangeTheUserCommits)
{
    DBStartupCondition* condition = schedule({ ScheduleDayMonday });
    auto editor = editorFor<Editor>(condition);
    editor->show();
    QApplication::setActiveWindow(editor.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(editor.get()));
    startFresh();
    ScheduleDataItemViewController* row = editor->scheduleItemViewControllers()[0];
    QTimeEdit* picker = row->fromTimePicker();
    EXPECT_EQ(picker->time(), QTime(9, 0));
    const auto storedTime = [&] { return entries(condition)[0]->scheduleFromTime().toLocalTime().time(); };

    // An arrow is a change of its own, written at once.
    picker->setFocus(Qt::TabFocusReason);
    picker->setCurrentSection(QDateTimeEdit::MinuteSection);
    QTest::keyClick(picker, Qt::Key_Up);
    EXPECT_EQ(storedTime(), QTime(9, 1));
    expectOneStep("Change Schedule From Time For Work");

    // Typing writes nothing until Return, then once; Return again changes nothing.
    undo().removeAllActions();
    saves = 0;
    picker->setSelectedSection(QDateTimeEdit::HourSection);
    QTest::keyClicks(picker, "10");
    expectNoStep();
    QTest::keyClick(picker, Qt::Key_Return);
    QTest::keyClick(picker, Qt::Key_Return);
    EXPECT_EQ(storedTime(), QTime(10, 1));
    expectOneStep("Change Schedule From Time For Work");
    undo().undo();
    EXPECT_EQ(picker->time(), QTime(9, 1)) << "undo reaches the picker";
}

TEST_F(ScheduledConditionEditorTest, TheDayIsOneOfTenAndAnUnknownDayIsShownAsNone)
{
    DBStartupCondition* condition = schedule({ ScheduleDayMonday, 12 });
    auto editor = editorFor<Editor>(condition);
    startFresh();
    const QList<ScheduleDataItemViewController*> rows = editor->scheduleItemViewControllers();
    EXPECT_EQ(rows[0]->dayButton()->count(), 10);
    EXPECT_EQ(rows[1]->dayButton()->currentIndex(), -1);
    EXPECT_EQ(entries(condition)[1]->scheduleDayValue(), 12);
    expectNoStep();

    choose(rows[0]->dayButton(), ScheduleDayEveryDay);
    EXPECT_EQ(entries(condition)[0]->scheduleDayValue(), ScheduleDayEveryDay);
    expectOneStep("Change Schedule Day For Work");
}

} // namespace
