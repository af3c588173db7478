#pragma once
// The Ignored Items pane: the items of the session's login items list that
// Lanternwick neither runs nor offers again, in their order. They can go
// back to Lanternwick's own list, be copied into the session's list (they
// stay ignored), or be deleted. Every edit is one undo step followed by a
// save; an edit that changes nothing adds no step and does not save.
//
// The rows never show a run or a simulation: ignored items are not run.
#include "foundation/NotificationCenter.h"
#include "ui/base/CommandResponder.h"
#include "ui/base/ViewControllerBase.h"
#include "ui/preferences/PreferencesPane.h"

#include <QHash>
#include <QList>
#include <functional>

class DBLoginGroup;
class DBLoginItem;
class LoginItemDelegate;
class LoginItemsListModel;
class QAction;
class QListView;
class QPushButton;

class PreferencesIgnoredItemsViewController : public ViewControllerBase, public PreferencesPane, public CommandResponder {
    Q_OBJECT
public:
    explicit PreferencesIgnoredItemsViewController(QWidget* parent = nullptr);
    ~PreferencesIgnoredItemsViewController() override;

    QString identifier() const override { return QStringLiteral("IgnoredItemsPreferences"); }
    QIcon toolbarItemImage() const override;
    QString toolbarItemLabel() const override;
    ViewControllerBase& paneViewController() override { return *this; }

    // The represented object: the ignore group, which the list follows.
    DBLoginGroup* representedGroup() const;
    LoginItemsListModel* itemsModel() const { return m_model; }
    QListView* itemsTableView() const { return m_itemsTableView; }
    LoginItemDelegate* itemDelegate() const { return m_itemDelegate; }
    // Null for a row out of range.
    DBLoginItem* itemAtIndex(int row) const;
    // In list order.
    QList<DBLoginItem*> selectedItems() const;
    // The item of one of the pane's commands, in the list's context menu
    // (the delete one also on the Delete key); null for other commands.
    QAction* actionForCommand(const QString& command) const { return m_actions.value(command); }

    // The commands.
    void moveIgnoredItemsToApplicationItemsList();
    void moveCurrentSelectionToSystemPreferences();
    void deleteCurrentSelection();
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

    // A context menu item and a button with a fixed title for command.
    QPushButton* addCommand(const QString& command, const QString& buttonTitle);
    // Enables and retitles the commands' items for the selection.
    void validateCommands();
    // One undoable edit (performUndoableEdit), after which the rows are
    // brought up to date at once.
    void performEdit(const std::function<QString()>& edit);
    void itemsListsSizeDidChange();

    LoginItemsListModel* m_model = nullptr;
    QListView* m_itemsTableView = nullptr;
    LoginItemDelegate* m_itemDelegate = nullptr;
    QHash<QString, QAction*> m_actions;
    // Last: removed first, so that no handler outlives the pane.
    NotificationCenter::Token m_itemsListsSizeObserver;
};
