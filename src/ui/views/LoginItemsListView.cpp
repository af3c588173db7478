#include "ui/views/LoginItemsListView.h"

LoginItemsListView::LoginItemsListView(QWidget* parent)
    : QListView(parent)
{
    setDragDropMode(QAbstractItemView::DragDrop);
    setDragDropOverwriteMode(false);
    setDropIndicatorShown(true);
    setDefaultDropAction(Qt::MoveAction);
}

void LoginItemsListView::dropEvent(QDropEvent* event)
{
    QAbstractItemView::dropEvent(event);
}
