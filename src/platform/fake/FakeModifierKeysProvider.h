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
    ModifierKeys currentModifierKeys() const override
    {
        std::lock_guard lock(m_mutex);
        return m_keys;
    }

private:
    mutable std::mutex m_mutex;
    ModifierKeys m_keys;
};
