#pragma once
// Settings of a condition on a network; no name means the internet connection.
#include "model/ManagedObject.h"
#include "model/ModelAccessors.h"
#include "model/ModelEnumerations.h"
#include "model/ModelSchema.h"

class DBStartupCondition;

class ExecutionValidationParameters;

class DBNetworkConditionData : public ManagedObject {
    LW_ENTITY(DBNetworkConditionData, ManagedObject, "NetworkConditionData")

    LW_STRING_ATTRIBUTE(networkName, NetworkName)
    LW_INT32_ATTRIBUTE(networkMode, NetworkMode)
    LW_INT32_ATTRIBUTE(networkStatus, NetworkStatus)

    DBStartupCondition* networkStartupCondition() const;
    void setNetworkStartupCondition(DBStartupCondition* condition);

    bool isExecutionAllowedForParameters(ExecutionValidationParameters& parameters) const;
    static bool isNetworkWithNameAvailable(const QString& name, ExecutionValidationParameters& parameters);
    static bool isNetworkWithNameConnected(const QString& name, ExecutionValidationParameters& parameters);
    static bool isInternetConnectionAvailable(const ExecutionValidationParameters& parameters);

    QString logDescription() const override;
};
