#include "model/DBPowerSourceConditionData.h"

#include "foundation/Log.h"
#include "model/DBStartupCondition.h"
#include "model/ExecutionValidationParameters.h"

QString DBPowerSourceConditionData::logDescription() const
{
    return QStringLiteral("%1 (%2)").arg(entity().className(), powerSourceTypeValue() == PowerSourceTypePowerSupply
                                                                   ? QStringLiteral("[Power supply]")
                                                                   : QStringLiteral("[Battery power]"));
}

DBStartupCondition* DBPowerSourceConditionData::powerSourceStartupCondition() const
{
    return toOneAs<DBStartupCondition>(QStringLiteral("powerSourceStartupCondition"));
}

void DBPowerSourceConditionData::setPowerSourceStartupCondition(DBStartupCondition* condition)
{
    setToOne(QStringLiteral("powerSourceStartupCondition"), condition);
}

uint32_t DBPowerSourceConditionData::currentPowerSourceFromParameters(const ExecutionValidationParameters& parameters)
{
    return parameters.powerSource();
}

bool DBPowerSourceConditionData::isExecutionAllowedForParameters(ExecutionValidationParameters& parameters) const
{
    LOG_VERBOSE("Determining if %1 allows execution for parameters %2...", this, parameters);
    const uint32_t current = currentPowerSourceFromParameters(parameters);
    if (static_cast<int64_t>(current) == powerSourceTypeValue()) {
        LOG_DEBUG("%1 allowed execution.", this);
        return true;
    }
    LOG_DEBUG("%1 prevented execution because we're on %2!", this,
              current == PowerSourceTypePowerSupply ? "power supply" : "battery power");
    return false;
}
