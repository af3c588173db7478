#include "ui/inspector/PowerSourceConditionViewController.h"

#include "foundation/Log.h"
#include "foundation/MHInternalNotifications.h"
#include "model/DBPowerSourceConditionData.h"
#include "model/DBStartupCondition.h"
#include "shell/ModelEditing.h"
#include "ui/views/ChoicePopUpButton.h"

#include <QHBoxLayout>

PowerSourceConditionViewController::PowerSourceConditionViewController()
    : ExclusiveChoiceConditionViewController({ StartupConditionTypePowerSource,
                                               MHInternalNotifications::MHInternalNotificationPowerSourceCombinationDidChange,
                                               tr("Allowed when running on"),
                                               QStringLiteral("powerSourceSelectionView"),
                                               tr("Power source"),
                                               QStringLiteral("conditionPowerSourceData.powerSourceType"),
                                               { { tr("Power supply"), PowerSourceTypePowerSupply },
                                                 { tr("Battery"), PowerSourceTypeBattery } } })
{
    setObjectName(QStringLiteral("powerSourceConditionView"));
}

void PowerSourceConditionViewController::awakeFromNib()
{
    ExclusiveChoiceConditionViewController::awakeFromNib();
    // A stored source of no known kind matches no machine.
    choiceView()->setPlaceholderText(tr("Unknown"));
    controlsLayout()->addStretch(1);
    updateShownValues();
}

int32_t PowerSourceConditionViewController::judgedChoiceOfCondition(const DBStartupCondition& condition) const
{
    const DBPowerSourceConditionData* data = condition.conditionPowerSourceData();
    if (!data)
        return -1;
    const int32_t type = data->powerSourceTypeValue();
    if (type == PowerSourceTypePowerSupply || type == PowerSourceTypeBattery)
        return type;
    LOG_WARN("Unknown power source combination %1 of %2, it matches no power source!", type, &condition);
    return -1;
}

bool PowerSourceConditionViewController::storeChoice(DBStartupCondition& condition, int32_t value)
{
    return editing()->setPowerSourceType(&condition, value);
}
