#pragma once
// What the items page and the ignored pane share: a list of one group's
// login items (the represented object), shown by a list view over a
// LoginItemsListModel with a LoginItemDelegate, and read by the commands
// through the selection.
#include "ui/base/CommandResponder.h"
#include "ui/base/ViewControllerBase.h"

#include <QKeySequence>
#include <QList>

class DBLoginGroup;
class DBLoginItem;
class LoginItemDelegate;
class LoginItemsListModel;
class QListView;

class LoginItemsPageController : public ViewControllerBase, public CommandResponder {
    Q_OBJECT
public:
    // The represented object: the group whose items are shown.
    DBLoginGroup* representedGroup() const;
    // The shown rows.
    LoginItemsListModel* itemsModel() const { return m_model; }
    QListView* itemsTableView() const { return m_itemsTableView; }
    LoginItemDelegate* itemDelegate() const { return m_itemDelegate; }

    // Null for a row that is out of range (-1 included).
    DBLoginItem* itemAtIndex(int row) const;
    // In list order.
    QList<DBLoginItem*> selectedItems() const;

    // Move Up and Move Down: the selected items move one row, as a drag
    // would move them, and stay selected. Allowed when some selected item
    // has a row to move to.
    bool canMoveSelectedItems(bool up) const;
    void moveSelectedItems(bool up);
    static QKeySequence moveShortcut(bool up);

protected:
    using ViewControllerBase::ViewControllerBase;

    // Made by the subclass when its view loads.
    LoginItemsListModel* m_model = nullptr;
    QListView* m_itemsTableView = nullptr;
    LoginItemDelegate* m_itemDelegate = nullptr;
};
