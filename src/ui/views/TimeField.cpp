#include "ui/views/TimeField.h"
#include "ui/views/FocusedWheelFilter.h"
#include "ui/views/TimeFieldAccessible.h"

TimeField::TimeField(const QString& objectName, const QString& accessibleName, QWidget* parent)
    : QTimeEdit(parent)
{
    setObjectName(objectName);
    setAccessibleName(accessibleName);
    setDisplayFormat(QStringLiteral("HH:mm"));
    FocusedWheelFilter::guard(this);
    // Also links the interface, which installs itself with the application.
    TimeFieldAccessible::install();
    connect(this, &QTimeEdit::timeChanged, this, [this] {
        QAccessibleValueChangeEvent change(this, TimeFieldAccessible::minutesOf(time()));
        QAccessible::updateAccessibility(&change);
    });
}
