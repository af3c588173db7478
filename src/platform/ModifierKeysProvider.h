#pragma once
// Which modifier keys are held right now. The real one asks the window system
// and so lives with the GUI; the engine only sees this interface.
#include "platform/ModifierKeys.h"

class ModifierKeysProvider {
public:
    virtual ~ModifierKeysProvider() = default;
    virtual ModifierKeys currentModifierKeys() const = 0;
};
