#pragma once
// Switches the login items watcher off while the application changes the list itself.
#include "engine/SystemChangeApplicationState.h"

class DisableSystemChangeApplicationState : public SystemChangeApplicationState {
public:
    DisableSystemChangeApplicationState();
};
