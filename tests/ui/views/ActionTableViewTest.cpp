// Clicks inside a row's cell widget reach the table's delegate with the
// innermost widget of the cell under the pointer.
#include "ui/views/ActionTableView.h"
#include "ui/views/ItemInspectorTableView.h"

#include <QLabel>
#include <QMouseEvent>
#include <QStandardItemModel>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class RecordingDelegate : public ActionTableViewDelegate {
public:
    struct Report {
        QWidget* cell;
        QWidget* subview;
        int row;
    };
    void tableViewMouseDown(ActionTableView&, QMouseEvent&, QWidget* cell, QWidget* subview, int row) override
    {
        reports.append({ cell, subview, row });
    }
    QList<Report> reports;
};

// Row 1 holds a cell: a group with a name label at its left, and a label of
// its own further right, with room around them.
class ActionTableViewTest : public testing::Test {
protected:
    void SetUp() override
    {
        table.setModel(&model);
        table.setActionDelegate(&delegate);
        table.setEditTriggers(QAbstractItemView::NoEditTriggers);
        table.resize(300, 200);
        cell = new QWidget;
        group = new QWidget(cell);
        group->setGeometry(0, 0, 100, 20);
        name = new QLabel(QStringLiteral("name"), group);
        name->setGeometry(0, 0, 50, 20);
        detail = new QLabel(QStringLiteral("detail"), cell);
        detail->setGeometry(150, 0, 50, 20);
        table.setIndexWidget(model.index(1, 0), cell);
        table.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&table));
    }

    // A point of row 1, x from the cell's left.
    QPoint inCell(int x) const { return table.visualRect(model.index(1, 0)).topLeft() + QPoint(x, 5); }
    QWidget* reportedSubview() const { return delegate.reports.isEmpty() ? nullptr : delegate.reports.last().subview; }

    QStandardItemModel model { 3, 1 };
    ItemInspectorTableView table;
    RecordingDelegate delegate;
    QWidget* cell = nullptr;
    QWidget* group = nullptr;
    QLabel* name = nullptr;
    QLabel* detail = nullptr;
};

TEST_F(ActionTableViewTest, ADoubleClickReportsTheWidgetThatHoldsThePointOnly)
{
    QTest::mouseDClick(table.viewport(), Qt::LeftButton, {}, inCell(10));
    ASSERT_EQ(delegate.reports.size(), 1);
    EXPECT_EQ(delegate.reports.last().row, 1);
    EXPECT_EQ(delegate.reports.last().cell, cell);
    EXPECT_EQ(reportedSubview(), name);

    // Right of the group's label but inside the group.
    QTest::mouseDClick(table.viewport(), Qt::LeftButton, {}, inCell(70));
    EXPECT_EQ(reportedSubview(), group);
    // The label beside the group: the group, searched first, does not hold the point.
    QTest::mouseDClick(table.viewport(), Qt::LeftButton, {}, inCell(160));
    EXPECT_EQ(reportedSubview(), detail);
    QTest::mouseDClick(table.viewport(), Qt::LeftButton, {}, inCell(120));
    ASSERT_EQ(delegate.reports.size(), 4);
    EXPECT_EQ(reportedSubview(), nullptr);
    EXPECT_EQ(delegate.reports.last().cell, cell);

    // A row without a cell widget, and below the rows.
    QTest::mouseDClick(table.viewport(), Qt::LeftButton, {}, table.visualRect(model.index(2, 0)).center());
    ASSERT_EQ(delegate.reports.size(), 5);
    EXPECT_EQ(delegate.reports.last().row, 2);
    EXPECT_EQ(delegate.reports.last().cell, nullptr);
    QTest::mouseDClick(table.viewport(), Qt::LeftButton, {}, QPoint(10, 190));
    EXPECT_EQ(delegate.reports.size(), 5);
}

TEST_F(ActionTableViewTest, ASingleClickIsReportedOnlyWhenAskedForAndSelectsTheRowFirst)
{
    QTest::mouseClick(table.viewport(), Qt::LeftButton, {}, inCell(10));
    EXPECT_TRUE(delegate.reports.isEmpty());
    EXPECT_EQ(table.currentIndex().row(), 1);

    table.setInformDelegateOnSingleMouseDown(true);
    QTest::mouseClick(table.viewport(), Qt::LeftButton, {}, table.visualRect(model.index(0, 0)).center());
    ASSERT_EQ(delegate.reports.size(), 1);
    EXPECT_EQ(delegate.reports.last().row, 0);
    EXPECT_EQ(table.currentIndex().row(), 0);
}

TEST_F(ActionTableViewTest, TheInspectorTableDrawsNoGrid)
{
    EXPECT_FALSE(table.showGrid());
}

} // namespace
