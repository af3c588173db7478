#pragma once
// Lists of titles with separator lines among them: an entry whose title is
// exactly MHSeparatorBindingMenuSeparatorName becomes a separator; any other
// title, one that differs only in case included, is an ordinary item.
#include <QString>
#include <QVariant>

class QComboBox;

class SeparatorBindingMenu {
public:
    static const QString MHSeparatorBindingMenuSeparatorName;

    static bool isSeparatorTitle(const QString& title) { return title == MHSeparatorBindingMenuSeparatorName; }
    // Inserts the entry at index into the pop-up list: a separator, or an
    // item with the title and the value.
    static void insertItemWithTitle(QComboBox& menu, const QString& title, const QVariant& value, int index);
};
