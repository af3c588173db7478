#pragma once
// A one-column item view as a screen reader meets it: a list whose rows are
// its children, whose selection it reads and sets through the table
// interface (the bus's selection of lists goes through it). Subclasses say
// what stands for a row.
#include <QAccessibleWidget>

class QAbstractItemView;

class RowListAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit RowListAccessible(QAbstractItemView* view);

    void* interface_cast(QAccessible::InterfaceType type) override;
    int childCount() const override;
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

protected:
    QAbstractItemView* view() const;

private:
    bool changeRowSelection(int row, bool selected);
};
