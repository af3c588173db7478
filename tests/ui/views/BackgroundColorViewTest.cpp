// The view's colour fills it unless a draw block alone paints it, and a
// colour that is set lies under the block's drawing, never over it.
#include "ui/views/BackgroundColorView.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

// The view alone, without the window background Qt would paint under it.
QImage render(BackgroundColorView& view)
{
    QImage image(view.size(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    view.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

// Paints the left half red.
void drawLeftHalf(BackgroundColorView& view, QPainter& painter, const QRect&)
{
    painter.fillRect(QRect(0, 0, view.width() / 2, view.height()), Qt::red);
}

} // namespace

TEST(BackgroundColorView, WithoutABlockFillsWithItsColourWhiteByDefault)
{
    BackgroundColorView view;
    view.resize(20, 10);
    EXPECT_EQ(render(view).pixelColor(5, 5), QColor(Qt::white));

    view.setBackgroundColor(Qt::blue);
    EXPECT_EQ(render(view).pixelColor(5, 5), QColor(Qt::blue));
}

TEST(BackgroundColorView, ABlockWithoutAColourIsNeverPaintedOverInWhite)
{
    BackgroundColorView view;
    view.resize(20, 10);
    int calls = 0;
    view.setDrawBlock([&](BackgroundColorView& drawn, QPainter& painter, const QRect& dirtyRect) {
        ++calls;
        EXPECT_EQ(&drawn, &view);
        EXPECT_EQ(dirtyRect, QRect(0, 0, 20, 10));
        drawLeftHalf(drawn, painter, dirtyRect);
    });
    // Reading the default colour does not make it a set colour.
    EXPECT_EQ(view.backgroundColor(), QColor(Qt::white));

    const QImage image = render(view);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(image.pixelColor(2, 5), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(15, 5).alpha(), 0);
}

TEST(BackgroundColorView, ASetColourLiesUnderTheBlocksDrawing)
{
    BackgroundColorView view;
    view.resize(20, 10);
    view.setDrawBlock(drawLeftHalf);
    view.setBackgroundColor(Qt::blue);

    const QImage image = render(view);
    EXPECT_EQ(image.pixelColor(2, 5), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(15, 5), QColor(Qt::blue));
}
