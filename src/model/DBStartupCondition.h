#pragma once
// A named condition shared by any number of items; its settings live in one
// data object of the kind given by conditionType.
#include "model/ManagedObject.h"
#include "model/ModelAccessors.h"
#include "model/ModelEnumerations.h"
#include "model/ModelSchema.h"

class DBLoginItem;
class DBHotkeyConditionData;
class DBPowerSourceConditionData;
class DBScheduledConditionData;
class DBVolumeConditionData;
class DBNetworkConditionData;

class ExecutionValidationParameters;

class DBStartupCondition : public ManagedObject {
    LW_ENTITY(DBStartupCondition, ManagedObject, "StartupCondition")

    LW_STRING_ATTRIBUTE(conditionName, ConditionName)
    LW_INT32_ATTRIBUTE(conditionSortIndex, ConditionSortIndex)
    LW_INT32_ATTRIBUTE(conditionType, ConditionType)
    // A condition of a kind this version does not know: its record in the
    // database file, kept so that saving writes it back unchanged.
    QVariantMap conditionKeptRecord() const { return value(QStringLiteral("conditionKeptRecord")).toMap(); }

    QList<DBLoginItem*> conditionLoginItems() const;

    DBScheduledConditionData* conditionScheduledData() const;
    void setConditionScheduledData(DBScheduledConditionData* data);
    DBHotkeyConditionData* conditionHotkeyData() const;
    void setConditionHotkeyData(DBHotkeyConditionData* data);
    DBPowerSourceConditionData* conditionPowerSourceData() const;
    void setConditionPowerSourceData(DBPowerSourceConditionData* data);
    DBVolumeConditionData* conditionVolumeData() const;
    void setConditionVolumeData(DBVolumeConditionData* data);
    DBNetworkConditionData* conditionNetworkData() const;
    void setConditionNetworkData(DBNetworkConditionData* data);

    // Named with the default condition name; no data object yet.
    static DBStartupCondition* createStartupConditionOfType(int32_t type, ObjectContext& context);

    bool isExecutionAllowedForParameters(ExecutionValidationParameters& parameters) const;

    QString logDescription() const override;
};
