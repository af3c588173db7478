#include "model/DBVolumeConditionData.h"

#include "model/DBStartupCondition.h"

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
