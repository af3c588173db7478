#pragma once
// Paints what lies under a condition row's editor: the alternate stripe of
// odd rows, the rule along the row's bottom and the selection. The editor
// shows the name, so the model's text, which is there for screen readers, is
// not painted.
#include <QStyledItemDelegate>

class StartupConditionRowDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};
