#pragma once
// The log verbosity setting as shown in the preferences, 0 to 3. Writing it
// back also switches the log levels at once, so that a change takes effect
// without a restart.
#include "foundation/ValueTransformer.h"

class LoggingVerbosityValueTransformer : public ValueTransformer {
public:
    // The verbosity clamped to 0..3, an int.
    QVariant transformedValue(const QVariant& value) const override;
    // The same clamp; also sets gLogMask for that verbosity.
    QVariant reverseTransformedValue(const QVariant& value) const override;

private:
    static std::optional<int> clampedVerbosity(const QVariant& value);
};
