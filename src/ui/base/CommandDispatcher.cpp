#include "ui/base/CommandDispatcher.h"

#include "foundation/Log.h"
#include "ui/base/CommandResponder.h"
#include "ui/base/ViewControllerBase.h"
#include "ui/base/WindowControllerBase.h"

#include <QAction>
#include <QApplication>
#include <QMenu>

CommandDispatcher::CommandDispatcher(CommandResponder* application, QObject* parent)
    : QObject(parent)
    , m_application(application)
{
}

QList<CommandResponder*> CommandDispatcher::responderChainFrom(QWidget* start) const
{
    QList<CommandResponder*> chain;
    for (QWidget* widget = start; widget; widget = widget->parentWidget()) {
        auto* controller = qobject_cast<ViewControllerBase*>(widget);
        if (auto* responder = dynamic_cast<CommandResponder*>(controller); responder && controller->isActive())
            chain.append(responder);
    }
    // A popover or tool window answers through the controller of the window it belongs to.
    for (QWidget* window = start ? start->window() : nullptr; window;
         window = window->parentWidget() ? window->parentWidget()->window() : nullptr)
        if (WindowControllerBase* windowController = WindowControllerBase::controllerOfWindow(window)) {
            chain.append(windowController);
            break;
        }
    if (m_application)
        chain.append(m_application);
    return chain;
}

QList<CommandResponder*> CommandDispatcher::responderChain() const
{
    QWidget* focus = QApplication::focusWidget();
    return responderChainFrom(focus ? focus : QApplication::activeWindow());
}

CommandResponder* CommandDispatcher::responderFor(const QString& command, const QList<CommandResponder*>& chain)
{
    for (CommandResponder* responder : chain)
        if (responder->respondsToCommand(command))
            return responder;
    return nullptr;
}

QAction* CommandDispatcher::addCommand(QMenu& menu, const QString& command, const QString& title, const QKeySequence& shortcut)
{
    QAction* action = menu.addAction(title);
    action->setObjectName(command + QStringLiteral("Action"));
    action->setData(command);
    action->setShortcut(shortcut);
    connect(action, &QAction::triggered, this, [this, action] { performAction(*action); });
    return action;
}

void CommandDispatcher::manageMenu(QMenu& menu)
{
    connect(&menu, &QMenu::aboutToShow, this, [this, &menu] { validateMenu(menu); });
    connect(&menu, &QMenu::aboutToHide, this, [&menu] {
        const QList<QAction*> actions = menu.actions();
        for (QAction* action : actions)
            if (!action->data().toString().isEmpty())
                action->setEnabled(true);
    });
}

void CommandDispatcher::validateMenu(QMenu& menu)
{
    const QList<QAction*> actions = menu.actions();
    for (QAction* action : actions) {
        if (QMenu* submenu = action->menu())
            validateMenu(*submenu);
        else if (!action->data().toString().isEmpty())
            action->setEnabled(validateAction(*action));
    }
}

bool CommandDispatcher::validateAction(QAction& action)
{
    const QString command = action.data().toString();
    CommandResponder* responder = responderFor(command, responderChain());
    return responder && responder->validateCommand(command, action);
}

void CommandDispatcher::performAction(QAction& action)
{
    perform(action.data().toString(), responderChain(), action);
}

bool CommandDispatcher::sendCommand(const QString& command, QWidget* from)
{
    QAction item;
    item.setData(command);
    return perform(command, responderChainFrom(from), item);
}

bool CommandDispatcher::perform(const QString& command, const QList<CommandResponder*>& chain, QAction& item)
{
    CommandResponder* responder = responderFor(command, chain);
    if (!responder || !responder->validateCommand(command, item)) {
        LOG_DEBUG("Command %1 is not allowed now, ignoring it.", command);
        return false;
    }
    responder->performCommand(command);
    return true;
}
