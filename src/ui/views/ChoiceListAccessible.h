#pragma once
// The list of a pop-up button's choices, shown or not, as a screen reader
// meets it: a list item per choice and a separator per line between them,
// which is no choice. Qt's own interface reads a line as a nameless item.
#include "ui/views/RowListAccessible.h"

#include <QHash>

class ChoiceListAccessible : public RowListAccessible {
public:
    explicit ChoiceListAccessible(QAbstractItemView* list);
    ~ChoiceListAccessible() override;

    // Makes the interface the one of every combo box's list.
    static void install();

    // Named as the pop-up button it belongs to.
    QString text(QAccessible::Text type) const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    void modelChange(QAccessibleTableModelChangeEvent* event) override;

private:
    void forgetRows();

    // The rows' interfaces, made as the bus asks for them; a changed list
    // drops them all, as its rows may now stand for other choices.
    mutable QHash<int, QAccessible::Id> m_rows;
};
