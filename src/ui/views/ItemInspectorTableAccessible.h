#pragma once
// What a screen reader finds in the inspector's table: a list with one item
// per row (StartupConditionCellAccessible). The table's stock interface
// offers only its cells, behind which the editors set into the rows would
// stay out of reach.
#include "ui/views/RowListAccessible.h"

class QTableView;

class ItemInspectorTableAccessible : public RowListAccessible {
public:
    explicit ItemInspectorTableAccessible(QTableView* table);

    // Makes the interface the one of every ItemInspectorTableView.
    static void install();

    QAccessible::State state() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
};
