#pragma once
// A table that tells its delegate where inside a row's cell widget a double
// click landed (or any click, with informDelegateOnSingleMouseDown): the
// row, the cell widget of its first column and the innermost widget of that
// cell under the pointer. The table's own handling of the click (selection,
// dragging) runs first; clicks that a widget of the cell takes for itself
// never reach the table.
#include "ui/views/ResizingTableView.h"

class ActionTableView;
class QMouseEvent;

class ActionTableViewDelegate {
public:
    virtual ~ActionTableViewDelegate() = default;
    // cell: the row's widget in column 0, null when it has none; subview:
    // the innermost widget of the cell that holds the point, null when none.
    virtual void tableViewMouseDown(ActionTableView& table, QMouseEvent& event, QWidget* cell, QWidget* subview, int row) = 0;
};

class ActionTableView : public ResizingTableView {
    Q_OBJECT
public:
    explicit ActionTableView(QWidget* parent = nullptr);

    bool informDelegateOnSingleMouseDown() const { return m_informDelegateOnSingleMouseDown; }
    void setInformDelegateOnSingleMouseDown(bool inform) { m_informDelegateOnSingleMouseDown = inform; }
    // Not owned; null for none.
    void setActionDelegate(ActionTableViewDelegate* delegate) { m_actionDelegate = delegate; }

    // The innermost visible widget inside view that holds point (in view's
    // coordinates); null when no widget inside view does.
    static QWidget* viewUnderPoint(const QPoint& point, QWidget* view);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void reportMouseDown(QMouseEvent& event, bool isDoubleClick);

    bool m_informDelegateOnSingleMouseDown = false;
    ActionTableViewDelegate* m_actionDelegate = nullptr;
};
