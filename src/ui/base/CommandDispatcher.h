#pragma once
// The one way a menu item or shortcut reaches a controller. Menus validate
// their items when they open; a fired item is validated again, so a
// shortcut never runs a command that is not allowed at that moment.
//
// A menu item carries its command name in QAction::data(). After a menu
// closes its items are enabled again, so that their shortcuts keep reaching
// the dispatcher, which decides.
//
// A key typed in a popover or tool window acts there alone: the window it
// belongs to passes its shortcuts through, but past the controllers inside
// it only the commands every window has (undo, redo, quit, preferences,
// help) go on.
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

    // A new menu item for command, handled by this dispatcher.
    QAction* addCommand(QMenu& menu, const QString& command, const QString& title, const QKeySequence& shortcut = {});
    // Gives a window without menus the shortcuts of the commands every window has.
    void addWindowCommands(QWidget& window);
    // The desktop's key for a standard command; some platforms (the headless
    // one among them) know none for a few.
    static QKeySequence standardShortcut(QKeySequence::StandardKey key, const char* fallback);
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
    // The chain that command travels from start.
    QList<CommandResponder*> responderChainFor(const QString& command, QWidget* start) const;
    // The focus widget, else the active window.
    static QWidget* focus();
    static CommandResponder* responderFor(const QString& command, const QList<CommandResponder*>& chain);
    // Validates the command with the first responder of chain that answers
    // it, and performs it when allowed.
    static bool perform(const QString& command, const QList<CommandResponder*>& chain, QAction& item);

    CommandResponder* m_application;
};
