#pragma once
// The editor of a power-source condition: power supply or battery, picked
// from a list in which the source another power-source condition uses is
// disabled.
#include "model/ModelEnumerations.h"
#include "ui/inspector/ExclusiveChoiceConditionViewController.h"

class PowerSourceConditionViewController : public ExclusiveChoiceConditionViewController {
    Q_OBJECT
public:
    PowerSourceConditionViewController();

    bool isPowerSupplyAllowed() const { return isChoiceAllowed(PowerSourceTypePowerSupply); }
    bool isBatteryPoweredAllowed() const { return isChoiceAllowed(PowerSourceTypeBattery); }
    void updatePowerSourceCombinationAllowedStatuses() override { updateAllowedChoices(); }

    ChoicePopUpButton* powerSourceSelectionView() const { return choiceView(); }

protected:
    void awakeFromNib() override;
    int32_t judgedChoiceOfCondition(const DBStartupCondition& condition) const override;
    bool storeChoice(DBStartupCondition& condition, int32_t value) override;
};
