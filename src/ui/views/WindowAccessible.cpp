#include "ui/views/WindowAccessible.h"

#include "ui/base/PopoverFrame.h"
#include "ui/views/AccessibleInterfaceFactory.h"
#include "ui/views/TitledWindow.h"

LW_INSTALL_ACCESSIBLE_AT_START(WindowAccessible)

WindowAccessible::WindowAccessible(QWidget* window)
    : QAccessibleWidget(window, QAccessible::Window)
{
}

void WindowAccessible::install()
{
    installAccessibleInterface<WindowAccessible, TitledWindow>();
    installAccessibleInterface<WindowAccessible, PopoverFrame>();
}
