#pragma once
// What a screen reader reads of a ChoicePopUpButton: its accessible name
// ("Modifier key") as the name and the shown choice ("Control") as the value.
// Qt's own interface for combo boxes on Linux gives the shown choice as the
// name, which leaves the user guessing what is being chosen.
#include <QAccessibleWidget>

class QComboBox;

class ChoicePopUpButtonAccessible : public QAccessibleWidget {
public:
    explicit ChoicePopUpButtonAccessible(QComboBox* button);

    // Makes the interface the one of every ChoicePopUpButton.
    static void install();

    QString text(QAccessible::Text kind) const override;
};
