#include "model/AttachedVolumeData.h"

AttachedVolumeData::AttachedVolumeData(const QString& path, const QString& name, bool attached)
    : m_path(path)
    , m_name(name)
    , m_attached(attached)
{
}

QString AttachedVolumeData::description() const
{
    return QStringLiteral("%1 %2").arg(m_name, m_attached ? QStringLiteral("a") : QStringLiteral("-"));
}
