#include "ui/base/CommandDispatcher.h"

#include "foundation/Log.h"
#include "shell/ApplicationCommands.h"
#include "ui/base/CommandNames.h"
#include "ui/base/CommandResponder.h"
#include "ui/base/ViewControllerBase.h"
#include "ui/base/WindowControllerBase.h"

#include <QAction>
#include <QApplication>
#include <QMenu>

namespace {

bool isEveryWindowCommand(const QString& command)
{
    static const QStringList commands { CommandNames::undo,
                                        CommandNames::redo,
                                        CommandNames::terminate,
                                        ApplicationCommands::showPreferencesWindow,
                                        ApplicationCommands::showWelcomeWindow,
                                        ApplicationCommands::showAboutWindow,
                                        ApplicationCommands::contactSupport };
    return commands.contains(command);
}

} // namespace

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

QList<CommandResponder*> CommandDispatcher::responderChainFor(const QString& command, QWidget* start) const
{
    QList<CommandResponder*> chain = responderChainFrom(start);
    QWidget* window = start ? start->window() : nullptr;
    const bool belongsToAnotherWindow = window && window->parentWidget() && !WindowControllerBase::controllerOfWindow(window);
    if (belongsToAnotherWindow && !isEveryWindowCommand(command))
        chain.removeIf([window](CommandResponder* responder) {
            auto* controller = dynamic_cast<ViewControllerBase*>(responder);
            return !controller || controller->window() != window;
        });
    return chain;
}

QWidget* CommandDispatcher::focus()
{
    QWidget* focus = QApplication::focusWidget();
    return focus ? focus : QApplication::activeWindow();
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

void CommandDispatcher::addWindowCommands(QWidget& window)
{
    const struct {
        QString command;
        QKeySequence shortcut;
    } commands[] { { CommandNames::undo, standardShortcut(QKeySequence::Undo, "Ctrl+Z") },
                   { CommandNames::redo, standardShortcut(QKeySequence::Redo, "Ctrl+Shift+Z") },
                   { CommandNames::terminate, standardShortcut(QKeySequence::Quit, "Ctrl+Q") },
                   { ApplicationCommands::showPreferencesWindow, standardShortcut(QKeySequence::Preferences, "Ctrl+,") },
                   { ApplicationCommands::showWelcomeWindow, standardShortcut(QKeySequence::HelpContents, "F1") } };
    for (const auto& [command, shortcut] : commands) {
        auto* action = new QAction(&window);
        action->setObjectName(command + QStringLiteral("Action"));
        action->setData(command);
        action->setShortcut(shortcut);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, [this, action] { performAction(*action); });
        window.addAction(action);
    }
}

QKeySequence CommandDispatcher::standardShortcut(QKeySequence::StandardKey key, const char* fallback)
{
    const QList<QKeySequence> bindings = QKeySequence::keyBindings(key);
    return bindings.isEmpty() ? QKeySequence(QString::fromLatin1(fallback)) : bindings.first();
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
    CommandResponder* responder = responderFor(command, responderChainFor(command, focus()));
    return responder && responder->validateCommand(command, action);
}

void CommandDispatcher::performAction(QAction& action)
{
    const QString command = action.data().toString();
    perform(command, responderChainFor(command, focus()), action);
}

bool CommandDispatcher::sendCommand(const QString& command, QWidget* from)
{
    QAction item;
    item.setData(command);
    return perform(command, responderChainFor(command, from), item);
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
