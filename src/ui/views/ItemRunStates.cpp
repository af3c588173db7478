#include "ui/views/ItemRunStates.h"

#include "model/DBLoginItem.h"
#include "model/DBStartupCondition.h"
#include "model/ExecutionValidationParameters.h"

void ItemRunStates::setStatusDisplayOn(bool on)
{
    m_statusDisplayOn = on;
    if (!on) {
        m_statuses.clear();
        m_conditionAnswers.clear();
    }
}

void ItemRunStates::setParameters(std::shared_ptr<ExecutionValidationParameters> parameters)
{
    m_parameters = std::move(parameters);
}

void ItemRunStates::judgeItems(const QList<DBLoginItem*>& items)
{
    m_statuses.clear();
    m_conditionAnswers.clear();
    if (!m_statusDisplayOn || !m_parameters)
        return;
    ExecutionValidationParameters& parameters = *m_parameters;
    parameters.clearExecutionStatuses();
    parameters.setAvailableItems(items);
    for (DBLoginItem* item : items) {
        item->isExecutionAllowedForParameters(parameters);
        m_statuses.insert(item->objectID(), parameters.executionStatusForItem(item).value_or(item->lastExecutionStatus()));
        // The item stops at its first refusing condition; the badges want every answer.
        for (DBStartupCondition* condition : item->itemStartupConditions()) {
            const ObjectID id = condition->objectID();
            if (!m_conditionAnswers.contains(id))
                m_conditionAnswers.insert(id, condition->isExecutionAllowedForParameters(parameters));
        }
    }
}

std::optional<uint32_t> ItemRunStates::statusOfItem(const ObjectID& item) const
{
    const auto found = m_statuses.constFind(item);
    return found == m_statuses.constEnd() ? std::nullopt : std::optional<uint32_t>(*found);
}

std::optional<bool> ItemRunStates::isConditionAllowed(const ObjectID& condition) const
{
    const auto found = m_conditionAnswers.constFind(condition);
    return found == m_conditionAnswers.constEnd() ? std::nullopt : std::optional<bool>(*found);
}

void ItemRunStates::setItemExecuting(const ObjectID& item, bool executing)
{
    if (executing) {
        m_executing.insert(item);
        m_ran.insert(item);
    } else {
        m_executing.remove(item);
    }
}

void ItemRunStates::endRun()
{
    m_executing.clear();
    m_ran.clear();
}

ItemRowAppearance::State ItemRunStates::appearanceState(const ObjectID& item, bool isFileItem, int row) const
{
    ItemRowAppearance::State state;
    state.isFileItem = isFileItem;
    state.isAlternateRow = row % 2 == 1;
    state.isStatusDisplayOn = m_statusDisplayOn;
    state.isExecuting = isItemExecuting(item);
    state.didRunInThisRun = didItemRun(item);
    state.status = statusOfItem(item);
    return state;
}
