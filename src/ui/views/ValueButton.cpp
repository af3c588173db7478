#include "ui/views/ValueButton.h"

#include "ui/views/ValueButtonAccessible.h"

ValueButton::ValueButton(QWidget* parent)
    : QToolButton(parent)
{
    // Also links the interface, which installs itself with the application.
    ValueButtonAccessible::install();
    setToolButtonStyle(Qt::ToolButtonTextOnly);
    setAutoRaise(true);
}
