#include "engine/StateChain.h"

#include "foundation/Log.h"

StateChain::StateChain(ApplicationContext& context, QList<Step> steps, EndBlock didEnd)
    : m_context(context)
    , m_steps(std::move(steps))
    , m_didEnd(std::move(didEnd))
{
}

std::shared_ptr<ChainRun> StateChain::start(ApplicationContext& context, QList<Step> steps,
                                            std::shared_ptr<ContextBatchInfo> info, EndBlock didEnd)
{
    auto run = steps.isEmpty() ? nullptr : std::make_shared<ChainRun>(std::move(info));
    startRun(context, std::move(steps), run, std::move(didEnd));
    return run;
}

void StateChain::startRun(ApplicationContext& context, QList<Step> steps, std::shared_ptr<ChainRun> run, EndBlock didEnd)
{
    if (steps.isEmpty()) {
        LOG_ERROR("A chain without states was not started");
        return;
    }
    // The chain lives in the completions of its states and goes with the last.
    const std::shared_ptr<StateChain> chain(new StateChain(context, std::move(steps), std::move(didEnd)));
    context.pushRun(chain->m_steps.constFirst().state, std::move(run),
                    [chain](const std::shared_ptr<ChainRun>& chainRun) { chain->stepDidEnd(0, chainRun); });
}

std::shared_ptr<ChainRun> StateChain::start(ApplicationContext& context, const QList<ApplicationState*>& states,
                                            std::shared_ptr<ContextBatchInfo> info, EndBlock didEnd)
{
    QList<Step> steps;
    for (ApplicationState* state : states)
        steps.append(Step { state, {} });
    return start(context, std::move(steps), std::move(info), std::move(didEnd));
}

void StateChain::stepDidEnd(qsizetype index, const std::shared_ptr<ChainRun>& run)
{
    const Step& step = m_steps[index];
    const bool stopped = step.stopAfter && step.stopAfter();
    if (stopped || index + 1 == m_steps.size()) {
        LOG_DEBUG("%1 ends after %2", run.get(), step.state);
        if (m_didEnd)
            m_didEnd(run);
        return;
    }
    m_context.executeState(m_steps[index + 1].state, run,
                           [chain = shared_from_this(), index](const std::shared_ptr<ChainRun>& nextRun) {
                               chain->stepDidEnd(index + 1, nextRun);
                           });
}
