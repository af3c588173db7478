#pragma once
// Converts a stored value to what a control shows and back, for settings
// bound to controls.
#include <QVariant>
#include <optional>

class ValueTransformer {
public:
    virtual ~ValueTransformer() = default;

    // A null value gives a null value.
    virtual QVariant transformedValue(const QVariant& value) const = 0;
    virtual QVariant reverseTransformedValue(const QVariant& value) const = 0;

protected:
    // The value as a finite number; nothing for null values, text that is not
    // a number and not-a-number or infinite values.
    static std::optional<double> numberFromValue(const QVariant& value);
};
