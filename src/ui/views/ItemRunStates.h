#pragma once
// What the rows of an item list show about a run or a simulation, kept by
// object ID so that rows made again (scrolling, a reset of the list) lose
// nothing: whether the status display is on and against which snapshot, the
// status each item was judged to, what each condition answered, and which
// items are executing or have executed in the run going on.
//
// Main thread only, like the items it judges.
#include "model/ObjectID.h"
#include "ui/views/ItemRowAppearance.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <memory>
#include <optional>

class DBLoginItem;
class ExecutionValidationParameters;

class ItemRunStates {
public:
    bool isStatusDisplayOn() const { return m_statusDisplayOn; }
    // Switching the display off forgets the judged answers.
    void setStatusDisplayOn(bool on);
    const std::shared_ptr<ExecutionValidationParameters>& parameters() const { return m_parameters; }
    // Takes effect at the next judgeItems().
    void setParameters(std::shared_ptr<ExecutionValidationParameters> parameters);

    // Judges every item, in list order, against the parameters as one pass:
    // the snapshot's earlier answers are cleared and the list becomes its
    // items, so each item meets its real neighbours. Nothing is judged while
    // the display is off or without parameters.
    void judgeItems(const QList<DBLoginItem*>& items);
    std::optional<uint32_t> statusOfItem(const ObjectID& item) const;
    // Nothing when the condition was not judged.
    std::optional<bool> isConditionAllowed(const ObjectID& condition) const;

    // An item that executed keeps that mark until the run ends.
    void setItemExecuting(const ObjectID& item, bool executing);
    bool isItemExecuting(const ObjectID& item) const { return m_executing.contains(item); }
    bool didItemRun(const ObjectID& item) const { return m_ran.contains(item); }
    void endRun();

    ItemRowAppearance::State appearanceState(const ObjectID& item, bool isFileItem, int row) const;

private:
    bool m_statusDisplayOn = false;
    std::shared_ptr<ExecutionValidationParameters> m_parameters;
    QHash<ObjectID, uint32_t> m_statuses;
    QHash<ObjectID, bool> m_conditionAnswers;
    QSet<ObjectID> m_executing;
    QSet<ObjectID> m_ran;
};
