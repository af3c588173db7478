#pragma once
// Whether the internet can be reached now.

class ReachabilityProvider {
public:
    virtual ~ReachabilityProvider() = default;
    // False when it cannot be told. Safe from any thread.
    virtual bool isNetworkReachable() const = 0;
};
