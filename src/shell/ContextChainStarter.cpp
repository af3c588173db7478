#include "shell/ContextChainStarter.h"

#include "engine/StateChain.h"
#include "shell/ApplicationHelpers.h"

ContextChainStarter::ContextChainStarter(ApplicationHelpers& helpers)
    : m_helpers(helpers)
{
}

void ContextChainStarter::startChain(const QList<Step>& steps, std::shared_ptr<ContextBatchInfo> info)
{
    ApplicationContext& context = m_helpers.applicationContext();
    QList<StateChain::Step> chain;
    for (const Step& step : steps) {
        chain.append({ context.stateOfKind(step.kind), [didEnd = step.didEnd] {
                          if (didEnd)
                              didEnd();
                          return false;
                      } });
    }
    StateChain::start(context, std::move(chain), std::move(info));
}
