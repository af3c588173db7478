#include "ui/views/ItemInspectorTableView.h"

ItemInspectorTableView::ItemInspectorTableView(QWidget* parent)
    : ActionTableView(parent)
{
    setShowGrid(false);
}
