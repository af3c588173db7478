#pragma once
// What a screen reader finds in the inspector's table: the rows' editors.
// The table's own interface offers only its cells, behind which the editors
// set into the rows would stay out of reach; here each row is a child whose
// controls are read and reached by name.
#include <QAccessibleWidget>

class QTableView;

class ItemInspectorTableAccessible : public QAccessibleWidget {
public:
    explicit ItemInspectorTableAccessible(QTableView* table);

    // Makes the interface the one of every ItemInspectorTableView.
    static void install();

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;

private:
    QList<QWidget*> rowWidgets() const;
};
