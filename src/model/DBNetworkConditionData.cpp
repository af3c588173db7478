#include "model/DBNetworkConditionData.h"

#include "foundation/Log.h"
#include "model/DBStartupCondition.h"
#include "model/ExecutionValidationParameters.h"

#include <optional>

QString DBNetworkConditionData::logDescription() const
{
    const QString name = networkName().isNull() ? QStringLiteral("Internet connection") : networkName();
    const QString mode = networkModeValue() == NetworkModeNot ? QStringLiteral("not") : QStringLiteral("is");
    const QString status = networkStatusValue() == NetworkStatusConnected ? QStringLiteral("connected") : QStringLiteral("available");
    return QStringLiteral("%1 (%2)").arg(entity().className(), QStringLiteral("[%1 %2 %3]").arg(name, mode, status));
}

DBStartupCondition* DBNetworkConditionData::networkStartupCondition() const
{
    return toOneAs<DBStartupCondition>(QStringLiteral("networkStartupCondition"));
}

void DBNetworkConditionData::setNetworkStartupCondition(DBStartupCondition* condition)
{
    setToOne(QStringLiteral("networkStartupCondition"), condition);
}

namespace {

std::optional<NetworkData> networkWithName(const QString& name, ExecutionValidationParameters& parameters)
{
    for (const NetworkData& network : parameters.networksAfterFirstScan()) {
        if (network.name() == name)
            return network;
    }
    return std::nullopt;
}

} // namespace

bool DBNetworkConditionData::isNetworkWithNameAvailable(const QString& name, ExecutionValidationParameters& parameters)
{
    const std::optional<NetworkData> network = networkWithName(name, parameters);
    return network && network->available();
}

bool DBNetworkConditionData::isNetworkWithNameConnected(const QString& name, ExecutionValidationParameters& parameters)
{
    const std::optional<NetworkData> network = networkWithName(name, parameters);
    return network && network->connected();
}

bool DBNetworkConditionData::isInternetConnectionAvailable(const ExecutionValidationParameters& parameters)
{
    return parameters.isNetworkReachable();
}

bool DBNetworkConditionData::isExecutionAllowedForParameters(ExecutionValidationParameters& parameters) const
{
    LOG_VERBOSE("Determining if %1 allows execution for parameters %2...", this, parameters);
    const int32_t mode = networkModeValue();
    const QString name = networkName();
    if (name.isNull()) {
        const bool reachable = isInternetConnectionAvailable(parameters);
        if (mode == NetworkModeNot && reachable) {
            LOG_DEBUG("%1 prevented because internet connection is available!", this);
            return false;
        }
        if (mode == NetworkModeIs && !reachable) {
            LOG_DEBUG("%1 prevented because internet connection is not available!", this);
            return false;
        }
    } else {
        const int32_t status = networkStatusValue();
        if (status == NetworkStatusConnected || status == NetworkStatusAvailable) {
            const bool connectedStatus = status == NetworkStatusConnected;
            const bool flag = connectedStatus ? isNetworkWithNameConnected(name, parameters)
                                              : isNetworkWithNameAvailable(name, parameters);
            const char* word = connectedStatus ? "connected" : "available";
            if (mode == NetworkModeNot && flag) {
                LOG_DEBUG("%1 prevented because %2 is %3!", this, name, word);
                return false;
            }
            if (mode == NetworkModeIs && !flag) {
                LOG_DEBUG("%1 prevented because %2 is not %3!", this, name, word);
                return false;
            }
        }
    }
    LOG_DEBUG("%1 allowed execution.", this);
    return true;
}
