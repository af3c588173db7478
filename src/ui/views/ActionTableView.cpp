#include "ui/views/ActionTableView.h"

#include "foundation/Log.h"

#include <QMouseEvent>

ActionTableView::ActionTableView(QWidget* parent)
    : ResizingTableView(parent)
{
}

QWidget* ActionTableView::viewUnderPoint(const QPoint& point, QWidget* view)
{
    return view ? view->childAt(point) : nullptr;
}

void ActionTableView::mousePressEvent(QMouseEvent* event)
{
    ResizingTableView::mousePressEvent(event);
    reportMouseDown(*event, false);
}

void ActionTableView::mouseDoubleClickEvent(QMouseEvent* event)
{
    ResizingTableView::mouseDoubleClickEvent(event);
    reportMouseDown(*event, true);
}

void ActionTableView::reportMouseDown(QMouseEvent& event, bool isDoubleClick)
{
    const QPoint point = event.position().toPoint();
    // The widget under the pointer takes the focus, as a click on it would.
    if (QWidget* hit = viewport()->childAt(point); hit && (hit->focusPolicy() & Qt::ClickFocus))
        hit->setFocus(Qt::MouseFocusReason);
    if (!m_actionDelegate || !(isDoubleClick || m_informDelegateOnSingleMouseDown))
        return;
    const int row = rowAt(point.y());
    if (row < 0)
        return;
    LOG_VIEW_DEBUG("Mouse down in table view %1 row %2...", objectName(), row);
    QWidget* cell = model() ? indexWidget(model()->index(row, 0)) : nullptr;
    QWidget* subview = cell ? viewUnderPoint(cell->mapFrom(viewport(), point), cell) : nullptr;
    m_actionDelegate->tableViewMouseDown(*this, event, cell, subview, row);
}
