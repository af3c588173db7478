#pragma once
// Texts for model tests, in place of the Localizator.
#include "model/DBConditionalPreviousItem.h"
#include "model/ModelTexts.h"

class FakeModelTexts : public ModelTexts {
public:
    QString startupConditionDefaultName() const override { return QStringLiteral("New Condition"); }
    QString applicationLoginGroupDisplayName() const override { return QStringLiteral("Application Items"); }
    QString ignoreLoginGroupDisplayName() const override { return QStringLiteral("Ignored Items"); }
    QString delayItemNiceDisplayNameForDelay(double delay) const override
    {
        return QStringLiteral("Delay %1 s").arg(delay);
    }
    QString waitPreviousItemNiceDisplayName(const DBWaitPreviousItem&) const override { return QStringLiteral("Wait"); }
    QString conditionalPreviousItemNiceDisplayName(const DBConditionalPreviousItem& item) const override
    {
        return QStringLiteral("Conditional %1").arg(item.itemModeValue());
    }
    QString errorDescriptionForFailedTextStorageLoading() const override { return QStringLiteral("Failed opening Lanternwick database!"); }
};
