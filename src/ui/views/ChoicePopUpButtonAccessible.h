#pragma once
// What a screen reader reads of a ChoicePopUpButton, as of Qt's own combo
// box: named by its label ("Modifier key"), the shown choice ("Control") as
// its value and text, its list of choices as its child, actions to open the
// list and to choose the next or previous choice, and the chosen index as a
// value a reader can set. Qt's own interface on Linux gives the shown choice
// as the name, which leaves the user guessing what is being chosen.
#include "ui/views/ValueTextAccessible.h"

class QComboBox;

class ChoicePopUpButtonAccessible : public ValueTextAccessible, public QAccessibleValueInterface {
public:
    explicit ChoicePopUpButtonAccessible(QComboBox* button);

    // Makes the interface the one of every ChoicePopUpButton.
    static void install();

    QString valueText() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;

    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;

    QVariant currentValue() const override;
    void setCurrentValue(const QVariant& value) override;
    QVariant maximumValue() const override;
    QVariant minimumValue() const override;
    QVariant minimumStepSize() const override;

private:
    QComboBox* button() const;
    // Makes the next enabled choice in direction (+1 or -1) current.
    void chooseNext(int direction);
    bool isChoosable(int index) const;
};
