#pragma once
// The one way a menu item or shortcut reaches a controller. Menus validate
// their items when they open; a fired item is validated again, so a
// shortcut never runs a command that is not allowed at that moment.
//
// A menu item carries its command name in QAction::data(). After a menu
// closes its items are enabled again, so that their shortcuts keep reaching
// the dispatcher, which decides.
#include <QKeySequence>
#include <QList>
#include <QObject>
#include <QString>

class CommandResponder;
class QAction;
class QMenu;
class QWidget;

class CommandDispatcher : public QObject {
    Q_OBJECT
public:
    // application: the last responder (may be null); it must outlive this object.
    explicit CommandDispatcher(CommandResponder* application = nullptr, QObject* parent = nullptr);

    // The responders for a focus at start: the active view controllers that
    // hold it (innermost first), its window's controller (or that of the
    // window a popover or tool window belongs to), the application's.
    QList<CommandResponder*> responderChainFrom(QWidget* start) const;
    // From the focus widget of the active window.
    QList<CommandResponder*> responderChain() const;

    // A new menu item for command, handled by this dispatcher.
    QAction* addCommand(QMenu& menu, const QString& command, const QString& title, const QKeySequence& shortcut = {});
    // Validates the menu's items whenever it opens, and enables them again
    // when it closes.
    void manageMenu(QMenu& menu);
    // Enables (and may retitle) each item of the menu by its command.
    void validateMenu(QMenu& menu);
    bool validateAction(QAction& action);
    // Validates action's command again and performs it when allowed.
    void performAction(QAction& action);
    // A command sent by a control rather than a menu: the first responder
    // from `from` on that answers it performs it, when it allows it now.
    bool sendCommand(const QString& command, QWidget* from);

private:
    static CommandResponder* responderFor(const QString& command, const QList<CommandResponder*>& chain);
    // Validates the command with the first responder of chain that answers
    // it, and performs it when allowed.
    static bool perform(const QString& command, const QList<CommandResponder*>& chain, QAction& item);

    CommandResponder* m_application;
};
