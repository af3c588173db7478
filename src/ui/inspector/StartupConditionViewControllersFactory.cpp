#include "ui/inspector/StartupConditionViewControllersFactory.h"

#include "foundation/Log.h"
#include "model/DBStartupCondition.h"
#include "ui/inspector/HotkeyConditionViewController.h"
#include "ui/inspector/MountedVolumeConditionViewController.h"
#include "ui/inspector/NetworkConditionViewController.h"
#include "ui/inspector/PowerSourceConditionViewController.h"
#include "ui/inspector/ScheduledConditionViewController.h"

std::unique_ptr<StartupConditionViewControllerBase>
StartupConditionViewControllersFactory::viewControllerForStartupCondition(const DBStartupCondition& condition) const
{
    std::unique_ptr<StartupConditionViewControllerBase> editor;
    switch (condition.conditionTypeValue()) {
    case StartupConditionTypeScheduled:
        editor = std::make_unique<ScheduledConditionViewController>();
        break;
    case StartupConditionTypeHotkey:
        editor = std::make_unique<HotkeyConditionViewController>();
        break;
    case StartupConditionTypePowerSource:
        editor = std::make_unique<PowerSourceConditionViewController>();
        break;
    case StartupConditionTypeMountedVolume:
        editor = std::make_unique<MountedVolumeConditionViewController>();
        break;
    case StartupConditionTypeNetwork:
        editor = std::make_unique<NetworkConditionViewController>();
        break;
    default:
        LOG_WARN("Unknown startup condition type %1, can't setup view controller!", condition.conditionTypeValue());
        return nullptr;
    }
    copyCommonObjectsToViewController(*editor);
    editor->loadView();
    return editor;
}
