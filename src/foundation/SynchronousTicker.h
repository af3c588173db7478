#pragma once
// Blocks the calling thread for up to a duration in ticks, calling a block
// after each tick with the time that was left before it, until the duration
// is used up or the block sets its stop flag.
#include "foundation/Sleeper.h"

#include <functional>

// remaining: seconds left before this tick; stop: set to true to end early.
using TickBlock = std::function<void(double remaining, bool& stop)>;

// One tick lasts 1 / ticksPerSecond; the last one is shortened to what is
// left. A duration that is not above zero returns at once without calling
// the block. A rate that is not a positive finite number gives one tick of the
// whole duration. An infinite duration ticks until the block stops it.
void synchronous_ticker(const TickBlock& block, double duration, double ticksPerSecond, Sleeper& sleeper);

// The same at the rate of every countdown, the setting
// "Tweaking.Timings.NumberOfExecutionNotificationsPerSecond" of the standard
// settings, read at every call.
void synchronous_ticker(const TickBlock& block, double duration, Sleeper& sleeper);
