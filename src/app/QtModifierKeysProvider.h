#pragma once
// The modifier keys as the window system reports them (Alt stands for
// Option, Meta for Command).
#include "platform/ModifierKeysProvider.h"

class QtModifierKeysProvider : public ModifierKeysProvider {
public:
    ModifierKeys currentModifierKeys() const override;
};
