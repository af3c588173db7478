#include "ui/views/MenuButton.h"
#include "ui/views/MenuButtonAccessible.h"

#include <QAction>
#include <QMenu>

MenuButton::MenuButton(const QString& objectName, const QString& title, QMenu* menu, QWidget* parent)
    : QToolButton(parent)
{
    setObjectName(objectName);
    setText(title);
    setAccessibleName(title);
    // Also links the interface, which installs itself with the application.
    MenuButtonAccessible::install();
    // The menu's interface finds the button as its parent.
    menu->setParent(this, menu->windowFlags());
    setMenu(menu);
    setPopupMode(QToolButton::InstantPopup);
    // A command run from outside the open menu (a screen reader's Press on
    // an item) leaves the menu open, unlike a choice made in it.
    const QList<QAction*> commands = menu->actions();
    for (QAction* command : commands)
        connect(command, &QAction::triggered, menu, &QMenu::close);
}
