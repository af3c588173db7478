#include "model/DBStartupCondition.h"

#include "foundation/Log.h"
#include "model/DBHotkeyConditionData.h"
#include "model/DBLoginItem.h"
#include "model/DBNetworkConditionData.h"
#include "model/DBPowerSourceConditionData.h"
#include "model/DBScheduledConditionData.h"
#include "model/DBVolumeConditionData.h"
#include "model/ExecutionValidationParameters.h"
#include "model/ModelTexts.h"
#include "model/ObjectContext.h"

QList<DBLoginItem*> DBStartupCondition::conditionLoginItems() const
{
    return toManyAs<DBLoginItem>(QStringLiteral("conditionLoginItems"));
}

DBScheduledConditionData* DBStartupCondition::conditionScheduledData() const
{
    return toOneAs<DBScheduledConditionData>(QStringLiteral("conditionScheduledData"));
}

void DBStartupCondition::setConditionScheduledData(DBScheduledConditionData* data)
{
    setToOne(QStringLiteral("conditionScheduledData"), data);
}

DBHotkeyConditionData* DBStartupCondition::conditionHotkeyData() const
{
    return toOneAs<DBHotkeyConditionData>(QStringLiteral("conditionHotkeyData"));
}

void DBStartupCondition::setConditionHotkeyData(DBHotkeyConditionData* data)
{
    setToOne(QStringLiteral("conditionHotkeyData"), data);
}

DBPowerSourceConditionData* DBStartupCondition::conditionPowerSourceData() const
{
    return toOneAs<DBPowerSourceConditionData>(QStringLiteral("conditionPowerSourceData"));
}

void DBStartupCondition::setConditionPowerSourceData(DBPowerSourceConditionData* data)
{
    setToOne(QStringLiteral("conditionPowerSourceData"), data);
}

DBVolumeConditionData* DBStartupCondition::conditionVolumeData() const
{
    return toOneAs<DBVolumeConditionData>(QStringLiteral("conditionVolumeData"));
}

void DBStartupCondition::setConditionVolumeData(DBVolumeConditionData* data)
{
    setToOne(QStringLiteral("conditionVolumeData"), data);
}

DBNetworkConditionData* DBStartupCondition::conditionNetworkData() const
{
    return toOneAs<DBNetworkConditionData>(QStringLiteral("conditionNetworkData"));
}

void DBStartupCondition::setConditionNetworkData(DBNetworkConditionData* data)
{
    setToOne(QStringLiteral("conditionNetworkData"), data);
}

DBStartupCondition* DBStartupCondition::createStartupConditionOfType(int32_t type, ObjectContext& context)
{
    LOG_DEBUG("Creating startup condition of type %1...", type);
    DBStartupCondition* condition = context.insertNewObject<DBStartupCondition>();
    condition->setConditionName(context.texts().startupConditionDefaultName());
    condition->setConditionTypeValue(type);
    return condition;
}

QString DBStartupCondition::logDescription() const
{
    return QStringLiteral("%1 (%2)").arg(entity().className(), conditionName());
}

bool DBStartupCondition::isExecutionAllowedForParameters(ExecutionValidationParameters& parameters) const
{
    const int32_t type = conditionTypeValue();
    const auto ask = [&](const char* word, const auto* data) {
        if (!data) {
            LOG_WARN("Condition %1 type %2 was determined as %3, but corresponding data isn't assigned, preventing execution!",
                     this, type, word);
            return false;
        }
        LOG_DEBUG("Condition %1 is %2, asking corresponding data for permission...", this, word);
        return data->isExecutionAllowedForParameters(parameters);
    };
    switch (type) {
    case StartupConditionTypeScheduled:
        return ask("schedule", conditionScheduledData());
    case StartupConditionTypeHotkey:
        return ask("hotkey", conditionHotkeyData());
    case StartupConditionTypePowerSource:
        return ask("power source", conditionPowerSourceData());
    case StartupConditionTypeMountedVolume:
        return ask("volume", conditionVolumeData());
    case StartupConditionTypeNetwork:
        return ask("network", conditionNetworkData());
    default:
        LOG_WARN("Condition %1 type %2 wasn't recognized, preventing execution!", this, type);
        return false;
    }
}
