#pragma once
// The first state of the launch chain. It does nothing of its own yet: its
// completion is where the launch chain decides whether to go on.
#include "engine/ApplicationState.h"

class SearchMissingApplicationState : public ApplicationState {
public:
    SearchMissingApplicationState();

    void executeState() override;
};
