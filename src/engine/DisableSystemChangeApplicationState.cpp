#include "engine/DisableSystemChangeApplicationState.h"

DisableSystemChangeApplicationState::DisableSystemChangeApplicationState()
    : SystemChangeApplicationState(QStringLiteral("DisableSystemChangeApplicationState"), false)
{
}
