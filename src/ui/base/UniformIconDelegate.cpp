#include "ui/base/UniformIconDelegate.h"

#include <QAbstractItemView>

void UniformIconDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    if (const auto* view = qobject_cast<const QAbstractItemView*>(parent()))
        option->decorationSize = view->iconSize();
}
