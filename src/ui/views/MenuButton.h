#pragma once
// A button that opens a menu of commands ("Add Condition"). A screen
// reader's Press or ShowMenu opens the menu as a click does, and reads the
// open menu's items as the button's children, whose Press runs the command
// and closes the menu as choosing it does.
#include <QToolButton>

class QMenu;

class MenuButton : public QToolButton {
    Q_OBJECT
public:
    // menu holds its commands already; the button takes it over.
    MenuButton(const QString& objectName, const QString& title, QMenu* menu, QWidget* parent = nullptr);
};
