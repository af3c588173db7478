#include "foundation/ValueTransformer.h"

#include <cmath>

std::optional<double> ValueTransformer::numberFromValue(const QVariant& value)
{
    if (value.isNull())
        return std::nullopt;
    bool ok = false;
    const double number = value.toDouble(&ok);
    if (!ok || !std::isfinite(number))
        return std::nullopt;
    return number;
}
