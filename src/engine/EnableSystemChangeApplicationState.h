#pragma once
#include "engine/SystemChangeApplicationState.h"

class EnableSystemChangeApplicationState : public SystemChangeApplicationState {
public:
    EnableSystemChangeApplicationState();
};
