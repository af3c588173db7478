#include "ui/views/ValueButtonAccessible.h"

#include "ui/views/AccessibleInterfaceFactory.h"
#include "ui/views/ValueButton.h"

LW_INSTALL_ACCESSIBLE_AT_START(ValueButtonAccessible)

ValueButtonAccessible::ValueButtonAccessible(QAbstractButton* button)
    : ValueTextAccessible(button, QAccessible::Button)
{
}

void ValueButtonAccessible::install()
{
    installAccessibleInterface<ValueButtonAccessible, ValueButton>();
}

QString ValueButtonAccessible::valueText() const
{
    return static_cast<const QAbstractButton*>(widget())->text();
}

QStringList ValueButtonAccessible::actionNames() const
{
    return QStringList { pressAction() } + ValueTextAccessible::actionNames();
}

void ValueButtonAccessible::doAction(const QString& actionName)
{
    if (actionName == pressAction())
        static_cast<QAbstractButton*>(widget())->click();
    else
        ValueTextAccessible::doAction(actionName);
}
