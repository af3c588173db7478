#pragma once
// What a screen reader reads of a MenuButton: a button with a pop-up, whose
// actions open its menu once the action has answered (the menu runs a loop
// of its own, inside which the reader would wait in vain for the answer),
// and whose open menu is its child. Qt's own interface offers a ShowMenu
// that opens nothing for a button whose menu pops up at once.
#include <QAccessibleWidget>

class QToolButton;

class MenuButtonAccessible : public QAccessibleWidget {
public:
    explicit MenuButtonAccessible(QToolButton* button);

    // Makes the interface the one of every MenuButton.
    static void install();

    QAccessible::State state() const override;

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;

    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;

private:
    QToolButton* button() const;
    bool isMenuOpen() const;
};
