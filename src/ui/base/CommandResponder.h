#pragma once
// A controller that answers menu commands by name. The command dispatcher
// asks, in order, the focused view's active controller, then the window's
// controller, then the application's; the first that responds to a command
// validates and performs it.
#include <QAction>
#include <QString>

class CommandResponder {
public:
    virtual ~CommandResponder() = default;

    virtual bool respondsToCommand(const QString& command) const = 0;
    // Whether the command can run now; may also retitle the menu item.
    virtual bool validateCommand(const QString& command, QAction& item) = 0;
    virtual void performCommand(const QString& command) = 0;
};

// Titles can hold the names of items, shown as they are: a '&' in them is not
// a mnemonic marker.
inline void setMenuItemTitle(QAction& item, const QString& title)
{
    item.setText(QString(title).replace(QLatin1Char('&'), QLatin1String("&&")));
}
