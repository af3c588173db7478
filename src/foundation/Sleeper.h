#pragma once
// Puts the calling thread to sleep in a way that another thread can cut
// short. Injected so that timed code is tested without real waiting.
class Sleeper {
public:
    virtual ~Sleeper() = default;

    // Sleeps for seconds (negative and not-a-number mean no sleep). Answers
    // true when the whole time passed, false when cancel() woke it or had
    // already been called.
    virtual bool sleepFor(double seconds) = 0;

    // Wakes the current sleep and makes every later one return at once, until
    // reset(). Callable from any thread.
    virtual void cancel() = 0;
    virtual void reset() = 0;
    virtual bool isCancelled() const = 0;
};
