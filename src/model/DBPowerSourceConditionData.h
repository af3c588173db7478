#pragma once
// Settings of a condition on the power source.
#include "model/ManagedObject.h"
#include "model/ModelAccessors.h"
#include "model/ModelEnumerations.h"
#include "model/ModelSchema.h"

class DBStartupCondition;

class ExecutionValidationParameters;

class DBPowerSourceConditionData : public ManagedObject {
    LW_ENTITY(DBPowerSourceConditionData, ManagedObject, "PowerSourceConditionData")

    LW_INT32_ATTRIBUTE(powerSourceType, PowerSourceType)

    DBStartupCondition* powerSourceStartupCondition() const;
    void setPowerSourceStartupCondition(DBStartupCondition* condition);

    bool isExecutionAllowedForParameters(ExecutionValidationParameters& parameters) const;
    static uint32_t currentPowerSourceFromParameters(const ExecutionValidationParameters& parameters);

    QString logDescription() const override;
};
