#pragma once
// The source the machine runs on now. The values are those of PowerSourceType.

class PowerSourceProvider {
public:
    static constexpr int PowerSupply = 0;
    static constexpr int Battery = 1;

    virtual ~PowerSourceProvider() = default;
    // PowerSupply whenever the source cannot be told.
    virtual int currentPowerSource() const = 0;
};
