#pragma once
// Runs a chain: its states one after another, each started on the main queue
// from the completion of the one before, all in one run of their own. Every
// starter of a chain goes through here.
#include "engine/ApplicationContext.h"

#include <QList>
#include <functional>
#include <memory>

class StateChain : public std::enable_shared_from_this<StateChain> {
public:
    struct Step {
        ApplicationState* state = nullptr;
        // Asked on the main queue once this step's state has proceeded;
        // answering true ends the chain there.
        std::function<bool()> stopAfter;
    };
    // Runs on the main queue when the chain has ended, after its last state
    // or at a stop.
    using EndBlock = std::function<void(const std::shared_ptr<ChainRun>& run)>;

    // Pushes the first state. Answers the chain's run (null for no steps),
    // which can be cancelled on its own.
    static std::shared_ptr<ChainRun> start(ApplicationContext& context, QList<Step> steps,
                                           std::shared_ptr<ContextBatchInfo> info, EndBlock didEnd = {});
    // The same in a run its starter made, with what the chain works on.
    static void startRun(ApplicationContext& context, QList<Step> steps, std::shared_ptr<ChainRun> run, EndBlock didEnd = {});
    // The same with no stop test.
    static std::shared_ptr<ChainRun> start(ApplicationContext& context, const QList<ApplicationState*>& states,
                                           std::shared_ptr<ContextBatchInfo> info, EndBlock didEnd = {});

private:
    StateChain(ApplicationContext& context, QList<Step> steps, EndBlock didEnd);

    void stepDidEnd(qsizetype index, const std::shared_ptr<ChainRun>& run);

    ApplicationContext& m_context;
    const QList<Step> m_steps;
    const EndBlock m_didEnd;
};
