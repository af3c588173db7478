#include "engine/SystemItemsStateFactories.h"

#include "engine/ApplicationContext.h"
#include "engine/CreateSystemItemsApplicationState.h"
#include "engine/DeleteSystemItemsApplicationState.h"
#include "engine/DisableSystemChangeApplicationState.h"
#include "engine/EnableSystemChangeApplicationState.h"
#include "engine/ReadSystemApplicationState.h"
#include "engine/SearchMissingApplicationState.h"
#include "engine/UninstallLanternwickApplicationState.h"

namespace {

template <typename State>
ApplicationContext::StateFactory onBus(const QDBusConnection& connection)
{
    return [connection] {
        auto state = std::make_unique<State>();
        state->setServiceConnection(connection);
        return state;
    };
}

template <typename State>
ApplicationContext::StateFactory plain()
{
    return [] { return std::make_unique<State>(); };
}

} // namespace

void SystemItemsStateFactories::registerWithContext(ApplicationContext& context, QDBusConnection connection)
{
    context.setStateFactory(ApplicationStateKind::SearchMissingItems, plain<SearchMissingApplicationState>());
    context.setStateFactory(ApplicationStateKind::EnableSystemItemsChange, plain<EnableSystemChangeApplicationState>());
    context.setStateFactory(ApplicationStateKind::DisableSystemItemsChange, plain<DisableSystemChangeApplicationState>());
    context.setStateFactory(ApplicationStateKind::ReadSystemItems, onBus<ReadSystemApplicationState>(connection));
    context.setStateFactory(ApplicationStateKind::CreateSystemItems, onBus<CreateSystemItemsApplicationState>(connection));
    context.setStateFactory(ApplicationStateKind::DeleteSystemItems, onBus<DeleteSystemItemsApplicationState>(connection));
    context.setStateFactory(ApplicationStateKind::UninstallLanternwick, onBus<UninstallLanternwickApplicationState>(connection));
}
