#pragma once
// Settings of a condition on a modifier key held at login.
#include "model/ManagedObject.h"
#include "model/ModelAccessors.h"
#include "model/ModelEnumerations.h"
#include "model/ModelSchema.h"

class DBStartupCondition;

class ExecutionValidationParameters;

class DBHotkeyConditionData : public ManagedObject {
    LW_ENTITY(DBHotkeyConditionData, ManagedObject, "HotkeyConditionData")

    LW_INT32_ATTRIBUTE(hotkeyCombination, HotkeyCombination)
    LW_INT32_ATTRIBUTE(hotkeyStatus, HotkeyStatus)

    DBStartupCondition* hotkeyStartupCondition() const;
    void setHotkeyStartupCondition(DBStartupCondition* condition);

    bool isExecutionAllowedForParameters(ExecutionValidationParameters& parameters) const;
    bool isHotkeyCombinationPressedForParameters(const ExecutionValidationParameters& parameters) const;

    QString logDescription() const override;
};
