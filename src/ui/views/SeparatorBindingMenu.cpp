#include "ui/views/SeparatorBindingMenu.h"

#include <QComboBox>

const QString SeparatorBindingMenu::MHSeparatorBindingMenuSeparatorName = QStringLiteral(
    "--==45B18818-2C16-4E86-BE5D-A56248D1B05B-MHSeparatorBindingMenuSeparatorName-1ED581AE-9427-4F6A-BBB9-6023B98EC93E==--");

void SeparatorBindingMenu::insertItemWithTitle(QComboBox& menu, const QString& title, const QVariant& value, int index)
{
    if (isSeparatorTitle(title))
        menu.insertSeparator(index);
    else
        menu.insertItem(index, title, value);
}
