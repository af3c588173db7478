#pragma once
// The Ignored Items pane: the items of the session's login items list that
// Lanternwick neither runs nor offers again, in their order. They can go
// back to Lanternwick's own list, be copied into the session's list (they
// stay ignored), be deleted, or be reordered by drag or Move Up and Move Down. Every edit is one undo step followed by a
// save; an edit that changes nothing adds no step and does not save.
//
// The rows never show a run or a simulation: ignored items are not run.
#include "foundation/NotificationCenter.h"
#include "ui/base/LoginItemsPageController.h"
#include "ui/preferences/PreferencesPane.h"

#include <QHash>
#include <functional>

class QAction;
class QPushButton;

class PreferencesIgnoredItemsViewController : public LoginItemsPageController, public PreferencesPane {
    Q_OBJECT
public:
    explicit PreferencesIgnoredItemsViewController(QWidget* parent = nullptr);
    ~PreferencesIgnoredItemsViewController() override;

    QString identifier() const override { return QStringLiteral("IgnoredItemsPreferences"); }
    QIcon toolbarItemImage() const override;
    QString toolbarItemLabel() const override;
    ViewControllerBase& paneViewController() override { return *this; }

    // The represented object is the ignore group, which the list follows.
    // The item of one of the pane's commands, in the list's context menu
    // (delete, move up and move down also on their keys); null for other commands.
    QAction* actionForCommand(const QString& command) const { return m_actions.value(command); }

    // The commands.
    void moveIgnoredItemsToApplicationItemsList();
    void moveCurrentSelectionToSystemPreferences();
    void deleteCurrentSelection();
    void moveSelectedItemsUp() { moveSelectedItems(true); }
    void moveSelectedItemsDown() { moveSelectedItems(false); }
    void showHelp();

    bool respondsToCommand(const QString& command) const override;
    bool validateCommand(const QString& command, QAction& item) override;
    void performCommand(const QString& command) override;

protected:
    void awakeFromNib() override;
    void representedObjectChangedFrom(const QVariant& previous, const QVariant& current) override;

private:
    using Command = void (PreferencesIgnoredItemsViewController::*)();
    static const QHash<QString, Command>& commands();

    // The context menu item of command, with its key while the list has the focus.
    QAction* addCommandAction(const QString& command, const QKeySequence& shortcut = {});
    // A context menu item and a button with a fixed title for command.
    QPushButton* addCommand(const QString& command, const QString& buttonTitle);
    // Enables and retitles the commands' items for the selection.
    void validateCommands();
    // One undoable edit (performUndoableEdit), after which the rows are
    // brought up to date at once.
    void performEdit(const std::function<QString()>& edit);
    void itemsListsSizeDidChange();

    QHash<QString, QAction*> m_actions;
    // Last: removed first, so that no handler outlives the pane.
    NotificationCenter::Token m_itemsListsSizeObserver;
};
