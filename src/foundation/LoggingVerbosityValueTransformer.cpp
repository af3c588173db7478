#include "foundation/LoggingVerbosityValueTransformer.h"

#include "foundation/Log.h"

#include <algorithm>
#include <cmath>

QVariant LoggingVerbosityValueTransformer::transformedValue(const QVariant& value) const
{
    LOG_DEBUG("Transorming %1...", value.toString());
    const std::optional<int> verbosity = clampedVerbosity(value);
    return verbosity ? QVariant(*verbosity) : QVariant();
}

QVariant LoggingVerbosityValueTransformer::reverseTransformedValue(const QVariant& value) const
{
    LOG_DEBUG("Reverse transorming %1...", value.toString());
    const std::optional<int> verbosity = clampedVerbosity(value);
    if (!verbosity)
        return {};
    gLogMask = log_mask_for_verbosity(*verbosity);
    return *verbosity;
}

std::optional<int> LoggingVerbosityValueTransformer::clampedVerbosity(const QVariant& value)
{
    if (value.isNull())
        return std::nullopt;
    const std::optional<double> number = numberFromValue(value);
    if (!number) {
        LOG_ERROR("Value %1 doesn't respond to -intValue!", value.toString());
        return std::nullopt;
    }
    return static_cast<int>(std::clamp(std::trunc(*number), 0.0, 3.0));
}
