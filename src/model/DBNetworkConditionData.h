#pragma once
// Settings of a condition on a network; no name means the internet connection.
#include "model/ManagedObject.h"
#include "model/ModelAccessors.h"
#include "model/ModelEnumerations.h"
#include "model/ModelSchema.h"

class DBStartupCondition;

class DBNetworkConditionData : public ManagedObject {
    LW_ENTITY(DBNetworkConditionData, ManagedObject, "NetworkConditionData")

    LW_STRING_ATTRIBUTE(networkName, NetworkName)
    LW_INT32_ATTRIBUTE(networkMode, NetworkMode)
    LW_INT32_ATTRIBUTE(networkStatus, NetworkStatus)

    DBStartupCondition* networkStartupCondition() const;
    void setNetworkStartupCondition(DBStartupCondition* condition);

    QString logDescription() const override;
};
