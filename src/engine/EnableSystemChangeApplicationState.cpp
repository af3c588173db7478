#include "engine/EnableSystemChangeApplicationState.h"

EnableSystemChangeApplicationState::EnableSystemChangeApplicationState()
    : SystemChangeApplicationState(QStringLiteral("EnableSystemChangeApplicationState"), true)
{
}
