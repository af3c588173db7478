#pragma once
// Shows a number of seconds from the settings as a time text ("250 ms",
// "5 seconds", "2 minutes"); one way only.
#include "foundation/ValueTransformer.h"

class Localizator;

class FormattedSecondsValueTransformer : public ValueTransformer {
public:
    // localizator must outlive the transformer.
    explicit FormattedSecondsValueTransformer(const Localizator& localizator);

    // The time text, a QString; null for a value that is not a number.
    QVariant transformedValue(const QVariant& value) const override;
    // Not reversible: always null.
    QVariant reverseTransformedValue(const QVariant& value) const override;

private:
    const Localizator& m_localizator;
};
