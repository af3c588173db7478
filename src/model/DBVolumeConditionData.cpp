#include "model/DBVolumeConditionData.h"

#include "foundation/Log.h"
#include "model/DBStartupCondition.h"
#include "model/ExecutionValidationParameters.h"

QString DBVolumeConditionData::logDescription() const
{
    const QString status = volumeStatusValue() == VolumeStatusNotMounted ? QStringLiteral("not mounted") : QStringLiteral("mounted");
    return QStringLiteral("%1 (%2)").arg(entity().className(), QStringLiteral("[%1 %2]").arg(volumePath(), status));
}

DBStartupCondition* DBVolumeConditionData::volumeStartupCondition() const
{
    return toOneAs<DBStartupCondition>(QStringLiteral("volumeStartupCondition"));
}

void DBVolumeConditionData::setVolumeStartupCondition(DBStartupCondition* condition)
{
    setToOne(QStringLiteral("volumeStartupCondition"), condition);
}

bool DBVolumeConditionData::isVolumeMounted(const ExecutionValidationParameters& parameters) const
{
    const QString path = volumePath();
    for (const AttachedVolumeData& volume : parameters.volumes()) {
        if (volume.path() == path)
            return volume.attached();
    }
    return false;
}

bool DBVolumeConditionData::isExecutionAllowedForParameters(ExecutionValidationParameters& parameters) const
{
    LOG_VERBOSE("Determining if %1 allows execution for parameters %2...", this, parameters);
    const bool mounted = isVolumeMounted(parameters);
    if (volumeStatusValue() == VolumeStatusNotMounted) {
        if (mounted) {
            LOG_DEBUG("%1 prevented execution because volume is mounted!", this);
            return false;
        }
    } else if (!mounted) {
        LOG_DEBUG("%1 prevented execution because volume is not mounted!", this);
        return false;
    }
    LOG_DEBUG("%1 allowed execution.", this);
    return true;
}
