#pragma once
// Makes the row editor of a startup condition by its type, handing on the
// common objects it was given.
#include "texts/LanternwickObject.h"
#include "ui/base/CommonObjectsHolder.h"

#include <memory>

class DBStartupCondition;
class StartupConditionViewControllerBase;

class StartupConditionViewControllersFactory : public LanternwickObject, public CommonObjectsHolder {
public:
    // A new editor with its view loaded, not yet given its condition; null
    // (and a warning) for a type that is none of the five kinds.
    std::unique_ptr<StartupConditionViewControllerBase> viewControllerForStartupCondition(const DBStartupCondition& condition) const;
};
