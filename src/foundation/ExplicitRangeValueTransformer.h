#pragma once
// Maps a setting that may take only some values to the position of its value
// in that list (for a slider with one stop per value) and back.
#include "foundation/ValueTransformer.h"

#include <QList>

class ExplicitRangeValueTransformer : public ValueTransformer {
public:
    explicit ExplicitRangeValueTransformer(QList<double> valuesRange);

    QList<double> valuesRange() const;

    // The index of the allowed value nearest to value (the first of two
    // equally near), an int.
    QVariant transformedValue(const QVariant& value) const override;
    // The allowed value at the index, the index clamped to the list, a double.
    QVariant reverseTransformedValue(const QVariant& value) const override;

private:
    const QList<double> m_valuesRange;
};
