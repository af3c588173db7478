// Only the exact separator title turns an entry into a separator line.
#include "ui/views/SeparatorBindingMenu.h"

#include <QComboBox>
#include <gtest/gtest.h>

TEST(SeparatorBindingMenu, OnlyTheExactTitleBecomesASeparator)
{
    const QString separator = SeparatorBindingMenu::MHSeparatorBindingMenuSeparatorName;
    EXPECT_EQ(separator, "--==45B18818-2C16-4E86-BE5D-A56248D1B05B-MHSeparatorBindingMenuSeparatorName-1ED581AE-9427-4F6A-BBB9-6023B98EC93E==--");
    QComboBox menu;
    SeparatorBindingMenu::insertItemWithTitle(menu, QStringLiteral("Office"), 1, 0);
    SeparatorBindingMenu::insertItemWithTitle(menu, separator, 2, 1);
    SeparatorBindingMenu::insertItemWithTitle(menu, separator.toLower(), 3, 2);
    SeparatorBindingMenu::insertItemWithTitle(menu, QStringLiteral("Home"), 4, 1);

    ASSERT_EQ(menu.count(), 4);
    EXPECT_EQ(menu.itemText(0), "Office");
    EXPECT_EQ(menu.itemText(1), "Home");
    EXPECT_EQ(menu.itemData(2, Qt::AccessibleDescriptionRole), "separator");
    EXPECT_FALSE(menu.itemData(2).isValid());
    EXPECT_EQ(menu.itemText(3), separator.toLower());
    EXPECT_EQ(menu.itemData(3), 3);
    EXPECT_NE(menu.itemData(3, Qt::AccessibleDescriptionRole), "separator");
}
