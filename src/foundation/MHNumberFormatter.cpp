#include "foundation/MHNumberFormatter.h"

#include <cmath>

MHNumberFormatter::MHNumberFormatter(const QLocale& locale)
    : m_underlyingFormatter(locale)
{
    m_underlyingFormatter.setNumberOptions(m_underlyingFormatter.numberOptions() | QLocale::OmitGroupSeparator);
}

QString MHNumberFormatter::stringForObjectValue(const QVariant& value) const
{
    if (value.isNull())
        return {};
    bool ok = false;
    const double number = value.toDouble(&ok);
    if (!ok || !std::isfinite(number))
        return {};
    // Plain decimal, never an exponent: a delay of 100000 seconds reads as such.
    return m_underlyingFormatter.toString(number, 'f', QLocale::FloatingPointShortest);
}

std::optional<double> MHNumberFormatter::objectValueForString(const QString& text) const
{
    bool ok = false;
    const double number = m_underlyingFormatter.toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(number))
        return std::nullopt;
    return number;
}
