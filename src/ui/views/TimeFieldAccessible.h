#pragma once
// What a screen reader reads of a TimeField: a spin button named by what it
// sets, its time ("08:30") as its value's text, the minutes since midnight
// as its value (0 to 1439), which a reader sets, and Increase and Decrease
// stepping the hours or minutes as the arrows do. Qt's own interface reads
// a time field as 0 and steps nothing.
#include "ui/views/ValueTextAccessible.h"

class QTime;
class QTimeEdit;

class TimeFieldAccessible : public ValueTextAccessible, public QAccessibleValueInterface {
public:
    explicit TimeFieldAccessible(QTimeEdit* field);

    // Makes the interface the one of every TimeField.
    static void install();
    static int minutesOf(const QTime& time);

    QString valueText() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;

    QVariant currentValue() const override;
    void setCurrentValue(const QVariant& value) override;
    QVariant maximumValue() const override;
    QVariant minimumValue() const override;
    QVariant minimumStepSize() const override;

private:
    QTimeEdit* field() const;
};
