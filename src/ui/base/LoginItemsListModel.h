#pragma once
// The items of one login group in their order, as a list model: the items
// page shows the application group, the ignored items pane the ignore group.
// It follows the object context: after every change (made here or by undo,
// another window or the engine) the rows are brought up to date by inserting,
// removing and moving rows, so that selections and scroll positions stay.
//
// Names are plain text; views must not read them as markup.
//
// It also keeps what the rows show of a run or a simulation (run states, by
// object ID), and judges the rows again after every change while the status
// display is on, so that new, moved and deleted items meet their real
// neighbours.
#include "ui/views/ItemRunStates.h"

#include <QAbstractListModel>
#include <QHash>
#include <QIcon>
#include <QList>
#include <QPointer>

class DBLoginGroup;
class DBLoginItem;
class ObjectContext;

class LoginItemsListModel : public QAbstractListModel {
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
    int rowOfItem(const DBLoginItem* item) const;
    const QList<DBLoginItem*>& items() const { return m_items; }

    // Reads the group's items again; called by itself after every change of
    // the context, and by editors that need the rows at once.
    void refresh();

    ItemRunStates& runStates() { return m_runStates; }
    // Judges every row again as one pass against the run states' snapshot,
    // and has them painted again.
    void judgeRows();

private:
    // Theme icons for files and programs, symbols for the other kinds.
    QIcon iconOfItem(const DBLoginItem& item) const;
    void moveRowsInto(const QList<DBLoginItem*>& order);

    QPointer<ObjectContext> m_context;
    DBLoginGroup* m_group;
    QList<DBLoginItem*> m_items;
    ItemRunStates m_runStates;
    // By item kind, drawn once.
    mutable QHash<int, QIcon> m_kindIcons;
};
