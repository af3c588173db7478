#pragma once
// One row of a pop-up button's list of choices: a list item named by the
// choice's title, or a separator where the list draws a line.
#include <QAccessibleInterface>
#include <QPersistentModelIndex>
#include <QPointer>

class QAbstractItemView;

class ChoiceAccessible : public QAccessibleInterface, public QAccessibleTableCellInterface {
public:
    ChoiceAccessible(QAbstractItemView* list, int row);

    QAbstractItemView* list() const { return m_list; }

    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text type) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    bool isSelected() const override;
    QList<QAccessibleInterface*> columnHeaderCells() const override { return {}; }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return 0; }
    int rowIndex() const override { return m_row; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return parent(); }

private:
    QModelIndex index() const;
    bool isSeparator() const;

    QPointer<QAbstractItemView> m_list;
    int m_row;
};
