#include "ui/views/ResizingTableView.h"

#include <QHeaderView>

ResizingTableView::ResizingTableView(QWidget* parent)
    : QTableView(parent)
{
}

void ResizingTableView::resizeEvent(QResizeEvent* event)
{
    QTableView::resizeEvent(event);
    if (horizontalHeader()->count() == 1)
        setColumnWidth(0, viewport()->width());
}
