#include "ui/views/MenuButtonAccessible.h"

#include "ui/views/AccessibleInterfaceFactory.h"
#include "ui/views/MenuButton.h"

#include <QMenu>
#include <QTimer>

LW_INSTALL_ACCESSIBLE_AT_START(MenuButtonAccessible)

MenuButtonAccessible::MenuButtonAccessible(QToolButton* button)
    : QAccessibleWidget(button, QAccessible::ButtonMenu)
{
}

void MenuButtonAccessible::install()
{
    installAccessibleInterface<MenuButtonAccessible, MenuButton>();
}

QToolButton* MenuButtonAccessible::button() const
{
    return static_cast<QToolButton*>(widget());
}

bool MenuButtonAccessible::isMenuOpen() const
{
    return button()->menu() && button()->menu()->isVisible();
}

QAccessible::State MenuButtonAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.hasPopup = true;
    state.expandable = true;
    state.expanded = isMenuOpen();
    return state;
}

// The menu is on the bus while it is open, as it is on the screen.

int MenuButtonAccessible::childCount() const
{
    return isMenuOpen() ? 1 : 0;
}

QAccessibleInterface* MenuButtonAccessible::child(int index) const
{
    return index == 0 && isMenuOpen() ? QAccessible::queryAccessibleInterface(button()->menu()) : nullptr;
}

int MenuButtonAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    return child && isMenuOpen() && child->object() == button()->menu() ? 0 : -1;
}

QStringList MenuButtonAccessible::actionNames() const
{
    return QStringList { pressAction(), showMenuAction() } + QAccessibleWidget::actionNames();
}

void MenuButtonAccessible::doAction(const QString& actionName)
{
    if (actionName != pressAction() && actionName != showMenuAction()) {
        QAccessibleWidget::doAction(actionName);
        return;
    }
    if (!button()->isEnabled())
        return;
    QToolButton* shown = button();
    QTimer::singleShot(0, shown, [shown] {
        if (shown->isEnabled() && !shown->menu()->isVisible())
            shown->showMenu();
    });
}
