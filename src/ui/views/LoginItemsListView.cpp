#include "ui/views/LoginItemsListView.h"

#include <QScopedValueRollback>

LoginItemsListView::LoginItemsListView(QWidget* parent)
    : QListView(parent)
{
    setDragDropMode(QAbstractItemView::DragDrop);
    setDragDropOverwriteMode(false);
    setDropIndicatorShown(true);
    setDefaultDropAction(Qt::MoveAction);
    // Rows are as wide as the list and elide what does not fit: the
    // buttons at their right edge are never behind a horizontal scroll.
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setResizeMode(QListView::Adjust);
}

void LoginItemsListView::dragMoveEvent(QDragMoveEvent* event)
{
    const QScopedValueRollback judging(m_judgingDragMove, true);
    QListView::dragMoveEvent(event);
}

void LoginItemsListView::dropEvent(QDropEvent* event)
{
    QAbstractItemView::dropEvent(event);
}

QModelIndexList LoginItemsListView::selectedIndexes() const
{
    return m_judgingDragMove ? QModelIndexList() : QListView::selectedIndexes();
}
