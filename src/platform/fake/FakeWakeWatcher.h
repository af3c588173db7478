#pragma once
#include "platform/WakeWatcher.h"

class FakeWakeWatcher : public WakeWatcher {
public:
    void setWakeHandler(Handler handler) override { m_handler = std::move(handler); }

    void simulateWake()
    {
        if (m_handler)
            m_handler();
    }

private:
    Handler m_handler;
};
