#include "ui/inspector/StartupConditionViewControllersFactory.h"

#include "foundation/Log.h"
#include "model/DBStartupCondition.h"
#include "ui/inspector/StartupConditionViewControllerBase.h"

std::unique_ptr<StartupConditionViewControllerBase>
StartupConditionViewControllersFactory::viewControllerForStartupCondition(const DBStartupCondition& condition) const
{
    std::unique_ptr<StartupConditionViewControllerBase> editor;
    switch (condition.conditionTypeValue()) {
    case StartupConditionTypeScheduled:
    case StartupConditionTypeHotkey:
    case StartupConditionTypePowerSource:
    case StartupConditionTypeMountedVolume:
    case StartupConditionTypeNetwork:
        editor = std::make_unique<StartupConditionViewControllerBase>();
        break;
    default:
        LOG_WARN("Unknown startup condition type %1, can't setup view controller!", condition.conditionTypeValue());
        return nullptr;
    }
    copyCommonObjectsToViewController(*editor);
    editor->loadView();
    return editor;
}
