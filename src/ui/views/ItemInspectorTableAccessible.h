#pragma once
// What a screen reader finds in the inspector's table: a list with one item
// per row (StartupConditionCellAccessible), whose selection it reads and
// sets through the table interface. The table's stock interface offers only
// its cells, behind which the editors set into the rows would stay out of
// reach.
#include <QAccessibleWidget>

class QTableView;

class ItemInspectorTableAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit ItemInspectorTableAccessible(QTableView* table);

    // Makes the interface the one of every ItemInspectorTableView.
    static void install();

    void* interface_cast(QAccessible::InterfaceType type) override;
    QAccessible::State state() const override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* focusChild() const override;

    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override;
    int selectedCellCount() const override { return selectedRowCount(); }
    QList<QAccessibleInterface*> selectedCells() const override;
    QString columnDescription(int) const override { return {}; }
    QString rowDescription(int) const override { return {}; }
    int columnCount() const override { return 1; }
    int rowCount() const override { return childCount(); }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return static_cast<int>(selectedRows().size()); }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override;
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int row) const override;
    bool selectRow(int row) override;
    bool selectColumn(int) override { return false; }
    bool unselectRow(int row) override;
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent*) override {}

private:
    QTableView* table() const;
    bool changeRowSelection(int row, bool selected);
};
