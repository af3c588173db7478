#include "ui/views/WindowAccessible.h"

#include "ui/base/PopoverFrame.h"
#include "ui/views/AccessibleInterfaceFactory.h"
#include "ui/views/TitledWindow.h"

#include <QCoreApplication>

namespace {

void installAtStart()
{
    WindowAccessible::install();
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(installAtStart)

WindowAccessible::WindowAccessible(QWidget* window)
    : QAccessibleWidget(window, QAccessible::Window)
{
}

void WindowAccessible::install()
{
    installAccessibleInterface<WindowAccessible, TitledWindow>();
    installAccessibleInterface<WindowAccessible, PopoverFrame>();
}
