#include "ui/views/ToolBar.h"

#include "ui/views/ShownChildrenAccessible.h"

ToolBar::ToolBar(QWidget* parent)
    : QToolBar(parent)
{
    // Also links the interface, which installs itself with the application.
    ShownChildrenAccessible::install();
}
