#include "ui/views/ItemInspectorTableView.h"

#include "ui/views/ItemInspectorTableAccessible.h"

ItemInspectorTableView::ItemInspectorTableView(QWidget* parent)
    : ActionTableView(parent)
{
    setShowGrid(false);
    // Tab walks the editors inside the rows instead of moving the selection;
    // the arrow keys move it.
    setTabKeyNavigation(false);
    // Also links the interface, which installs itself with the application.
    ItemInspectorTableAccessible::install();
}
