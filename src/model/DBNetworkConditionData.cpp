#include "model/DBNetworkConditionData.h"

#include "model/DBStartupCondition.h"

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
