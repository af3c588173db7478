#pragma once
// A placeholder context whose child always fills the placeholder.
#include "ui/base/PlaceholderControllerContext.h"

class StaticPlaceholderContext : public PlaceholderControllerContext {
    Q_OBJECT
public:
    using PlaceholderControllerContext::PlaceholderControllerContext;

    void replaceViewControllerWith(ViewControllerBase* controller);
};
