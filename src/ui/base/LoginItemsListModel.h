#pragma once
// The items of one login group in their order, as a list model: the items
// page shows the application group, the ignored items pane the ignore group.
// It follows the object context: after every change (made here or by undo,
// another window or the engine) the rows are brought up to date by inserting,
// removing and moving rows, so that selections and scroll positions stay.
//
// Names are plain text; views must not read them as markup. A row's
// accessible text is what its delegate paints (ItemRowContent).
//
// It also keeps what the rows show of a run or a simulation (run states, by
// object ID), and judges the rows again after every change while the status
// display is on, so that new, moved and deleted items meet their real
// neighbours. A run's progress only repaints the rows it changed, together
// at most about ten times a second.
//
// Once given an owner (enableDragAndDrop), rows are dragged as item rows
// (LoginItemDragData) and the list takes drops between its rows: item rows
// of this process from either list, and local files on the application
// list. A drop is carried out at once as one undoable edit of the owner,
// saved when it changed something; the view never removes rows itself
// after a move (this model removes none through removeRows). Views show it
// in a LoginItemsListView.
#include "texts/LanternwickObject.h"
#include "ui/base/LoginItemDragData.h"
#include "ui/views/ItemRunStates.h"

#include <QAbstractListModel>
#include <QHash>
#include <QIcon>
#include <QList>
#include <QPointer>
#include <QSet>
#include <QTimer>
#include <functional>
#include <optional>

class DBLoginGroup;
class DBLoginItem;
class ObjectContext;
class ViewControllerBase;

class LoginItemsListModel : public QAbstractListModel, public LanternwickObject {
    Q_OBJECT
public:
    // The context must outlive the model; group may be null (no rows).
    LoginItemsListModel(ObjectContext& context, DBLoginGroup* group, QObject* parent = nullptr);

    DBLoginGroup* group() const { return m_group; }
    void setGroup(DBLoginGroup* group);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    // Null for a row out of range.
    DBLoginItem* itemAtIndex(int row) const;
    // The items of the rows (a view's selection, say) in list order;
    // stale rows are left out.
    QList<DBLoginItem*> itemsAtRows(QModelIndexList rows) const;
    int rowOfItem(const DBLoginItem* item) const;
    const QList<DBLoginItem*>& items() const { return m_items; }

    // Reads the group's items again; called by itself after every change of
    // the context, and by editors that need the rows at once.
    void refresh();

    ItemRunStates& runStates() { return m_runStates; }
    // Judges every row again as one pass against the run states' snapshot,
    // and has them painted again.
    void judgeRows();
    // Has the row of the item (or every row) painted again with its run
    // state, at the next repaint of the run's progress.
    void repaintRowOfItem(const ObjectID& item);
    void repaintAllRows();

    // Drops are edited and saved through owner, which must outlive the
    // model. Rows can be dragged while canDragRows answers true (always
    // when it is empty).
    void enableDragAndDrop(const ViewControllerBase& owner, std::function<bool()> canDragRows = {});
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    Qt::DropActions supportedDragActions() const override { return Qt::MoveAction; }
    Qt::DropActions supportedDropActions() const override { return Qt::MoveAction | Qt::CopyAction; }
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    // Item rows are moved, files copied; a drop onto a row (parent valid) is refused.
    bool canDropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column, const QModelIndex& parent) const override;
    // False, with nothing changed, for anything canDropMimeData refuses.
    bool dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column, const QModelIndex& parent) override;

    // Move Up and Move Down: the items move one row up or down together, as
    // a drag of their rows there would move them (the same undo step and
    // save, and itemsDropped). Whether something moved.
    bool moveItemsOneRow(const QList<DBLoginItem*>& items, bool up);

Q_SIGNALS:
    // A drop changed the items (and was saved).
    void itemsDropped();

private:
    bool isApplicationList() const;
    bool canDragRows() const;
    // The dragged items in their list's order, each found by its ID in its
    // list at the row its record says; nothing unless all are.
    std::optional<QList<DBLoginItem*>> itemsOfDraggedRows(const QMimeData& data) const;
    // Absolute paths of the local file URLs of data, application list only.
    QStringList droppedFilePaths(const QMimeData& data) const;
    // Each returns whether it changed something.
    bool moveDraggedItems(const QList<DBLoginItem*>& items, int row);
    bool createFileItems(const QStringList& paths, int row);
    // Theme icons for files and programs, symbols for the other kinds.
    QIcon iconOfItem(const DBLoginItem& item) const;
    void moveRowsInto(const QList<DBLoginItem*>& order);
    void repaintPendingRows();

    QPointer<ObjectContext> m_context;
    DBLoginGroup* m_group;
    QList<DBLoginItem*> m_items;
    ItemRunStates m_runStates;
    QSet<ObjectID> m_rowsToRepaint;
    bool m_allRowsToRepaint = false;
    QTimer m_repaintTimer;
    const ViewControllerBase* m_dropOwner = nullptr;
    std::function<bool()> m_canDragRows;
    // By item kind, drawn once.
    mutable QHash<int, QIcon> m_kindIcons;
};
