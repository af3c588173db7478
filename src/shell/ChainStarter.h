#pragma once
// Starts chains of engine states for the application delegate, so that its
// decisions can be checked without running the engine.
#include "engine/ApplicationStateKind.h"

#include <QList>
#include <functional>
#include <memory>

class ContextBatchInfo;

class ChainStarter {
public:
    struct Step {
        ApplicationStateKind kind;
        // Runs on the main queue once the step's state has proceeded.
        std::function<void()> didEnd = {};
    };

    virtual ~ChainStarter() = default;

    // info is null for the chains that do not run items.
    virtual void startChain(const QList<Step>& steps, std::shared_ptr<ContextBatchInfo> info) = 0;
};
