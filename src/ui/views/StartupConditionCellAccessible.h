#pragma once
// A row of the inspector's conditions table as a screen reader meets it: a
// list item named after its condition, checked when the shown item uses the
// condition, selected with its row, focused while it is the table's current
// row and the table has the keyboard. Its children are the row's controls.
#include <QAccessibleWidget>

class QTableView;
class StartupConditionCellView;

class StartupConditionCellAccessible : public QAccessibleWidget, public QAccessibleTableCellInterface {
public:
    explicit StartupConditionCellAccessible(StartupConditionCellView* cell);

    // Makes the interface the one of every StartupConditionCellView.
    static void install();

    void* interface_cast(QAccessible::InterfaceType type) override;
    QAccessibleInterface* parent() const override;
    QString text(QAccessible::Text type) const override;
    QAccessible::State state() const override;

    bool isSelected() const override;
    QList<QAccessibleInterface*> columnHeaderCells() const override { return {}; }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return 0; }
    int rowIndex() const override;
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override;

private:
    StartupConditionCellView* cell() const;
    // The table the cell is set into (through its viewport); null while it is not.
    QTableView* tableView() const;
};
