#pragma once
// The countdown before a run: gives the user time to cancel it. Posts start,
// a tick per tick and end (also after a cancel), on a queue of its own.
#include "engine/ApplicationState.h"

class ApplicationContext;

class DelayBeforeExecutionApplicationState : public ApplicationState {
public:
    DelayBeforeExecutionApplicationState();

    // Makes the context create this state for its kind.
    static void registerWithContext(ApplicationContext& context);

    bool isDelayBeforeExecutionState() const override { return true; }
    bool isExecutionState() const override { return true; }
    void executeState() override;

    bool isDelayAllowed();

private:
    void countDown();
};
