// Each symbol of the lists has its glyph and colour; the disabled one takes
// its colour from the settings until another is set.
#include "ui/icons/IconFont.h"
#include "ui/icons/IconsManager.h"

#include "foundation/UserDefaults.h"

#include "GlyphInk.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class IconsManagerTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(IconFont::shared().isAvailable()) << "fonts-font-awesome is not installed";
        ASSERT_TRUE(m_folder.isValid());
        manager.setUserDefaults(&defaults);
    }

    QTemporaryDir m_folder;
    UserDefaults defaults{ m_folder.filePath(QStringLiteral("Lanternwick.conf")) };
    IconsManager manager;
};

} // namespace

TEST_F(IconsManagerTest, EveryListSymbolHasAGlyphInItsColour)
{
    GlyphInk ink = glyphInk(manager.itemShownIcon().image(1.0));
    EXPECT_EQ(ink.maxAlpha, 255);
    EXPECT_EQ(ink.strongestColor.red(), 102);

    ink = glyphInk(manager.itemHiddenIcon().image(1.0));
    EXPECT_NEAR(ink.maxAlpha, 153, 1);
    EXPECT_NEAR(ink.strongestColor.red(), 102, 1);

    for (const IconBuilder& builder :
         { manager.delayItemIcon(), manager.waitPreviousItemIcon(), manager.conditionalPreviousItemIcon() }) {
        ink = glyphInk(builder.image(1.0));
        EXPECT_GT(ink.inkedPixels, 20);
        EXPECT_EQ(ink.strongestColor.rgb(), QColor(Qt::black).rgb());
    }
}

TEST_F(IconsManagerTest, SelectedRowsGetWhiteSymbols)
{
    const GlyphInk ink = glyphInk(manager.itemHiddenIcon().styled(1).image(1.0));
    EXPECT_EQ(ink.maxAlpha, 255);
    EXPECT_EQ(ink.strongestColor.rgb(), QColor(Qt::white).rgb());
}

TEST_F(IconsManagerTest, DisabledColourComesFromTheSettingsUntilReplaced)
{
    defaults.setString(QStringLiteral("Layout.LoginItemView.DisabledActionIconColor"), QStringLiteral("r1 g0 b0 a1"));
    EXPECT_EQ(glyphInk(manager.itemDisabledIcon().image(1.0)).strongestColor.rgb(), QColor(Qt::red).rgb());

    manager.setDisabledIconColor(Qt::blue);
    EXPECT_EQ(glyphInk(manager.itemDisabledIcon().image(1.0)).strongestColor.rgb(), QColor(Qt::blue).rgb());
}
