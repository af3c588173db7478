#pragma once
#include "platform/ModifierKeysProvider.h"

#include <mutex>

class FakeModifierKeysProvider : public ModifierKeysProvider {
public:
    void setModifierKeys(ModifierKeys keys)
    {
        std::lock_guard lock(m_mutex);
        m_keys = keys;
    }
    void setModifierKeysUnknown()
    {
        std::lock_guard lock(m_mutex);
        m_keys.reset();
    }
    std::optional<ModifierKeys> currentModifierKeys() const override
    {
        std::lock_guard lock(m_mutex);
        return m_keys;
    }
    void setSeesKeysOnlyWithFocus(bool value) { m_onlyWithFocus = value; }
    bool seesKeysOnlyWithFocus() const override { return m_onlyWithFocus; }

private:
    mutable std::mutex m_mutex;
    std::optional<ModifierKeys> m_keys = ModifierKeys();
    bool m_onlyWithFocus = false;
};
