#pragma once
// Base of the four item kinds: position in a group and the conditions the item
// must pass.
#include "model/ManagedObject.h"
#include "model/ModelAccessors.h"
#include "model/ModelEnumerations.h"
#include "model/ModelSchema.h"

#include <atomic>

class DBLoginGroup;
class ExecutionValidationParameters;
class DBStartupCondition;

class DBLoginItem : public ManagedObject {
public:
    static const EntityDescription& entityDescription() { return ModelSchema::entity(QStringLiteral("LoginItem")); }

    LW_INT32_ATTRIBUTE(itemSortIndex, ItemSortIndex)

    DBLoginGroup* itemLoginGroup() const;
    void setItemLoginGroup(DBLoginGroup* group);

    QList<DBStartupCondition*> itemStartupConditions() const;
    void addItemStartupConditionsObject(DBStartupCondition* condition);
    void removeItemStartupConditionsObject(DBStartupCondition* condition);
    void replaceItemStartupConditionsWithConditionObjectsFromArray(const QList<DBStartupCondition*>& conditions);
    // Conditions the item already has stay once.
    void appendItemStartupConditionsWithConditionObjectsFromArray(const QList<DBStartupCondition*>& conditions);

    virtual LoginItemType loginItemType() const = 0;
    virtual QString itemNiceDisplayName() const = 0;
    virtual QString itemNiceDescription() const { return itemNiceDisplayName(); }

    // Transient: the answer of the last permission question, for display only;
    // the rules read the statuses of their own pass from the parameters.
    // Never stored or recorded.
    uint32_t lastExecutionStatus() const { return m_lastExecutionStatus; }
    void setLastExecutionStatus(uint32_t status) { m_lastExecutionStatus = status; }

    // May the item run, judged against the snapshot? Records the reason in the
    // snapshot's pass and in lastExecutionStatus.
    virtual bool isExecutionAllowedForParameters(ExecutionValidationParameters& parameters);
    bool isExecutionByStartupConditionsAllowedForParameters(ExecutionValidationParameters& parameters);
    bool isExecutionByNeighborsAllowedForParameters(ExecutionValidationParameters& parameters);
    virtual bool isExecutionByPreviousItem(DBLoginItem* previousItem, ExecutionValidationParameters& parameters);
    virtual bool isExecutionByNextItem(DBLoginItem* nextItem, ExecutionValidationParameters& parameters);
    // Asked of the item before (or after) another item about that item.
    virtual bool allowExecutionOfNextItem(DBLoginItem* nextItem, const QList<DBLoginItem*>& items,
                                          ExecutionValidationParameters& parameters);
    virtual bool allowExecutionOfPreviousItem(DBLoginItem* previousItem, const QList<DBLoginItem*>& items,
                                              ExecutionValidationParameters& parameters);

    // The item's status in the snapshot's pass, judging it first when the pass
    // has not reached it yet.
    uint32_t executionStatusInPass(ExecutionValidationParameters& parameters);

    QString logDescription() const override;

protected:
    explicit DBLoginItem(const EntityDescription& entity);

    bool recordExecutionStatus(uint32_t status, ExecutionValidationParameters& parameters);
    // A file item whose file is gone, as the pass found it; its neighbours
    // treat it as a hole.
    static bool isMissingFileItem(const DBLoginItem* item, ExecutionValidationParameters& parameters);

private:
    // Judged on the engine's queues while views read it.
    std::atomic<uint32_t> m_lastExecutionStatus { LastExecutionStatusAllowed };
};
