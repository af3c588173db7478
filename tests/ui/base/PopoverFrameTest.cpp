// Where a popover opens beside its anchor on a screen.
#include "ui/base/PopoverFrame.h"

#include <gtest/gtest.h>

namespace {

using Edge = PopoverFrame::Edge;
const QRect screen(0, 0, 1000, 800);
const QSize size(200, 100);

TEST(PopoverFrameTest, OpensOnThePreferredSideWhenThereIsRoom)
{
    const QRect anchor(400, 500, 100, 20);
    EXPECT_EQ(PopoverFrame::positionFor(anchor, size, screen, Edge::Above), QPoint(350, 400));
    EXPECT_EQ(PopoverFrame::positionFor(anchor, size, screen, Edge::Below), QPoint(350, 520));
    EXPECT_EQ(PopoverFrame::positionFor(anchor, size, screen, Edge::Right), QPoint(500, 460));
    EXPECT_EQ(PopoverFrame::positionFor(anchor, size, screen, Edge::Left), QPoint(200, 460));
}

TEST(PopoverFrameTest, FlipsAtTheScreenEdgeAndStaysOnTheScreen)
{
    // A bar at the top of the screen: no room above.
    EXPECT_EQ(PopoverFrame::positionFor(QRect(400, 10, 100, 20), size, screen, Edge::Above), QPoint(350, 30));
    // A row reaching the right edge: the popover opens on its left.
    EXPECT_EQ(PopoverFrame::positionFor(QRect(700, 300, 250, 40), size, screen, Edge::Right), QPoint(500, 270));
    // Near the left edge it is pushed back onto the screen.
    EXPECT_EQ(PopoverFrame::positionFor(QRect(0, 500, 40, 20), size, screen, Edge::Above), QPoint(0, 400));
    // Without room on either side it keeps the preferred side, inside the screen.
    EXPECT_EQ(PopoverFrame::positionFor(QRect(0, 0, 1000, 800), size, screen, Edge::Above), QPoint(400, 0));
}

} // namespace
