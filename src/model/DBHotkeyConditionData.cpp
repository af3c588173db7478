#include "model/DBHotkeyConditionData.h"

#include "foundation/Log.h"
#include "model/DBStartupCondition.h"
#include "model/ExecutionValidationParameters.h"

QString DBHotkeyConditionData::logDescription() const
{
    QString combination = QStringLiteral("Option"); // also every unknown value
    switch (hotkeyCombinationValue()) {
    case HotkeyCombinationControl:
        combination = QStringLiteral("Control");
        break;
    case HotkeyCombinationShift:
        combination = QStringLiteral("Shift");
        break;
    case HotkeyCombinationCommand:
        combination = QStringLiteral("Command");
        break;
    default:
        break;
    }
    const QString status = hotkeyStatusValue() == HotkeyStatusNotPressed ? QStringLiteral("not pressed") : QStringLiteral("pressed");
    return QStringLiteral("%1 (%2)").arg(entity().className(), QStringLiteral("[%1 %2]").arg(combination, status));
}

DBStartupCondition* DBHotkeyConditionData::hotkeyStartupCondition() const
{
    return toOneAs<DBStartupCondition>(QStringLiteral("hotkeyStartupCondition"));
}

void DBHotkeyConditionData::setHotkeyStartupCondition(DBStartupCondition* condition)
{
    setToOne(QStringLiteral("hotkeyStartupCondition"), condition);
}

bool DBHotkeyConditionData::isHotkeyCombinationPressedForParameters(const ExecutionValidationParameters& parameters) const
{
    switch (hotkeyCombinationValue()) {
    case HotkeyCombinationControl:
        return parameters.isControlKeyPressed();
    case HotkeyCombinationShift:
        return parameters.isShiftKeyPressed();
    case HotkeyCombinationCommand:
        return parameters.isCommandKeyPressed();
    default:
        return parameters.isOptionKeyPressed();
    }
}

bool DBHotkeyConditionData::isExecutionAllowedForParameters(ExecutionValidationParameters& parameters) const
{
    // The keys count when the run picks its items; by the time an item opens
    // the user has long let go of them.
    if (parameters.isJustBeforeLaunchCheck()) {
        LOG_VERBOSE("%1 allowed execution because we're checking just before launch!", this);
        return true;
    }
    LOG_VERBOSE("Determining if %1 allows execution for parameters %2...", this, parameters);
    const bool pressed = isHotkeyCombinationPressedForParameters(parameters);
    if (hotkeyStatusValue() == HotkeyStatusNotPressed) {
        if (pressed) {
            LOG_DEBUG("%1 prevented execution because hotkey is pressed!", this);
            return false;
        }
    } else if (!pressed) {
        LOG_DEBUG("%1 prevented execution because hotkey is not pressed!", this);
        return false;
    }
    LOG_DEBUG("%1 allowed execution.", this);
    return true;
}
