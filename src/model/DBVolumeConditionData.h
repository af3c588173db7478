#pragma once
// Settings of a condition on a mounted volume.
#include "model/ManagedObject.h"
#include "model/ModelAccessors.h"
#include "model/ModelEnumerations.h"
#include "model/ModelSchema.h"

class DBStartupCondition;

class DBVolumeConditionData : public ManagedObject {
    LW_ENTITY(DBVolumeConditionData, ManagedObject, "VoumeConditionData")

    LW_STRING_ATTRIBUTE(volumePath, VolumePath)
    LW_INT32_ATTRIBUTE(volumeStatus, VolumeStatus)

    DBStartupCondition* volumeStartupCondition() const;
    void setVolumeStartupCondition(DBStartupCondition* condition);

    QString logDescription() const override;
};
