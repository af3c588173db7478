// A flat button shows its bevel only while the pointer is over it.
#include "ui/views/FlatButton.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

QImage render(QWidget& widget)
{
    QImage image(widget.size(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    widget.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

bool isBlank(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) != 0)
                return false;
    return true;
}

} // namespace

TEST(FlatButton, ShowsItsBevelOnlyUnderThePointer)
{
    FlatButton button;
    button.resize(40, 24);
    EXPECT_TRUE(isBlank(render(button)));

    button.setAttribute(Qt::WA_UnderMouse, true);
    EXPECT_FALSE(isBlank(render(button)));
}
