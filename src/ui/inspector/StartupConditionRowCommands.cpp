#include "ui/inspector/StartupConditionRowCommands.h"

#include "foundation/Log.h"
#include "model/DBStartupCondition.h"
#include "model/ObjectContext.h"
#include "shell/ApplicationHelpers.h"
#include "shell/ModelEditing.h"
#include "ui/base/CommonObjectsHolder.h"
#include "ui/inspector/ConditionNameEditorViewController.h"
#include "ui/inspector/StartupConditionRowsModel.h"
#include "ui/views/TabFocusScroller.h"

#include <QApplication>
#include <QScrollBar>
#include <QTableView>
#include <algorithm>

namespace {

// all, with moving taken out and put back at index among the others.
QList<DBStartupCondition*> orderAfterMove(const QList<DBStartupCondition*>& all, const QList<DBStartupCondition*>& moving,
                                          qsizetype index)
{
    QList<DBStartupCondition*> order;
    for (DBStartupCondition* condition : all)
        if (!moving.contains(condition))
            order.append(condition);
    index = std::clamp<qsizetype>(index, 0, order.size());
    for (qsizetype offset = 0; offset < moving.size(); ++offset)
        order.insert(index + offset, moving[offset]);
    return order;
}

// QList's own comparison hands memcmp a null pointer for empty lists.
bool sameOrder(const QList<DBStartupCondition*>& left, const QList<DBStartupCondition*>& right)
{
    return std::equal(left.cbegin(), left.cend(), right.cbegin(), right.cend());
}

DBStartupCondition* liveCondition(const ObjectContext& context, const ObjectID& identifier)
{
    auto* condition = dynamic_cast<DBStartupCondition*>(context.objectWithID(identifier));
    return condition && condition->isInserted() ? condition : nullptr;
}

} // namespace

StartupConditionRowCommands::StartupConditionRowCommands(QTableView& table, StartupConditionRowsModel& rows,
                                                         const CommonObjectsHolder& objects, NameEditorLookup nameEditorOf)
    : QObject(&table)
    , m_table(table)
    , m_rows(rows)
    , m_objects(objects)
    , m_nameEditorOf(std::move(nameEditorOf))
{
    // Other rows picked: the one shown before may scroll away again. (A
    // reload of the rows clears the selection for a moment; that is no pick.)
    connect(m_table.selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        const QList<DBStartupCondition*> selected = selectedConditions();
        const DBStartupCondition* revealed = m_revealed ? liveCondition(*m_objects.managedObjectContext(), *m_revealed) : nullptr;
        if (!selected.isEmpty() && !selected.contains(revealed))
            m_revealed.reset();
    });
    // The table's height is known only once its rows are laid out: the
    // scroll range grows then, and the row is scrolled to again.
    connect(m_table.verticalScrollBar(), &QScrollBar::rangeChanged, this, &StartupConditionRowCommands::scrollToRevealedRow);
    // The user's own scrolling wins.
    connect(m_table.verticalScrollBar(), &QScrollBar::actionTriggered, this, [this] { m_revealed.reset(); });
}

// --- Selection ------------------------------------------------------------------------

QList<DBStartupCondition*> StartupConditionRowCommands::selectedConditions() const
{
    QList<int> rows;
    for (const QModelIndex& index : m_table.selectionModel()->selectedRows())
        rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    QList<DBStartupCondition*> selected;
    for (const int row : std::as_const(rows))
        if (DBStartupCondition* condition = m_rows.conditions().value(row))
            selected.append(condition);
    return selected;
}

void StartupConditionRowCommands::select(const QList<DBStartupCondition*>& conditions)
{
    QItemSelection selection;
    for (qsizetype row = 0; row < m_rows.conditions().size(); ++row)
        if (conditions.contains(m_rows.conditions()[row])) {
            const QModelIndex index = m_rows.index(static_cast<int>(row));
            selection.select(index, index);
        }
    m_table.selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    const int first = conditions.isEmpty() ? -1 : static_cast<int>(m_rows.conditions().indexOf(conditions.first()));
    if (first >= 0)
        m_table.selectionModel()->setCurrentIndex(m_rows.index(first), QItemSelectionModel::NoUpdate);
}

void StartupConditionRowCommands::includeInSelection(DBStartupCondition& condition)
{
    const int row = static_cast<int>(m_rows.conditions().indexOf(&condition));
    if (row < 0)
        return;
    if (!m_table.selectionModel()->isRowSelected(row, {}))
        select({ &condition });
    else
        m_table.selectionModel()->setCurrentIndex(m_rows.index(row), QItemSelectionModel::NoUpdate);
}

void StartupConditionRowCommands::selectNew(DBStartupCondition& condition)
{
    // Selected, so that it stays selected once named: Delete removes it and
    // the next new condition goes after it.
    select({ &condition });
    reveal(&condition);
    if (ConditionNameEditorViewController* nameEditor = m_nameEditorOf(&condition))
        nameEditor->showNameEditor();
}

bool StartupConditionRowCommands::renameSelected()
{
    const QList<DBStartupCondition*> selected = selectedConditions();
    DBStartupCondition* current = m_rows.conditions().value(m_table.currentIndex().row());
    DBStartupCondition* renamed = selected.contains(current) ? current : selected.size() == 1 ? selected.first() : nullptr;
    ConditionNameEditorViewController* nameEditor = renamed ? m_nameEditorOf(renamed) : nullptr;
    if (!nameEditor || nameEditor->isEditing())
        return false;
    LOG_NORMAL("Renaming %1...", renamed);
    reveal(renamed);
    nameEditor->showNameEditor();
    return true;
}

// --- Moving ---------------------------------------------------------------------------

std::optional<StartupConditionRowCommands::Move> StartupConditionRowCommands::planMove(const QList<DBStartupCondition*>& dragged,
                                                                                       int row) const
{
    const QList<DBStartupCondition*>& rows = m_rows.conditions();
    row = std::clamp<int>(row, 0, static_cast<int>(rows.size()));
    QList<qsizetype> draggedRows;
    for (DBStartupCondition* condition : dragged)
        if (const qsizetype draggedRow = rows.indexOf(condition); draggedRow >= 0 && !draggedRows.contains(draggedRow))
            draggedRows.append(draggedRow);
    std::sort(draggedRows.begin(), draggedRows.end());
    Move move;
    for (const qsizetype draggedRow : std::as_const(draggedRows))
        move.moving.append(rows[draggedRow]);
    // The drop row counted among the rows that stay.
    const qsizetype index = row - std::count_if(draggedRows.cbegin(), draggedRows.cend(), [row](qsizetype draggedRow) { return draggedRow < row; });
    move.order = orderAfterMove(rows, move.moving, index);
    if (move.moving.isEmpty() || sameOrder(move.order, rows))
        return std::nullopt;
    if (const qsizetype following = index + move.moving.size(); following < move.order.size())
        move.before = move.order[following]->objectID();
    return move;
}

bool StartupConditionRowCommands::canMoveSelected(bool up) const
{
    const QModelIndexList rows = m_table.selectionModel()->selectedRows();
    // Some selected row has an unselected one on that side.
    return std::any_of(rows.cbegin(), rows.cend(), [&](const QModelIndex& index) {
        const int neighbour = index.row() + (up ? -1 : 1);
        return neighbour >= 0 && neighbour < m_rows.rowCount() && !m_table.selectionModel()->isRowSelected(neighbour, {});
    });
}

bool StartupConditionRowCommands::moveSelected(bool up)
{
    const QList<DBStartupCondition*> selected = selectedConditions();
    if (selected.isEmpty())
        return false;
    const QList<DBStartupCondition*>& rows = m_rows.conditions();
    // The drop row above the row before the first, or below the row after the last.
    const int row = up ? std::max(static_cast<int>(rows.indexOf(selected.first())) - 1, 0)
                       : std::min(static_cast<int>(rows.indexOf(selected.last())) + 2, static_cast<int>(rows.size()));
    const std::optional<Move> move = planMove(selected, row);
    if (!move)
        return false;
    QList<ObjectID> moving;
    for (const DBStartupCondition* condition : move->moving)
        moving.append(condition->objectID());
    LOG_NORMAL("Moving %1 startup conditions %2...", moving.size(), up ? QStringLiteral("up") : QStringLiteral("down"));
    if (!moveInDatabase(moving, move->before))
        return false;
    select(selected);
    reveal(selected.value(up ? 0 : selected.size() - 1));
    return true;
}

bool StartupConditionRowCommands::moveInDatabase(const QList<ObjectID>& identifiers, const std::optional<ObjectID>& beforeID)
{
    const ObjectContext& context = *m_objects.managedObjectContext();
    QList<DBStartupCondition*> moving;
    for (const ObjectID& identifier : identifiers)
        if (DBStartupCondition* condition = liveCondition(context, identifier); condition && !moving.contains(condition))
            moving.append(condition);
    // Positions in the database's order, which also counts conditions without a row.
    const QList<DBStartupCondition*> all = context.sortedStartupConditions();
    QList<DBStartupCondition*> others = all;
    others.removeIf([&moving](DBStartupCondition* condition) { return moving.contains(condition); });
    const DBStartupCondition* before = beforeID ? liveCondition(context, *beforeID) : nullptr;
    const qsizetype index = before ? others.indexOf(before) : others.size();
    if (moving.isEmpty() || sameOrder(orderAfterMove(all, moving, index), all))
        return false;
    m_objects.editing()->moveStartupConditions(moving, index);
    m_objects.helpers()->saveDataToDiskUsingChangeBackup(true);
    Q_EMIT conditionsChanged();
    return true;
}

// --- Deleting -------------------------------------------------------------------------

bool StartupConditionRowCommands::deleteSelected()
{
    const QList<DBStartupCondition*> selected = selectedConditions();
    if (selected.isEmpty())
        return false;
    LOG_NORMAL("Deleting %1 startup conditions...", selected.size());
    m_objects.editing()->deleteStartupConditions(selected);
    m_objects.helpers()->saveDataToDiskUsingChangeBackup(true);
    Q_EMIT conditionsChanged();
    return true;
}

// --- Keeping a row in view ------------------------------------------------------------

void StartupConditionRowCommands::reveal(const DBStartupCondition* condition)
{
    if (!condition)
        return;
    m_revealed = condition->objectID();
    scrollToRevealedRow();
}

void StartupConditionRowCommands::rowHeightsDidChange()
{
    scrollToRevealedRow();
}

void StartupConditionRowCommands::scrollToRevealedRow()
{
    // A control that took the keyboard in a growing row (a new time of a
    // schedule) stays in view too.
    if (QWidget* focus = QApplication::focusWidget(); focus && m_table.viewport()->isAncestorOf(focus))
        TabFocusScroller::scrollIntoView(*focus);
    const DBStartupCondition* condition = m_revealed ? liveCondition(*m_objects.managedObjectContext(), *m_revealed) : nullptr;
    const int row = static_cast<int>(m_rows.conditions().indexOf(condition));
    if (row < 0)
        return;
    // The name editor is at the top of a row that may be taller than the table.
    const bool tallerThanTable = m_table.rowHeight(row) > m_table.viewport()->height();
    m_table.scrollTo(m_rows.index(row), tallerThanTable ? QAbstractItemView::PositionAtTop : QAbstractItemView::EnsureVisible);
}
