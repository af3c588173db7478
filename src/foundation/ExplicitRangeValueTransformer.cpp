#include "foundation/ExplicitRangeValueTransformer.h"

#include "foundation/Log.h"

#include <algorithm>
#include <cmath>

ExplicitRangeValueTransformer::ExplicitRangeValueTransformer(QList<double> valuesRange)
    : m_valuesRange(std::move(valuesRange))
{
    LOG_DEBUG("Initializing...");
}

QList<double> ExplicitRangeValueTransformer::valuesRange() const
{
    return m_valuesRange;
}

QVariant ExplicitRangeValueTransformer::transformedValue(const QVariant& value) const
{
    LOG_DEBUG("Transorming %1...", value.toString());
    const std::optional<double> number = numberFromValue(value);
    if (!number || m_valuesRange.isEmpty())
        return {};
    // Stored values went through floating point and text, so an exact match
    // cannot be relied on: the nearest allowed value is meant.
    const auto nearest = std::min_element(m_valuesRange.begin(), m_valuesRange.end(), [&](double a, double b) {
        return std::abs(a - *number) < std::abs(b - *number);
    });
    return static_cast<int>(nearest - m_valuesRange.begin());
}

QVariant ExplicitRangeValueTransformer::reverseTransformedValue(const QVariant& value) const
{
    LOG_DEBUG("Reverse transorming %1...", value.toString());
    if (value.isNull() || m_valuesRange.isEmpty())
        return {};
    const std::optional<double> index = numberFromValue(value);
    if (!index) {
        LOG_ERROR("Value %1 doesn't respond to -intValue!", value.toString());
        return {};
    }
    const double last = static_cast<double>(m_valuesRange.size() - 1);
    return m_valuesRange.at(static_cast<qsizetype>(std::clamp(std::trunc(*index), 0.0, last)));
}
