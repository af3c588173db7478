#pragma once
// The countdown to quitting after a run. It only counts and proceeds: the
// application quits on its end notification, which a cancelled countdown
// never posts.
#include "engine/ApplicationState.h"

class ApplicationContext;

class AutoCloseApplicationState : public ApplicationState {
public:
    AutoCloseApplicationState();

    // Makes the context create this state for its kind.
    static void registerWithContext(ApplicationContext& context);

    bool isExecutionState() const override { return true; }
    bool isAutoCloseState() const override { return true; }
    void executeState() override;

    bool isAutoCloseAllowed();

private:
    void countDown();
};
