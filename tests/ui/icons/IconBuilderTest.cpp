// A symbol is drawn in the colour, alpha and style its builder describes, at
// the device pixel ratio asked for, and an empty image stands in when the
// font is missing.
#include "ui/icons/IconBuilder.h"
#include "ui/icons/IconFont.h"
#include "ui/icons/IconFontFactory.h"

#include "GlyphInk.h"

#include <QTemporaryFile>
#include <gtest/gtest.h>

namespace {

constexpr char16_t kEye = 0xF06E;
// A filled square: its middle is ink when filled and empty when hollow.
constexpr char16_t kSquare = 0xF0C8;

class IconBuilderTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(IconFont::shared().isAvailable()) << "fonts-font-awesome is not installed"; }
};

} // namespace

TEST_F(IconBuilderTest, WithoutSettersDrawsAnOpaqueBlackGlyph)
{
    const QPixmap image = IconBuilder(kEye).image(1.0);
    EXPECT_EQ(image.size(), QSize(32, 32));
    const GlyphInk ink = glyphInk(image);
    EXPECT_GT(ink.inkedPixels, 50);
    EXPECT_EQ(ink.maxAlpha, 255);
    EXPECT_EQ(ink.strongestColor.rgb(), QColor(Qt::black).rgb());
}

TEST_F(IconBuilderTest, StyleOneDrawsWhiteOverAnyColourButKeepsTheAlpha)
{
    IconBuilder builder(kEye);
    builder.colored(Qt::red).styled(1);
    GlyphInk ink = glyphInk(builder.image(1.0));
    EXPECT_EQ(ink.maxAlpha, 255);
    EXPECT_EQ(ink.strongestColor.rgb(), QColor(Qt::white).rgb());

    ink = glyphInk(builder.alpha(0.5).image(1.0));
    EXPECT_NEAR(ink.maxAlpha, 128, 1);
    EXPECT_GE(ink.strongestColor.lightness(), 250);

    // Rendering does not change the description: back to style 0 is red again.
    ink = glyphInk(builder.styled(0).alpha(1).image(1.0));
    EXPECT_EQ(ink.strongestColor.rgb(), QColor(Qt::red).rgb());
}

// Rows draw their symbols at every paint: a symbol is drawn once and given
// again, and never in place of one of another colour, outline or size.
TEST_F(IconBuilderTest, ASymbolDrawnAgainIsTheSameImageAndOthersStayApart)
{
    const QPixmap red = IconBuilder(kSquare).colored(Qt::red).image(1.0);
    EXPECT_EQ(IconBuilder(kSquare).colored(Qt::red).image(1.0).cacheKey(), red.cacheKey());

    EXPECT_EQ(glyphInk(IconBuilder(kSquare).colored(Qt::blue).image(1.0)).strongestColor.rgb(), QColor(Qt::blue).rgb());
    EXPECT_NE(IconBuilder(kSquare).colored(Qt::red).hollow().image(1.0).cacheKey(), red.cacheKey());
    EXPECT_EQ(IconBuilder(kSquare).colored(Qt::red).image(2.0).size(), QSize(64, 64));
    EXPECT_NE(IconBuilder(kEye).colored(Qt::red).image(1.0).toImage(), red.toImage());
}

TEST_F(IconBuilderTest, AlphaZeroIsFullyTransparentAndFadedIsOneFifth)
{
    EXPECT_EQ(glyphInk(IconBuilder(kEye).alpha(0).image(1.0)).inkedPixels, 0);
    EXPECT_NEAR(glyphInk(IconBuilder(kEye).faded().image(1.0)).maxAlpha, 51, 1);
    // The alpha replaces the colour's own alpha rather than multiplying it.
    EXPECT_EQ(glyphInk(IconBuilder(kEye).colored(QColor(0, 0, 255, 50)).alpha(1).image(1.0)).maxAlpha, 255);
}

TEST_F(IconBuilderTest, HollowDrawsTheOutlineOnly)
{
    const QImage filled = IconBuilder(kSquare).image(1.0).toImage();
    const QImage hollow = IconBuilder(kSquare).hollow().image(1.0).toImage();
    EXPECT_EQ(qAlpha(filled.pixel(16, 16)), 255);
    EXPECT_EQ(qAlpha(hollow.pixel(16, 16)), 0);
    EXPECT_GT(glyphInk(QPixmap::fromImage(hollow)).inkedPixels, 20);
}

TEST_F(IconBuilderTest, DrawsAtTheDevicePixelRatioAndThePresetSizes)
{
    const QPixmap sharp = IconBuilder(kEye).image(2.0);
    EXPECT_EQ(sharp.size(), QSize(64, 64));
    EXPECT_EQ(sharp.deviceIndependentSize(), QSizeF(32, 32));
    EXPECT_EQ(sharp.devicePixelRatio(), 2.0);
    // Drawn at the finer resolution, not at 1x into one corner.
    EXPECT_GT(glyphInk(sharp).inkedPixels, 3 * glyphInk(IconBuilder(kEye).image(1.0)).inkedPixels);

    EXPECT_EQ(IconBuilder(kEye).bevelButton().image(1.0).size(), QSize(16, 16));
    EXPECT_EQ(IconBuilder(kEye).pushButton().image(1.0).size(), QSize(14, 14));
    EXPECT_EQ(IconBuilder(kEye).toolbarIcon().image(2.0).deviceIndependentSize(), QSizeF(24, 24));
}

TEST(IconFontFactory, WithoutTheFontDrawsAnEmptyImageOfTheRightSize)
{
    QTemporaryFile notAFont;
    ASSERT_TRUE(notAFont.open());
    notAFont.write("not a font");
    notAFont.close();

    const IconFont missing({ QStringLiteral("/nonexistent/fontawesome-webfont.ttf"), notAFont.fileName() });
    EXPECT_FALSE(missing.isAvailable());
    EXPECT_FALSE(missing.hasGlyph(kEye));

    const QPixmap image = IconFontFactory(missing).createImage(kEye, 2.0);
    EXPECT_EQ(image.deviceIndependentSize(), QSizeF(32, 32));
    EXPECT_EQ(glyphInk(image).inkedPixels, 0);
}

TEST(IconFontFactory, ACodePointTheFontLacksDrawsNothing)
{
    ASSERT_TRUE(IconFont::shared().isAvailable());
    // A letter: another font would have it, the icon font does not.
    EXPECT_EQ(glyphInk(IconFontFactory().createImage(u'x', 1.0)).inkedPixels, 0);
}
