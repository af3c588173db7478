#pragma once
// Base of the four item kinds: position in a group and the conditions the item
// must pass.
#include "model/ManagedObject.h"
#include "model/ModelAccessors.h"
#include "model/ModelEnumerations.h"
#include "model/ModelSchema.h"

class DBLoginGroup;
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

    // Transient: set by the permission question, never stored or recorded.
    uint32_t lastExecutionStatus() const { return m_lastExecutionStatus; }
    void setLastExecutionStatus(uint32_t status) { m_lastExecutionStatus = status; }

    QString logDescription() const override;

protected:
    explicit DBLoginItem(const EntityDescription& entity);

private:
    uint32_t m_lastExecutionStatus = LastExecutionStatusAllowed;
};
