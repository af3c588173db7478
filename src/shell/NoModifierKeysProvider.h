#pragma once
// Until the GUI hands in the window system's keyboard, no modifier key counts
// as held: a run is then never skipped by a key the program cannot see.
#include "platform/ModifierKeysProvider.h"

class NoModifierKeysProvider : public ModifierKeysProvider {
public:
    std::optional<ModifierKeys> currentModifierKeys() const override { return ModifierKeys(); }
};
