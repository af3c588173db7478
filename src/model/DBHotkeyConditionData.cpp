#include "model/DBHotkeyConditionData.h"

#include "model/DBStartupCondition.h"

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
