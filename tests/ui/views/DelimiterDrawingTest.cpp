// The dotted rules: the delimiter view's across its middle pixel row in
// dashes of 2, the inspector row's along its own last pixel row in dashes of
// 1 over the alternate stripe; colours from the settings.
#include "ui/views/HorizontalDelimiterView.h"
#include "ui/views/ItemInspectorRowView.h"

#include "foundation/UserDefaults.h"

#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class DelimiterDrawingTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_folder.isValid());
        defaults.setString(QStringLiteral("Layout.ItemInspectorView.ItemsTableDelimiterColor"), QStringLiteral("r1 g0 b0 a1"));
        defaults.setString(QStringLiteral("Layout.ItemInspectorView.ItemsRowDelimiterColor"), QStringLiteral("r0 g0 b1 a1"));
        defaults.setString(QStringLiteral("Layout.ItemInspectorView.AlternateRowBackgroundColor"), QStringLiteral("r0 g1 b0 a1"));
    }

    static QImage canvas(const QSize& size)
    {
        QImage image(size, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        return image;
    }

    QTemporaryDir m_folder;
    UserDefaults defaults{ m_folder.filePath(QStringLiteral("Lanternwick.conf")) };
};

} // namespace

TEST_F(DelimiterDrawingTest, DelimiterViewDrawsDashesOfTwoAcrossItsMiddleRow)
{
    HorizontalDelimiterView view;
    view.setUserDefaults(&defaults);
    view.resize(20, 11);
    QImage image = canvas(view.size());
    view.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);

    for (int x = 0; x < 20; ++x) {
        SCOPED_TRACE(x);
        const bool dash = (x / 2) % 2 == 0;
        EXPECT_EQ(image.pixelColor(x, 5), dash ? QColor(Qt::red) : QColor(Qt::transparent));
        EXPECT_EQ(image.pixelColor(x, 4).alpha(), 0);
        EXPECT_EQ(image.pixelColor(x, 6).alpha(), 0);
    }

    view.setDelimiterColor(Qt::blue);
    view.resize(20, 2);
    image = canvas(view.size());
    view.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    EXPECT_EQ(image.pixelColor(0, 1), QColor(Qt::blue));
}

TEST_F(DelimiterDrawingTest, InspectorRowDrawsItsStripeAndRuleInsideItsBounds)
{
    ItemInspectorRowView row;
    row.setUserDefaults(&defaults);
    row.setUsesAlternateBackground(true);
    QImage image = canvas(QSize(10, 30));
    {
        QPainter painter(&image);
        row.drawSeparatorInRect(painter, QRectF(0, 10, 10, 10));
    }
    EXPECT_EQ(image.pixelColor(3, 9).alpha(), 0);
    EXPECT_EQ(image.pixelColor(3, 10), QColor(Qt::green));
    EXPECT_EQ(image.pixelColor(3, 18), QColor(Qt::green));
    for (int x = 0; x < 10; ++x)
        EXPECT_EQ(image.pixelColor(x, 19), x % 2 == 0 ? QColor(Qt::blue) : QColor(Qt::green)) << x;
    EXPECT_EQ(image.pixelColor(0, 20).alpha(), 0);

    row.setUsesAlternateBackground(false);
    image = canvas(QSize(10, 30));
    {
        QPainter painter(&image);
        row.drawSeparatorInRect(painter, QRectF(0, 10, 10, 10));
    }
    EXPECT_EQ(image.pixelColor(3, 15).alpha(), 0);
    EXPECT_EQ(image.pixelColor(0, 19), QColor(Qt::blue));
    EXPECT_EQ(image.pixelColor(1, 19).alpha(), 0);
}
