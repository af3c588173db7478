#include "foundation/QVariantMapExtensions.h"

bool setValidObject(QVariantMap& map, const QString& key, const QVariant& value)
{
    if (value.isNull())
        return false;
    map.insert(key, value);
    return true;
}
