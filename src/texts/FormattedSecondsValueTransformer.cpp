#include "texts/FormattedSecondsValueTransformer.h"

#include "foundation/Log.h"
#include "texts/Localizator.h"

FormattedSecondsValueTransformer::FormattedSecondsValueTransformer(const Localizator& localizator)
    : m_localizator(localizator)
{
}

QVariant FormattedSecondsValueTransformer::transformedValue(const QVariant& value) const
{
    LOG_DEBUG("Transorming %1...", value.toString());
    const std::optional<double> seconds = numberFromValue(value);
    // A hand-edited setting may hold anything; it must not bring the
    // preferences down.
    if (!seconds) {
        LOG_ERROR("Value %1 is not a number!", value.toString());
        return {};
    }
    return m_localizator.timeStringForSeconds(*seconds);
}

QVariant FormattedSecondsValueTransformer::reverseTransformedValue(const QVariant&) const
{
    return {};
}
