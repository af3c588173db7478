#pragma once
// What a screen reader reads of the slider of an ExplicitRangeSlider: the
// time it shows ("10 seconds") as its value text, not the index of its stop.
// Moving it stays what Qt's own slider offers: a value between the first
// and the last stop.
#include "ui/views/ValueTextAccessible.h"

class QSlider;

class ExplicitRangeSliderAccessible : public ValueTextAccessible, public QAccessibleValueInterface {
public:
    explicit ExplicitRangeSliderAccessible(QSlider* slider);

    // Makes the interface the one of the slider of every ExplicitRangeSlider
    // made from now on. Installed by the first one, once the application
    // exists: the slider is a plain QSlider, for which the application's own
    // factory answers unless a later one answers first.
    static void install();

    QString valueText() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    QVariant currentValue() const override;
    void setCurrentValue(const QVariant& value) override;
    QVariant maximumValue() const override;
    QVariant minimumValue() const override;
    QVariant minimumStepSize() const override;

private:
    QSlider* slider() const;
};
