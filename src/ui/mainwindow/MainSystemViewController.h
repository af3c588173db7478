#pragma once
// The system items page of the main window: the new entries of the session's
// login items list, which the user takes over into Lanternwick's list, marks
// as ignored, or deletes from the session's list after a confirmation. The
// represented object is the list of their item records (QVariantList of
// UI item dictionaries) as the last reading delivered it.
//
// Taking over and ignoring are one named undo step followed by a save; the
// rows taken leave the page at once, and the session's list is read again.
// A path either group already holds is not added a second time. Undo and
// redo follow in the session's list: an entry taken over goes back to it as
// it was when the take-over is undone. An entry without a path can be neither
// taken over nor ignored; the user is told why. A reading that failed is
// said in the page's header, with its cause, until a reading succeeds.
#include "foundation/NotificationCenter.h"
#include "ui/base/CommandResponder.h"
#include "ui/base/MessageBoxDialogPresenter.h"
#include "ui/base/ViewControllerBase.h"

#include <QHash>
#include <QList>

class BackgroundColorView;
class DBLoginGroup;
class DBLoginItem;
class Localizator;
class ObjectContext;
class PopoverFrame;
class QLabel;
class QListView;
class QModelIndex;
class QPushButton;
class SystemItemData;
class SystemItemDelegate;
class SystemItemInspectorViewController;
class SystemItemsListModel;

class MainSystemViewController : public ViewControllerBase, public CommandResponder {
    Q_OBJECT
public:
    explicit MainSystemViewController(QWidget* parent = nullptr);
    ~MainSystemViewController() override;

    SystemItemsListModel* itemsModel() const { return m_model; }
    QListView* itemsTableView() const { return m_itemsTableView; }
    SystemItemDelegate* itemDelegate() const { return m_itemDelegate; }
    BackgroundColorView* headerView() const { return m_headerView; }
    BackgroundColorView* topCautionView() const { return m_topCautionView; }
    BackgroundColorView* bottomCautionView() const { return m_bottomCautionView; }
    // The page's button of a command, or null.
    QPushButton* buttonForCommand(const QString& command) const { return m_buttons.value(command); }
    // Made on first access; shown in the popover.
    SystemItemInspectorViewController* itemInspectorViewController();
    PopoverFrame* itemInspectorPopover() const { return m_itemInspectorPopover; }

    // Null for a row out of range.
    const SystemItemData* itemAtIndex(int row) const;
    // In list order.
    QList<SystemItemData> selectedItems() const;
    void selectRows(const QList<int>& rows);

    // Why the last reading could not list the entries; empty when it could.
    void setReadError(const QString& cause);
    QLabel* readErrorView() const { return m_readErrorView; }

    // Null goes back to message boxes.
    void setDialogPresenter(DialogPresenter* presenter) { m_presenter = presenter; }

    // The commands.
    void moveSelectedItemsToLanternwick();
    void markSelectedItemsAsIgnored();
    void deleteCurrentSelection();
    // Opens the popover of the row's entry beside rect, in the list's viewport.
    void showLoginItemInspector(const QModelIndex& index, const QRect& rect);

    bool respondsToCommand(const QString& command) const override;
    bool validateCommand(const QString& command, QAction& item) override;
    void performCommand(const QString& command) override;

protected:
    void awakeFromNib() override;
    void representedObjectChangedFrom(const QVariant& previous, const QVariant& current) override;

private:
    using Command = void (MainSystemViewController::*)();
    using ActionName = QString (Localizator::*)(const QList<DBLoginItem*>&) const;
    static const QHash<QString, Command>& commands();

    QWidget* makeHeaderView();
    BackgroundColorView* makeCautionView(const QString& name);
    QWidget* makeActionsView();
    QList<int> selectedRows() const;
    // Adds the selected entries that have a path to the group as file items
    // at its end, in one undo step named by actionName.
    void addSelectedSystemItemsToLoginGroup(DBLoginGroup* (ObjectContext::*group)(), ActionName actionName);
    // Titles and enabling of the page's buttons, after each selection change.
    void validateButtons();
    void itemsListsSizeDidChange();
    void updateReadErrorView();

    SystemItemsListModel* m_model = nullptr;
    QListView* m_itemsTableView = nullptr;
    SystemItemDelegate* m_itemDelegate = nullptr;
    BackgroundColorView* m_headerView = nullptr;
    QLabel* m_readErrorView = nullptr;
    QString m_readError;
    BackgroundColorView* m_topCautionView = nullptr;
    BackgroundColorView* m_bottomCautionView = nullptr;
    QHash<QString, QPushButton*> m_buttons;
    QHash<QString, QAction*> m_actions;
    PopoverFrame* m_itemInspectorPopover = nullptr;
    SystemItemInspectorViewController* m_itemInspectorViewController = nullptr;
    MessageBoxDialogPresenter m_messageBoxes;
    DialogPresenter* m_presenter = nullptr;
    // Last: removed first, so that no handler outlives the page.
    NotificationCenter::Token m_itemsListsSizeObserver;
};
