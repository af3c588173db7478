#include "ui/views/TitledWindow.h"

#include "ui/views/WindowAccessible.h"

TitledWindow::TitledWindow(QWidget* parent, Qt::WindowFlags flags)
    : QWidget(parent, flags)
{
    // Also links the interface, which installs itself with the application.
    WindowAccessible::install();
}
