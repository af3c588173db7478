#pragma once
// What the keys, the buttons and a drag do to the rows of the inspector's
// conditions table: select a new condition, rename, move and delete the
// selected ones. Each change of the database is one undo step followed by a
// save with the last-change backup. A row that one of them selects or
// renames is brought into view, again once its height is known.
#include "model/ObjectID.h"

#include <QList>
#include <QObject>
#include <functional>
#include <optional>

class CommonObjectsHolder;
class ConditionNameEditorViewController;
class DBStartupCondition;
class QTableView;
class StartupConditionRowsModel;

class StartupConditionRowCommands : public QObject {
    Q_OBJECT
public:
    using NameEditorLookup = std::function<ConditionNameEditorViewController*(const DBStartupCondition*)>;

    // A move of rows: the conditions in row order, the rows' order after it,
    // and the condition they go before (none for the end).
    struct Move {
        QList<DBStartupCondition*> moving;
        QList<DBStartupCondition*> order;
        std::optional<ObjectID> before;
    };

    StartupConditionRowCommands(QTableView& table, StartupConditionRowsModel& rows, const CommonObjectsHolder& objects,
                                NameEditorLookup nameEditorOf);

    // The conditions of the selected rows, in row order.
    QList<DBStartupCondition*> selectedConditions() const;
    void select(const QList<DBStartupCondition*>& conditions);
    // The row the keyboard is in becomes the current row, and the selection
    // unless it is part of it already, so that the keys act on it.
    void includeInSelection(DBStartupCondition& condition);

    // A condition just created: selected alone, in view, its name editor open.
    void selectNew(DBStartupCondition& condition);
    // F2 and Return: the name editor of the current row, or of the one
    // selected row. Whether one opened.
    bool renameSelected();

    // Rows dropped above row (0..row count), as a drag or Move Up and Move
    // Down would drop them; nothing when the order stays.
    std::optional<Move> planMove(const QList<DBStartupCondition*>& rows, int row) const;
    bool canMoveSelected(bool up) const;
    // Alt+Up and Alt+Down: the selected rows one row up or down; they stay
    // selected and in view.
    bool moveSelected(bool up);
    // Writes a move to the database (the conditions found again by ID: any
    // may have gone meanwhile). Whether the order changed.
    bool moveInDatabase(const QList<ObjectID>& moving, const std::optional<ObjectID>& before);

    bool deleteSelected();

    // The rows got their heights: the row to show is scrolled to again.
    void rowHeightsDidChange();

Q_SIGNALS:
    // The database's conditions changed: the rows are to follow now, before
    // the next command reads them.
    void conditionsChanged();

private:
    void reveal(const DBStartupCondition* condition);
    void scrollToRevealedRow();

    QTableView& m_table;
    StartupConditionRowsModel& m_rows;
    const CommonObjectsHolder& m_objects;
    NameEditorLookup m_nameEditorOf;
    // The row last selected new or renamed, until the user scrolls or picks another.
    std::optional<ObjectID> m_revealed;
};
