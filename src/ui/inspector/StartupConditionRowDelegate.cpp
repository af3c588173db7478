#include "ui/inspector/StartupConditionRowDelegate.h"

#include "ui/views/ItemInspectorRowView.h"

#include <QApplication>
#include <QStyle>

void StartupConditionRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem background = option;
    initStyleOption(&background, index);
    background.text.clear();
    background.features &= ~(QStyleOptionViewItem::HasDisplay | QStyleOptionViewItem::Alternate);
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    ItemInspectorRowView row;
    row.setUsesAlternateBackground(index.row() % 2 == 1);
    row.drawSeparatorInRect(*painter, option.rect);
    style->drawControl(QStyle::CE_ItemViewItem, &background, painter, widget);
}
