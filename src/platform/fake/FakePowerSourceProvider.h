#pragma once
#include "platform/PowerSourceProvider.h"

#include <atomic>

class FakePowerSourceProvider : public PowerSourceProvider {
public:
    void setPowerSource(int source) { m_source = source; }
    int currentPowerSource() const override { return m_source; }

private:
    std::atomic<int> m_source { PowerSupply };
};
