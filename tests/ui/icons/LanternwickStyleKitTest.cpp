// The condition badge: a rounded rectangle whose 1-pixel outline lies on the
// frame's outermost pixels, filled inside, transparent in the corners.
#include "ui/icons/LanternwickStyleKit.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

QImage drawBadge(const QSize& canvas, const QRectF& frame)
{
    QImage image(canvas, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setPen(QPen(Qt::green, 5));
    LanternwickStyleKit::drawStartupConditionWithFrame(painter, frame, Qt::blue, Qt::red);
    // The caller's pen is kept.
    EXPECT_EQ(painter.pen().color(), QColor(Qt::green));
    EXPECT_FALSE(painter.testRenderHint(QPainter::Antialiasing));
    return image;
}

} // namespace

TEST(LanternwickStyleKit, BadgeOfA100By20FrameIsInsetHalfAPixel)
{
    const QImage badge = drawBadge(QSize(100, 20), QRectF(0, 0, 100, 20));
    // Straight stretches of the outline cover whole pixels.
    EXPECT_EQ(badge.pixelColor(50, 0), QColor(Qt::red));
    EXPECT_EQ(badge.pixelColor(50, 19), QColor(Qt::red));
    EXPECT_EQ(badge.pixelColor(0, 10), QColor(Qt::red));
    EXPECT_EQ(badge.pixelColor(99, 10), QColor(Qt::red));
    EXPECT_EQ(badge.pixelColor(50, 10), QColor(Qt::blue));
    EXPECT_EQ(badge.pixelColor(1, 10), QColor(Qt::blue));
    // Radius 8: the corners stay clear.
    EXPECT_EQ(badge.pixelColor(0, 0).alpha(), 0);
    EXPECT_EQ(badge.pixelColor(99, 19).alpha(), 0);
    EXPECT_EQ(badge.pixelColor(1, 1).alpha(), 0);
}

TEST(LanternwickStyleKit, BadgeFollowsTheFrameOrigin)
{
    const QImage badge = drawBadge(QSize(130, 40), QRectF(10, 5, 100, 20));
    EXPECT_EQ(badge.pixelColor(10, 15), QColor(Qt::red));
    EXPECT_EQ(badge.pixelColor(9, 15).alpha(), 0);
    EXPECT_EQ(badge.pixelColor(60, 5), QColor(Qt::red));
    EXPECT_EQ(badge.pixelColor(60, 24), QColor(Qt::red));
    EXPECT_EQ(badge.pixelColor(60, 25).alpha(), 0);
    EXPECT_EQ(badge.pixelColor(60, 15), QColor(Qt::blue));
}
