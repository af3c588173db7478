#include "ui/views/TimeFieldAccessible.h"

#include "ui/views/AccessibleInterfaceFactory.h"
#include "ui/views/TimeField.h"

#include <QTimeEdit>

namespace {

constexpr int kMinutesInDay = 24 * 60;

} // namespace

LW_INSTALL_ACCESSIBLE_AT_START(TimeFieldAccessible)

TimeFieldAccessible::TimeFieldAccessible(QTimeEdit* field)
    : ValueTextAccessible(field, QAccessible::SpinBox)
{
}

void TimeFieldAccessible::install()
{
    installAccessibleInterface<TimeFieldAccessible, TimeField>();
}

int TimeFieldAccessible::minutesOf(const QTime& time)
{
    return time.hour() * 60 + time.minute();
}

QTimeEdit* TimeFieldAccessible::field() const
{
    return static_cast<QTimeEdit*>(widget());
}

QString TimeFieldAccessible::valueText() const
{
    return field()->text();
}

void* TimeFieldAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::ValueInterface)
        return static_cast<QAccessibleValueInterface*>(this);
    return ValueTextAccessible::interface_cast(type);
}

QStringList TimeFieldAccessible::actionNames() const
{
    return QStringList { increaseAction(), decreaseAction() } + ValueTextAccessible::actionNames();
}

void TimeFieldAccessible::doAction(const QString& actionName)
{
    if (!field()->isEnabled() || field()->isReadOnly())
        return;
    if (actionName == increaseAction())
        field()->stepUp();
    else if (actionName == decreaseAction())
        field()->stepDown();
    else
        ValueTextAccessible::doAction(actionName);
}

QVariant TimeFieldAccessible::currentValue() const
{
    return minutesOf(field()->time());
}

void TimeFieldAccessible::setCurrentValue(const QVariant& value)
{
    bool isNumber = false;
    const int minutes = value.toInt(&isNumber);
    if (isNumber && minutes >= 0 && minutes < kMinutesInDay && field()->isEnabled() && !field()->isReadOnly())
        field()->setTime(QTime(minutes / 60, minutes % 60));
}

QVariant TimeFieldAccessible::maximumValue() const
{
    return kMinutesInDay - 1;
}

QVariant TimeFieldAccessible::minimumValue() const
{
    return 0;
}

QVariant TimeFieldAccessible::minimumStepSize() const
{
    return 1;
}
