#pragma once
// What a screen reader reads of a ValueButton: its accessible name, the
// shown text as its value, and the press action.
#include "ui/views/ValueTextAccessible.h"

class QAbstractButton;

class ValueButtonAccessible : public ValueTextAccessible {
public:
    explicit ValueButtonAccessible(QAbstractButton* button);

    // Makes the interface the one of every ValueButton.
    static void install();

    QString valueText() const override;
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
};
