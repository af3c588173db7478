#pragma once
// Which modifier keys are held right now. The real one asks the window system
// and so lives with the GUI; the engine only sees this interface.
#include "platform/ModifierKeys.h"

#include <optional>

class ModifierKeysProvider {
public:
    virtual ~ModifierKeysProvider() = default;
    // Empty when the window system does not tell now (on Wayland, while no
    // window of the program has the keyboard).
    virtual std::optional<ModifierKeys> currentModifierKeys() const = 0;
    // Whether held keys are seen only while a window of the program has the
    // keyboard (Wayland), which the user should know when setting a hotkey.
    virtual bool seesKeysOnlyWithFocus() const { return false; }
};
