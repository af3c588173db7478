#include "model/NetworkData.h"

NetworkData::NetworkData(const QString& name)
    : m_name(name)
    , m_value(name)
{
}

QString NetworkData::description() const
{
    return QStringLiteral("%1 %2%3").arg(m_name, m_available ? QStringLiteral("a") : QStringLiteral("-"),
                                         m_connected ? QStringLiteral("c") : QStringLiteral("-"));
}
