#pragma once
// Chains on the engine context of the service object, which is made at the
// first chain (after the database is loaded).
#include "shell/ChainStarter.h"

class ApplicationHelpers;

class ContextChainStarter : public ChainStarter {
public:
    explicit ContextChainStarter(ApplicationHelpers& helpers);

    void startChain(const QList<Step>& steps, std::shared_ptr<ContextBatchInfo> info) override;

private:
    ApplicationHelpers& m_helpers;
};
