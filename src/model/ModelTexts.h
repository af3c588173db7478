#pragma once
// The user-visible texts the model needs; the Localizator provides them, and
// tests use a fake. The model never depends on where the texts come from.
#include <QString>

class DBWaitPreviousItem;
class DBConditionalPreviousItem;

class ModelTexts {
public:
    virtual ~ModelTexts() = default;

    virtual QString startupConditionDefaultName() const = 0;
    virtual QString applicationLoginGroupDisplayName() const = 0;
    virtual QString ignoreLoginGroupDisplayName() const = 0;
    virtual QString delayItemNiceDisplayNameForDelay(double delay) const = 0;
    virtual QString waitPreviousItemNiceDisplayName(const DBWaitPreviousItem& item) const = 0;
    virtual QString conditionalPreviousItemNiceDisplayName(const DBConditionalPreviousItem& item) const = 0;
    virtual QString errorDescriptionForFailedTextStorageLoading() const = 0;
};
