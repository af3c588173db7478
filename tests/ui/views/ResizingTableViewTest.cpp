// A one-column table's column follows the visible width; with more columns
// the widths stay as they were set.
#include "ui/views/ResizingTableView.h"

#include <QStandardItemModel>
#include <QTest>
#include <gtest/gtest.h>

TEST(ResizingTableView, OneColumnFollowsTheWidth)
{
    QStandardItemModel model(3, 1);
    ResizingTableView table;
    table.setModel(&model);
    table.resize(200, 150);
    table.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&table));
    EXPECT_EQ(table.columnWidth(0), table.viewport()->width());

    table.resize(320, 150);
    QCoreApplication::processEvents();
    EXPECT_EQ(table.columnWidth(0), table.viewport()->width());
    EXPECT_GT(table.columnWidth(0), 250);

    table.resize(120, 150);
    QCoreApplication::processEvents();
    EXPECT_EQ(table.columnWidth(0), table.viewport()->width());
}

TEST(ResizingTableView, TwoColumnsKeepTheirWidths)
{
    QStandardItemModel model(3, 2);
    ResizingTableView table;
    table.setModel(&model);
    table.setColumnWidth(0, 40);
    table.setColumnWidth(1, 60);
    table.resize(200, 150);
    table.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&table));

    table.resize(400, 150);
    QCoreApplication::processEvents();
    EXPECT_EQ(table.columnWidth(0), 40);
    EXPECT_EQ(table.columnWidth(1), 60);
}
