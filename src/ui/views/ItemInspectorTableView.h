#pragma once
// The item inspector's table of startup conditions: its rows draw their own
// backgrounds and delimiters, so the table draws no grid. Tab moves between
// the editors inside the rows, never the selection.
//
// To screen readers it is a list whose items are the rows
// (ItemInspectorTableAccessible): the focus and selection events it sends
// name a row by its number.
#include "ui/views/ActionTableView.h"

#include <QAccessible>

class ItemInspectorTableView : public ActionTableView {
    Q_OBJECT
public:
    explicit ItemInspectorTableView(QWidget* parent = nullptr);

protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    void announceRow(QAccessible::Event type, int row);
};
