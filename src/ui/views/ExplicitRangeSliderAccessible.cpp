#include "ui/views/ExplicitRangeSliderAccessible.h"

#include "ui/views/ExplicitRangeSlider.h"

#include <QSlider>

ExplicitRangeSliderAccessible::ExplicitRangeSliderAccessible(QSlider* slider)
    : ValueTextAccessible(slider, QAccessible::Slider)
{
}

void ExplicitRangeSliderAccessible::install()
{
    QAccessible::installFactory([](const QString& className, QObject* object) -> QAccessibleInterface* {
        auto* slider = qobject_cast<QSlider*>(object);
        const bool inRangeSlider = slider && qobject_cast<ExplicitRangeSlider*>(slider->parent());
        return inRangeSlider && className == QLatin1String("QSlider") ? new ExplicitRangeSliderAccessible(slider) : nullptr;
    });
}

QSlider* ExplicitRangeSliderAccessible::slider() const
{
    return static_cast<QSlider*>(widget());
}

QString ExplicitRangeSliderAccessible::valueText() const
{
    return static_cast<const ExplicitRangeSlider*>(slider()->parent())->valueText();
}

void* ExplicitRangeSliderAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::ValueInterface)
        return static_cast<QAccessibleValueInterface*>(this);
    return ValueTextAccessible::interface_cast(type);
}

QVariant ExplicitRangeSliderAccessible::currentValue() const
{
    return slider()->value();
}

void ExplicitRangeSliderAccessible::setCurrentValue(const QVariant& value)
{
    slider()->setValue(value.toInt());
}

QVariant ExplicitRangeSliderAccessible::maximumValue() const
{
    return slider()->maximum();
}

QVariant ExplicitRangeSliderAccessible::minimumValue() const
{
    return slider()->minimum();
}

QVariant ExplicitRangeSliderAccessible::minimumStepSize() const
{
    return slider()->singleStep();
}
