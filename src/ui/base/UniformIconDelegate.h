#pragma once
// Plain rows whose text starts in one column: every icon takes the view's
// icon size, also when the theme only has a smaller picture of it.
#include <QStyledItemDelegate>

class UniformIconDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
};
