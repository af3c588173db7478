#include "model/DBPowerSourceConditionData.h"

#include "model/DBStartupCondition.h"

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
