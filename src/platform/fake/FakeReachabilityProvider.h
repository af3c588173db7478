#pragma once
#include "platform/ReachabilityProvider.h"

#include <atomic>

class FakeReachabilityProvider : public ReachabilityProvider {
public:
    void setReachable(bool reachable) { m_reachable = reachable; }
    bool isNetworkReachable() const override { return m_reachable; }

private:
    std::atomic<bool> m_reachable { false };
};
