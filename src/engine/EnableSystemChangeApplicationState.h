#pragma once
// Switches the login items watcher on again once the application's own changes are done.
#include "engine/SystemChangeApplicationState.h"

class EnableSystemChangeApplicationState : public SystemChangeApplicationState {
public:
    EnableSystemChangeApplicationState();
};
