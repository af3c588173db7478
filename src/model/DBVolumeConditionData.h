#pragma once
// Settings of a condition on a mounted volume.
#include "model/ManagedObject.h"
#include "model/ModelAccessors.h"
#include "model/ModelEnumerations.h"
#include "model/ModelSchema.h"

class DBStartupCondition;

class ExecutionValidationParameters;

class DBVolumeConditionData : public ManagedObject {
    LW_ENTITY(DBVolumeConditionData, ManagedObject, "VoumeConditionData")

    LW_STRING_ATTRIBUTE(volumePath, VolumePath)
    LW_INT32_ATTRIBUTE(volumeStatus, VolumeStatus)

    DBStartupCondition* volumeStartupCondition() const;
    void setVolumeStartupCondition(DBStartupCondition* condition);

    bool isExecutionAllowedForParameters(ExecutionValidationParameters& parameters) const;
    bool isVolumeMounted(const ExecutionValidationParameters& parameters) const;

    QString logDescription() const override;
};
