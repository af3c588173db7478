#pragma once
#include "engine/SystemChangeApplicationState.h"

class DisableSystemChangeApplicationState : public SystemChangeApplicationState {
public:
    DisableSystemChangeApplicationState();
};
