#include "ui/views/ToolBar.h"

#include "ui/views/PageTabAccessible.h"
#include "ui/views/ShownChildrenAccessible.h"

ToolBar::ToolBar(QWidget* parent)
    : QToolBar(parent)
{
    // Also links the interfaces, which install themselves with the application.
    ShownChildrenAccessible::install();
    PageTabAccessible::install();
}
