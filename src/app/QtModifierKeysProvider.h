#pragma once
// The modifier keys as the window system reports them to the program (Alt
// stands for Option, Meta for Command). On Wayland the compositor tells them
// only to the window that has the keyboard: while no window of ours has it,
// the keys are unknown.
#include "platform/ModifierKeysProvider.h"

#include <QString>

class QtModifierKeysProvider : public ModifierKeysProvider {
public:
    // platformName: Qt's platform plugin (QGuiApplication::platformName()).
    explicit QtModifierKeysProvider(const QString& platformName);

    std::optional<ModifierKeys> currentModifierKeys() const override;
    bool seesKeysOnlyWithFocus() const override { return m_onlyWithFocus; }

private:
    const bool m_onlyWithFocus;
};
